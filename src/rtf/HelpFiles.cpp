#include "rtf/HelpFiles.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "engine/HeadingLinks.h"
#include "tags/InlineOutputTags.h"
#include "analysis/LineServices.h"
#include "policy/ValueConversions.h"
#include "engine/Context.h"
#include "engine/HeadingList.h"
#include "engine/TagList.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "policy/PolicySection.h"
#include "policy/PolicyTable.h"
#include "rtf/RTFFile.h"
#include "rtf/RtfHelpers.h"
#include "analysis/TagServices.h"
#include "text/PathUtils.h"
#include "text/StatementTypes.h"
#include "text/TextFile.h"
#include "text/TextPosition.h"

// Policies of the help project group.
static constexpr int kResourceFilePolicy = 211;
static constexpr int kCopyrightPolicy = 212;
static constexpr int kCitationPolicy = 213;
static constexpr int kTitleColourPolicy = 214;
static constexpr int kBodyColourPolicy = 215;

static constexpr int kWhite = 0xFFFFFF;

// ---- Shared ----

// folder + base name of outputName + extension; base receives the base name.
static void CompanionFileName(const TextString& outputName, const char* extension,
                              TextString& base, TextString& name) {
  TextString folder;
  TextString oldExtension;
  SplitPath(outputName, folder, base, oldExtension);
  name.Assign(folder);
  name.Append(base);
  name.Append(extension);
}

static bool OpenCompanionFile(FileControl& fc, TextFile& file, const TextString& name) {
  if (file.OpenForWrite(name.GetText(), 0, 0))
    return true;
  TextString message("ERROR: Can't open file \"");
  message.Append(name);
  message.AppendChar('"');
  fc.ReportMessage(message.GetText(), 10);
  return false;
}

// Writes the pieces as one line.
static void WriteJoined(TextFile& file, std::initializer_list<const char*> pieces) {
  TextString line;
  for (const char* piece : pieces)
    line.Append(piece);
  (void)file.WriteString(line);
}

static const TextString& HelpPolicyText(FileControl& fc, int id) {
  return fc.GetPolicyList().GetSection(kRtfHelpFilesSection).GetText(id);
}

// The topic identifier of a heading text of a type: its link name made into an identifier.
static void HeadingTopicId(FileControl& fc, Context& ctx, const TextString& text, int type,
                           TextString& id) {
  GetHeadingLinkName(text, type, fc, ctx, 1, id);
  MakeHelpTopicId(id);
}

// Calls visit for every tag of name standing at or after from and before to (no end when to
// is unset). The tags of one name are walked whole: tags of definition blocks stand apart
// from the main text, so the list is not in position order.
template <typename Visit>
static void ForEachTagBetween(const TagList& tags, const char* name, const TextPosition& from,
                              const TextPosition& to, Visit visit) {
  const TextString tagName(name);
  int index = -1;
  while (tags.FindNext(tagName, index, &index)) {
    const TagRecord* record = tags.GetItem(index);
    if (record->position.Compare(from) < 0)
      continue;
    if (to.IsSet() && record->position.Compare(to) >= 0)
      continue;
    visit(*record);
  }
}

// The heading list entry of a heading: the one standing at position, else the best match of
// its text; null when there is none.
static HeadingEntry* FindHeadingEntry(Context& ctx, const TextString& text,
                                      const TextPosition& position, int& index) {
  if (HeadingEntry* entry = ctx.Headings.FindAtPosition(ctx, position, index))
    return entry;
  int count = 0;
  return ctx.Headings.FindBestMatch(ctx, text, text, 1, position, index, count);
}

// Where the section of a heading ends: the position of the next heading in the list (the
// first one after position when the heading has no entry); unset when there is none.
static TextPosition NextHeadingPosition(const Context& ctx, int index,
                                        const TextPosition& position) {
  if (index >= 0) {
    const HeadingEntry* next = ctx.Headings.GetEntry(index + 1);
    return next != nullptr ? next->position : TextPosition();
  }
  for (int i = 0; i < ctx.Headings.GetCount(); ++i) {
    const HeadingEntry* entry = ctx.Headings.GetEntry(i);
    if (entry->position.Compare(position) > 0)
      return entry->position;
  }
  return TextPosition();
}

// ---- Project file ----

// A background colour as the help compiler reads it: red x 65536 + green x 256 + blue.
static int HelpColourValue(const TextString& colour) {
  int red = 0;
  int green = 0;
  int blue = 0;
  if (colour.IsEmpty() || !ColourToRgb(colour, red, green, blue))
    return kWhite;
  return red * 65536 + green * 256 + blue;
}

