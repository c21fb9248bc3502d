#include "engine/HeadingLinks.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "engine/LinkText.h"
#include "engine/SectionNumbers.h"
#include "policy/ValueConversions.h"
#include "policy/AnalysisStatistics.h"
#include "engine/Context.h"
#include "engine/HeadingList.h"
#include "policy/ConversionOptions.h"
#include "policy/FileControl.h"
#include "text/PathUtils.h"
#include "text/ProductIdentity.h"
#include "text/StatementTypes.h"

// ---- Section numbers ----

void TidySectionNumber(TextString& text) {
  const char first = text.CharAt(0);
  if (first == '(' || first == '[' || first == '{')
    text.KeepFrom(1);
  for (const char close : {')', ']', '}'}) {
    int at = -1;
    if (text.FindChar(0, close, &at, 1) && at >= 0)
      text.Truncate(at);
  }
  const char last = text.CharAt(text.GetLength() - 1);
  if (last != '\0' && std::strchr(").:]}", last) != nullptr)
    text.Truncate(text.GetLength() - 1);
  const int length = text.GetLength();
  const char end = text.CharAt(length - 1);
  if (length >= 2 && (end == '-' || end == '.')) {
    text.Truncate(length - 1);
    return;
  }
  if (length > 2 && text.EndsWith(".0", 1))
    text.Truncate(length - 2);
}

static bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// A word with its brackets stripped reads as a section number ("-" separates its levels when
// it holds one, else "."). The parser may mark a level's lowest number as seen; naming a link
// must not change the heading-number state, so that is put back.
static bool IsSectionNumberWord(Context& ctx, FileControl& fc, const TextString& word) {
  TextString stripped(word);
  stripped.Trim(0, "([{<>}])");
  const char separator = stripped.ContainsChar('-') ? '-' : '.';
  std::array<int, kSectionLevels> lowest{};
  for (int i = 0; i < kSectionLevels; ++i)
    lowest[static_cast<std::size_t>(i)] = SectionLevelState(ctx, i).lowestNumber;
  int depth = 0;
  int valid = 0;
  SectionNumberFields numbers{};
  ParseSectionNumber(ctx, fc, stripped, separator, depth, valid, numbers);
  for (int i = 0; i < kSectionLevels; ++i)
    SectionLevelState(ctx, i).lowestNumber = lowest[static_cast<std::size_t>(i)];
  return valid != 0;
}

// ---- Link names ----

static bool IsTextNamedType(int type) {
  return IsUnderlinedHeadingType(type) || type == kTypeCapitalisedHeading ||
         type == kTypeEmbeddedHeading || IsKeyPhraseHeadingType(type) ||
         type == kTypeMailHeader;
}

static bool IsNumberNamedType(int type) {
  return IsLevelHeadingType(type) || IsContentsHeadingType(type);
}

// Turns entities into 8-bit characters, "#" standing for those without one.
static void DecodeToEightBit(const Context& ctx, TextString& text) {
  if (!text.ContainsChar('&') || !text.ContainsChar(';'))
    return;
  ConversionOptions options;
  options.multiByteOutput = 1;
  options.plainCharacters = 1;
  options.latin1Output = 1;
  options.suppressUnicode = 1;
  options.unicodeReplacement.Assign("#");
  (void)DecodeEntities(ctx.Entities, options, text, text);
}

// The HeadDetails of a numbered (101-106) or contents (151-156) heading's level.
static const HeadDetails* LevelDetails(const FileControl& fc, int type) {
  const int level = HeadingLevelFromType(type);
  if (level < 1 || level > FileControl::kHeadingLevels)
    return nullptr;
  const FileControl::RecognisedHeadings& headings = fc.GetRecognisedHeadings();
  if (IsLevelHeadingType(type))
    return &headings.headings[level - 1];
  if (IsContentsHeadingType(type))
    return &headings.contents[level - 1];
  return nullptr;
}

static bool HasPrefixWords(const FileControl& fc, int type) {
  const HeadDetails* details = LevelDetails(fc, type);
  return details != nullptr && details->prefixGiven != 0;
}

// The word that carries a numbered heading's section number.
static void NumberWord(const TextString& text, int type, Context& ctx, FileControl& fc,
                       int prefixCheck, TextString& word) {
  text.GetField(1, ' ', word);
  if (prefixCheck == 0 || !HasPrefixWords(fc, type))
    return;
  TextString candidate;
  for (const int n : {2, 3}) {
    if (text.GetField(n, ' ', candidate) && IsSectionNumberWord(ctx, fc, candidate)) {
      word = std::move(candidate);
      return;
    }
  }
  text.GetField(2, ' ', word);
}

