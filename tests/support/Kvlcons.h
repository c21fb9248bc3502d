#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/Soffice.h"
#include "support/TestFiles.h"

// Running the console program as a user does. KELVANE_KVLCONS names the program the test
// binary was built with.

struct RunResult {
  int status = -1;
  std::string messages;  // standard error
};

// Runs the kvlcons program with args; its standard output is discarded.
inline RunResult RunKvlcons(const std::vector<std::string>& args) {
  const std::string errors = TempPath("kvlcons", "stderr.txt");
  std::string command = ShellQuoted(KELVANE_KVLCONS);
  for (const std::string& arg : args)
    command += " " + ShellQuoted(arg);
  command += " >/dev/null 2>" + ShellQuoted(errors);
  const int raw = std::system(command.c_str());
  RunResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.messages = ReadBytes(errors);
  std::filesystem::remove(errors);
  return result;
}

// Converts every input in one run of kvlcons into folder, each RTF named after its input,
// under the policy file policy when it is not empty.
inline RunResult RunKvlconsInto(const std::vector<std::filesystem::path>& inputs,
                                const std::filesystem::path& folder,
                                const std::string& policy = {}) {
  std::vector<std::string> args;
  for (const std::filesystem::path& input : inputs)
    args.push_back(input.string());
  if (!policy.empty())
    args.push_back(policy);
  args.push_back("/OUTPUT=" + (folder / "*.rtf").string());
  return RunKvlcons(args);
}
