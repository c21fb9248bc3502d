// The console program: converts the files named on its command line.
#include <string>
#include <vector>

#include "app/ConsoleRun.h"

int main(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i)
    args.emplace_back(argv[i]);
  return RunConversion(args);
}
