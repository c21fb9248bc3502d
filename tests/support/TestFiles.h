#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

// A file name of the running test alone: ctest runs every test as its own process, in
// parallel, and other build folders run the same tests at the same time, so a fixed name
// would be shared.
inline std::string TempPath(const std::string& prefix, const std::string& name) {
  static const std::string run = std::to_string(std::random_device{}());
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  return ::testing::TempDir() + prefix + "_" + test->test_suite_name() + "_" + test->name() +
         "_" + run + "_" + name;
}

// A folder of the running test alone (see TempPath), made empty on construction and removed
// with everything in it on destruction.
struct TempFolder {
  explicit TempFolder(const std::string& prefix) : path(TempPath(prefix, "dir")) {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The full name of name inside the folder.
  std::string File(const std::string& name) const { return (path / name).string(); }

  std::filesystem::path path;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
