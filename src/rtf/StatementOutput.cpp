#include "rtf/StatementOutput.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <memory>

#include "analysis/BulletWords.h"
#include "analysis/LineClassTests.h"
#include "analysis/LineServices.h"
#include "analysis/PreHTML.h"
#include "policy/ValueConversions.h"
#include "engine/Context.h"
#include "engine/FontChange.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "rtf/HelpFiles.h"
#include "rtf/RTFFile.h"
#include "rtf/RtfHelpers.h"
#include "policy/StyleSheet.h"
#include "policy/TableAnalysisPolicies.h"
#include "tags/TagInterpreter.h"
#include "tags/TagTextFilters.h"
#include "text/CharacterUtils.h"
#include "text/StatementTypes.h"
#include "text/TextMeasure.h"

// ---- Measurements and labels ----

int FindHangingLabelEnd(const TextString& text, int& restStart) {
  int doubleBlank = -1;
  if (!text.Find(0, "  ", &doubleBlank, 1, 0))
    doubleBlank = text.GetLength();
  struct Separator {
    const char* text;
    int kept;  // bytes of the separator that stay with the label
  };
  static constexpr Separator kSeparators[] = {{" - ", 0}, {"= ", 1}, {": ", 1}};
  for (const Separator& separator : kSeparators) {
    int at = -1;
    if (!text.Find(0, separator.text, &at, 1, 0) || at >= doubleBlank)
      continue;
    restStart = at + static_cast<int>(std::strlen(separator.text));
    // " - " stays in the text, so nothing of the line is lost.
    if (separator.kept == 0)
      restStart = at + 1;
    return at + separator.kept;
  }
  int blank = -1;
  if (text.FindChar(0, ' ', &blank, 1)) {
    restStart = blank + 1;
    return blank;
  }
  restStart = text.GetLength();
  return text.GetLength();
}

int HangingLabelWidth(int estimatedWidth, bool& limited) {
  const int step = RTFFile::kIndentStep;
  const int width = std::max(estimatedWidth, 0) / step * step + step;
  limited = width > kMaxHangingLabelWidth;
  return limited ? kMaxHangingLabelWidth : width;
}

int RulerTabPosition(int length, bool landscape) {
  const long long lineWidth = landscape ? 132 : 72;
  const long long tabWidth = landscape ? 15704 : 8280;
  const long long share = std::clamp<long long>(static_cast<long long>(length) + 1, 0, lineWidth);
  return static_cast<int>(share * tabWidth / lineWidth);
}

void BulletCharacterLabel(const TextString& characters, int level, TextString& out) {
  out.SetEmpty();
  if (characters.IsEmpty()) {
    // The bullet as its Unicode character in the paragraph's own font, with the
    // Windows-1252 bullet for readers without Unicode: a symbol font may lack the glyph.
    out.Assign("\\u8226\\'95");
    return;
  }
  const int index = level >= 0 && level < characters.GetLength() ? level : 0;
  const char c = characters.CharAt(index);
  if (c == '\\' || c == '{' || c == '}')
    out.AppendChar('\\');
  out.AppendChar(c);
}

// A byte of a word: an ASCII letter or digit, or a byte of a character beyond ASCII.
static bool IsWordByte(unsigned char c) { return IsAsciiLetterOrDigit(c) || c >= 0x80; }

// Han ideographs, kana and Bopomofo, the CJK symbols and punctuation, and full-width forms.
static bool IsCjkWithoutBlanks(int c) {
  return (c >= 0x2E80 && c <= 0x2FDF) || (c >= 0x3000 && c <= 0x312F) ||
         (c >= 0x31A0 && c <= 0x31FF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0x20000 && c <= 0x3134F);
}

// The character of the well-formed UTF-8 sequence that ends at byte end - 1 of text; -1 when
// none does.
static int LastUtf8Character(const unsigned char* text, int end) {
  for (int start = end - 1; start >= 0 && start >= end - 4; --start) {
    if ((text[start] & 0xC0) == 0x80)
      continue;
    int codePoint = 0;
    return DecodeUtf8Sequence(text + start, end - start, codePoint) == end - start ? codePoint
                                                                                   : -1;
  }
  return -1;
}

bool JoinsNextLine(const TextString& text, const TextString& next, bool utf8) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.GetText());
  const int length = text.GetLength();
  const auto* following = reinterpret_cast<const unsigned char*>(next.GetText());
  const int nextLength = next.GetLength();
  int first = 0;
  while (first < nextLength && (following[first] == ' ' || following[first] == '\t'))
    ++first;
  if (length == 0 || first == nextLength)
    return false;
  if (length >= 2 && bytes[length - 1] == '-' && IsWordByte(bytes[length - 2]) &&
      IsWordByte(following[first]))
    return true;
  if (!utf8)
    return false;
  int nextCharacter = 0;
  if (DecodeUtf8Sequence(following + first, nextLength - first, nextCharacter) == 0)
    return false;
  return IsCjkWithoutBlanks(nextCharacter) && IsCjkWithoutBlanks(LastUtf8Character(bytes, length));
}

// ---- Line-type groups of the writer ----

static bool IsAnyHeading(int type) { return IsHeadingType(type); }

static bool IsOneOf(int type, std::initializer_list<int> types) {
  return std::find(types.begin(), types.end(), type) != types.end();
}

static bool InRange(int type, int first, int last) { return type >= first && type <= last; }

static bool IsBlankLikeType(int type) {
  return type == kTypeBlank || IsBulletBlankType(type);
}

// Codes 10 (centred) and 9 (short line) are body text when styles are compared.
static int ComparableStyle(int code) { return code == kParagraphCentred ? kParagraphBody : code; }

// Lines that are never written: dropped and joined lines, the end of the input, and the
// directive lines whose work is done elsewhere. A header's underline (-2) has been made part
// of its heading, so its text is not written either.
static bool IsWrittenType(int type) {
  if (IsOneOf(type, {kTypeIgnored, kTypeNull, kTypeHeaderNull, kTypeEndOfFile}))
    return false;
  if (InRange(type, kTagEndIgnore, kTagNewFile) || InRange(type, kTagEndHtml, kTagResetBlock) ||
      InRange(type, kTagDefineVariable, kTagResetTextFragment) || type == kTagBeginUserTaggedTable ||
      InRange(type, kTagBeginDiagram, kTagInsertFragment))
    return false;
  return true;
}

// The classification is kept for the next statement except for lines that carry no text of
// their own.
static bool KeepsClassification(int type) {
  return !(IsOneOf(type, {kTypeHeaderNull, kTypeIgnored, kTagBeginList, kTagBeginTable,
                          kTagBeginContents, kTagBeginUserTaggedTable, kTypeNull}) ||
           InRange(type, kTagBeginDiagram, kTagBeginCommaDelimitedTable));
}

