#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

#include "engine/Context.h"
#include "policy/FileControl.h"

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(std::string_view target) {
  const std::string name = "fuzz_" + std::string(target) + "_" + std::to_string(getpid()) +
                           "_" + std::to_string(std::random_device{}());
  path_ = fs::temp_directory_path() / name;
  std::error_code ignored;
  fs::remove_all(path_, ignored);
  fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string ScratchFolder::File(std::string_view name) const { return (path_ / name).string(); }

void ScratchFolder::Clear() const {
  std::error_code ignored;
  for (const fs::directory_entry& entry : fs::directory_iterator(path_, ignored))
    fs::remove_all(entry.path(), ignored);
}

std::string ScratchFolder::Write(std::string_view name, const std::uint8_t* data,
                                 std::size_t size) const {
  const std::string path = File(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

static void Ignore(const char*) {}

void SilenceMessages(Context& ctx) {
  ctx.GetLogErrorHandler().SetMessageCallback(Ignore);
  ctx.GetLogErrorHandler().SetDiagnosticCallback(Ignore);
  ctx.Commands.displayMessages = 0;
}

void SilenceMessages(FileControl& fc) {
  fc.GetErrorHandler().SetMessageCallback(Ignore);
  fc.GetErrorHandler().SetDiagnosticCallback(Ignore);
}

bool IsBalancedRtf(std::string_view rtf, std::string& why) {
  if (rtf.substr(0, 5) != "{\\rtf") {
    why = "the output does not open with {\\rtf";
    return false;
  }
  long depth = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    const char c = rtf[i];
    if (c == '\\') {
      ++i;  // the escaped character is text, whatever it is
      continue;
    }
    if (c == '{') {
      ++depth;
      continue;
    }
    if (c != '}')
      continue;
    if (--depth < 0) {
      why = "a '}' at byte " + std::to_string(i) + " closes a group that was never opened";
      return false;
    }
    if (depth > 0)
      continue;
    // The document's group has closed: only line ends may follow.
    if (rtf.find_first_not_of("\r\n", i + 1) != std::string_view::npos) {
      why = "text follows the document's closing '}' at byte " + std::to_string(i);
      return false;
    }
    return true;
  }
  why = std::to_string(depth) + " group(s) left open at the end";
  return false;
}

void FuzzFailure(std::string_view target, std::string_view what) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(target.size()), target.data(),
               static_cast<int>(what.size()), what.data());
  std::fflush(stderr);
  std::abort();
}
