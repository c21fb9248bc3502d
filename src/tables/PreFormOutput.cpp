#include "tables/PreForm.h"

#include <algorithm>

#include "analysis/LineServices.h"
#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "policy/KeyValueLine.h"
#include "rtf/RTFFile.h"
#include "rtf/RtfHelpers.h"
#include "policy/StyleSheet.h"
#include "policy/TableGenerationPolicies.h"
#include "policy/TableLayout.h"
#include "tags/DirectivePreprocessor.h"
#include "tags/TextCommandTags.h"
#include "text/StatementTypes.h"

// Above this many lines a region's paragraphs are not kept with the next: a group that long
// cannot stay on one page anyway.
static constexpr int kKeepTogetherLines = 40;

// Lines that normal-text output leaves out: page breaks, rulers, LINERULE and NEW_PAGE lines
// and underlines already joined to their heading.
static bool IsDroppedFromNormalText(int type) {
  return type == kTypeFormFeed || type == kTypeLine || type == kTagLine || type == kTagNewPage ||
         type == kTypeHeaderNull;
}

int FindCodeComment(const TextString& text) {
  for (int at = 0; text.Find(at, "//", &at, 1, 0); ++at) {
    if (at == 0 || text.CharAt(at - 1) != ':')
      return at;
  }
  return -1;
}

void SetCodeCommentStyle(TextString& text) {
  const int at = FindCodeComment(text);
  if (at < 0)
    return;
  text.ReplaceSpan(at, 2, "//{\\b\\i ");
  text.Append("\\i0\\b0}");
}

// ---- Shared steps ----

void PreForm::WriteRegionOpening(int styleIndex, const char* after) {
  Context& ctx = *ctx_;
  const int index = std::clamp(styleIndex, 0, StyleSheet::kStyleCount - 1);
  unsigned mask = kAllParts;
  if (GetLineCount() > kKeepTogetherLines)
    mask &= ~kPartKeep;
  TextString format;
  BuildParagraphFormat(*fc_, *rtf_, index, ctx.Styles.GetRecord(index), format, mask);
  work.Assign("{");
  work.Append(format);
  // The blank ends the last control word: the line break after it would not.
  work.Append(after != nullptr ? after : " ");
  (void)rtf_->WriteRaw(*fc_, rtf_, work.GetText());
}

void PreForm::ConvertRegionText(TextString& text, int xrefs) {
  PreHTML& line = *workLine;
  line.SetText(text.GetText());
  line.SetTextEscaped(true);
  const int stage = ctx_->LineStage;
  ctx_->LineStage = kLineStageOutput;
  // The blanks of a region line are its layout: nothing is trimmed.
  line.ConvertFragment(*fc_, *ctx_, nullptr, true, xrefs != 0, true, false, true, false);
  ctx_->LineStage = stage;
  if (fc_->RestoreLinkAnchors(line, text) <= 0)
    text.Assign(line);
}

void PreForm::RunRegionTags(TextString& text, int mode) {
  PreHTML& line = *workLine;
  line.SetText(text.GetText());
  TextString message;
  int level = -1;
  rtf_->ScanInlineTags(mode, 0, line, *fc_, *ctx_, message, level);
  if (!message.IsEmpty())
    Report(message.GetText(), 10);
  text.Assign(line);
}

void PreForm::ApplyRegionPolicyLine(const PreFormLine& line) {
  FileControl& fc = *fc_;
  if (!ctx_->DirectiveNames.IsBuilt())
    ctx_->BuildTagNames(&fc, nullptr);
  PreHTML& expanded = *workLine2;
  expanded.SetText(line.raw.GetText());
  rtf_->ExpandTitleTags(expanded, fc, 0);
  TextString value;
  GetDirectiveValue(fc, expanded, ctx_->GetDirectiveName(Directive::ChangePolicy), value);
  TextString message("POLICY: Changed - ");
  message.Append(value);
  fc.ReportMessage(message.GetText(), 7);
  KeyValueLine policyLine;
  ParseKeyValueLine(policyLine, &fc.GetErrorHandler(), 0, value);
  if (policyLine.consumed)
    return;  // a comment or an empty line
  if (TableGenerationPolicies* generation = pGetGenerationPolicies(); generation != nullptr)
    generation->ApplyPolicyLine(fc, policyLine);
  ParseKeyValueLine(policyLine, &fc.GetErrorHandler(), 0, value);
  if (TableLayout* layout = pGetLayout(); layout != nullptr)
    (void)layout->ApplyPolicyLine(fc, policyLine);
}

// ---- Pre-formatted text and code ----