// Line types the per-type table does not know: reported, and the line written as it is.
static bool IsUnknownLineType(int type) {
  if (IsOneOf(type, {kTagDefineBlock, kTagEndBlock, kTagInsertBlock, kTagResetBlock,
                     kTagDefineHtmlFragment, kTagDefineTextFragment, kTagAlarmDefinition,
                     kTagFormatDefinition, kTagGraphDefinition}))
    return true;
  // Mail and news header lines outside a region are written as text.
  if (type == kTypeMailHeader)
    return false;
  return type < kTypeEndOfFile || InRange(type, 243, 1000) || type > kTagBeginCommaDelimitedTable;
}

static int ClampHeadingLevel(int level) { return std::clamp(level, 1, 6); }

// ---- Classification ----

void RTFFile::ClassifyStatement(const PreHTML* line, FileControl& fc,
                                const LineContext& previous, const LineContext& next, int type,
                                StatementClass& out) const {
  out = StatementClass();
  out.styleCode = styleCode_;
  out.level = styleLevel_;
  if (line == nullptr)
    return;

  int column = std::max(line->GetIndent(), 0);
  if (type == kTypeNewParagraph && fc.GetInt(PolicyId::NewParagraphOffset) > 0)
    column = std::max(column - fc.GetInt(PolicyId::NewParagraphOffset), 0);
  const int indentLevel = fc.GetIndentLevel(column);
  const Tracker& tracker = ctx_.GetPassTracker(kLocationOutput);

  out.quotation = type == kTypeQuoted;
  out.hanging = IsOneOf(type, {kTypeHangingParagraph, kTypeHangingContinuation, kTypeDefinition,
                               kTypeDefinitionContinuation});
  out.blank = IsBlankLikeType(type);
  out.pageBreak = IsOneOf(type, {kTypeFormFeed, kTypeLine, kTagLine, kTagNewPage});
  out.bullet = IsAnyBulletType(type) || type == kTagBeginList || type == kTagListItem ||
               (type == kTagEndList && tracker.listDepth > 1);
  out.heading = IsLevelHeadingType(type) || IsUnderlinedHeadingType(type) ||
                IsContentsHeadingType(type) ||
                (type == kTypeHeaderNull && tracker.inContents != 0);
  const bool neverWrap = line->HasFlag(kFlagNeverWrap);
  const bool tableLine = line->HasFlag(kFlagTableLine);
  out.preformatted = (neverWrap && type != kTypeHeaderNull) || tableLine;

  const bool raw = line->HasFlag(kFlagRawOutput);
  if (!fc.CollectingRegion && type != kTypeEndOfFile && !raw) {
    if (IsOneOf(type, {kTypeBlank, kTypeHangingContinuation, kTypeBullet, kTypeDefinitionContinuation}) ||
        InRange(type, kTypeBulletContinuation, kTypeBulletBlankWithComment)) {
      out.level = styleLevel_;
    } else if (type == kTypeLine || type == kTagLine) {
      out.level = fc.GetInt(PolicyId::LookForHorizontalRulers) ? 0 : indentLevel;
    } else if (IsAnyHeading(type)) {
      out.heading = 1;
      const int level = ClampHeadingLevel(HeadingLevelFromType(type));
      const HeadDetails& details = fc.GetRecognisedHeadings().headings[level - 1];
      out.level = details.numberedParagraph ? fc.GetIndentLevel(line->GetHangingIndent()) : 0;
    } else if (type == kTypeFormFeed || type == kTagNewPage) {
      out.level = 0;
    } else if (IsContentsHeadingType(type)) {
      out.heading = 1;
      out.level = type - kTypeContentsHeading1 + 1;
    } else if (type == kTypeHangingParagraph || InRange(type, kTypeNumberedBullet, kTypeUpperRomanBullet)) {
      out.level = indentLevel + 1;
    } else if (type == kTypeDefinition) {
      out.level = indentLevel + (next.type == kTypeDefinitionContinuation ? 1 : 0);
    } else {
      out.level = indentLevel;
    }
    if (fc.GetRuleSet() != 0)
      out.level = styleLevel_;
  }

  if (line->HasFlag(kFlagShortLine) && !out.bullet && !out.heading &&
      !InRange(type, kTypeBlank, kTypeLine) &&
      !IsOneOf(type, {kTypeQuoted, kTagLine, kTagNewPage}) && !next.inUserRegion &&
      !IsOneOf(next.type, {kTypeFormFeed, kTypeNewParagraph, kTypeLine, kTagLine, kTagNewPage}))
    out.shortLine = previous.shortLine || next.type != kTypeBlank;

  if (IsTaggedType(nullptr, type)) {
    out.styleCode = styleCode_;
  } else {
    int code = kParagraphBody;
    if (out.bullet)
      code = kParagraphBullet;
    if (out.heading)
      code = kParagraphHeadingText;
    if (out.quotation)
      code = kParagraphQuotes;
    if (out.preformatted && !fc.AutoCentringActive)
      code = kParagraphTable;
    if (fc.CollectingRegion) {
      code = kParagraphPreformatted;
    } else if (code == kParagraphBody) {
      if (fc.AutoCentringActive)
        code = kParagraphCentred;
      else if (out.shortLine && (next.shortLine || previous.shortLine))
        code = kParagraphShortLine;
    }
    out.styleCode = code;
  }

  switch (fc.GetInt(PolicyId::UseOfRTFStyles)) {
    case 2:
      if (!IsOneOf(out.styleCode, {kParagraphHeadingText, kParagraphPreformatted, kParagraphCustom}))
        out.styleCode = kParagraphBody;
      break;
    case 3:
      out.styleCode = kParagraphBody;
      break;
    default:
      break;
  }
}

// ---- Paragraph styles ----

void RTFFile::SetStyle(FileControl& fc, int code, int level) {
  if (ComparableStyle(code) == ComparableStyle(styleCode_) && level == styleLevel_ &&
      previousJustification_ == currentJustification_)
    return;
  ChangeStyle(fc, styleCode_, code, level);
}

void RTFFile::CloseOpenGroups(FileControl& fc) {
  if (hangingOpen_)
    (void)WriteRaw(fc, this, "\\par}");
  if (bulletOpen_)
    (void)WriteRaw(fc, this, "\\par}}");
  if (contentsOpen_)
    (void)WriteRaw(fc, this, "}}");
  hangingOpen_ = 0;
  bulletOpen_ = 0;
  contentsOpen_ = 0;
}

