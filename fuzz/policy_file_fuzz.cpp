// The policy file reader and the policy line loader. The input is a policy file, read the
// way the program reads one (with the configuration files it names, includes and switches
// resolved against its own folder, so that it can include itself under any spelling); then
// each of its lines is applied alone with the repeat check and the diagnostic text, and the
// policies in force are written as a policy file.

#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "text/ProductIdentity.h"
#include "text/StatementFile.h"
#include "text/StringList.h"
#include "text/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFolder folder("policy_file");
  folder.Clear();
  const std::string path = folder.Write("input.pol", data, size);

  Context ctx(GetProductId(), GetOutputFormat());
  SilenceMessages(ctx);
  FileControl fc;
  fc.AttachContext(&ctx);
  SilenceMessages(fc);
  {
    StatementFile file;
    if (!file.OpenForRead(path.c_str(), 0))
      FuzzFailure("policy_file", "the input file written could not be opened");
    TextString failure;
    (void)fc.ReadPolicyFile(file, &failure, 1);
    file.CloseAll();
  }

  FileControl lines;
  lines.AttachContext(&ctx);
  SilenceMessages(lines);
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::string_view piece = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    TextString line;
    line.AppendBytes(piece.data(), static_cast<int>(piece.size()));
    int category = 0;
    TextString diagnostic;
    for (const int repeatCheck : {0, 1}) {
      TextString again(line);
      (void)lines.LoadPolicyLine(again, category, repeatCheck, &diagnostic);
    }
  }

  StringList written;
  TextFile out;
  out.SetSink(&written);
  if (out.OpenForWrite("written.pol", 0, 0))
    fc.WritePolicyFile(out, 1);
  return 0;
}
