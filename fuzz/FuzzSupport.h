#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

class Context;
class FileControl;

// What the fuzz targets share: their entry point, a folder of their own for the files a run
// writes, a way to take option bytes off the front of an input, and silenced message routes.
// The targets are built two ways: with clang and libFuzzer, which calls the entry point with
// generated inputs, and with the normal compiler and fuzz/ReplayMain.cpp, which calls it with
// the saved findings and seeds so that the test suite replays them.

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// A folder of this process alone under the system's temporary folder, named
// "fuzz_<target>_<process id>_<random number>": several fuzzers and replays run at once. It is
// made on first use and removed, with everything in it, when the process ends normally.
// Clear() empties it between inputs so that no run sees the files of the one before.
class ScratchFolder {
 public:
  explicit ScratchFolder(std::string_view target);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The full name of name inside the folder.
  std::string File(std::string_view name) const;
  // Removes everything inside the folder (the folder stays).
  void Clear() const;
  // Writes bytes as the file name inside the folder; its full name.
  std::string Write(std::string_view name, const std::uint8_t* data, std::size_t size) const;

 private:
  std::filesystem::path path_;
};

// Takes option bytes off the front of an input; past its end every byte reads as 0.
class InputBytes {
 public:
  InputBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t Take() { return at_ < size_ ? data_[at_++] : 0; }
  const std::uint8_t* Rest() const { return data_ + at_; }
  std::size_t RestSize() const { return at_ < size_ ? size_ - at_ : 0; }
  std::string_view RestText() const {
    return {reinterpret_cast<const char*>(Rest()), RestSize()};
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// Sends every message and progress line of ctx and fc nowhere: a fuzzer runs millions of
// inputs and the console would be the bottleneck. The filters still run.
void SilenceMessages(Context& ctx);
void SilenceMessages(FileControl& fc);

// True when rtf is one RTF group: it opens with "{\rtf", every "{" not escaped by a backslash
// is closed by a later "}", no "}" closes more than was opened and the last group closes at
// the end (trailing line ends aside). Escaped braces ("\{", "\}") and backslashes ("\\") are
// text. why receives the first fault found.
bool IsBalancedRtf(std::string_view rtf, std::string& why);

// Reports a broken expectation of a target on standard error and aborts, which a fuzzer
// records as a finding and a replay as a failure.
[[noreturn]] void FuzzFailure(std::string_view target, std::string_view what);