void RTFFile::ChangeStyle(FileControl& fc, int oldCode, int newCode, int level) {
  const LineContexts& records = lineContexts_;
  const StatementClass& before = prior_.cls;
  // A bullet item, hanging paragraph or contents block that its own lines left open is
  // closed before the paragraph that holds it (a bullet continuation that turns into
  // pre-formatted text is the usual case).
  CloseOpenGroups(fc);
  TextString& close = closeWork_;
  close.SetEmpty();
  switch (oldCode) {
    case kParagraphBullet:
      break;
    case kParagraphQuotes:
    case kParagraphDefinition:
    case kParagraphHangingList:
      close.Assign("}}");
      break;
    case kParagraphBody:
    case kParagraphShortLine:
    case kParagraphCentred:
    case kParagraphCustom:
      if (newCode == kParagraphHeadingText) {
        const bool afterHeading =
            before.heading || (before.styleCode == kParagraphBody && !before.blank &&
                               prior_.styleBefore == kParagraphHeadingText);
        close.Assign(afterHeading ? "}}" : "\\par}}");
      } else if (newCode == kParagraphBullet) {
        const bool joined = IsOneOf(before.styleCode, {kParagraphHeadingText, kParagraphQuotes,
                                                       kParagraphShortLine}) ||
                            before.shortLine;
        close.Assign(joined ? "}}" : "\\par}}");
      } else if (newCode == kParagraphQuotes) {
        close.Assign("\\i0}}");
        if (fc.GetInt(PolicyId::LookForThisAndThatEmphasis)) {
          // Quotations are italic, so their emphasis is bold and the italic comes back after.
          close.ReplaceAll("\\i0", "\x01", 0, 1);
          close.ReplaceAll("\\i ", "\\i0 \\b ", 0, 1);
          close.ReplaceAll("\x01", "\\b0 \\i ", 0, 1);
        }
      } else if (newCode == kParagraphPreformatted || newCode == kParagraphTable) {
        close.Assign(before.blank || records.previous.type == kTypeFormFeed ? "}}" : "\\par}}");
      } else {
        if (currentLineType_ == kTypeHangingParagraph && records.previous.type == kTypeUntyped)
          close.Assign("\\par");
        close.Append("}}");
      }
      break;
    default:
      if (oldCode > kParagraphCustom) {
        TextString message("UNSUPPORTED CASE: style : ");
        message.AppendNumber('1', oldCode, 0);
        fc.ReportMessage(message.GetText(), 10);
        close.Assign("}}");
      }
      break;
  }
  if (!close.IsEmpty())
    (void)WriteRaw(fc, this, close.GetText());

  TextString& opening = openingWork_;
  BuildParagraphOpening(fc, *this, newCode, level, opening);
  opening.AppendChar('{');
  if (fc.GetInt(PolicyId::InputFileContainsJapaneseCharacters))
    opening.Append("\\loch\\af5\\hich\\af5\\dbch\\f16 ");
  // Headings, bullets, pre-formatted text and tables write their own opening.
  if (!IsOneOf(newCode, {kParagraphHeadingText, kParagraphBullet, kParagraphPreformatted,
                         kParagraphTable}))
    (void)WriteRaw(fc, this, opening.GetText());
  styleCode_ = newCode;
  styleLevel_ = level;
}

// ---- Per-call state ----

struct RTFFile::OutputStep {
  PreHTML* line = nullptr;
  Tracker* tracker = nullptr;
  int type = 0;
  int tagType = kTagNone;
  int level = 0;
  StatementClass cls;
  // The next line whose type is not -1, -2 or -4, and its classification.
  PreHTML* nextSignificant = nullptr;
  StatementClass nextCls;
  bool write = true;
  bool preformatted = false;
  bool previousPreformatted = false;
  bool fontDropped = false;
  bool tookPrefix = false;
  bool fontMarker = false;
  bool raw = false;
};

void RTFFile::ResetStatementState() {
  saved_ = SavedStatement();
  saved_.cls.blank = 1;
  prior_ = saved_;
  previousJustification_ = 4;
  currentJustification_ = 4;
  lastPageBreakLine_ = -1;
  savedDelimiter_.SetEmpty();
  savedDelimiterSet_ = 0;
  delimiterSaved_ = 0;
  regionOpen_ = 0;
  hangingOpen_ = 0;
  bulletOpen_ = 0;
  contentsOpen_ = 0;
  headingWritten_ = 0;
  currentLineType_ = 0;
}

void RTFFile::DropFontChange() {
  ClearPendingFontChange(ctx_.CurrentFontChange);
  ctx_.CurrentFontChange.Reset();
  ctx_.SavedFontChange.Reset();
}

static bool IsFontChangeActive(const Context& ctx) {
  return ctx.CurrentFontChange.IsActive() || ctx.SavedFontChange.IsActive();
}

// The first following line whose type is not -1, -2 or -4.
static PreHTML* NextSignificantLine(PreHTML& line) {
  for (Statement* next = line.GetNext(); next != nullptr; next = next->GetNext()) {
    if (!IsOneOf(next->GetLineType(), {kTypeNull, kTypeHeaderNull, kTypeIgnored}))
      return static_cast<PreHTML*>(next);
  }
  return nullptr;
}

// The first following line whose type is not -1 or -2 and not a tagged type.
static PreHTML* NextBulletLine(PreHTML& line) {
  for (Statement* next = line.GetNext(); next != nullptr; next = next->GetNext()) {
    const int type = next->GetLineType();
    if (type != kTypeNull && type != kTypeHeaderNull && !IsTaggedType(nullptr, type))
      return static_cast<PreHTML*>(next);
  }
  return nullptr;
}

// ---- Line contexts and the output copy ----

void RTFFile::RunLineTag(FileControl& fc, PreHTML& line, TextString& text) {
  const TextString& tagText = line.GetRawCopy().IsEmpty() ? static_cast<TextString&>(line)
                                                          : line.GetRawCopy();
  TextString keyword;
  TextString arguments;
  TextString message;
  int level = -1;
  if (!RecogniseTag(fc, ctx_, tagText, keyword, arguments, message, level)) {
    if (!message.IsEmpty() && level >= 0)
      fc.ReportMessage(message.GetText(), level);
    text.SetEmpty();
    return;
  }
  int replace = 0;
  TextString output(" ");
  (void)ExecuteTag(kTagModeLine, &line, tagText, keyword, arguments, this, fc, ctx_, replace,
                   output);
  if (replace)
    text.Assign(output);
  else
    text.SetEmpty();
}

// ---- Pre-formatted regions ----
// A region's lines are collected in a RegionWriter, which decides at the region's end how the
// region is written (table, code, diagram, mail header, indented block or text) and writes it.

void RTFFile::StartRegion(FileControl& fc, PreHTML& line) {
  fc.CollectingRegion = 1;
  regionCode_ = line.GetSpecialFormat();
  assert(regionMaker_ != nullptr && "the driver gives the writer its region maker");
  if (regionOpen_)
    return;
  if (region_) {
    region_->Restart(&fc, ctx_.Line, &line);
    regionOpen_ = 1;
    return;
  }
  if (regionMaker_ != nullptr) {
    region_ = regionMaker_(this, &fc, ctx_.Line, &line);
    regionOpen_ = region_ ? 1 : 0;
  }
}

void RTFFile::AddRegionLine(PreHTML& copy) {
  if (regionOpen_)
    region_->AddLine(&copy);
}