void GetHeadingLinkName(const TextString& text, int type, FileControl& fc, Context& ctx,
                        int prefixCheck, TextString& linkName) {
  linkName.SetEmpty();
  if (type == kTypeEndOfFile || type == kTypeFormFeed || type == kTagNewPage || text.IsEmpty())
    return;
  TextString prepared(text);
  prepared.CollapseBlanks();
  prepared.Trim(0, " -=*");
  if (type == kTypeMailHeader) {
    int newline = -1;
    if (prepared.FindChar(0, '\n', &newline, 1) && newline >= 0)
      prepared.Truncate(newline);
  }
  if (IsTextNamedType(type))
    DecodeToEightBit(ctx, prepared);
  constexpr int kLongestName = 60;
  constexpr int kKeptStart = 30;
  if (prepared.GetLength() > kLongestName) {
    TextString shortForm(prepared);
    ShortenName(shortForm);
    prepared.Truncate(kKeptStart);
    prepared.Append("__");
    prepared.Append(shortForm);
  }
  if (IsTextNamedType(type)) {
    linkName = std::move(prepared);
    return;
  }
  TextString word;
  if (IsNumberNamedType(type)) {
    NumberWord(prepared, type, ctx, fc, prefixCheck, word);
  } else {
    TextString message("UNSUPPORTED CASE: Unknown heading type GetHeadingLinkName - ");
    message.AppendNumber('1', type, 0);
    fc.ReportMessage(message.GetText(), 10);
    prepared.GetField(1, ' ', word);
  }
  TidySectionNumber(word);
  linkName.Assign("Section_");
  linkName.Append(word);
}

void GetHeadingEntryLinkName(const HeadingEntry* entry, FileControl& fc, Context& ctx,
                             int prefixCheck, TextString& linkName) {
  if (entry == nullptr) {
    linkName.SetEmpty();
    return;
  }
  GetHeadingLinkName(entry->headingText, entry->kind, fc, ctx, prefixCheck, linkName);
}

// ---- Tagged file names ----

namespace {

// The nearest FILENAME or NEWFILE tag to a position, with what the search saw on the way.
struct TagChoice {
  int before = -1;  // the tag at or before the position
  int after = -1;   // the tag at or after it
  int chosen = -1;
};

}  // namespace

// Tags of one name are few (one per split file), so their list is walked whole.
static void FindAroundPosition(const TagList& tags, const char* name, const TextPosition& at,
                               int& before, int& after) {
  before = -1;
  after = -1;
  const TextString key(name);
  for (int i = -1; tags.FindNext(key, i, &i);) {
    const TextPosition& position = tags.GetItem(i)->position;
    const int order = position.Compare(at);
    if (order <= 0 && (before < 0 || position.Compare(tags.GetItem(before)->position) >= 0))
      before = i;
    if (order >= 0 && (after < 0 || position.Compare(tags.GetItem(after)->position) < 0))
      after = i;
  }
}

static const TextPosition& TagPosition(const TagList& tags, int index) {
  return tags.GetItem(index)->position;
}

// Of two candidates, the later (laterWins) or the earlier one; preferred on equal lines.
static int PickByLine(const TagList& tags, int preferred, int other, bool laterWins) {
  if (preferred < 0)
    return other;
  if (other < 0)
    return preferred;
  const int order = TagPosition(tags, other).Compare(TagPosition(tags, preferred));
  const bool sameLine = order >= -1 && order <= 1;
  if (sameLine)
    return preferred;
  return (order > 0) == laterWins ? other : preferred;
}

// Lines between a tag and the reference; a tag in another block is never near.
static long long LineDistance(const TextPosition& tag, const TextPosition& reference) {
  if (tag.GetLine() != reference.GetLine())
    return -1;
  return std::llabs(static_cast<long long>(tag.GetColumn()) - reference.GetColumn());
}

static TagChoice ChooseTag(const TagList& tags, const TextPosition& reference) {
  int fileBefore = -1;
  int fileAfter = -1;
  int newBefore = -1;
  int newAfter = -1;
  FindAroundPosition(tags, "FILENAME", reference, fileBefore, fileAfter);
  FindAroundPosition(tags, "NEWFILE", reference, newBefore, newAfter);
  TagChoice choice;
  choice.before = PickByLine(tags, fileBefore, newBefore, true);
  choice.after = PickByLine(tags, newAfter, fileAfter, false);
  if (choice.before < 0 || choice.after < 0) {
    choice.chosen = choice.before >= 0 ? choice.before : choice.after;
    return choice;
  }
  const long long beforeDistance = LineDistance(TagPosition(tags, choice.before), reference);
  const long long afterDistance = LineDistance(TagPosition(tags, choice.after), reference);
  const bool afterNearer =
      afterDistance >= 0 && (beforeDistance < 0 || afterDistance < beforeDistance);
  choice.chosen = afterNearer ? choice.after : choice.before;
  return choice;
}

