// The output file base: the scan of a line's in-line tags, the output copy of a line and the
// line records the statement writer reads.
#include "rtf/OutFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/LineContext.h"
#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "support/ContextFixture.h"
#include "text/StatementTypes.h"

namespace {

std::string Str(const TextString& text) {
  return {text.GetText(), static_cast<std::size_t>(text.GetLength())};
}

class OutFileTest : public ContextFixture {
 protected:
  void SetUp() override {
    ContextFixture::SetUp();
    SetPass(0, 0, 1);
    ctx.InlineTagSeen = 1;
  }
  // Messages about lines carry the line number; this is the text after it.
  std::vector<std::string> Reported() const {
    std::vector<std::string> texts;
    for (const std::string& m : messages) {
      const std::size_t dash = m.find(" - ");
      texts.push_back(m.rfind("Line ", 0) == 0 && dash != std::string::npos ? m.substr(dash + 3)
                                                                            : m);
    }
    return texts;
  }
  // The output copy of a line of text and type; type and level as the preparation leaves them.
  std::string Prepare(const char* text, int& type, int taggedType = kTagNone) {
    line.Reset(0);
    line.SetText(text);
    line.SetLineType(type);
    line.SetTaggedType(taggedType);
    line.SetStartPosition(fc, TextPosition(0, 7));
    int level = 0;
    file.PrepareOutputLine(fc, ctx, line, type, copy, level);
    return Str(copy);
  }

