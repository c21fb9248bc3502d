// The whole conversion of an input file to RTF, as the console program converts one file:
// the input is the text file, its directives may change policies, include files (itself,
// under any spelling, as it lies in a folder of its own) and ask for list and help files.
// Every RTF file the conversion leaves must be one balanced group; otherwise the target
// aborts.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "app/ConsoleRun.h"
#include "engine/Context.h"
#include "rtf/RTFFile.h"
#include "text/ProductIdentity.h"

namespace fs = std::filesystem;

static std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFolder folder("conversion");
  folder.Clear();
  const std::string inputName = folder.Write("input.txt", data, size);

  {
    auto ctx = std::make_unique<Context>(GetProductId(), GetOutputFormat());
    ctx->ResetRunState();
    SilenceMessages(*ctx);
    auto sets = std::make_unique<RunPolicySets>();
    sets->user.AttachContext(ctx.get());
    sets->policyFile.AttachContext(ctx.get());
    SilenceMessages(sets->user);
    ctx->Commands.outputSpec = TextString(folder.File("*.rtf").c_str());
    RTFFile writer(*ctx);
    const TextString name(inputName.c_str());
    (void)ConvertOneFile(*sets, *ctx, name, name, writer);
  }

  std::error_code ignored;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder.Path(), ignored)) {
    if (entry.path().extension() != ".rtf")
      continue;
    std::string why;
    if (!IsBalancedRtf(ReadAll(entry.path()), why))
      FuzzFailure("conversion", entry.path().filename().string() + ": " + why);
  }
  folder.Clear();
  return 0;
}