// The file name a tag's value holds.
static bool ReadTagFileName(const TagRecord& tag, TextString& fileName) {
  return GetArgumentField(tag.value, 1, fileName);
}

void GetTaggedFileDetails(FileControl& fc, TaggedFileDetails& details) {
  for (TextString* part : {&details.folder, &details.baseName, &details.extension,
                           &details.secondFolder, &details.secondBaseName, &details.secondExtension})
    part->SetEmpty();
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr)
    return;
  if (ctx->ContentsPass == 0) {
    fc.GetMessageText().Assign("PROGRAM ERROR: GetTaggedFileDetails not called on contents pass");
    return;
  }
  const TextPosition& current = ctx->GetPassTracker(ctx->CodeLocation).currentPosition;
  const TextPosition reference(current.GetLine() < 0 ? 0 : current.GetLine(),
                               current.GetColumn() < 0 ? 0 : current.GetColumn());
  const TagList& tags = ctx->Tags;
  const TagChoice choice = ChooseTag(tags, reference);
  if (choice.chosen < 0)
    return;

  constexpr long long kNearestLines = 9;
  bool accepted = false;
  const long long distance = LineDistance(TagPosition(tags, choice.chosen), reference);
  TextString fileName;
  if (distance < 0 || distance > kNearestLines) {
    fc.GetMessageText().Assign("Nearest FILENAME tag too far away");
  } else if (!ReadTagFileName(*tags.GetItem(choice.chosen), fileName)) {
    fc.ReportMessage("TAG ERROR: Pailed to parse FILENAME tag", 10);
  } else {
    accepted = !fileName.EqualsText(ctx->LastFileNameValue, 1, 0);
    ctx->LastFileNameValue = fileName;
  }
  if (accepted) {
    SplitPath(fileName, details.folder, details.baseName, details.extension);
    return;
  }
  if (choice.before < 0) {
    fc.ReportMessage("INFO: Failed to get filename from FILENAME tag", 7);
    return;
  }
  if (ReadTagFileName(*tags.GetItem(choice.before), fileName))
    SplitPath(fileName, details.secondFolder, details.secondBaseName, details.secondExtension);
}

// ---- Split file names ----

static void AppendCounter(TextString& name, const TextString& stem, const char* joint, int counter) {
  name.Assign(stem);
  name.Append(joint);
  name.AppendNumber('1', counter, 0);
}

// word 1 and, as "Number of words to include in filename" allows, up to three more, in lower
// case and joined by "_".
static void HeadingWords(const FileControl& fc, const TextString& headingText, TextString& words) {
  TextString text(headingText);
  text.CollapseBlanks();
  text.Trim();
  const int wanted = fc.GetInt(PolicyId::NumberOfWordsToIncludeInFilename);
  text.GetField(1, ' ', words);
  TextString word;
  for (int k = 1; k <= 3; ++k) {
    if (wanted <= k || !text.GetField(k + 1, ' ', word))
      break;
    words.AppendChar('_');
    words.Append(word);
  }
  words.ToLower();
}

static void ReportDuplicateName(FileControl& fc, const TextString& candidate,
                                const TextString& name, const TextString& extension) {
  TextString message("WARNING: Duplicate filename \"");
  message.Append(candidate);
  message.Append(extension);
  message.Append("\". Using \"");
  message.Append(name);
  message.Append(extension);
  message.Append("\" instead");
  fc.ReportMessage(message.GetText(), 7);
}

// The name of a file that starts at an unnumbered heading.
static void NameFromHeading(const HeadingEntry* entry, FileControl& fc, Context& ctx,
                            const TextString& stem, const TextString& extension,
                            TextString& name) {
  if (fc.GetInt(PolicyId::UseNumberedSequenceInFileNames) != 0) {
    AppendCounter(name, stem, "_", ctx.SplitFileCounter);
    return;
  }
  if (entry == nullptr) {
    AppendCounter(name, stem, "_U", ctx.SplitFileCounter);
    return;
  }
  TextString words;
  HeadingWords(fc, entry->headingText, words);
  TextString safe;
  MakeSafeSplitName(fc, ctx.Entities, words, safe);
  TextString candidate(stem);
  candidate.AppendChar('_');
  candidate.Append(safe);
  TextString fullName(candidate);
  fullName.Append(extension);
  int held = -1;
  if (!ctx.SplitFiles.Find(fullName, &held)) {
    name = std::move(candidate);
    return;
  }
  AppendCounter(name, stem, "_U", ctx.SplitFileCounter);
  // Markup output names its files for links, so a clash matters there; RTF output does not.
  const int outputType = ctx.GetOutputType();
  if (outputType != kOutputRtf && outputType != kOutputTextMarkersDropped)
    ReportDuplicateName(fc, candidate, name, extension);
}