int WriteHelpProjectFile(FileControl& fc, const TextString& outputName) {
  TextString base;
  TextString name;
  CompanionFileName(outputName, ".hpj", base, name);
  TextFile file;
  if (!OpenCompanionFile(fc, file, name))
    return 0;
  const char* const b = base.GetText();
  const TextString& copyright = HelpPolicyText(fc, kCopyrightPolicy);
  const TextString& citation = HelpPolicyText(fc, kCitationPolicy);
  const TextString& resourceFile = HelpPolicyText(fc, kResourceFilePolicy);
  TextString body;
  TextString title;
  body.AppendNumber('1', HelpColourValue(HelpPolicyText(fc, kBodyColourPolicy)), 0);
  title.AppendNumber('1', HelpColourValue(HelpPolicyText(fc, kTitleColourPolicy)), 0);

  WriteJoined(file, {"; This file was created by Kelvane and should probably be"});
  WriteJoined(file, {"; maintained by HCW. Do not modify this file directly."});
  WriteJoined(file, {""});
  WriteJoined(file, {"[OPTIONS]"});
  WriteJoined(file, {"COMPRESS=12 Hall Zeck"});
  WriteJoined(file, {"LCID=0x809 0x0 0x0 ; English (United Kingdom)"});
  WriteJoined(file, {"REPORT=Yes"});
  WriteJoined(file, {"TITLE=", b, " Help File"});
  if (!copyright.IsEmpty())
    WriteJoined(file, {"COPYRIGHT=", copyright.GetText()});
  if (!citation.IsEmpty())
    WriteJoined(file, {"CITATION=", citation.GetText()});
  WriteJoined(file, {"DEFFONT=Arial,8,0"});
  WriteJoined(file, {"BMROOT=.."});
  WriteJoined(file, {"BMROOT=."});
  WriteJoined(file, {"ROOT=.."});
  WriteJoined(file, {"ROOT=."});
  WriteJoined(file, {"HLP=", b, ".hlp"});
  WriteJoined(file, {""});
  WriteJoined(file, {"[FILES]"});
  WriteJoined(file, {b, ".rtf"});
  WriteJoined(file, {""});
  WriteJoined(file, {"[ALIAS]"});
  WriteJoined(file, {"HID_HT_HSCROLL = scrollbars"});
  WriteJoined(file, {"HID_HT_MAXBUTTON = HID_SC_MAXIMIZE"});
  WriteJoined(file, {"HID_HT_MINBUTTON = HID_SC_MINIMIZE"});
  WriteJoined(file, {"HID_HT_SIZE = HID_SC_SIZE"});
  WriteJoined(file, {"HID_HT_VSCROLL = scrollbars"});
  WriteJoined(file, {""});
  WriteJoined(file, {"[MAP]"});
  if (!resourceFile.IsEmpty())
    WriteJoined(file, {"#include <", resourceFile.GetText(), ">"});
  WriteJoined(file, {""});
  WriteJoined(file, {"[WINDOWS]"});
  WriteJoined(file, {"main=\"", b, " Help\",(350,32,649,948),60672,(r", body.GetText(), "),(r",
                     title.GetText(), "),f2"});
  WriteJoined(file, {""});
  WriteJoined(file, {"[CONFIG]"});
  WriteJoined(file, {"BrowseButtons()"});
  file.CloseAll();
  return 1;
}

// ---- Contents file ----

namespace {

enum class ContentsKind { Heading, Chapter, Subject };

// One line of the contents file to be.
struct ContentsEntry {
  TextPosition position;
  ContentsKind kind = ContentsKind::Heading;
  int level = 0;  // 0: the running level
  TextString title;
  TextString id;
};

}  // namespace

// A title or identifier holding a comma or a double quote, quoted with its quotes doubled.
static void QuoteContentsText(TextString& text) {
  if (!text.ContainsChar(',') && !text.ContainsChar('"'))
    return;
  text.ReplaceAll("\"", "\"\"", 0, 1);
  text.Insert(0, "\"");
  text.AppendChar('"');
}

// The user's HELP_CHAPTER and HELP_SUBJECT tags, in the order stored. A tag without a title
// names nothing and is left out.
static void CollectTagEntries(const TagList& tags, std::vector<ContentsEntry>& entries) {
  for (int i = 0; i < tags.GetCount(); ++i) {
    const TagRecord* tag = tags.GetItem(i);
    ContentsEntry entry;
    if (tag->name.Compare("HELP_CHAPTER", 0, 0))
      entry.kind = ContentsKind::Chapter;
    else if (tag->name.Compare("HELP_SUBJECT", 0, 0))
      entry.kind = ContentsKind::Subject;
    else
      continue;
    int level = 0;
    if (ReadTagNumber(tag->value, 1, level) && level >= 1)
      entry.level = level;
    if (!ReadTagText(tag->value, 2, entry.title))
      continue;
    if (entry.kind == ContentsKind::Subject)
      (void)ReadTagText(tag->value, 3, entry.id, entry.title.GetText());
    entry.position = tag->position;
    entries.push_back(std::move(entry));
  }
}

