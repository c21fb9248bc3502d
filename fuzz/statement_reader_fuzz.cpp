// The statement reader of the passes on raw bytes: the bytes are an input file in any
// encoding (byte-order marks, UTF-16 of either order, stray bytes, over-long lines read in
// pieces, form feeds), read statement by statement with the input rules that the option
// bytes switch on.
//
// Input: two option bytes, then the file.
//   byte 0 bit 0: page markers; bit 1: double spaced; bit 2: no character-encoding census;
//          bit 3: MIME encoding; bit 4: preserve the structure with PRE; bit 5: raw reading;
//          bit 6: HTML input; bit 7: the analysis pass is reading.
//   byte 1 bits 0-3: tab size; bits 4-7: page marker size; the byte, when above 200, also
//          splits lines at blanks before column (byte - 200) * 8.

#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "policy/StatementReading.h"
#include "text/ProductIdentity.h"
#include "text/Statement.h"
#include "text/StatementFile.h"

static void Apply(FileControl& fc, const std::string& line) {
  TextString text(line.c_str());
  int category = 0;
  (void)fc.LoadPolicyLine(text, category, 0);
}

static const char* YesNo(int bit) { return bit != 0 ? "Yes" : "No"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFolder folder("statement_reader");
  InputBytes input(data, size);
  const std::uint8_t flags = input.Take();
  const std::uint8_t numbers = input.Take();
  const std::string path = folder.Write("input.txt", input.Rest(), input.RestSize());

  Context ctx(GetProductId(), GetOutputFormat());
  SilenceMessages(ctx);
  FileControl fc;
  fc.AttachContext(&ctx);
  SilenceMessages(fc);
  Apply(fc, std::string("Input file has page markers: ") + YesNo(flags & 1));
  Apply(fc, std::string("Input file is double spaced: ") + YesNo(flags & 2));
  Apply(fc, std::string("Look for character encodings: ") + YesNo(!(flags & 4)));
  Apply(fc, std::string("Input file contains MIME encoding: ") + YesNo(flags & 8));
  Apply(fc, std::string("Preserve file structure using <PRE>: ") + YesNo(flags & 16));
  Apply(fc, "TAB size: " + std::to_string(numbers & 15));
  Apply(fc, "Page marker size (in lines): " + std::to_string(numbers >> 4));
  ctx.Commands.sourceIsHtml = (flags >> 6) & 1;
  ctx.AnalysisPass = (flags >> 7) & 1;

  StatementFile file;
  file.SetRaw((flags >> 5) & 1);
  if (numbers > 200)
    file.SetSplit((numbers - 200) * 8, ' ');
  if (!file.OpenForRead(path.c_str(), 0))
    FuzzFailure("statement_reader", "the input file written could not be opened");
  Statement line;
  // Every statement holds at least one byte of the input or stands for a line end, a form
  // feed or a directive the reader adds: far fewer than this many per input byte.
  const std::size_t limit = 8 * (size + 16);
  std::size_t statements = 0;
  for (;;) {
    line.SetEmpty();
    if (!ReadStatement(file, line, fc, ctx, nullptr))
      break;
    if (++statements > limit)
      FuzzFailure("statement_reader", "the reader delivers statements without end");
  }
  file.CloseAll();
  return 0;
}