  RTFFile file{ctx};
  PreHTML line;
  PreHTML copy;
};

// ---- The scan of in-line tags ----

// A file that records the tags handed to its fallback and answers with a level.
class RecordingFile : public RTFFile {
 public:
  using RTFFile::RTFFile;
  int HandleLineTag(int mode, const TextString& tag, PreHTML& /*line*/, FileControl& /*fc*/,
                    Context& /*ctx*/, TextString& message, int& level) override {
    tags.push_back(Str(tag));
    modes.push_back(mode);
    message.Append("seen ");
    level = static_cast<int>(tags.size());
    return 1;
  }
  std::vector<std::string> tags;
  std::vector<int> modes;
};

TEST_F(OutFileTest, ScanHandsEachTagOnceToTheLine) {
  RecordingFile recorder{ctx};
  PreHTML tagged;
  tagged.SetText("before [[NB 2]] after ]] [[SUPER x]] end");
  TextString message;
  int level = -1;
  recorder.ScanInlineTags(kInlineTagsOfTitleText, 0, tagged, fc, ctx, message, level);
  EXPECT_EQ(recorder.tags, (std::vector<std::string>{"[[NB 2]]", "[[SUPER x]]"}));
  EXPECT_EQ(recorder.modes, (std::vector<int>{kInlineTagsOfTitleText, kInlineTagsOfTitleText}));
  EXPECT_EQ(Str(message), "seen seen ");
  EXPECT_EQ(level, 2);  // the highest level any tag gave
  EXPECT_TRUE(messages.empty());
}

TEST_F(OutFileTest, ScanWaitsForADocumentWithTagsExceptForTheTitle) {
  ctx.InlineTagSeen = 0;
  RecordingFile recorder{ctx};
  PreHTML tagged;
  tagged.SetText("a [[NB 2]] b");
  TextString message;
  int level = -1;
  recorder.ScanInlineTags(kInlineTagsOfLine, 0, tagged, fc, ctx, message, level);
  EXPECT_TRUE(recorder.tags.empty());
  recorder.ScanInlineTags(kInlineTagsOfDocumentTitle, 0, tagged, fc, ctx, message, level);
  EXPECT_EQ(recorder.tags, std::vector<std::string>{"[[NB 2]]"});
}

TEST_F(OutFileTest, UnbalancedDelimitersAreReportedWithTheLineAsScanned) {
  const struct {
    const char* text;
    const char* shown;
    int tags;
  } kCases[] = {
      {"open [[ and more text that runs past thirty characters",
       "open [[ and more text that run ...", 0},
      {"short ]] end", "short ]] end", 0},
      {"x [[BR]] y ]] z", "x  y ]] z", 1},
      {"012345678901234567890123456789[[", "012345678901234567890123456789 ...", 0},
      {"0123456789012345678901234567[[", "0123456789012345678901234567[[", 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    messages.clear();
    RecordingFile recorder{ctx};
    PreHTML tagged;
    tagged.SetText(c.text);
    TextString message;
    int level = -1;
    recorder.ScanInlineTags(kInlineTagsOfLine, 0, tagged, fc, ctx, message, level);
    EXPECT_EQ(static_cast<int>(recorder.tags.size()), c.tags);
    ASSERT_EQ(Reported().size(), 1u);
    EXPECT_EQ(Reported()[0],
              std::string("TAG ERROR: Unbalanced in-line tag delimiters - ") + c.shown);
  }
}

TEST_F(OutFileTest, ScanFindsEveryTagOfALongLine) {
  auto tagsSeen = [this](int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
      text += "w [[BR]] ";
    RecordingFile recorder{ctx};
    PreHTML tagged;
    tagged.SetText(text.c_str());
    TextString message;
    int level = -1;
    recorder.ScanInlineTags(kInlineTagsOfLine, 0, tagged, fc, ctx, message, level);
    return recorder.tags.size();
  };
  EXPECT_EQ(tagsSeen(2000), 2000u);
  EXPECT_EQ(tagsSeen(8000), 8000u);
}

TEST_F(OutFileTest, TitleTagExpansionIsQuietAboutUnpairedDelimiters) {
  PreHTML tagged;
  tagged.SetText("[[VERSION]] [[TEXT");
  fc.IgnoreDepth = 1;
  file.ExpandTitleTags(tagged, fc, 0);
  fc.IgnoreDepth = 0;
  file.ExpandTitleTags(tagged, fc, 0);
  EXPECT_TRUE(messages.empty());  // an unpaired delimiter ends the scan quietly
}

// ---- The output copy ----

TEST_F(OutFileTest, CopyIsEscapedAndKeepsTheLinePosition) {
  int type = kTypeUntyped;
  EXPECT_EQ(Prepare("a {b} c:\\x", type), "a \\'7bb\\'7d c:\\\\x");
  EXPECT_EQ(copy.GetStartPosition().GetColumn(), 7);
  EXPECT_EQ(type, kTypeUntyped);
}

TEST_F(OutFileTest, RawAndRegionLinesKeepTheirTextAsRead) {
  line.Reset(0);
  line.SetText("{raw}");
  line.SetFlag(kFlagRawOutput, true);
  int type = kTypeUntyped;
  int level = 0;
  file.PrepareOutputLine(fc, ctx, line, type, copy, level);
  EXPECT_EQ(Str(copy), "{raw}");

  fc.CollectingRegion = 1;
  const struct {
    int kind;
    const char* out;
  } kCases[] = {
      {0, "\\'7bx\\'7d"}, {1, "\\'7bx\\'7d"}, {4, "\\'7bx\\'7d"}, {2, "{x}"}, {3, "{x}"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.kind);
    line.Reset(0);
    line.SetText("{x}");
    line.SetSpecialFormat(c.kind);
    file.PrepareOutputLine(fc, ctx, line, type, copy, level);
    EXPECT_EQ(Str(copy), c.out);
  }
}

TEST_F(OutFileTest, BlankLinesInAndOutOfFolioMode) {
  const struct {
    int folio;
    int type;
    const char* text;
    int result;
  } kCases[] = {
      {0, kTypeBlank, "", kTypeBlank},
      {0, kTypeBlank, "left by a tag", kTypeUntyped},
      {1, kTypeBlank, "", kTypeBulletBlank},
      {1, kTypeBlank, "text", kTypeBulletBlankWithTags},
      {1, kTypeBulletBlankWithTags, "a FOLIO here", kTypeBulletBlankWithComment},
      {1, kTypeBulletBlankWithTags, "other", kTypeBulletBlankWithTags},
      {0, kTypeBulletBlank, "text", kTypeBulletBlankWithTags},
      {0, kTypeBulletBlank, "", kTypeBulletBlank},
  };
  fc.ListLevel = 3;
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.text) + " " + std::to_string(c.type));
    ctx.FolioMode = c.folio;
    int type = c.type;
    (void)Prepare(c.text, type);
    EXPECT_EQ(type, c.result);
  }
}

