#pragma once

#include <memory>
#include <vector>

#include "text/Statement.h"
#include "text/StatementTypes.h"
#include "text/TextString.h"

class FileControl;

// What a text command does to a line it matches.
enum TextCommandAction : int {
  kActionNone = 0,
  kActionIgnoreLine = 1,   // ignore_line: the line type becomes kTypeIgnored
  kActionTreatLine = 2,    // treat_line: the line (or one before it) gets a line type
  kActionMetaTagLine = 3,  // meta_tag_line: the line is recorded as a META tag
  kActionRemoveText = 4,   // remove_text: every occurrence removed
  kActionReplaceText = 5,  // replace_text: every occurrence replaced
  kActionReplaceLine = 6,  // replace_line: the whole line replaced
};

// How the match text is looked for.
enum TextMatchType : int {
  kMatchInvalid = 0,
  kMatchExactString = 1,  // exact_string: case-sensitive
  kMatchString = 2,       // string: case ignored, match text trimmed
  kMatchExactPhrase = 3,  // exact_phrase: case-sensitive, whole words, match text trimmed
  kMatchPhrase = 4,       // phrase: case ignored, whole words
  kMatchWildcard = 6,     // wildcard: case-sensitive, no pattern characters of its own
};

// Where the match must stand (ignore_line, treat_line, meta_tag_line).
enum TextMatchScope : int {
  kScopeNone = 0,
  kScopeStartingWith = 1,  // starting_with: at the start of the trimmed line
  kScopeContaining = 2,    // containing: anywhere
};

// How the replacement is put in (replace_text, replace_line).
enum TextReplaceMode : int {
  kReplaceNone = 0,
  kReplaceByString = 1,     // by_string: the replacement text, its in-line tags expanded
  kReplaceByCharacter = 5,  // by_character: each character replaced by one character
};

// One text command: a user rule that acts on the input lines holding its match text.
struct TextCommand {
  int valid = 0;        // parsed without error; only valid commands are applied
  TextString source;    // the command line as given
  int action = kActionNone;
  int matchType = kMatchInvalid;
  int scope = kScopeNone;
  TextString matchText;
  TextString metaName;  // meta_tag_line
  int removeMatch = 0;  // meta_tag_line: remove_match_text given
  int replaceMode = kReplaceNone;
  TextString replacement;
  int lineType = kTagNone;  // treat_line: the StatementType to give
  int applyOffset = 0;      // treat_line: apply_to; below 0 counts lines back
};

// True for a policy line that holds a text command: its key (the text before its first ':',
// trimmed) is "Text command", case ignored.
bool IsTextCommandLine(const TextString& line);

// Builds a command from one line: "Text command : ", the action word and its fields. Every
// fault is reported (level 10) and leaves the command invalid; text left after the last field
// is reported but does not make the command invalid.
TextCommand ParseTextCommand(FileControl& fc, const TextString& line);

// What applying text commands needs from the conversion above the policy layer; the tag layer
// implements it (tags/TextCommandTags.h).
class TextCommandHost {
 public:
  // A meta_tag_line command records its line now (the analysis pass of a conversion).
  virtual bool TakesMetaTags(FileControl& fc) = 0;
  // Records a META tag of that name with text as its content.
  virtual void AddMetaTag(FileControl& fc, const TextString& name, const TextString& text) = 0;
  // Expands the in-line tags of a by_string replacement.
  virtual void ExpandTags(FileControl& fc, TextString& text) = 0;

 protected:
  ~TextCommandHost() = default;
};

// The text commands of a policy set or of a table format: user rules applied to input lines,
// in the order they were added.
class TextCommandSet {
 public:
  TextCommandSet();
  TextCommandSet(const TextCommandSet&) = delete;  // copied explicitly with CopyCommandsFrom
  TextCommandSet& operator=(const TextCommandSet&) = delete;
  ~TextCommandSet();

  void Clear();
  int GetCount() const { return static_cast<int>(commands_.size()); }
  // The command at index (from 0), or null outside 0 .. count - 1.
  const TextCommand* GetCommand(int index) const;
  void Add(const TextCommand& command);
  // Appends a copy of every command of other; 1.
  int CopyCommandsFrom(FileControl& fc, const TextCommandSet& other);
  // Parses line and appends the command when valid (1); an invalid one is reported as
  // "ERROR: Invalid text command - <line>" (level 10) and dropped (0).
  int AddCommandLine(FileControl& fc, const TextString& line);
  // Adds the commands of a text command file: one command a line, without the
  // "Text command : " that a policy line has; lines beginning with '!', section headers and
  // empty lines are skipped. "(none)", "none" or an empty name means no file (true). A file
  // that cannot be opened (missing, a folder, a device) is reported, the message also goes to
  // errorOut, and the result is false.
  [[nodiscard]] bool LoadFile(FileControl& fc, const TextString& fileName, TextString& errorOut);
  // Applies every valid command in order to text; the final text goes to result. Line types
  // are given to target; a command that would type a line before it follows the
  // previous-line links and does nothing where a link is missing. META tags and the in-line
  // tags of replacements go to host; without a host no META tag is recorded and replacements
  // keep their tags. Returns 1.
  int Apply(FileControl& fc, TextCommandHost* host, Statement& target, const TextString& text,
            TextString& result);
  const TextString& GetFileName() const { return fileName_; }

 private:
  std::vector<std::unique_ptr<TextCommand>> commands_;
  TextString fileName_;
  // Scratch texts of Apply, kept so that applying allocates nothing per line.
  TextString running_;
  TextString work_;
  TextString expanded_;
};
