// The preparation of a line just read and its conversion stage before analysis.

#include "analysis/PreHTML.h"

#include "analysis/LineContext.h"
#include "analysis/LineServices.h"
#include "analysis/PrinterCodes.h"
#include "engine/Context.h"
#include "engine/Entities.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "text/ProductIdentity.h"

void PreHTML::StripTrailingCR(FileControl& fc) { PrepareLine(fc); }

// Builds start delimiter + keyword + end delimiter into out.
static void BuildTag(FileControl& fc, const char* keyword, TextString& out) {
  out.Assign(fc.GetText(PolicyId::StartTagDelimiter));
  out.Append(keyword);
  out.Append(fc.GetText(PolicyId::EndTagDelimiter));
}

// The markup of a rule set's documents that carries nothing for the conversion.
static constexpr const char* kRuleSetMarksRemoved[] = {"<Table>", "</Table>", "<Page>", "<S>",
                                                       "<C>"};

void PreHTML::PrepareLine(FileControl& fc) {
  tagWork_.Assign(fc.GetText(PolicyId::StartTagDelimiter));
  DropTrailingCR();
  // A lone form feed is a page break line of its own; inside a longer line it becomes the
  // tag that the output writes as a page break.
  if (length_ > 1 && CharAt(0) == '\f') {
    BuildTag(fc, "NEW_PAGE", tagWork_);
    (void)ReplaceAll("\f", tagWork_.GetText(), 0, 1);
  }
  const int ruleSet = fc.GetRuleSet();
  if (ruleSet != 1 && ruleSet != 2)
    return;
  Trim();
  if (!IsEmpty() && ContainsChar('<')) {
    for (const char* mark : kRuleSetMarksRemoved)
      (void)ReplaceAll(mark, "", 0, 1);
    BuildTag(fc, "START_REDLINE", tagWork_);
    (void)ReplaceAll("<R>", tagWork_.GetText(), 0, 0);
    BuildTag(fc, "END_REDLINE", tagWork_);
    (void)ReplaceAll("</R>", tagWork_.GetText(), 0, 0);
    Trim();
  }
  if (IsEmpty())
    SetLineType(kTypeNull);
}

// "Character encoding" values under which Windows punctuation is made plain.
static bool IsLatin1Encoding(const TextString& encoding) {
  return encoding.IsEmpty() || encoding.Compare("ascii", 0, 0) ||
         encoding.Compare("iso-8859-1", 0, 0);
}

void PreHTML::TidyLine(const LineContext* previous, FileControl& fc, Context& ctx) {
  if (ctx.LineStage != kLineStageConversion)
    return;
  // Headings and a bullet's blank lines keep their characters as typed for the line after.
  const bool keepAsTyped =
      previous != nullptr && (previous->isHeading || previous->isBulletBlankLine);
  TakeGeometry();
  const bool analysis = ctx.AnalysisPass != 0;
  const int outputType = ctx.GetOutputType();
  if (!analysis && ctx.ContentsPass == 0) {
    if (fc.GetInt(PolicyId::InputFileContainsPCLCodes) != 0 && ContainsChar('\x1B')) {
      int recognised = 0;
      RemovePclCodes(fc, *this, *this, 1, recognised);
      RemovePclCodes(fc, rawCopy_, rawCopy_, 1, recognised);
    }
    if (fc.GetInt(PolicyId::InputFileContainsDOSCharacters) != 0) {
      const bool rtf = outputType == kOutputRtf;
      const bool tables = fc.GetInt(PolicyId::AttemptTABLEGeneration) != 0;
      // The RTF writer tells box drawing from the letters that share its bytes by its mark.
      const int mark = rtf && !tables ? 1 : 0;
      ConvertOemCharacters(rtf ? 0 : 1, (!rtf || tables) ? 1 : 0, 1, nullptr, mark);
      rawCopy_.ConvertOemCharacters(rtf ? 0 : 1, (!rtf || tables) ? 1 : 0, 1, nullptr, mark);
    }
    if (fc.GetInt(PolicyId::InputFileContainsMIMEEncoding) != 0) {
      DecodeQuotedPrintable(1);
      rawCopy_.DecodeQuotedPrintable(1);
    }
  }
  // UTF-8 text (read as such, or converted from UTF-16) has those bytes inside its characters.
  if (!analysis && !keepAsTyped && ctx.Utf8Input == 0 &&
      IsLatin1Encoding(fc.GetText(PolicyId::CharacterEncoding)))
    ConvertWindowsPunctuation(outputType == kOutputHtml ? 1 : 0);
  markup_.Assign(*this);
  tidy_.Assign(*this);
  switch (outputType) {
    case kOutputHtml:
      if (ctx.SuppressTidyConversion == 0 && !textEscaped_) {
        EncodeEntities(fc, ctx, *this);
        textEscaped_ = true;
      }
      break;
    case kOutputRtf:
      if (!textEscaped_) {
        EscapeRtfText(fc, *this);
        textEscaped_ = true;
      }
      break;
    case kOutputPlainText:
    case kOutputTextMarkersDropped:
      break;
    default:
      fc.ReportMessage("UNSUPPORTED CASE: Output Format in TidyLine", 10);
      break;
  }
  lineLength_ = length_;
  plain_.Assign(*this);
  if (ctx.SuppressTidyConversion == 0 && outputType != kOutputPlainText && !keepAsTyped)
    ConvertLine(fc, ctx, 1, 1);
}
