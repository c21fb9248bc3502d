// The command-line parser on words split from the input: the input's lines are the program's
// arguments (a word may hold blanks, quotes and brackets), and each line is also parsed alone
// as a line of a steering file, on a run state of its own as the program does.

#include <unistd.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "engine/CommandLine.h"
#include "engine/Context.h"
#include "text/ProductIdentity.h"

static constexpr std::size_t kSteeringLines = 4;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Qualifier words are told from file names by looking for the file: the names are looked
  // for in a folder of this process, not wherever the fuzzer was started.
  static const ScratchFolder folder("command_line");
  static const bool moved = chdir(folder.Path().c_str()) == 0;
  if (!moved)
    FuzzFailure("command_line", "cannot work in the scratch folder");

  std::vector<std::string> args;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    args.emplace_back(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }

  {
    Context ctx(GetProductId(), GetOutputFormat());
    ctx.ResetRunState();
    SilenceMessages(ctx);
    (void)ParseCommandLine(ctx, args);
  }
  // A steering file's lines each get a run state of their own; a few show every path.
  for (std::size_t i = 0; i < args.size() && i < kSteeringLines; ++i) {
    const std::string& arg = args[i];
    Context ctx(GetProductId(), GetOutputFormat());
    ctx.ResetRunState();
    SilenceMessages(ctx);
    TextString line;
    line.AppendBytes(arg.data(), static_cast<int>(arg.size()));
    (void)ParseCommandLine(line, ctx);
  }
  return 0;
}