// The contents level of a heading list entry: its heading level counted from the document's
// top heading level, at least 1.
static int ContentsLevel(const HeadingList& headings, const HeadingEntry& entry) {
  const int top = std::max(headings.lowestLevel, 1);
  return std::max(HeadingLevelFromType(entry.kind) - (top - 1), 1);
}

static void CollectHeadingEntries(FileControl& fc, Context& ctx, bool userChapters,
                                  std::vector<ContentsEntry>& entries) {
  const HeadingList& headings = ctx.Headings;
  const int count = headings.GetCount();
  int previousLevel = 0;
  int level = count > 0 ? ContentsLevel(headings, *headings.GetEntry(0)) : 0;
  for (int i = 0; i < count; ++i) {
    const HeadingEntry& heading = *headings.GetEntry(i);
    const HeadingEntry* next = headings.GetEntry(i + 1);
    const int nextLevel = next != nullptr ? ContentsLevel(headings, *next) : 0;
    ContentsEntry entry;
    entry.position = heading.position;
    entry.level = level;
    entry.title.Assign(heading.headingText);
    CleanHelpTopicText(ctx, entry.title);
    GetHeadingEntryLinkName(&heading, fc, ctx, 1, entry.id);
    MakeHelpTopicId(entry.id);

    const bool deeperFollows = next != nullptr && nextLevel > level;
    const bool closesDeeper = i > 0 && level < previousLevel && nextLevel == level;
    if (!userChapters && (deeperFollows || closesDeeper)) {
      ContentsEntry chapter;
      chapter.position = entry.position;
      chapter.kind = ContentsKind::Chapter;
      chapter.level = level;
      chapter.title.Assign(entry.title);
      entries.push_back(std::move(chapter));
    }
    if (userChapters || !deeperFollows)
      entries.push_back(std::move(entry));
    previousLevel = level;
    level = nextLevel;
  }
}

int WriteHelpContentsFile(FileControl& fc, const TextString& outputName) {
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr)
    return 0;
  std::vector<ContentsEntry> entries;
  CollectTagEntries(ctx->Tags, entries);
  const bool userChapters = !entries.empty();
  CollectHeadingEntries(fc, *ctx, userChapters, entries);
  std::stable_sort(entries.begin(), entries.end(),
                   [](const ContentsEntry& a, const ContentsEntry& b) {
                     return a.position.Compare(b.position) < 0;
                   });

  TextString base;
  TextString name;
  CompanionFileName(outputName, ".cnt", base, name);
  TextFile file;
  if (!OpenCompanionFile(fc, file, name))
    return 0;
  WriteJoined(file, {":Base ", base.GetText(), ".HLP"});
  WriteJoined(file, {":Title Contents for ", base.GetText()});
  TextString line;

  int level = 1;
  TextString chapterTitle;
  const ContentsEntry* previous = nullptr;
  for (ContentsEntry& entry : entries) {
    if (entry.level >= 1)
      level = entry.level;
    QuoteContentsText(entry.title);
    line.SetEmpty();
    line.AppendNumber('1', level, 0);
    line.AppendChar(' ');
    line.Append(entry.title);
    switch (entry.kind) {
      case ContentsKind::Chapter:
        chapterTitle.Assign(entry.title);
        (void)file.WriteString(line);
        break;
      case ContentsKind::Heading: {
        // The chapter a heading made of itself stands for it.
        const bool samePlace =
            previous != nullptr && previous->position.Compare(entry.position) == 0;
        const bool ownChapter = samePlace || entry.title.Equals(chapterTitle);
        chapterTitle.SetEmpty();
        if (ownChapter)
          break;
        QuoteContentsText(entry.id);
        line.Append("=ID_");
        line.Append(entry.id);
        (void)file.WriteString(line);
        break;
      }
      case ContentsKind::Subject:
        HeadingTopicId(fc, *ctx, TextString(entry.id), kTypeUnderlinedHeading1, entry.id);
        line.Append("=ID_");
        line.Append(entry.id);
        (void)file.WriteString(line);
        break;
    }
    previous = &entry;
  }
  file.CloseAll();
  return 1;
}

// ---- Heading footnotes ----

static const char* const kFootnoteOpening =
    "}{\\footnote \\pard\\plain \\nowidctlpar\\adjustright {";