void PreForm::OutputPreformatted() {
  if (rtf_ == nullptr || ctx_ == nullptr)
    return;
  const bool isCode = userCode || code;
  const bool isDiagram = userDiagram || diagram;
  WriteRegionOpening(isCode      ? StyleSheet::kCode
                     : isDiagram ? StyleSheet::kDiagram
                                 : StyleSheet::kPreformatted,
                     nullptr);
  const TableGenerationPolicies* generation = pGetGenerationPolicies();
  const int xrefs = !isCode && generation != nullptr &&
                            generation->Bool(GenerationPolicyId::ConvertXrefs).value
                        ? 1
                        : 0;
  for (int i = 0; i < GetLineCount(); ++i) {
    const PreFormLine& line = *GetLine(i);
    if (line.type == kTagChangePolicy) {
      ApplyRegionPolicyLine(line);
      continue;
    }
    if (IsDirectiveTagType(line.type))
      continue;
    cellLine.Assign(line.output);
    EscapeRtfText(*fc_, cellLine);
    ConvertRegionText(cellLine, xrefs);
    RunRegionTags(cellLine, kInlineTagsOfTitleText);
    if (isCode)
      SetCodeCommentStyle(cellLine);
    cellLine.Append("\\par");
    (void)rtf_->WriteRaw(*fc_, rtf_, cellLine.GetText());
  }
  (void)rtf_->WriteRaw(*fc_, rtf_, "}");
}

void PreForm::OutputCode() {
  if (rtf_ == nullptr || ctx_ == nullptr)
    return;
  WriteRegionOpening(StyleSheet::kCode, nullptr);
  PreHTML& converted = *workLine;
  for (int i = 0; i < GetLineCount(); ++i) {
    const PreFormLine& line = *GetLine(i);
    if (line.type == kTagChangePolicy) {
      ApplyRegionPolicyLine(line);
      continue;
    }
    converted.SetText(line.work.GetText());
    EscapeRtfText(*fc_, converted);
    const int stage = ctx_->LineStage;
    ctx_->LineStage = kLineStageOutput;
    converted.ApplyLinkDictionary(*fc_, *ctx_);
    ctx_->LineStage = stage;
    cellLine.Assign(converted);
    SetCodeCommentStyle(cellLine);
    cellLine.Append("\\par");
    (void)rtf_->WriteRaw(*fc_, rtf_, cellLine.GetText());
  }
  (void)rtf_->WriteRaw(*fc_, rtf_, "\\par}");
}

void PreForm::OutputInvertedPyramid() { OutputPreformatted(); }

// ---- Normal text ----

void PreForm::OutputNormal() {
  if (rtf_ == nullptr || ctx_ == nullptr)
    return;
  FileControl& fc = *fc_;
  ctx_->InPreformattedRegion = 0;
  rtf_->SetStyle(fc, kParagraphBody, fc.GetIndentLevel(std::clamp(minIndent, 0, 80)));
  for (int i = 0; i < GetLineCount(); ++i) {
    const PreFormLine& line = *GetLine(i);
    if (line.type == kTagChangePolicy) {
      ApplyRegionPolicyLine(line);
      continue;
    }
    if (IsDroppedFromNormalText(line.type))
      continue;
    cellLine.Assign(line.raw);
    EscapeRtfText(fc, cellLine);
    ConvertRegionText(cellLine, 1);
    RunRegionTags(cellLine, kInlineTagsOfLine);
    RunRegionTags(cellLine, kInlineTagsOfTitleText);
    cellLine.Append("\\par ");
    (void)rtf_->WriteLine(fc, rtf_, cellLine.GetText(), 0);
  }
}

// ---- Mail header ----

// The kinds of mail header line the header output shows.
enum MailKey : int { kMailDate, kMailFrom, kMailSubject, kMailKeyCount };

// The kind of a header key (the text before the first ':', blanks around it ignored), or -1.
static int MailKeyOf(const TextString& text, int colon) {
  TextString key;
  key.AssignSubstring(text.GetText(), 0, colon);
  key.Trim();
  if (key.Compare("Date", 0, 0))
    return kMailDate;
  if (key.Compare("From", 0, 0))
    return kMailFrom;
  if (key.Compare("Subject", 0, 0) || key.Compare("Subj", 0, 0))
    return kMailSubject;
  return -1;
}

void PreForm::ConvertMailLine(TextString& text) {
  EscapeRtfText(*fc_, text);
  ConvertRegionText(text, 0);
  text.ReplaceChar(0, '\t', ' ', 0);
  text.CollapseBlanks();
  text.Trim();
}

