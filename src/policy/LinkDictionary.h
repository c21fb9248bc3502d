#pragma once

#include <memory>
#include <vector>

#include "text/TextPosition.h"
#include "text/TextString.h"

class FileControl;
class JParser;
class TextFile;

// One phrase of the link dictionary. An active entry is a link definition: the match text
// found in the document is replaced by a link that shows the replacement text and leads to
// the address. An inactive entry would remember an anchor taken out of the input; none is
// ever stored (an anchor carries no address), so it only exists in the counts' bookkeeping.
struct LinkEntry {
  int active = 1;
  TextString match;        // the phrase searched for, trimmed
  TextString search;       // the match escaped for the output format
  TextString replacement;  // the text the link shows, as the definition gave it
  TextString shown;        // the replacement escaped for the output format
  TextString address;      // the link target
  TextString anchorText;   // the opening anchor tag taken from the input; empty for definitions
  TextPosition recorded;   // where an anchor entry was added (column plus one)
  int occurrence = -1;     // which occurrence of the text in its line the anchor surrounded
  int sourceColumn = -1;   // where the anchor stood
  int pending = 0;         // used while anchors are put back
  int pendingColumn = -1;
};

// The link dictionary of a policy set: entries from a link dictionary file, from "Link
// definition" lines of a policy file or from another dictionary. Applying it turns every
// occurrence of an active entry's match text into a link (an RTF HYPERLINK field or help
// link, the plain replacement for other outputs). The scanner that does this is built on the
// first application that has work and built again on the next application after any entry
// was added, updated or removed, so a change never leaves stale or removed links behind.
class LinkDictionary {
 public:
  LinkDictionary();
  LinkDictionary(const LinkDictionary&) = delete;  // owns its entries and scanner
  LinkDictionary& operator=(const LinkDictionary&) = delete;
  ~LinkDictionary();

  // Adds an entry or updates the one with the same match text (same length, case ignored).
  // The match is trimmed; refused (0) when match, replacement or address is empty. An entry
  // with anchor text is inactive; an active one with a known match updates that entry
  // ("INFO: Link definition being updated for \"<replacement>\"" at level 4). Search text and
  // replacement are escaped for the output format: RTF-escaped for RTF output (a Context of
  // another output type entity-encodes them, and HTML output also writes "<" and ">" in match
  // and replacement as "&lt;" and "&gt;"), on insertion and on update alike. 1 when added or
  // updated.
  int AddOrUpdate(FileControl& fc, const TextString& match, const TextString& replacement,
                  const TextString& address, const TextString& anchorText, int occurrence,
                  int column);
  // A definition line: the 2nd, 4th and 6th fields of the line split at double quotes are
  // match, replacement and address (the keyword, "=" and "+" are not tested). AddOrUpdate's
  // result. With rebuild, while a pass runs, a scanner already built is rebuilt.
  int ParseDefinition(FileControl& fc, const TextString& line, int rebuild);
  // Reads a link dictionary file: "!" comments, "[section]" lines and empty lines are
  // skipped, every other line is a definition. A line without ":" (and without brackets or
  // the heading-policy words) is reported "POLICY: Ignored - Missing colon in \"<line>\"";
  // a line AddOrUpdate refuses is reported "POLICY: Ignored - \<line>\" (level 10), copied to
  // errorText, and makes the result 0, but reading goes on. A file that cannot be opened:
  // "** Failed to open Link Dictionary file <name> ***" (level 10, copied to errorText),
  // result 0. 1 when every line was taken.
  [[nodiscard]] int LoadFile(FileControl& fc, const TextString& fileName, TextString* errorText);
  // One line "Link definition: \"<match>\" = \"<replacement>\" + \"<address>\"" per active
  // entry, in order. A writer that is not open is opened on fileName (0 when the name is
  // empty or the open fails) and closed at the end. 1 when written.
  [[nodiscard]] int Write(const TextString& fileName, TextFile& writer) const;
  // Replaces every occurrence of the active entries' match texts in text by their links,
  // outside in-line tags, HTML anchors and RTF fields. 1 and result = text when there is
  // nothing to do (no active entry, empty text); else 1 when something was replaced, 0 when
  // nothing matched (result = text then).
  int Apply(FileControl& fc, const TextString& text, TextString& result);
  // Puts recorded input anchors back round their words; as no anchor entry is stored, result
  // is the line text. Returns 1.
  int RestoreAnchors(FileControl& fc, const TextPosition& position, const TextString& lineText,
                     int occurrenceOverride, int firstColumn, int lastColumn,
                     const TextString& sourceText, TextString& result);

  // AddOrUpdate of every entry of other (anchor text kept, occurrence and column -1).
  void AddAll(FileControl& fc, const LinkDictionary& other);
  // Deletes every entry and the scanner; all counts 0.
  void Clear();
  // The index of the entry with that match (case ignored), replacement and address, or -1.
  int Find(const TextString& match, const TextString& replacement,
           const TextString& address) const;
  // Deletes entry index and closes the gap; 0 when index is out of range.
  int RemoveAt(int index);
  // Gives the active entry at index a new match, replacement and address, escaped as
  // AddOrUpdate escapes them. 0 (nothing changed) when index is out of range or names an
  // inactive entry, or when a text is empty (the match once trimmed): the dictionary file
  // could not read such a definition back.
  int SetEntryTexts(FileControl& fc, int index, const TextString& match,
                    const TextString& replacement, const TextString& address);
  // RemoveAt of Find's index; 0 when there is no such entry.
  int Remove(const TextString& match, const TextString& replacement, const TextString& address);

  int GetCount() const { return static_cast<int>(entries_.size()); }
  int GetActiveCount() const { return activeCount_; }
  int GetInactiveCount() const { return inactiveCount_; }
  // The entry at index, or null out of range.
  const LinkEntry* pGetEntry(int index) const;

 private:
  int FindMatch(const TextString& match) const;
  void BuildScanner(FileControl& fc);
  // Links one unprotected piece of text and appends it to out; true when something changed.
  bool LinkPiece(const char* piece, int length, TextString& out);

  std::vector<std::unique_ptr<LinkEntry>> entries_;
  int activeCount_ = 0;
  int inactiveCount_ = 0;
  std::unique_ptr<JParser> scanner_;
  bool built_ = false;
  TextString linked_;  // the text being linked, reused from line to line
  TextString markup_;  // the link of one entry while the scanner is built
  TextString piece_;   // a piece of the text being linked
};
