#pragma once

#include <algorithm>
#include <chrono>

// Guards against work that grows faster than its input, without a limit on the clock: a
// machine busy with other work (parallel tests, sanitizers, other builds) slows a test down,
// but hardly changes the ratio between the times of two sizes.

using GrowthClock = std::chrono::steady_clock;

// The time body takes.
template <typename Body>
GrowthClock::duration TimeOf(Body&& body) {
  const GrowthClock::time_point start = GrowthClock::now();
  body();
  return GrowthClock::now() - start;
}

// Work at size n for the smaller side takes at least this long, so that the clock's grain and
// start-up effects do not decide the ratio.
inline constexpr GrowthClock::duration kGrowthBaseTime = std::chrono::milliseconds(5);

// Above this ratio, work(4 n) took as much longer as quadratic work would (16); linear and
// n log n work give about 4 to 5.
inline constexpr double kQuadraticGrowth = 10.0;

// How many times longer work(4 n) takes than work(n). work(size) prepares what it needs and
// returns the time of the part under test (through TimeOf). n is doubled first (up to 64
// times) while work(n) takes less than kGrowthBaseTime. Each size then runs several times,
// alternately, and keeps its fastest run, so a burst of other load slows one run rather than
// deciding the ratio.
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
