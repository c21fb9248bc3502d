#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>

// Guards against work that grows faster than its input, without a limit on the clock: the
// time of work at size 4 n is compared with the time at size n. The times are processor time
// of this process, not wall-clock time, so a machine busy with other work (parallel tests,
// other builds) hardly changes the ratio: the wall clock runs on while another process has
// the processor, processor time does not.
struct GrowthClock {
  using duration = std::chrono::nanoseconds;
  // Processor time used by this process so far.
  static duration Now() {
    const double seconds = static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
    return std::chrono::duration_cast<duration>(std::chrono::duration<double>(seconds));
  }
};

// The processor time body takes.
template <typename Body>
GrowthClock::duration TimeOf(Body&& body) {
  const GrowthClock::duration start = GrowthClock::Now();
  body();
  return GrowthClock::Now() - start;
}

// Work at size n for the smaller side takes at least this long, so that the clock's grain and
// start-up effects do not decide the ratio.
inline constexpr GrowthClock::duration kGrowthBaseTime = std::chrono::milliseconds(10);

// Above this ratio, work(4 n) took as much longer as quadratic work would (16); linear and
// n log n work give about 4 to 5.
inline constexpr double kQuadraticGrowth = 10.0;

// How many times longer work(4 n) takes than work(n). work(size) prepares what it needs and
// returns the time of the part under test (through TimeOf). n is doubled first (at most six
// times) while work(n) takes less than kGrowthBaseTime. Each size then runs several times,
// alternately, and keeps its fastest run, so that a run slowed by others (caches emptied by
// other processes) does not decide the ratio.
template <typename Work>
double FourfoldGrowth(int n, Work&& work, int runs = 3) {
  for (int doubling = 0; doubling < 6 && work(n) < kGrowthBaseTime; ++doubling) n *= 2;
  GrowthClock::duration small = GrowthClock::duration::max();
  GrowthClock::duration large = GrowthClock::duration::max();
  for (int run = 0; run < runs; ++run) {
    small = std::min(small, work(n));
    large = std::min(large, work(4 * n));
  }
  const double base = std::max(static_cast<double>(small.count()), 1.0);
  return static_cast<double>(large.count()) / base;
}