// One help footnote: its mark, then the footnote holding text.
static void AppendFootnote(TextString& out, const char* mark, const char* inner,
                           const TextString& text) {
  out.Append("{\\cs33 \\fs16\\up6 ");
  out.Append(mark);
  out.Append(kFootnoteOpening);
  out.Append(inner);
  out.Append("}\n {");
  out.Append(text);
  out.Append("}}\n");
}

// The keywords of a topic: the values of its HELP_TOPIC_KEYWORDS tags joined by commas, each
// value's own separator made a comma.
static void CollectKeywords(const TagList& tags, const TextPosition& from, const TextPosition& to,
                            TextString& keywords) {
  keywords.SetEmpty();
  ForEachTagBetween(tags, "HELP_TOPIC_KEYWORDS", from, to, [&keywords](const TagRecord& tag) {
    if (tag.value.IsEmpty())
      return;
    TextString value(tag.value);
    (void)value.ReplaceChar(0, value.CharAt(0), ',', 0);
    value.KeepFrom(1);
    if (value.IsEmpty())
      return;
    if (!keywords.IsEmpty())
      keywords.AppendChar(',');
    keywords.Append(value);
  });
}

void WriteHeadingFootnotes(FileControl& fc, RTFFile& writer, int headingType,
                           const TextPosition& position, const TextString& text) {
  Context& ctx = writer.GetContext();
  TextPosition at = position;
  if (!at.IsSet()) {
    at = ctx.pGetTracker()->currentPosition;
    at.SetColumn(at.GetColumn() + 1);
  }
  TextString cleaned(text);
  CleanHelpTopicText(ctx, cleaned);

  int index = -1;
  HeadingEntry* entry = FindHeadingEntry(ctx, cleaned, at, index);
  TextString anchor(cleaned);
  if (entry == nullptr) {
    TextString message("WARNING: Failed to match heading with known entry \"");
    message.Append(cleaned);
    message.AppendChar('"');
    fc.ReportMessage(message.GetText(), 10);
  } else {
    if (entry->footnotesWritten != 0)
      return;
    entry->footnotesWritten = 1;
    anchor.Assign(entry->linkName);
    at = entry->position;
  }
  TextString name;
  HeadingTopicId(fc, ctx, anchor, headingType, name);

  TextString marks("{\\*\\bkmkstart ");
  marks.Append(name);
  marks.Append("}\n");
  if (fc.GetInt(PolicyId::MakeWindowsHelpSourceFile) != 0) {
    AppendFootnote(marks, "$", "$ ", cleaned);
    TextString keywords;
    CollectKeywords(ctx.Tags, at, NextHeadingPosition(ctx, index, at), keywords);
    if (keywords.IsEmpty()) {
      AppendFootnote(marks, "K", "K ", cleaned);
    } else {
      int from = 0;
      TextString keyword;
      while (keywords.GetNextField(&from, ',', keyword)) {
        keyword.Trim();
        if (keyword.IsEmpty())
          continue;
        // Tag values are the user's text: a brace in them would unbalance the document.
        EscapeRtfText(keyword);
        AppendFootnote(marks, "K", "K ", keyword);
      }
    }
    marks.Append("{\\cs33 \\fs16\\up6 +}{\\footnote topics:");
    marks.AppendNumber('1', writer.NextBrowseNumber(), 0);
    marks.Append("}\n");
  }
  marks.Append("{\\*\\bkmkend ");
  marks.Append(name);
  marks.AppendChar('}');
  (void)writer.WriteRaw(fc, &writer, marks.GetText());
}

void WriteTopicIdFootnotes(FileControl& fc, TextString& out, int headingType,
                           const TextString& heading, const TextPosition& position) {
  if (fc.GetInt(PolicyId::MakeWindowsHelpSourceFile) == 0)
    return;
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr)
    return;
  TextString id;
  HeadingTopicId(fc, *ctx, heading, headingType, id);
  id.Insert(0, "ID_");
  AppendFootnote(out, "#", "# ", id);

  TextString cleaned(heading);
  CleanHelpTopicText(*ctx, cleaned);
  int index = -1;
  const HeadingEntry* entry = FindHeadingEntry(*ctx, cleaned, position, index);
  const TextPosition from = entry != nullptr ? entry->position : position;
  ForEachTagBetween(ctx->Tags, "HELP_TOPIC_ID", from, NextHeadingPosition(*ctx, index, from),
                    [&](const TagRecord& tag) {
                      TextString value;
                      if (!ReadTagText(tag.value, 1, value)) {
                        fc.ReportMessage("TAG ERROR: Pailed to parse HELP_TOPIC_ID tag", 10);
                        return;
                      }
                      EscapeRtfText(value);
                      AppendFootnote(out, "#", "#", value);
                    });
}