void RTFFile::EndRegion(FileControl& fc, int lineCode, bool previousPreformatted) {
  fc.CollectingRegion = 0;
  if (regionOpen_) {
    const TextString& inputType = fc.GetText(PolicyId::InputFileType);
    int code = previousPreformatted ? lineCode : 0;
    if (inputType.Compare("comma-delimited table", 0, 0) || ctx_.CommaDelimitedInput)
      code = 8;
    else if (inputType.Compare("tab-delimited table", 0, 0) || ctx_.TabDelimitedInput)
      code = 7;
    if (code == 0 && !fc.GetInt(PolicyId::AttemptTABLEGeneration))
      code = 4;
    if (region_->GetLineCount() > 0)
      region_->Process(code);
    // A region that a directive opened had a table-policy set queued for it.
    if (lineCode != 0 && ctx_.RtfPass && fc.NumTabPolicy() > 0)
      fc.DeleteOldTabPolicy();
    if (region_->GetReportLevel() >= 1 && !region_->GetReportText().IsEmpty())
      fc.ReportMessage(region_->GetReportText().GetText(), region_->GetReportLevel());
    regionOpen_ = 0;
  }
  if (delimiterSaved_) {
    if (TableAnalysisPolicies* policies = fc.GetNewTabPolicy(); policies != nullptr) {
      TextPolicy& delimiter = policies->Text(TablePolicyId::DelimiterCharacter);
      delimiter.value = savedDelimiter_;
      delimiter.set = savedDelimiterSet_;
    }
    delimiterSaved_ = 0;
  }
}

// ---- Line types ----

void RTFFile::WriteBlankLine(FileControl& fc, OutputStep& step) {
  const LineContexts& records = lineContexts_;
  const StatementClass& before = prior_.cls;
  const bool ignoreMultiple = fc.GetInt(PolicyId::IgnoreMultipleBlankLines) != 0;
  bool write = step.write && fc.GetRuleSet() == 0;
  if (step.fontDropped && records.next.type != kTypeLine) {
    write = step.write;
  } else {
    if (before.heading || before.bullet || before.hanging) {
      write = write && records.previous.type == kTypeBulletContinuation;
    } else if (IsOneOf(records.previous.type, {kTypeHeaderNull, kTypeLine}) ||
               (records.next.type == kTypeLine && !records.next.rollOut)) {
      write = false;
    } else if (IsOneOf(records.previous.type, {kTypeBlank, kTypeBulletBlank, kTypeBulletBlankWithTags}) ||
               records.nextNonBlank.type == kTypeNewParagraph) {
      if (!before.blank && records.nextNonBlank.type == kTypeNewParagraph)
        write = step.write && fc.GetRuleSet() == 0;
      else if (before.blank && ignoreMultiple)
        write = false;
    } else if (step.previousPreformatted && ignoreMultiple) {
      write = false;
    }
    if (step.nextCls.styleCode == kParagraphHeadingText || step.nextCls.styleCode == kParagraphBullet)
      write = false;
  }
  if (styleCode_ != step.cls.styleCode && styleCode_ != step.nextCls.styleCode &&
      IsOneOf(styleCode_, {kParagraphQuotes, kParagraphPreformatted, kParagraphTable}))
    write = false;
  step.write = write;
  if (!write)
    return;

  TextString& text = *copy_;
  if (!step.fontDropped)
    text.SetEmpty();
  if (records.next.type != kTypeBlank && records.previous.type != kTypeBlank &&
      (records.lastNonBlank.isHeading || records.lastNonBlank.mailHeader)) {
    // The paragraph after a heading starts bare and is kept with what follows.
    const bool help = fc.GetInt(PolicyId::MakeWindowsHelpSourceFile) != 0;
    text.Append(help ? "\\pard\\plain" : "\\pard\\plain\\keepn");
    const int styleIndex = GetParagraphStyleCode(fc, step.nextCls.styleCode);
    const int index = std::clamp(styleIndex, 0, StyleSheet::kStyleCount - 1);
    const StyleRecord& style = ctx_.Styles.GetRecord(index);
    if (fc.GetInt(PolicyId::InputFileContainsJapaneseCharacters)) {
      int font = 0;
      int size = 0;
      int bold = 0;
      int italic = 0;
      GetStyleFont(fc, style, true, font, size, bold, italic);
      text.Append("\\loch\\af5\\hich\\af5\\dbch\\f");
      text.AppendNumber('1', size * 2, 0);
    } else {
      text.AppendChar(' ');
      TextString font;
      BuildParagraphFormat(fc, *this, index, style, font, kPartFont);
      // Arabic text is right to left under either of its names.
      if (fc.GetText(PolicyId::CharacterEncoding).Compare("ar-sy", 0, 0)) {
        text.Append("\\ltrch \\af");
        text.AppendNumber('1', style.fontNumber, 0);
        text.Append(" \\rltch ");
      }
      text.Append(font);
    }
    text.AppendChar(' ');
  }
  if (fc.GetInt(PolicyId::ScopeForFontTags) >= 2 && IsFontChangeActive(ctx_)) {
    DropFontChange();
    if (!step.previousPreformatted)
      text.Append("}{");
  }
  if (!before.bullet)
    text.Append("\\par");
}

void RTFFile::WriteHeading(FileControl& fc, OutputStep& step) {
  PreHTML& line = *step.line;
  TextString& text = *copy_;
  const int type = step.type;
  const int level = ClampHeadingLevel(HeadingLevelFromType(type));
  if (fc.GetInt(PolicyId::MakeWindowsHelpSourceFile)) {
    (void)WriteRaw(fc, this, "{\\page}");
    lastPageBreakLine_ = line.GetStartPosition().GetColumn();
  }

  int index = -1;
  int count = 0;
  HeadingEntry* entry = ctx_.Headings.FindBestMatch(ctx_, line.GetPlain(), line, 1,
                                                    line.GetStartPosition(), index, count);
  if (entry != nullptr && !entry->headingText.IsEmpty()) {
    text.Assign(entry->headingText);
    EscapeRtfText(fc, text);
  }
  WriteHeadingMarks(fc, type, line.GetStartPosition(), text);

  const HeadDetails& details = fc.GetRecognisedHeadings().headings[level - 1];
  if (details.numberedParagraph) {
    (void)WriteRaw(fc, this, "\\par");
    text.Trim();
    int blank = -1;
    const int wordEnd = text.FindChar(0, ' ', &blank, 1) ? blank : text.GetLength();
    text.Insert(wordEnd, "\\b0}");
    text.Insert(0, "{\\b ");
    return;
  }

  const int styleIndex = std::min<int>(StyleSheet::kHeading1 + level - 1, StyleSheet::kHeading6);
  TextString format;
  BuildParagraphFormat(fc, *this, styleIndex, ctx_.Styles.GetRecord(styleIndex), format);
  stepWork_.Assign("{");
  stepWork_.Append(format);
  stepWork_.AppendChar('{');
  if (!headingWritten_ && fc.GetInt(PolicyId::CenterFirstHeading))
    stepWork_.Append("\\qc ");
  const bool underlinedKind = IsUnderlinedHeadingType(type) || IsKeyPhraseHeadingType(type) ||
                              type == kTypeCapitalisedHeading || type == kTypeEmbeddedHeading;
  if (underlinedKind && fc.GetInt(PolicyId::PreserveUnderliningOfHeadings) &&
      line.HasFlag(kFlagUnderlinedHeading))
    stepWork_.Append("\\ul ");
  stepWork_.Append(text);
  stepWork_.Append("\\par}}");
  WriteHeadingTopicIds(fc, type, line.GetStartPosition(), text, stepWork_);
  text.Assign(stepWork_);
  headingWritten_ = 1;
  if (fc.GetInt(PolicyId::ScopeForFontTags) >= 2)
    DropFontChange();
}

