// The directive preprocessor and the in-line tag interpreter on lines from the input. Each
// line is read through the statement reader of a pass, which runs the preprocessor on a
// directive line; every line it delivers has its in-line tags executed as the pass does
// (the output pass prepares the line for the writer, the others run the title tags), and the
// whole line is also recognised and executed as one tag in the mode the option byte gives.
//
// Input: one option byte, then lines separated by LF (at most 64).
//   bits 0-1: the pass (1 analysis, 2 contents, 3 output; 0 reads as 3); bits 2-4: the tag
//   call mode (0, 1, 5, 6, 8, then 0 again); bit 5: the document has in-line tags from the
//   start; bit 6: the preprocessor is off ("Use Preprocessor: No").

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "tables/PreForm.h"
#include "tags/TagInterpreter.h"
#include "text/ProductIdentity.h"
#include "text/Statement.h"
#include "text/StringList.h"

static constexpr int kModes[] = {kTagModeLine,  kTagModeLeaveInPlace, kTagModeKeepText,
                                 kTagModeTitle, kTagModeHeadingText,  kTagModeLine,
                                 kTagModeLine,  kTagModeLine};
static constexpr int kMaxLines = 64;

// The line as one tag, the way a directive read as a tag is recognised and executed.
static void ExecuteAsTag(FileControl& fc, Context& ctx, PreHTML& line, int mode,
                         RTFFile* writer) {
  const TextString tagText(line.GetText());
  TextString keyword;
  TextString arguments;
  TextString message;
  int level = 0;
  if (RecogniseTag(fc, ctx, tagText, keyword, arguments, message, level) == 0)
    return;
  int replace = 0;
  TextString output(" ");
  (void)ExecuteTag(mode, &line, tagText, keyword, arguments, writer, fc, ctx, replace, output);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  InputBytes input(data, size);
  const std::uint8_t option = input.Take();
  const int pass = (option & 3) == 0 ? 3 : (option & 3);
  const int mode = kModes[(option >> 2) & 7];

  std::vector<std::unique_ptr<Statement>> owned;
  StatementSource source;
  std::string_view rest = input.RestText();
  while (!rest.empty() && static_cast<int>(owned.size()) < kMaxLines) {
    const std::size_t end = rest.find('\n');
    const std::string_view piece = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    auto statement = std::make_unique<Statement>();
    statement->AppendBytes(piece.data(), static_cast<int>(piece.size()));
    source.push_back(statement.get());
    owned.push_back(std::move(statement));
  }

  Context ctx(GetProductId(), GetOutputFormat());
  SilenceMessages(ctx);
  FileControl fc;
  fc.AttachContext(&ctx);
  SilenceMessages(fc);
  if (option & 64) {
    TextString off("Use Preprocessor: No");
    int category = 0;
    (void)fc.LoadPolicyLine(off, category, 0);
  }
  ctx.AnalysisPass = pass == 1;
  ctx.ContentsPass = pass == 2;
  ctx.OutputPass = pass == 3;
  ctx.InlineTagSeen = (option >> 5) & 1;

  StringList sink;
  RTFFile writer(ctx);
  writer.SetSink(&sink);
  writer.SetRegionMaker(MakePreFormRegion);
  if (!writer.OpenForWrite("output.rtf", 0, 0))
    FuzzFailure("line_tags", "the in-memory output could not be opened");
  RTFFile reader(ctx);
  reader.SetSource(&source);
  if (!reader.OpenForRead("input.txt", 0))
    FuzzFailure("line_tags", "the in-memory input could not be opened");

  PreHTML line;
  const int limit = 16 * (kMaxLines + static_cast<int>(size));
  int delivered = 0;
  while (reader.GetNextStatement(line, fc, ctx, 0)) {
    if (++delivered > limit)
      FuzzFailure("line_tags", "the reader delivers statements without end");
    if (pass == 3) {
      int type = line.GetLineType();
      int level = 0;
      PreHTML copy;
      writer.PrepareOutputLine(fc, ctx, line, type, copy, level);
    } else {
      writer.ExpandTitleTags(line, fc, mode);
    }
    ExecuteAsTag(fc, ctx, line, mode, &writer);
  }
  reader.CloseAll();
  writer.CloseAll();
  return 0;
}