TEST_F(OutFileTest, AllowAndDisallowLinesChangeTheOutputTracker) {
  ctx.BuildTagNames(&fc, nullptr);
  Tracker& tracker = ctx.GetPassTracker(kLocationOutput);
  int type = kTagDisallow;
  line.Reset(0);
  line.SetText("$_$_DISALLOW Lists");
  line.SetLineType(kTagDisallow);
  line.SetTaggedType(kTagDisallow);
  int level = 0;
  file.PrepareOutputLine(fc, ctx, line, type, copy, level);
  EXPECT_EQ(tracker.Allows(Permission::Lists), 0);
  line.SetText("$_$_ALLOW Lists");
  line.SetLineType(kTagAllow);
  line.SetTaggedType(kTagAllow);
  type = kTagAllow;
  file.PrepareOutputLine(fc, ctx, line, type, copy, level);
  EXPECT_EQ(tracker.Allows(Permission::Lists), 1);
}

TEST_F(OutFileTest, PolicyChangeLineChangesThePolicyAndItsDerivedDefaults) {
  ctx.BuildTagNames(&fc, nullptr);
  int type = kTagChangePolicy;
  (void)Prepare("$_$_CHANGE_POLICY Page Width : 60", type, kTagChangePolicy);
  EXPECT_EQ(fc.GetInt(PolicyId::PageWidth), 60);
  EXPECT_EQ(Reported(), std::vector<std::string>{"POLICY: Changed - Page Width : 60"});
  // Inside a region the line changes nothing.
  messages.clear();
  fc.CollectingRegion = 1;
  type = kTagChangePolicy;
  (void)Prepare("$_$_CHANGE_POLICY Page Width : 70", type, kTagChangePolicy);
  EXPECT_EQ(fc.GetInt(PolicyId::PageWidth), 60);
  EXPECT_TRUE(messages.empty());
}

TEST_F(OutFileTest, NotesAddedToTheCopyReachTheLineOnce) {
  // A list file keeps notes on lines.
  TextFile listFile;
  ctx.ListFile = &listFile;
  line.Reset(0);
  line.SetText("text");
  line.ReportLineMessage(ctx, "first", 10);
  ctx.InlineTagSeen = 1;
  line.SetText("x ]] y [[");
  int type = kTypeUntyped;
  int level = 0;
  file.PrepareOutputLine(fc, ctx, line, type, copy, level);
  ctx.ListFile = nullptr;
  ASSERT_NE(line.pGetNote(), nullptr);
  EXPECT_EQ(Str(*line.pGetNote()),
            "*** first\n*** TAG ERROR: Unbalanced in-line tag delimiters - x ]] y [[");
}

// ---- Line records ----

TEST_F(OutFileTest, LineRecordsFollowTheLines) {
  // Five linked lines: text, blank, text, blank, blank (then nothing).
  std::vector<std::unique_ptr<PreHTML>> lines;
  const int types[] = {kTypeUntyped, kTypeBlank, kTypeHeading1, kTypeBlank, kTypeBlank};
  for (const int type : types) {
    lines.push_back(lines.empty() ? std::make_unique<PreHTML>()
                                  : std::make_unique<PreHTML>(lines.back().get()));
    lines.back()->SetText(type == kTypeBlank ? "" : "words");
    lines.back()->SetLineType(type);
  }
  LineContext lastReal, lastNonBlank, nextNonBlank, previous, current, next;
  auto step = [&](int i) {
    file.UpdateLineContexts(*lines[static_cast<std::size_t>(i)], fc, lastReal, lastNonBlank,
                            nextNonBlank, previous, current, next);
  };
  step(0);
  EXPECT_EQ(current.line, lines[0].get());
  EXPECT_EQ(next.line, lines[1].get());
  EXPECT_EQ(nextNonBlank.line, lines[2].get());
  step(1);
  EXPECT_EQ(previous.type, kTypeUntyped);
  EXPECT_EQ(previous.line, nullptr);
  EXPECT_EQ(lastNonBlank.type, kTypeUntyped);  // an untyped line is no real line
  EXPECT_EQ(lastReal.line, nullptr);
  step(2);
  step(3);
  EXPECT_EQ(lastReal.type, kTypeHeading1);
  EXPECT_EQ(lastNonBlank.type, kTypeHeading1);
  EXPECT_EQ(nextNonBlank.line, nullptr);  // only blank lines follow
  step(4);
  EXPECT_EQ(previous.type, kTypeBlank);
  EXPECT_EQ(lastNonBlank.type, kTypeHeading1);  // blank lines pass it by
  EXPECT_EQ(next.line, nullptr);

  // While a region is collected the records before it stay.
  fc.CollectingRegion = 1;
  step(2);
  fc.CollectingRegion = 0;
  step(3);
  EXPECT_EQ(previous.type, kTypeBlank);  // the line before the region's
}

}  // namespace
