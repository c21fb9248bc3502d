#pragma once

#include <time.h>

#include <algorithm>
#include <chrono>

// Guards against work that grows faster than its input, without a limit on the clock: the
// time of work at size 4 n is compared with the time at size n. The times are the processor
// time of the calling thread, not wall-clock time, so a machine busy with other work
// (parallel tests, other builds) hardly changes the ratio: the wall clock runs on while
// another process has the processor. The thread's clock is the scheduler's exact count of the
// time it ran. The user time of getrusage is not: it is that count split between user and
// system time by samples taken at the timer tick, and held from going backwards, so over a
// run of a few milliseconds on a crowded machine it can lag far behind, and the fastest of
// several runs would pick out exactly such an undercount.
struct GrowthClock {
  using duration = std::chrono::microseconds;
  // Processor time spent by this thread so far.
  static duration Now() {
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::duration_cast<duration>(std::chrono::seconds(now.tv_sec) +
                                                std::chrono::nanoseconds(now.tv_nsec));
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
// n log n work give about 4 to 5, and up to about 10 on a machine crowded with parallel tests,
// where the larger size loses the processor's caches to the other processes.
inline constexpr double kQuadraticGrowth = 12.0;

// How many times longer work(4 n) takes than work(n). work(size) prepares what it needs and
// returns the time of the part under test (through TimeOf). n is doubled first (at most six
// times) while work(n) takes less than kGrowthBaseTime. Each size then runs several times,
// alternately, and keeps its fastest run. Other processes still slow the larger size more
// (they share the processor's caches, which the smaller size may fit), so a ratio at or above
// kQuadraticGrowth is measured again, twice at most, and the smallest ratio is returned:
// quadratic work stays above the limit in every measurement, linear work does not.
template <typename Work>
double FourfoldGrowth(int n, Work&& work, int runs = 5) {
  for (int doubling = 0; doubling < 6 && work(n) < kGrowthBaseTime; ++doubling) n *= 2;
  double smallest = 0.0;
  for (int attempt = 0; attempt < 3; ++attempt) {
    GrowthClock::duration small = GrowthClock::duration::max();
    GrowthClock::duration large = GrowthClock::duration::max();
    for (int run = 0; run < runs; ++run) {
      small = std::min(small, work(n));
      large = std::min(large, work(4 * n));
    }
    const double base = std::max(static_cast<double>(small.count()), 1.0);
    const double ratio = static_cast<double>(large.count()) / base;
    if (attempt == 0 || ratio < smallest) smallest = ratio;
    if (smallest < kQuadraticGrowth) break;
  }
  return smallest;
}
