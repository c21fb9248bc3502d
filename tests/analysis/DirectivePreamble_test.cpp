#include "analysis/DirectivePreamble.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "policy/PolicyTable.h"
#include "support/TestFiles.h"
#include "text/StatementFile.h"

namespace {

using Lines = std::vector<std::string>;

// A policy set attached to a Context of the given output type, with the messages shown.
struct PreambleRun {
  explicit PreambleRun(int outputType) : ctx(2, outputType) {
    fc.AttachContext(&ctx);
    fc.Int(PolicyId::ErrorReportingLevel).value = 10;
    ctx.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { messages.emplace_back(text); });
    ctx.GetLogErrorHandler().SetDiagnosticCallback(
        [this](const char* text) { progress.emplace_back(text); });
  }

  Lines Queued() const {
    Lines out;
    const StringList& pieces = reader.GetPendingPieces();
    for (int i = 0; i < pieces.GetCount(); ++i)
      out.emplace_back(pieces.GetItem(i)->text.GetText());
    return out;
  }

  Context ctx;
  FileControl fc;
  StatementFile reader;
  Lines messages;
  Lines progress;
};

void AskForEverything(PreambleRun& run, const std::string& fragments) {
  run.fc.SetRuleSet(1, 1);
  run.fc.Bool(PolicyId::PreserveFileStructureUsingPRE).value = 1;
  run.ctx.Commands.sourceIsHtml = 1;
  run.fc.Text(PolicyId::FragmentsFile).value = fragments.c_str();
}

TEST(WriteDefaultDirectives, RtfQueuesNothingWhateverThePoliciesSay) {
  TempFolder folder("preamble");
  WriteBytes(folder.File("frag.txt"), "$_$_DEFINE_TEXT_FRAGMENT F\nx\n$_$_END_BLOCK\n");
  PreambleRun run(kOutputRtf);
  AskForEverything(run, folder.File("frag.txt"));
  WriteDefaultDirectives(run.fc, run.reader);
  EXPECT_TRUE(run.Queued().empty());
  EXPECT_TRUE(run.messages.empty());
}

TEST(WriteDefaultDirectives, HtmlQueuesFolioDefaultsStartsAndFragmentsWithTheDelimiter) {
  TempFolder folder("preamble");
  WriteBytes(folder.File("frag.txt"), "##DEFINE_TEXT_FRAGMENT F\nx\n##END_BLOCK\n");
  PreambleRun run(kOutputHtml);
  AskForEverything(run, folder.File("frag.txt"));
  run.fc.Text(PolicyId::DirectiveDelimiter).value = "##";
  WriteDefaultDirectives(run.fc, run.reader);
  EXPECT_EQ(run.Queued(),
            (Lines{"##DEFINE_BLOCK DEFAULT_FOLIO_FOOTER",
                   "[_[VARIABLE FOLIO_FOOTER_PAGE_NUMBER]_][_[QUAD C]_]", "##END_BLOCK",
                   "##DEFINE_BLOCK DEFAULT_FOLIO_HR", "[_[LINERULE]_]", "##END_BLOCK",
                   "##DEFINE_VARIABLE FOLIO_FORMAT_CODE,0",
                   "##DEFINE_VARIABLE FOLIO_TEMPLATE,\"[Folio]\"", "##RESET_BLOCK PAGE_HEAD",
                   "##RESET_BLOCK PAGHD", "[_[PAGE_MARKER]_]", "##BEGIN_PRE", "##BEGIN_HTML",
                   "##DEFINE_TEXT_FRAGMENT F", "x", "##END_BLOCK"}));
}

