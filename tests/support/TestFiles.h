#pragma once

#include <gtest/gtest.h>

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

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