static bool IsSecondWordPrefix(const TextString& word) {
  return word.Compare("CHAPTER", 0, 0) || word.Compare("SECTION", 0, 0) ||
         word.Compare("SUBJECT", 0, 0);
}

// Letters and digits stay, "." and "-" become "_" (except at the end), the rest goes; with a
// split level the number is cut before the separator that would make it deeper than that.
static void CleanSectionWord(const TextString& word, int splitLevel, TextString& cleaned) {
  cleaned.SetEmpty();
  int separators = 0;
  for (int i = 0; i < word.GetLength(); ++i) {
    const char c = word.CharAt(i);
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsAsciiDigit(c)) {
      cleaned.AppendChar(c);
      continue;
    }
    if (c != '.' && c != '-')
      continue;
    if (splitLevel > 0 && ++separators >= splitLevel)
      return;
    if (i < word.GetLength() - 1)
      cleaned.AppendChar('_');
  }
}

// The name of a file that starts at a numbered heading (or the first file).
static void NameFromNumber(const HeadingEntry* entry, int type, const FileControl& fc,
                           const TextString& stem, TextString& name) {
  name.Assign(stem);
  TextString word;
  if (entry != nullptr) {
    const bool secondWord =
        HasPrefixWords(fc, type) ||
        (fc.GetInt(PolicyId::ExpectSecondWordHeadings) != 0 &&
         entry->headingText.GetField(1, ' ', word) && IsSecondWordPrefix(word));
    entry->headingText.GetField(secondWord ? 2 : 1, ' ', word);
  }
  const int splitLevel = fc.GetInt(PolicyId::SplitLevel);
  if ((splitLevel <= 0 && fc.GetInt(PolicyId::SplitAtPageMarkers) == 0) || word.IsEmpty())
    return;
  TextString cleaned;
  CleanSectionWord(word, splitLevel, cleaned);
  if (cleaned.IsEmpty())
    return;
  name.AppendChar('_');
  name.Append(cleaned);
}

void MakeSplitFileName(const HeadingEntry* entry, int type, FileControl& fc, Context& ctx,
                       TextString& baseName, TextString& extension) {
  TaggedFileDetails tagged;
  GetTaggedFileDetails(fc, tagged);
  extension = tagged.extension.IsEmpty() ? ctx.OutputExtension : tagged.extension;
  if (!tagged.baseName.IsEmpty()) {
    baseName = tagged.baseName;
    return;
  }
  const TextString& stem = tagged.secondBaseName.IsEmpty() ? ctx.OutputBaseName : tagged.secondBaseName;
  if (type == kTypeFormFeed || type == kTagNewPage) {
    ++ctx.SplitFileCounter;
    AppendCounter(baseName, stem, "_", ctx.SplitFileCounter);
  } else if (IsTextNamedType(type)) {
    ++ctx.SplitFileCounter;
    NameFromHeading(entry, fc, ctx, stem, extension, baseName);
  } else {
    NameFromNumber(entry, type, fc, stem, baseName);
  }
  if (fc.GetInt(PolicyId::UseDOSFilenames) != 0)
    ShortenName(baseName);
}

// ---- Contents matching ----

bool MatchContentsLine(const TextString& text, int type, FileControl& fc, Context& ctx,
                       int usePosition, TextPosition& position, ContentsMatch& match) {
  match.linkName.SetEmpty();
  match.fileName.SetEmpty();
  match.entry = nullptr;
  const int kind = ContentsTypeToHeadingType(type);
  TextString key;
  MakeHeadingKey(ctx, text, key);
  if (usePosition != 0 && !position.IsSet())
    position = ctx.GetPassTracker(ctx.CodeLocation).currentPosition;

  HeadingList& headings = ctx.Headings;
  int index = -1;
  int count = 0;
  HeadingEntry* found = headings.FindBestMatch(ctx, key, TextString(), usePosition, position, index, count);
  if (count > 1) {
    if (HeadingEntry* raw = headings.FindBestMatch(ctx, key, text, usePosition, position, index, count);
        raw != nullptr)
      found = raw;
  }
  if (found == nullptr && IsLevelHeadingType(kind)) {
    TextString number;
    key.GetField(1, ' ', number);
    TidySectionNumber(number);
    found = headings.FindBySectionNumber(kind, number, index);
  }
  if (found == nullptr && kind == kTypeUnderlinedHeading1)
    found = headings.FindByTextKey(kind, key, index);
  if (found == nullptr) {
    TextString& message = fc.GetMessageText();
    message.Assign("WARNING: Failed to match heading \"");
    message.Append(text);
    message.AppendChar('"');
    return false;
  }
  match.entry = found;
  match.linkName = found->linkName;
  match.fileName = ctx.CurrentOutputFileName;
  return true;
}
