// Replays saved inputs through a fuzz target's entry point without libFuzzer: every file
// named, and every file inside every folder named (in name order), is one input. A target
// that finds a fault aborts, so the program fails on the input that shows it; the input's
// name is printed before it runs.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzSupport.h"

namespace fs = std::filesystem;

static std::vector<fs::path> InputsOf(const fs::path& named) {
  std::vector<fs::path> inputs;
  if (!fs::is_directory(named)) {
    inputs.push_back(named);
    return inputs;
  }
  for (const fs::directory_entry& entry : fs::directory_iterator(named))
    if (entry.is_regular_file())
      inputs.push_back(entry.path());
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

int main(int argc, char** argv) {
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    if (!fs::exists(argv[i])) {
      std::fprintf(stderr, "replay: no such file or folder: %s\n", argv[i]);
      return 1;
    }
    for (const fs::path& input : InputsOf(argv[i])) {
      std::ifstream in(input, std::ios::binary);
      const std::string bytes{std::istreambuf_iterator<char>(in),
                              std::istreambuf_iterator<char>()};
      std::printf("replay: %s (%zu bytes)\n", input.string().c_str(), bytes.size());
      std::fflush(stdout);
      (void)LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
      ++replayed;
    }
  }
  std::printf("replay: %d input(s), no fault\n", replayed);
  return 0;
}