void PreForm::OutputMailHeader() {
  if (fc_ == nullptr || ctx_ == nullptr)
    return;
  if (rtf_ == nullptr) {
    Report("PROGRAM ERROR : No RTFFile inside OutputMailHeader", 10);
    return;
  }
  // The line of each kind the header shows (the first of its kind), and its value.
  int lineOf[kMailKeyCount] = {-1, -1, -1};
  TextString values[kMailKeyCount];
  for (int i = 0; i < GetLineCount(); ++i) {
    if (lineOf[kMailDate] >= 0 && lineOf[kMailFrom] >= 0 && lineOf[kMailSubject] >= 0)
      break;
    const PreFormLine& line = *GetLine(i);
    if (line.type == kTagChangePolicy)
      continue;
    int colon = -1;
    if (!line.raw.FindChar(0, ':', &colon, 1))
      continue;
    const int key = MailKeyOf(line.raw, colon);
    if (key < 0 || lineOf[key] >= 0)
      continue;
    lineOf[key] = i;
    values[key].Assign(line.raw);
  }
  if (lineOf[kMailFrom] < 0 || lineOf[kMailSubject] < 0) {
    OutputAsNormalText();
    return;
  }

  // The lines are written in their order, names and all: the subject in the Heading 2 style,
  // the sender and the date in the quotation style (which is italic), every other line of the
  // region as a line of the header's body paragraph, so that nothing is lost.
  FileControl& fc = *fc_;
  StartMailParagraph(StyleSheet::kBody);
  work.AppendChar(' ');
  (void)rtf_->WriteRaw(fc, rtf_, work.GetText());
  for (int i = 0; i < GetLineCount(); ++i) {
    const PreFormLine& line = *GetLine(i);
    if (line.type == kTagChangePolicy) {
      ApplyRegionPolicyLine(line);
      continue;
    }
    const int key = i == lineOf[kMailSubject] ? kMailSubject
                    : i == lineOf[kMailFrom]  ? kMailFrom
                    : i == lineOf[kMailDate]  ? kMailDate
                                              : -1;
    if (key < 0) {
      cellLine.Assign(line.raw);
      ConvertMailLine(cellLine);
      if (cellLine.IsEmpty())
        continue;
      cellLine.Append("\\par");
      (void)rtf_->WriteRaw(fc, rtf_, cellLine.GetText());
      continue;
    }
    ConvertMailLine(values[key]);
    StartMailParagraph(key == kMailSubject ? StyleSheet::kHeading1 + 1 : StyleSheet::kQuotes);
    work.AppendChar(' ');
    work.Append(values[key]);
    work.Append(key == kMailSubject ? "\\par}" : "\\i0\\par}");
    (void)rtf_->WriteRaw(fc, rtf_, work.GetText());
  }
  (void)rtf_->WriteRaw(fc, rtf_, "}");
}

void PreForm::StartMailParagraph(int styleIndex) {
  TextString format;
  BuildParagraphFormat(*fc_, *rtf_, styleIndex, ctx_->Styles.GetRecord(styleIndex), format);
  work.Assign("{");
  work.Append(format);
}

// ---- Heavily indented text block ----

void PreForm::OutputIndentedBlock() {
  if (rtf_ == nullptr || ctx_ == nullptr)
    return;
  FileControl& fc = *fc_;
  const int step = RTFFile::kIndentStep;
  const PreFormColumn* first = GetColumn(0);
  const PreFormColumn* second = GetColumn(1);
  int indent = (first != nullptr ? first->width / step * step : 0) + step;
  if (fc.GetInt(PolicyId::MakeWindowsHelpSourceFile))
    indent += step;
  const int secondWidth = second != nullptr ? second->width : 0;
  int pageWidth = 0;
  int pageHeight = 0;
  GetPaperSize(fc, pageWidth, pageHeight);
  int top = 0;
  int bottom = 0;
  int left = 0;
  int right = 0;
  GetPageMargins(fc, top, bottom, left, right);
  if (pageWidth - left - right < indent + secondWidth)
    indent = std::max(0, pageWidth - secondWidth - left - right);
  // The indent follows the style's codes: their \pard would reset it.
  TextString after("\\li");
  after.AppendNumber('1', indent, 0);
  after.Append("\\widctlpar\\jclisttab ");
  WriteRegionOpening(StyleSheet::kHangingList, after.GetText());

  TableCellList row;
  row.MakeCells(fc, this, std::max(GetColumnCount(), 2));
  TableGenerationPolicies* generation = pGetGenerationPolicies();
  const bool commands = generation != nullptr && generation->GetTextCommands().GetCount() > 0;
  for (int i = 0; i < GetLineCount(); ++i) {
    const PreFormLine& line = *GetLine(i);
    if (line.type == kTagChangePolicy) {
      ApplyRegionPolicyLine(line);
      continue;
    }
    SplitLine(row, i, 0);
    // Any text outside the indented column is kept in front of it.
    cellLine.SetEmpty();
    for (int c = 0; c < row.GetCount(); ++c) {
      TextString& text = row.GetCell(c)->text;
      if (c == 1) {
        RunRegionTags(text, kInlineTagsOfTitleText);
        if (commands) {
          TextString result;
          TextCommandTags host(workLine.get());
          (void)generation->GetTextCommands().Apply(fc, &host, *workLine, text, result);
          text.Assign(result);
        }
      }
      text.Trim();
      if (text.IsEmpty())
        continue;
      if (!cellLine.IsEmpty())
        cellLine.AppendChar(' ');
      cellLine.Append(text);
    }
    if (!cellLine.IsEmpty())
      cellLine.Append("\\par");
    (void)rtf_->WriteRaw(fc, rtf_, cellLine.GetText());
  }
  (void)rtf_->WriteRaw(fc, rtf_, "}");
}
