#pragma once

#include <time.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <limits>

// Guards against work that grows faster than its input, without a limit on the clock: the
// time of work at size 16 n is compared with the time at size n. Linear work takes about 16
// times as long, n log n work a little more, quadratic work about 256 times: sizes this far
// apart keep the two kinds of work apart even when other processes slow one size more than
// the other (a larger size loses more of the processor's caches to them).
//
// The times are the processor time of the calling thread, not wall-clock time, so a machine
// busy with other work hardly changes the ratio: the wall clock runs on while another process
// has the processor. The thread's clock is the scheduler's exact count of the time it ran. The
// user time of getrusage is not: it is that count split between user and system time by
// samples taken at the timer tick, and held from going backwards, so over a run of a few
// milliseconds on a crowded machine it can lag far behind, and the fastest of several runs
// would pick out exactly such an undercount.
//
// A test that measures growth this way belongs to a suite whose name ends in "Growth": CTest
// runs those tests alone (see tests/RunGrowthTestsAlone.cmake), so that the other tests of a
// parallel run neither share the processor's caches with it nor skew its ratio.
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

// Work at size n for the smaller side takes at least this long, far above the clock's grain
// and the cost of an interrupt or of caches refilled after another process ran.
inline constexpr GrowthClock::duration kGrowthBaseTime = std::chrono::milliseconds(5);

// How many times larger the larger size is.
inline constexpr int kGrowthFactor = 16;

// Above this ratio, work(16 n) took far longer than linear (16) or n log n work would, even
// on a crowded machine; quadratic work gives about 256.
inline constexpr double kQuadraticGrowth = 50.0;

// How many times longer work(16 n) takes than work(n). work(size) prepares what it needs and
// returns the time of the part under test (through TimeOf). n is doubled first (at most ten
// times, and while 16 n stays at most largest) while work(n) takes less than kGrowthBaseTime.
// Each size then runs several times, alternately, and keeps its fastest run: the fastest run
// is the one least disturbed. A ratio at or above kQuadraticGrowth is measured again, twice at
// most, and the smallest ratio is returned: quadratic work stays above the limit in every
// measurement, linear work does not.
template <typename Work>
double SixteenfoldGrowth(int n, Work&& work, int runs = 3,
                         int largest = std::numeric_limits<int>::max()) {
  for (int doubling = 0; doubling < 10 && n <= largest / (2 * kGrowthFactor) &&
                         work(n) < kGrowthBaseTime;
       ++doubling)
    n *= 2;
  double smallest = 0.0;
  for (int attempt = 0; attempt < 3; ++attempt) {
    GrowthClock::duration small = GrowthClock::duration::max();
    GrowthClock::duration large = GrowthClock::duration::max();
    for (int run = 0; run < runs; ++run) {
      small = std::min(small, work(n));
      large = std::min(large, work(kGrowthFactor * n));
    }
    const double base = std::max(static_cast<double>(small.count()), 1.0);
    const double ratio = static_cast<double>(large.count()) / base;
    // Shown with every run, so that the margin of a passing test can be seen in the log.
    std::cout << "[ growth   ] n = " << n << ": " << small.count() << " us, 16 n: "
              << large.count() << " us, ratio " << ratio << "\n";
    if (attempt == 0 || ratio < smallest) smallest = ratio;
    if (smallest < kQuadraticGrowth) break;
  }
  return smallest;
}
