#include "policy/StatementReading.h"

#include "policy/PolicyContext.h"
#include "policy/FileControl.h"
#include "policy/PolicySection.h"
#include "policy/PolicyTable.h"
#include "policy/TextCommandSet.h"

// "Preserve all white space from the original source" of [Text formatting].
static constexpr int kPreserveAllWhiteSpacePolicy = 100;
static constexpr int kReadWarningLevel = 10;

InputRules InputRulesOf(FileControl& fc) {
  InputRules rules;
  rules.pageMarkers = fc.GetInt(PolicyId::InputFileHasPageMarkers) != 0;
  rules.pageMarkerSize = fc.GetInt(PolicyId::PageMarkerSizeInLines);
  rules.doubleSpaced = fc.GetInt(PolicyId::InputFileIsDoubleSpaced) != 0;
  // A character set chosen by the user is not second-guessed.
  const bool dosChosen = fc.GetInt(PolicyId::InputFileContainsDOSCharacters) != 0 &&
                         fc.IsSet(PolicyId::InputFileContainsDOSCharacters);
  rules.countPairs = fc.GetInt(PolicyId::LookForCharacterEncodings) != 0 && !dosChosen &&
                     !fc.IsSet(PolicyId::CharacterEncoding);
  rules.mimeEncoding = fc.GetInt(PolicyId::InputFileContainsMIMEEncoding) != 0;
  const PolicyContext* ctx = fc.pGetPolicyContext();
  rules.analysisPass = ctx && ctx->AnalysisPass != 0;
  return rules;
}

StatementReadRules ReadRulesOf(FileControl& fc) {
  StatementReadRules rules;
  rules.input = InputRulesOf(fc);
  rules.preserveStructureWithPre = fc.GetInt(PolicyId::PreserveFileStructureUsingPRE) != 0;
  rules.directivePrefix = fc.GetText(PolicyId::DirectiveDelimiter).GetText();
  rules.tabSize = fc.GetInt(PolicyId::TABSize);
  rules.expandTabs = fc.GetPolicyList()
                         .GetSection(kTextFormattingSection)
                         .GetBool(kPreserveAllWhiteSpacePolicy) == 0;
  if (const PolicyContext* ctx = fc.pGetPolicyContext()) {
    rules.plainTextOutput = ctx->GetOutputType() == kOutputPlainText;
    rules.htmlInput = ctx->Commands.sourceIsHtml != 0;
  }
  return rules;
}

static void ApplyTextCommands(FileControl& fc, TextCommandHost& host, Statement& out) {
  TextCommandSet& commands = fc.GetTextCommands();
  // Most documents have no text commands: no copy of the line for them.
  if (commands.GetCount() == 0) return;
  const TextString text(out);
  TextString result;
  commands.Apply(fc, &host, out, text, result);
  out.Assign(result);
}

int ReadNoticeMessage(unsigned notice, const char* name, TextString& message) {
  if (name == nullptr) name = "";
  if (notice == kNoticeLineCut) {
    message.Assign("WARNING: A line of ");
    message.Append(name);
    message.Append(" is longer than ");
    message.AppendNumber('1', StatementFile::kMaxStatementLength, 0);
    message.Append(" bytes: it is read as several lines");
  } else {
    message.Assign("WARNING: ");
    message.Append(name);
    message.Append(" ends in half a UTF-16 character: its last byte is ignored");
  }
  return kReadWarningLevel;
}

// The notices the reader raised, as warnings naming the file.
static void ReportNotices(StatementFile& file, FileControl& fc) {
  const unsigned notices = file.TakeNotices();
  TextString message;
  for (const unsigned notice : {kNoticeLineCut, kNoticeStrayByte}) {
    if ((notices & notice) == 0) continue;
    const int level = ReadNoticeMessage(notice, file.GetTopFileName(), message);
    fc.ReportMessage(message.GetText(), level);
  }
}

bool ReadStatementKeepingNotices(StatementFile& file, Statement& out, FileControl& fc,
                                 PolicyContext& ctx, TextCommandHost* textCommands) {
  const StatementReadRules rules = ReadRulesOf(fc);
  if (!file.ReadPreparedStatement(out, rules, ctx.InputState, fc)) return false;
  if (textCommands != nullptr) {
    ApplyTextCommands(fc, *textCommands, out);
    file.QueueLineFeedFields(out);
  }
  file.FinishStatement(out, rules, fc, ctx);
  return true;
}

bool ReadStatement(StatementFile& file, Statement& out, FileControl& fc, PolicyContext& ctx,
                   TextCommandHost* textCommands) {
  const bool read = ReadStatementKeepingNotices(file, out, fc, ctx, textCommands);
  ReportNotices(file, fc);
  return read;
}
