#pragma once

#include "text/StringList.h"
#include "text/TextString.h"

class ConversionOptions;
class Context;
class EntityTable;
class ErrorHandler;
class HtmlTagDictionary;
class JParser;
class JReplaceParser;
class ParseBuffer;
struct JMatchState;
struct JPattern;
struct TagDetector;

// HTML tag detection and cleaning. A tag is the text from a "<" to a ">"; each one found is
// judged as a known HTML, mail or office tag, a comment, a declaration, an address in angle
// brackets or plain text, and then removed, cleaned (attributes filtered, values quoted, case
// changed, XHTML form) or left as it is, as the options record asks.

// Conversion modes of the options record that the detection tells apart.
inline constexpr int kConversionModeDetag = 6;  // tags removed by the list they are known in
inline constexpr int kConversionModeText = 7;   // every tag removed

// Flags of the Context form of DetectTags.
inline constexpr int kDetectKeepUrls = 1;        // addresses in angle brackets are tags too
inline constexpr int kDetectDecodeEntities = 2;  // entities are decoded after the tags

// Cleans the tags of in into out (which may be in); workLine is the caller's scratch text.
// Returns the number of tags handled (cleaned, removed or passed as known) plus the number of
// entities decoded. The first call fills the detector's name sets and builds its dictionary.
// Each distinct removal or discard message is reported once through reporter at level 8, with
// " (n times)" when it occurred n > 1 times. keepUrls switches off the exemption of e-mail
// addresses and URLs in angle brackets. With decodeEntities, when the text held both "&" and
// ";" and the mode is kConversionModeText or "Replace entities by text" is on, the entities
// are decoded with the options record.
int DetectTags(TextString& workLine, TagDetector& detector, const EntityTable& entities,
               ErrorHandler& reporter, const ConversionOptions& options, int keepUrls,
               int decodeEntities, const TextString& in, TextString& out);

// The settings with which the heading list makes the plain form of a heading: mode 6 with
// HTML and office tags and comments removed and entities replaced by text; mail tags and
// "Remove all tags" off.
void SetHeadingTagOptions(ConversionOptions& options);

// DetectTags with the Context's detector, entity table and message handler; flags are
// kDetectKeepUrls and kDetectDecodeEntities.
int DetectTags(Context& ctx, const ConversionOptions& options, int flags, const TextString& in,
               TextString& out);

// What OnTagMatch works with during one scan (its user data).
struct TagMatchState {
  TagMatchState(JReplaceParser& parser, TagDetector& detector, ErrorHandler& reporter,
                const ConversionOptions& options, int keepUrls)
      : parser(parser), detector(detector), reporter(reporter), options(options),
        keepUrls(keepUrls) {}

  JReplaceParser& parser;
  TagDetector& detector;
  ErrorHandler& reporter;
  const ConversionOptions& options;
  int keepUrls;
  // The messages of the scan, each once with its count.
  StringList discards;
  // The "<" that opens the tag being looked for; -1 for none.
  int pending = -1;
  // The quote check of the pending tag, kept from one ">" to the next so that a tag whose
  // quote never closes is not scanned again for every later ">": the position checked up
  // to, the open quotes and the brackets seen outside quotes.
  int checkedTo = -1;
  bool inDouble = false;
  bool inSingle = false;
  int bracketsOutsideQuotes = 0;
  // What removals may still spend on sweeping the rest of the text for identical tags.
  long long sweepBudget = 0;
  TextString candidate;
  TextString cleaned;
};

// The match callback of the patterns "<" and ">" (user data: a TagMatchState). Returns 1001
// when the span was replaced (or passed as a known tag), 1002 when nothing was done (a "<"
// noted, a ">" without an open tag, a quote still open) and 1004 when the span stays as it is.
int OnTagMatch(JParser& parser, JPattern& pattern, JMatchState& state, ParseBuffer& text,
               int& position, void* userData);

// Cleans one tag: 1 when the tag may be replaced by out (empty when the tag is to go), 0
// when it stays as it is (a comment, a declaration, a number). Messages about what was
// removed or discarded are appended to discards.
int CleanHtmlTag(TagDetector& detector, const ConversionOptions& options,
                 HtmlTagDictionary& dictionary, StringList& discards, const TextString& tag,
                 TextString& out);