TEST(WriteDefaultDirectives, HtmlWithoutRuleSetAndTextQueueOnlyWhatIsAskedFor) {
  TempFolder folder("preamble");
  WriteBytes(folder.File("frag.txt"), "$_$_DEFINE_TEXT_FRAGMENT F\n$_$_END_BLOCK\n");
  PreambleRun html(kOutputHtml);
  html.fc.Bool(PolicyId::PreserveFileStructureUsingPRE).value = 1;
  WriteDefaultDirectives(html.fc, html.reader);
  EXPECT_EQ(html.Queued(), Lines{"$_$_BEGIN_PRE"});

  PreambleRun text(kOutputPlainText);
  AskForEverything(text, folder.File("frag.txt"));
  WriteDefaultDirectives(text.fc, text.reader);
  EXPECT_EQ(text.Queued(), (Lines{"$_$_DEFINE_TEXT_FRAGMENT F", "$_$_END_BLOCK"}));
}

TEST(AddClosingEndPre, QueuesEndPreWithTheDelimiterOnlyWhenAsked) {
  PreambleRun run(kOutputRtf);
  AddClosingEndPre(run.fc, run.reader);
  EXPECT_TRUE(run.Queued().empty());
  run.fc.Bool(PolicyId::PreserveFileStructureUsingPRE).value = 1;
  run.fc.Text(PolicyId::DirectiveDelimiter).value = "@@";
  AddClosingEndPre(run.fc, run.reader);
  EXPECT_EQ(run.Queued(), Lines{"@@END_PRE"});
}

TEST(ProcessIncludeFiles, QueuesOnlyFragmentsAndFollowsIncludes) {
  TempFolder folder("fragments");
  WriteBytes(folder.File("parts.txt"), "inside the include\n");
  WriteBytes(folder.File("frag.txt"),
             "outside, dropped\n"
             "$_$_TITLE outside\n"
             "$_$_DEFINE_HTML_FRAGMENT ONE\n"
             "line one\n"
             "$_$_INCLUDE parts.txt\n"
             "$_$_TITLE inside\n"
             "$_$_RESET_HTML_FRAGMENT\n"
             "after, dropped\n"
             "$_$_INCLUDE missing.txt\n");
  PreambleRun run(kOutputPlainText);
  run.ctx.OutputPass = 1;
  run.fc.Text(PolicyId::InputDirectory).value = folder.path.string().c_str();
  run.fc.Text(PolicyId::FragmentsFile).value = "frag.txt";
  ProcessIncludeFiles(run.fc, run.reader);
  EXPECT_EQ(run.Queued(), (Lines{"$_$_DEFINE_HTML_FRAGMENT ONE", "line one",
                                 "$_$_INCLUDE parts.txt", "inside the include",
                                 "$_$_TITLE inside", "$_$_RESET_HTML_FRAGMENT"}));
  EXPECT_EQ(run.progress, Lines{"INFO: Opened include file \"parts.txt\""});
  EXPECT_EQ(run.messages,
            (Lines{"TAG ERROR: fragment file contains : $_$_TITLE outside",
                   "TAG ERROR: fragment file contains : $_$_TITLE inside",
                   "ERROR: Failed to open include file \"missing.txt\""}));
}

TEST(ProcessIncludeFiles, LooksInTheSearchFolderAndReportsAMissingFile) {
  TempFolder folder("fragments");
  WriteBytes(folder.File("frag.txt"), "$_$_DEFINE_TEXT_FRAGMENT T\nt\n$_$_END_BLOCK\n");
  PreambleRun found(kOutputPlainText);
  found.ctx.IncludeSearchFolder = folder.path.string().c_str();
  found.fc.Text(PolicyId::FragmentsFile).value = "frag.txt";
  ProcessIncludeFiles(found.fc, found.reader);
  EXPECT_EQ(found.Queued(), (Lines{"$_$_DEFINE_TEXT_FRAGMENT T", "t", "$_$_END_BLOCK"}));

  PreambleRun missing(kOutputPlainText);
  missing.fc.Text(PolicyId::FragmentsFile).value = "no-such-fragments.txt";
  ProcessIncludeFiles(missing.fc, missing.reader);
  EXPECT_TRUE(missing.Queued().empty());
  EXPECT_EQ(missing.messages, Lines{"ERROR: Can't find file no-such-fragments.txt"});
}

}  // namespace
