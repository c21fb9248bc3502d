#include "engine/Context.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "policy/FileControl.h"

TEST(Context, RtfOutputStartsWithTenPointFonts) {
  struct Case {
    int outputType;
    int points;
  };
  for (const Case c : {Case{kOutputRtf, 10}, Case{kOutputHtml, 12}, Case{kOutputPlainText, 12}}) {
    SCOPED_TRACE(c.outputType);
    Context ctx(2, c.outputType);
    EXPECT_EQ(ctx.GetOutputType(), c.outputType);
    EXPECT_EQ(ctx.GetProductId(), 2);
    EXPECT_EQ(ctx.PendingFont.GetPointSize(), c.points);
    EXPECT_EQ(ctx.CurrentFont.GetPointSize(), c.points);
  }
}

TEST(Context, BuiltReadyForTheAnalysisPass) {
  Context ctx(2, kOutputRtf);
  EXPECT_EQ(ctx.AnalysisPass, 1);
  EXPECT_EQ(ctx.ContentsPass + ctx.OutputPass + ctx.StageFlag2 + ctx.StageFlag3, 0);
  EXPECT_EQ(ctx.CodeLocation, kLocationNone);
  EXPECT_EQ(ctx.Entities.GetCount(), 256);
  EXPECT_STREQ(ctx.GetDirectiveName(Directive::Include).GetText(), "$_$_INCLUDE");
  EXPECT_STREQ(ctx.InlineCommands.GetComplete(InlineCommand::Br).GetText(), "[[BR]]");
  EXPECT_STREQ(ctx.HtmlTagNames.GetClosing(HtmlTagName::Td).GetText(), "</TD>");
  EXPECT_STREQ(ctx.Qualifiers.Get(Qualifier::Log).searchForm.GetText(), "/LO");
  EXPECT_STREQ(ctx.GetDocInfo(DocInfo::Title).GetText(), "** UNKNOWN **");
  EXPECT_STREQ(ctx.RuleWidthPercent.GetText(), "100%");
  EXPECT_EQ(ctx.Commands.displayMessages, 1);
  EXPECT_EQ(ctx.Commands.outputPassEnabled, 1);
  EXPECT_EQ(ctx.LanguageCode, 1);
  EXPECT_EQ(ctx.TagDetection.dictionary, nullptr);
  EXPECT_EQ(ctx.GetFileControl().pGetContext(), nullptr);
  EXPECT_EQ(ctx.TableDefinitions.GetFormatCount(), 0);
}

TEST(Context, ResetForFileSplitsTheNameAndEmptiesTheFileState) {
  Context ctx(2, kOutputRtf);
  FileControl fc;
  fc.AttachContext(&ctx);
  ASSERT_EQ(ctx.Tags.Add(fc, TextString("QUAD"), TextString("C"), 2, TextPosition(0, 4), 0), 1);
  ctx.Statistics.first = 7;
  ctx.Statistics.headings[2].indents.Add(4);
  ctx.DocumentInfo[static_cast<std::size_t>(DocInfo::Author)] = "Someone";
  ctx.AnalysisPass = 0;
  ctx.OutputPass = 1;
  ctx.CodeLocation = kLocationOutput;
  ctx.Trackers[0].inContents = 1;
  ctx.Commands.listFiles = 1;

  ctx.ResetForFile(TextString("/data/in/report.v2.txt"));
  EXPECT_STREQ(ctx.InputFileName.GetText(), "/data/in/report.v2.txt");
  EXPECT_STREQ(ctx.InputFolder.GetText(), "/data/in/");
  EXPECT_STREQ(ctx.InputBaseName.GetText(), "report.v2");
  EXPECT_STREQ(ctx.InputExtension.GetText(), ".txt");
  EXPECT_EQ(ctx.Tags.GetCount(), 0);
  EXPECT_EQ(ctx.Statistics.first, -1);
  EXPECT_EQ(ctx.Statistics.headings[2].indents.GetSamples(), 0);
  for (const TextString& info : ctx.DocumentInfo) EXPECT_STREQ(info.GetText(), "** UNKNOWN **");
  EXPECT_EQ(ctx.AnalysisPass, 1);
  EXPECT_EQ(ctx.OutputPass, 0);
  EXPECT_EQ(ctx.CodeLocation, kLocationNone);
  EXPECT_EQ(ctx.Trackers[0].inContents, 0);
  EXPECT_EQ(ctx.Headings.GetCount(), 0);
  EXPECT_EQ(ctx.Headings.lowestLevel, -1);
  // Command settings belong to the run, not to the file.
  EXPECT_EQ(ctx.Commands.listFiles, 1);
}