void RTFFile::WriteHangingParagraph(FileControl& fc, OutputStep& step, int styleIndex,
                                    int indentFactor) {
  PreHTML& line = *step.line;
  TextString& text = *copy_;
  // The label is the first word of the text, not of its indent.
  text.Trim();
  int restStart = 0;
  const int labelEnd = FindHangingLabelEnd(text, restStart);
  labelWork_.AssignSubstring(text.GetText(), 0, labelEnd);
  markerWork_.Assign(line.GetPlain());
  markerWork_.Trim();
  int plainRest = 0;
  const int plainEnd = FindHangingLabelEnd(markerWork_, plainRest);
  plainLabelWork_.AssignSubstring(markerWork_.GetText(), 0, plainEnd);

  const int estimated = EstimateTextWidth(1, plainLabelWork_, 12,
                                          fc.GetInt(PolicyId::FontStretchFactorInPercent));
  bool limited = false;
  const int width = HangingLabelWidth(estimated, limited);
  if (limited)
    fc.ReportMessage("WARNING: Large hanging indent limited", 10);

  TextString format;
  BuildParagraphFormat(fc, *this, styleIndex, ctx_.Styles.GetRecord(styleIndex), format);
  stepWork_.Assign("{");
  stepWork_.Append(format);
  stepWork_.Append("\\fi");
  stepWork_.AppendNumber('1', -width, 0);
  stepWork_.Append("\\li");
  stepWork_.AppendNumber('1', kIndentStep * step.level + indentFactor * width, 0);
  stepWork_.Append(" {\\b ");
  stepWork_.Append(labelWork_);
  stepWork_.Append("\\b0}\\tab ");
  if (hangingOpen_)
    (void)WriteRaw(fc, this, "\\par}");
  (void)WriteRaw(fc, this, stepWork_.GetText());
  hangingOpen_ = 1;

  text.KeepFrom(std::min(restStart, text.GetLength()));
  text.Trim();
  const int continuation =
      step.type == kTypeDefinition ? kTypeDefinitionContinuation : kTypeHangingContinuation;
  if (lineContexts_.next.type != continuation) {
    text.Append("\\par}");
    hangingOpen_ = 0;
  }
}

void RTFFile::BuildBulletLabel(FileControl& fc, int type, int level, const TextString& marker,
                               TextString& text) {
  text.Trim();
  if (!marker.IsEmpty() && text.StartsWith(marker.GetText(), 1)) {
    text.KeepFrom(marker.GetLength());
    text.Trim();
  }
  TextString prefix;
  BuildBulletPrefix(fc, *this, level, true, prefix);
  // An item still open (its end was not seen) is closed before the next one opens.
  if (bulletOpen_)
    (void)WriteRaw(fc, this, "\\par}}");
  (void)WriteRaw(fc, this, prefix.GetText());
  bulletOpen_ = 1;
  TextString label;
  if (type != kTypeBullet || fc.GetInt(PolicyId::UseOriginalBulletMarker))
    label.Assign(marker);
  else
    BulletCharacterLabel(fc.GetText(PolicyId::CharactersToUseForBullets), level, label);
  label.Insert(0, "{");
  label.Append("\\tab}");
  text.Insert(0, label.GetText());
}

void RTFFile::WriteBullet(FileControl& fc, OutputStep& step) {
  const int type = step.type;
  step.tracker->inBulletList = 1;
  PreHTML* nextLine = NextBulletLine(*step.line);
  const int nextType = nextLine != nullptr ? nextLine->GetLineType() : kTypeBulletBlank;
  StatementClass nextCls;
  if (nextLine != nullptr) {
    LineContext after;
    FillLineContext(fc, after, static_cast<PreHTML*>(nextLine->GetNext()));
    ClassifyStatement(nextLine, fc, lineContexts_.current, after, nextType, nextCls);
  } else {
    nextCls.bullet = 1;
    nextCls.blank = 1;
  }
  const bool collecting = fc.CollectingRegion != 0;
  const bool continuation = type == kTypeBulletContinuation || type == kTypeBulletBlankWithComment;
  // A continuation opens a paragraph of its own after something other than a bullet item or
  // after a blank bullet line; the item it continues is then closed. One whose item is still
  // open (a tagged line stood between) goes on in it.
  if (continuation && !collecting && !bulletOpen_) {
    TextString prefix;
    BuildBulletPrefix(fc, *this, step.level, false, prefix);
    (void)WriteRaw(fc, this, prefix.GetText());
    bulletOpen_ = 1;
  }
  if (IsMarkedBulletType(type) && !collecting) {
    copy_->Trim();
    int blank = -1;
    const int wordEnd = copy_->FindChar(0, ' ', &blank, 1) ? blank : copy_->GetLength();
    markerWork_.AssignSubstring(copy_->GetText(), 0, wordEnd);
    BuildBulletLabel(fc, type, step.level, markerWork_, *copy_);
  }
  const bool blankBullet = IsBulletBlankType(type);
  const bool ends = !nextCls.bullet ||
                    (blankBullet && step.tracker->inBulletList && !IsBulletBlankType(nextType)) ||
                    (nextCls.bullet && !InRange(nextType, kTypeBulletContinuation,
                                                kTypeBulletBlankWithComment));
  if (ends && !collecting && bulletOpen_) {
    copy_->Append("\\par}}");
    bulletOpen_ = 0;
    if (fc.GetInt(PolicyId::ScopeForFontTags) >= 2)
      DropFontChange();
  }
  // A blank bullet line writes only the end of its item.
  if (blankBullet && (!ends || copy_->IsEmpty()))
    step.write = false;
}

void RTFFile::WriteRuler(FileControl& fc, OutputStep& step) {
  if (!fc.GetInt(PolicyId::LookForHorizontalRulers) ||
      step.line->GetLineLength() < fc.GetInt(PolicyId::MinimumRulerLength))
    return;
  TextString& text = *copy_;
  text.Assign(lineContexts_.previous.type == kTypeLine ? "{\\pard\\plain \\s1\\sb0\\sa0\\tqr\\tx"
                                                       : "\\par{\\pard\\plain \\s1\\sb0\\sa0\\tqr\\tx");
  text.AppendNumber('1', RulerTabPosition(step.line->GetLineLength(),
                                          fc.GetInt(PolicyId::UseLandscapeMode) != 0),
                    0);
  if (fc.GetInt(PolicyId::InputFileContainsJapaneseCharacters))
    text.Append("\\loch\\af5\\hich\\af5\\dbch\\f16");
  text.Append(" {\\strike\\tab}\\par}");
}

