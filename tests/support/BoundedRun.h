#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

// How a body run by RunBounded ended.
struct BoundedRunResult {
  bool finished = false;  // the body returned (else a bound or another signal ended the child)
  int signal = 0;         // the signal that ended the child, 0 when none did
  std::string output;     // what the body returned
  // For a failure message: how the child ended.
  std::string Describe() const {
    if (finished)
      return "finished";
    if (signal == SIGXCPU)
      return "stopped by its processor time bound (SIGXCPU): the work never ended";
    if (signal == SIGXFSZ)
      return "stopped by its file size bound (SIGXFSZ): a file grew without end";
    return signal != 0 ? "ended by signal " + std::to_string(signal) : "exited without a result";
  }
};

// Processor time and file size a bounded body may use: far above what a conversion of a small
// file takes, far below what work that never ends reaches in a few seconds.
inline constexpr int kBoundedCpuSeconds = 5;
inline constexpr long long kBoundedFileBytes = 1 << 20;

// Runs body in a child process whose processor time and whose files' size are bounded, so
// that a guard that fails shows as a failed test at once, not as a test that hangs until
// CTest's timeout: work that would never end (reading a device that never ends) ends the
// child with SIGXCPU, a file that would grow without end (an output written into its own
// input) with SIGXFSZ. body returns the text the test checks; it comes back through a pipe.
// The body must not use test assertions: the child's failures would not reach the test.
template <typename Body>
BoundedRunResult RunBounded(Body&& body, int cpuSeconds = kBoundedCpuSeconds,
                            long long fileBytes = kBoundedFileBytes) {
  BoundedRunResult result;
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0)
    return result;
  std::fflush(nullptr);  // the child must not write out what the parent buffered
  const pid_t child = fork();
  if (child < 0) {
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    return result;
  }
  if (child == 0) {
    close(pipeEnds[0]);
    const rlimit cpu{static_cast<rlim_t>(cpuSeconds), static_cast<rlim_t>(cpuSeconds + 1)};
    const rlimit size{static_cast<rlim_t>(fileBytes), static_cast<rlim_t>(fileBytes)};
    if (setrlimit(RLIMIT_CPU, &cpu) != 0 || setrlimit(RLIMIT_FSIZE, &size) != 0)
      _exit(2);
    const std::string output = body();
    std::fflush(nullptr);
    std::size_t written = 0;
    while (written < output.size()) {
      const ssize_t n = write(pipeEnds[1], output.data() + written, output.size() - written);
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0)
        _exit(3);
      written += static_cast<std::size_t>(n);
    }
    // _exit: the child must not run the test program's exit handlers (or its leak check).
    _exit(0);
  }
  close(pipeEnds[1]);
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(pipeEnds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      break;
    result.output.append(buffer, static_cast<std::size_t>(n));
  }
  close(pipeEnds[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  result.finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  return result;
}

// The lines of a body's output, for bodies that return one value a line: at least count of
// them, the missing ones empty, so that a child that ended early fails the checks that follow
// without ending the test.
inline std::vector<std::string> OutputLines(const BoundedRunResult& run, std::size_t count = 0) {
  std::vector<std::string> lines;
  const std::string& text = run.output;
  for (std::size_t from = 0; from < text.size();) {
    const std::size_t end = std::min(text.find('\n', from), text.size());
    lines.push_back(text.substr(from, end - from));
    from = end + 1;
  }
  if (lines.size() < count)
    lines.resize(count);
  return lines;
}