TEST(Context, ResetPassStateKeepsWhatTheAnalysisRegistered) {
  Context ctx(2, kOutputRtf);
  FileControl fc;
  fc.AttachContext(&ctx);
  ASSERT_EQ(ctx.Tags.Add(fc, TextString("QUAD"), TextString("C"), 2, TextPosition(0, 4), 0), 1);
  ctx.RuleWidth = "640";
  ctx.RuleAlignment = "LEFT";
  ctx.EndTagWritten = 1;
  ctx.CurrentFontChange.fontIndex = 3;
  ctx.Trackers[1].permissions.fill(0);
  ctx.Trackers[2].currentPosition.Set(0, 12);
  ctx.CodeLocation = kLocationContents;

  ctx.ResetPassState();
  EXPECT_EQ(ctx.Tags.GetCount(), 1);
  EXPECT_STREQ(ctx.RuleWidth.GetText(), "800");
  EXPECT_STREQ(ctx.RuleHeight.GetText(), "2");
  EXPECT_STREQ(ctx.RuleAlignment.GetText(), "CENTER");
  EXPECT_EQ(ctx.EndTagWritten, 0);
  EXPECT_EQ(ctx.CurrentFontChange.fontIndex, -1);
  EXPECT_EQ(ctx.Trackers[1].Allows(Permission::Definitions), 1);
  EXPECT_FALSE(ctx.Trackers[2].currentPosition.IsSet());
  EXPECT_EQ(ctx.CodeLocation, kLocationNone);
}

TEST(Context, PassAndFileResetsCloseAnOpenDefinition) {
  Context ctx(2, kOutputRtf);
  std::vector<std::string> messages;
  ctx.GetLogErrorHandler().SetMessageCallback(
      [&messages](const char* text) { messages.emplace_back(text); });
  ctx.Defines.OpenDefinition(ctx, 1017, "FOOTER");
  ASSERT_TRUE(ctx.Defines.IsDefinitionOpen());
  ctx.ResetPassState();
  EXPECT_FALSE(ctx.Defines.IsDefinitionOpen());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0],
            "TAG ERROR: Missing END_BLOCK detected at end of input for DEFINE_BLOCK FOOTER");

  ctx.Defines.OpenDefinition(ctx, 1017, "HEADER");
  ctx.ResetForFile(TextString("next.txt"));
  EXPECT_FALSE(ctx.Defines.IsDefinitionOpen());
  EXPECT_EQ(messages.size(), 2u);
}

TEST(Context, ResetsClearTheInputRuleStateAndFontTags) {
  Context ctx(2, kOutputRtf);
  ctx.InputState.droppedLine = true;
  ctx.InputState.pageLinesLeft = 2;
  ctx.Statistics.census.koi8r = 40;
  ctx.FontTagsExecuted = 1;
  ctx.ResetPassState();
  // Each pass starts reading afresh; the census of the analysis pass stays for the calculation.
  EXPECT_FALSE(ctx.InputState.droppedLine);
  EXPECT_EQ(ctx.InputState.pageLinesLeft, 0);
  EXPECT_EQ(ctx.Statistics.census.koi8r, 40);
  ctx.ResetForFile(TextString("next.txt"));
  EXPECT_EQ(ctx.Statistics.census.koi8r, 0);
  // The reading still counts into the record the calculation reads.
  EXPECT_EQ(ctx.InputState.census, &ctx.Statistics.census);
  EXPECT_EQ(ctx.FontTagsExecuted, 0);
}

TEST(Context, CommandAndRunResets) {
  Context ctx(2, kOutputRtf);
  ctx.Commands.helpRequested = 1;
  ctx.Commands.displayMessages = 0;
  ctx.Commands.overwrite = 1;
  ctx.Commands.logFileName = "x.log";
  ctx.ResetCommandState();
  EXPECT_EQ(ctx.Commands.helpRequested, 0);
  EXPECT_EQ(ctx.Commands.displayMessages, 1);
  EXPECT_EQ(ctx.Commands.overwrite, 0);
  EXPECT_TRUE(ctx.Commands.logFileName.IsEmpty());

  ctx.InputFiles.Append("a.txt");
  ctx.FileCounter = 4;
  ctx.FirstFile = 0;
  ctx.ResetRunState();
  EXPECT_EQ(ctx.InputFiles.GetCount(), 0);
  EXPECT_EQ(ctx.FileCounter, 0);
  EXPECT_EQ(ctx.FirstFile, 1);
}