void RTFFile::WriteTaggedLine(FileControl& fc, OutputStep& step) {
  PreHTML& line = *step.line;
  TextString& text = *copy_;
  switch (step.type) {
    case kTagLine:
      RunLineTag(fc, line, text);
      (void)WriteRaw(fc, this, text.GetText());
      if (fc.GetRuleSet() == 0)
        ctx_.PendingParagraph = 1;
      step.write = false;
      return;
    case kTagToc:
      fc.ReportMessage("INFO: Ignoring TOC tag in RTF production", 1);
      step.write = false;
      return;
    case kTagPara:
      if (fc.GetRuleSet() == 0)
        fc.ReportMessage("WARNING: PARA tag not implemented in RTF yet!", 10);
      step.write = false;
      return;
    case kTagBeginList:
      (void)ctx_.OpenLists.Append(text.GetText());
      step.write = false;
      return;
    case kTagEndList:
      if (ctx_.PendingListItem >= 1)
        fc.ReportMessage("ERROR: END_LIST encountered before LIST_ITEM text", 10);
      ctx_.PendingListItemText.SetEmpty();
      step.level = fc.ListLevel;
      step.write = false;
      return;
    case kTagListItem:
      ctx_.PendingListItemText.Assign(text);
      ctx_.PendingListItem = 1;
      step.write = false;
      return;
    case kTagChangeIndent:
      RunLineTag(fc, line, text);
      step.write = false;
      return;
    case kTagLinkPoint:
      RunLineTag(fc, line, text);
      return;
    case kTagNewPage:
      text.Assign(fc.GetInt(PolicyId::MakeWindowsHelpSourceFile) ? "" : "\\page");
      return;
    case kTagChangePolicy:
      // The change was made as the line was prepared; the directive is no text of the
      // document. A region takes its policy lines along with its other lines.
      if (!fc.CollectingRegion)
        step.write = false;
      return;
    default:
      return;
  }
}

// ---- The statement ----

