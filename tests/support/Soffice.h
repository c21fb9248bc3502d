#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TestFiles.h"

// Opening documents in a real RTF reader: LibreOffice, run headless. Each call gets a profile
// folder of its own, since two instances sharing one profile wait for each other or fail.

// A word safe inside single quotes of a shell command.
inline std::string ShellQuoted(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return quoted + "'";
}

// The program that opens documents, or empty when there is none on the search path.
inline std::string FindSoffice() {
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "/usr/bin:/bin";
  std::size_t from = 0;
  while (from <= folders.size()) {
    std::size_t end = folders.find(':', from);
    if (end == std::string::npos)
      end = folders.size();
    const std::filesystem::path candidate =
        std::filesystem::path(folders.substr(from, end - from)) / "soffice";
    std::error_code error;
    if (end > from && std::filesystem::is_regular_file(candidate, error))
      return candidate.string();
    from = end + 1;
  }
  return {};
}

// Skips the test visibly when LibreOffice is missing, except under CI (the CI variable set),
// where its absence is a failure: CI installs it.
#define REQUIRE_SOFFICE(program)                                                    \
  const std::string program = FindSoffice();                                       \
  if (program.empty()) {                                                           \
    if (std::getenv("CI") != nullptr) {                                            \
      FAIL() << "LibreOffice (soffice) is missing; install libreoffice-writer-nogui"; \
    }                                                                              \
    GTEST_SKIP() << "LibreOffice (soffice) is not installed";                     \
  }

// Converts each document of inputs into format (a LibreOffice filter such as
// "txt:Text (encoded):UTF8" or "html") in outDir. The exit status says little (LibreOffice
// exits 0 when it could not load a file), so callers check that each output exists.
inline void ConvertWithSoffice(const std::string& soffice, const std::vector<std::string>& inputs,
                               const std::string& format, const std::string& outDir) {
  const std::string profile = TempPath("soffice", "profile");
  std::string command = ShellQuoted(soffice) + " --headless --norestore " +
                        ShellQuoted("-env:UserInstallation=file://" + profile) +
                        " --convert-to " + ShellQuoted(format) + " --outdir " +
                        ShellQuoted(outDir);
  for (const std::string& input : inputs)
    command += " " + ShellQuoted(input);
  command += " >/dev/null 2>&1";
  (void)std::system(command.c_str());
  std::error_code ignored;
  std::filesystem::remove_all(profile, ignored);
}

// The file that ConvertWithSoffice made of input in outDir with the extension extension.
inline std::string SofficeOutput(const std::string& input, const std::string& outDir,
                                 const std::string& extension) {
  return (std::filesystem::path(outDir) /
          std::filesystem::path(input).filename().replace_extension(extension))
      .string();
}