int RTFFile::WriteOutStatement(Statement& statement, FileControl& fc, Context& ctx) {
  auto* line = dynamic_cast<PreHTML*>(&statement);
  if (line == nullptr) {
    fc.ReportMessage("PROGRAM ERROR: WriteOutStatement needs a line object", 10);
    return 0;
  }
  if (!copy_)
    copy_ = std::make_unique<PreHTML>();
  OutputStep step;
  step.line = line;
  step.type = line->GetLineType();
  step.tagType = line->GetTaggedType();

  // 1. The output tracker follows the line.
  ctx.CodeLocation = kLocationOutput;
  Tracker& tracker = *ctx.pGetTracker();
  step.tracker = &tracker;
  UpdateTrackerForLine(fc, &tracker, *line, step.type);
  const TextPosition& start = line->GetStartPosition();
  tracker.currentPosition = start;
  if (start.GetLine() == 0)
    tracker.secondPosition = start;
  tracker.currentLine = line;

  // 2. Tags that act before anything else.
  switch (step.tagType) {
    case kTagEndList: {
      RunLineTag(fc, *line, stepWork_);
      break;
    }
    case kTagListItem:
      tracker.listItemNumber = GetListItemNumber(
          fc, ctx, line->GetRawCopy().IsEmpty() ? static_cast<const TextString&>(*line)
                                                : line->GetRawCopy());
      break;
    case kTagDefineBlock:
    case kTagDefineHtmlFragment:
    case kTagDefineTextFragment:
      if (tracker.inDefinitionBlock)
        fc.ReportMessage("TAG ERROR: recursive DEFINE_BLOCK or DEFINE_<XXXX>_FRAGMENTdetected.", 10);
      tracker.inDefinitionBlock = 1;
      break;
    case kTagEndBlock:
      if (!tracker.inDefinitionBlock)
        fc.ReportMessage("TAG ERROR: END_BLOCK not expected here.", 10);
      tracker.inDefinitionBlock = 0;
      break;
    default:
      break;
  }

  // 3. Nothing to write.
  if (!IsDocumentOpen()) {
    fc.ReportMessage("PROGRAM ERROR:  File not open in call to WriteOutStatement!", 10);
    ctx.CodeLocation = kLocationNone;
    return 0;
  }
  if (!line->HasFlag(kFlagIncluded) || line->HasFlag(kFlagExcluded) ||
      tracker.inDefinitionBlock || step.tagType == kTagEndBlock) {
    ctx.CodeLocation = kLocationNone;
    return 1;
  }

  // 4. Level.
  step.level = fc.GetRuleSet() != 0 ? tracker.listItemNumber
                                     : fc.GetIndentLevel(std::max(line->GetIndent(), 0));
  step.raw = line->HasFlag(kFlagRawOutput);

  // 5. Neighbouring lines.
  LineContexts& records = lineContexts_;
  UpdateLineContexts(*line, fc, records.lastReal, records.lastNonBlank, records.nextNonBlank,
                     records.previous, records.current, records.next);
  const bool tableLine = line->HasFlag(kFlagTableLine);
  step.previousPreformatted = (records.previous.rollOut || records.previous.inUserRegion) &&
                              !(tableLine && !records.previous.inUserRegion &&
                                records.previous.type == kTypeHeaderNull);

  // 6. Automatic centring.
  if (fc.GetInt(PolicyId::AllowAutomaticCentring)) {
    const bool centred = line->HasFlag(kFlagCentredCandidate);
    if (fc.AutoCentringActive) {
      if (step.type != kTypeBlank && !centred)
        fc.AutoCentringActive = 0;
    } else if (centred && records.previous.type == kTypeBlank &&
               (records.next.type == kTypeBlank || records.next.centred)) {
      fc.AutoCentringActive = 1;
    }
  }

  // 7. Pre-formatted state.
  step.preformatted = !fc.AutoCentringActive && (line->HasFlag(kFlagNeverWrap) || tableLine);
  if (step.tagType == kTagEndRegion)
    step.preformatted = false;
  if (step.preformatted && IsOneOf(step.tagType, {kTagToc, kTagLinkPoint, kTagBeginList,
                                                  kTagEndList, kTagListItem})) {
    fc.ReportMessage("TAG ERROR: Missing \"End Table\" tag detected", 10);
    step.preformatted = false;
  }

  // 8. End of a region.
  const TextString& inputType = fc.GetText(PolicyId::InputFileType);
  const bool delimited = inputType.Compare("comma-delimited table", 0, 0) ||
                         inputType.Compare("tab-delimited table", 0, 0) ||
                         ctx.TabDelimitedInput || ctx.CommaDelimitedInput;
  // The end of the input ends any region: a region whose end directive never came is
  // written all the same.
  if (fc.CollectingRegion &&
      (step.type == kTypeEndOfFile || (!delimited && (step.raw || !step.preformatted))))
    EndRegion(fc, records.previous.specialFormat, step.previousPreformatted);

  // 9. Delimited tables set their own column delimiter.
  if (step.tagType == kTagBeginDelimitedTable || step.tagType == kTagBeginCommaDelimitedTable) {
    if (TableAnalysisPolicies* policies = fc.GetNewTabPolicy(); policies != nullptr) {
      TextPolicy& delimiter = policies->Text(TablePolicyId::DelimiterCharacter);
      if (!delimiterSaved_) {
        savedDelimiter_.Assign(delimiter.value);
        savedDelimiterSet_ = delimiter.set;
        delimiterSaved_ = 1;
      }
      // Marked set, so that the table copies it over the tab that delimited data starts with.
      delimiter.value.Assign(step.tagType == kTagBeginDelimitedTable ? "\t" : ",");
      delimiter.set = 1;
    }
    lineContexts_.current.specialFormat = 7;
  }

  // 10. Start of a region.
  if (!fc.AutoCentringActive && !fc.CollectingRegion && step.preformatted && !delimited &&
      step.type != kTypeEndOfFile &&
      (tableLine || (!IsOneOf(step.type, {kTagBeginTable, kTagBeginUserTaggedTable, kTypeIgnored,
                                          kTypeNull, kTypeHeaderNull}) &&
                     records.previous.type != kTypeHeaderNull))) {
    const int minimum = fc.GetInt(PolicyId::MinimumAutomaticPRESize);
    bool starts = true;
    if (minimum >= 2) {
      const Statement* ahead = line->GetNext();
      for (int i = 0; i < minimum && starts; ++i, ahead = ahead->GetNext()) {
        starts = ahead != nullptr && static_cast<const PreHTML*>(ahead)->HasFlag(kFlagNeverWrap);
        if (!starts)
          break;
      }
    }
    if (starts)
      StartRegion(fc, *line);
  }

  // 11. A pending prefix goes in front of a blank line.
  step.tookPrefix = step.type == kTypeBlank && !fc.CollectingRegion && ctx.PendingPrefix != 0;

  // 12. Classification of the line and of the next significant line.
  ClassifyStatement(line, fc, records.previous, records.next, step.type, step.cls);
  if (ctx.PendingCustomStyle) {
    step.cls.styleCode = kParagraphCustom;
    ctx.PendingCustomStyle = 0;
  }
  step.nextSignificant = NextSignificantLine(*line);
  if (step.nextSignificant != nullptr) {
    LineContext after;
    FillLineContext(fc, after, static_cast<PreHTML*>(step.nextSignificant->GetNext()));
    ClassifyStatement(step.nextSignificant, fc, records.current, after,
                      step.nextSignificant->GetLineType(), step.nextCls);
  } else {
    step.nextCls.styleCode = styleCode_;
    step.nextCls.level = styleLevel_;
  }

  // 13. The classification is kept for the next statement.
  prior_ = saved_;
  const bool keeps = KeepsClassification(step.type);
  if (keeps) {
    saved_.cls = step.cls;
    saved_.styleBefore = styleCode_;
  }
  if (step.cls.styleCode != kParagraphBullet)
    tracker.inBulletList = 0;

  // 14. Font scope.
  const int fontScope = fc.GetInt(PolicyId::ScopeForFontTags);
  if (IsFontChangeActive(ctx)) {
    const bool changed = step.cls.heading != prior_.cls.heading ||
                         step.cls.preformatted != prior_.cls.preformatted ||
                         step.type == kTypeBlank;
    if (fontScope >= 3 || (fontScope >= 2 && changed)) {
      DropFontChange();
      step.fontDropped = true;
    }
  }

  // 15. Style switch.
  step.fontMarker = line->ContainsNoCase("[[fo");
  currentLineType_ = step.type;
  if (step.type != kTagChangePolicy && (step.type != kTypeBlank || step.fontMarker)) {
    previousJustification_ = currentJustification_;
    currentJustification_ = fc.GetInt(PolicyId::TextJustification);
    SetStyle(fc, step.cls.styleCode, step.cls.level);
  }
  if (keeps)
    saved_.styleAfter = styleCode_;
  step.level = styleLevel_;

  // 16. A pending list item makes a text line a bullet.
  if (ctx.PendingListItem &&
      (step.type == kTypeUntyped || InRange(step.type, kTypeBullet, kTypeBulletContinuation) ||
       step.type == kTypeBulletBlankWithComment)) {
    stepWork_.Assign(*line);
    TextString bulletWord;
    const int bulletType = TidyBulletLine(fc, ctx, stepWork_, 1, 1, 1, bulletWord);
    if (bulletType != 0) {
      step.type = bulletType;
      step.cls.bullet = 1;
      ctx.PendingListItem = 0;
      ctx.PendingListItemText.SetEmpty();
      ctx.OpenLists.Clear();
    }
  }

  // 17. A pending paragraph: the next text line opens one.
  if (ctx.PendingParagraph && !step.cls.bullet && !step.cls.heading && !step.cls.blank &&
      HeadingLevelFromType(step.type) == 0) {
    step.type = kTypeNewParagraph;
    ctx.PendingParagraph = 0;
  }

  // 18. Write decision.
  step.write = !tracker.suppressOutput && IsWrittenType(step.type);

  // 19. The output copy.
  PrepareOutputLine(fc, ctx, *line, step.type, *copy_, step.level);
  TextString& text = *copy_;
  if (!step.raw && fc.RestoreLinkAnchors(text, stepWork_) > 0)
    text.Assign(stepWork_);
  if (step.tookPrefix) {
    text.Insert(0, ctx.PendingPrefixText.GetText());
    ctx.PendingPrefix = 0;
    ctx.PendingPrefixText.SetEmpty();
  }
  if (step.fontDropped && !step.previousPreformatted)
    text.Insert(0, "}{");

  // 20. Section-number cross-references.
  if (fc.GetInt(PolicyId::CrossRefsAtLevel) >= 1 && !IsAnyHeading(step.type) &&
      !IsContentsHeadingType(step.type))
    (void)copy_->ConvertReferences(fc, ctx);

  // 21. Title tags in the text.
  if (ctx.TitleTagsInText) {
    TextString message;
    int level = -1;
    ScanInlineTags(kInlineTagsOfTitleText, 0, *copy_, fc, ctx, message, level);
    if (level >= 0 && !message.IsEmpty())
      line->ReportLineMessage(ctx, message.GetText(), level);
  }

  // 22. A closing field is kept apart from what follows.
  if (text.GetLength() >= 4 && text.EndsWith("}}}", 1))
    text.AppendChar(' ');

  // 23. Output by line type.
  WriteByType(fc, step);
  // Delimited input is one table: each line that is written (re)opens the region.
  if (delimited && !fc.CollectingRegion && step.write && step.type != kTypeEndOfFile)
    StartRegion(fc, *line);

  // 24. The line itself.
  WriteFinal(fc, step);

  // 25. State for the next line.
  if (step.tookPrefix || (step.type == kTypeBlank && step.fontMarker) ||
      ctx.CurrentFontChange.IsActive())
    ctx.SavedFontChange = ctx.CurrentFontChange;
  if (ctx.PendingParagraphRequest) {
    ctx.PendingParagraph = 1;
    ctx.PendingParagraphRequest = 0;
    ctx.PendingParagraphRequestMark = 0;
  }
  ctx.CodeLocation = kLocationNone;
  return 1;
}

void RTFFile::WriteByType(FileControl& fc, OutputStep& step) {
  const int type = step.type;
  TextString& text = *copy_;
  const LineContexts& records = lineContexts_;
  if (type == kTypeEndOfFile) {
    // The end of the input only ends what is open; the document's own end comes after it.
    CloseOpenGroups(fc);
    return;
  }
  if (type == kTypeUntyped) {
    if (step.line->HasFlag(kFlagParagraphEnd))
      text.Append("\\par");
    return;
  }
  if (type == kTypeBlank) {
    WriteBlankLine(fc, step);
    return;
  }
  if (type == kTypeFormFeed) {
    text.Assign(fc.GetInt(PolicyId::MakeWindowsHelpSourceFile) ? "" : "\\page");
    return;
  }
  if (type == kTypeNewParagraph) {
    if (prior_.cls.blank || prior_.cls.bullet)
      return;
    stepWork_.SetEmpty();
    if (fc.GetInt(PolicyId::ScopeForFontTags) >= 2 && IsFontChangeActive(ctx_) &&
        !step.previousPreformatted) {
      stepWork_.Assign("}{");
      DropFontChange();
    }
    stepWork_.Append("\\par");
    (void)WriteLine(fc, this, stepWork_.GetText(), 0);
    return;
  }
  if (type == kTypeLine) {
    WriteRuler(fc, step);
    return;
  }
  if (IsAnyHeading(type)) {
    WriteHeading(fc, step);
    return;
  }
  if (IsContentsHeadingType(type)) {
    if (!fc.GetInt(PolicyId::UseAnyExistingContentsList)) {
      step.write = false;
      return;
    }
    // The contents lines share one group: opened by the first, closed by the last.
    if (!contentsOpen_) {
      TextString format;
      BuildParagraphFormat(fc, *this, StyleSheet::kNormal, ctx_.Styles.GetRecord(0), format);
      format.Insert(0, "{");
      format.AppendChar('{');
      text.Insert(0, format.GetText());
      contentsOpen_ = 1;
    }
    text.Append("\\par");
    if (!IsContentsHeadingType(records.next.type)) {
      text.Append("}}");
      contentsOpen_ = 0;
    }
    return;
  }
  if (type == kTypeHangingParagraph) {
    if (fc.GetInt(PolicyId::UseDLMarkupForDefnParas)) {
      WriteHangingParagraph(fc, step, StyleSheet::kHangingList, 1);
      return;
    }
    if (fc.GetInt(PolicyId::HighlightDefinitionText)) {
      int blank = -1;
      if (text.FindChar(0, ' ', &blank, 1)) {
        text.ReplaceSpan(blank, 1, "\\b0} ");
        text.Insert(0, "{\\b ");
      }
    }
    return;
  }
  if (type == kTypeHangingContinuation || type == kTypeDefinitionContinuation) {
    // The group a hanging paragraph opened is closed by its last continuation.
    if (hangingOpen_ && records.next.type != type) {
      text.Append("\\par}");
      hangingOpen_ = 0;
    }
    return;
  }
  if (type == kTypeDefinition) {
    if (records.next.type == kTypeDefinitionContinuation) {
      WriteHangingParagraph(fc, step, StyleSheet::kDefinition, 2);
      return;
    }
    if (fc.GetInt(PolicyId::HighlightDefinitionText)) {
      int colon = -1;
      int dash = -1;
      const bool hasColon = text.FindChar(1, ':', &colon, 1);
      const bool hasDash = text.FindChar(1, '-', &dash, 1);
      if (hasColon && (!hasDash || colon < dash)) {
        text.ReplaceSpan(colon, 1, ":\\b0}");
        text.Insert(0, "{\\b ");
      } else if (hasDash) {
        text.ReplaceSpan(dash, 1, "\\b0}-");
        text.Insert(0, "{\\b ");
      }
    }
    if (!fc.CollectingRegion)
      text.Append("\\par");
    return;
  }
  if (IsAnyBulletType(type)) {
    WriteBullet(fc, step);
    return;
  }
  if (type == kTypeQuoted) {
    text.Append("\\par");
    return;
  }
  if (type == kTypeContentsList) {
    if (ctx_.ContentsListSwitch)
      RunLineTag(fc, *step.line, text);
    step.write = false;
    return;
  }
  if (IsUnknownLineType(type)) {
    TextString message("UNSUPPORTED CASE: Unknown line type in RTFFile - ");
    message.AppendNumber('1', type, 0);
    fc.ReportMessage(message.GetText(), 10);
    return;
  }
  if (IsDirectiveTagType(type))
    WriteTaggedLine(fc, step);
}

void RTFFile::WriteFinal(FileControl& fc, OutputStep& step) {
  if (!step.write)
    return;
  TextString& text = *copy_;
  if (fc.CollectingRegion) {
    AddRegionLine(*copy_);
    return;
  }
  if (step.raw) {
    (void)WriteLine(fc, this, text.GetText(), 1);
    return;
  }
  if (step.cls.shortLine && !text.ContainsNoCase("\\par") && !text.ContainsNoCase("\\line")) {
    const bool sameParagraph =
        fc.GetInt(PolicyId::TextJustification) == 1 &&
        ComparableStyle(step.nextCls.styleCode == kParagraphShortLine ? kParagraphBody
                                                                      : step.nextCls.styleCode) ==
            ComparableStyle(step.cls.styleCode == kParagraphShortLine ? kParagraphBody
                                                                      : step.cls.styleCode) &&
        step.nextCls.level == step.cls.level;
    text.Append(sameParagraph ? "\\line" : "\\par");
  }
  // The blank that keeps the last word of the line from the first of the next; a line with
  // no text needs none, and words that run on across the line end get none.
  const PreHTML* next = NextSignificantLine(*step.line);
  const bool joins = next != nullptr && JoinsNextLine(text, *next, IsUtf8Input(fc));
  if (!text.IsEmpty() && !joins && !text.EndsWith("}", 1) && !text.EndsWith("\\par", 1))
    text.AppendChar(' ');
  const int noWrap = step.line->HasFlag(kFlagNoWrap) || copy_->HasFlag(kFlagNoWrap) ? 1 : 0;
  (void)WriteLine(fc, this, text.GetText(), noWrap);
}

// ---- Heading marks ----

void RTFFile::WriteHeadingMarks(FileControl& fc, int type, const TextPosition& position,
                                const TextString& text) {
  WriteHeadingFootnotes(fc, *this, type, position, text);
}

void RTFFile::WriteHeadingTopicIds(FileControl& fc, int type, const TextPosition& position,
                                   const TextString& heading, TextString& text) {
  WriteTopicIdFootnotes(fc, text, type, heading, position);
}
