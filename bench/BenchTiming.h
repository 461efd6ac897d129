// Timing for the benchmark programs.
#pragma once

#include <chrono>

// Runs fn until at least half a second has passed; seconds per run.
template <class Fn>
double SecondsPerRun(Fn fn) {
  using Clock = std::chrono::steady_clock;
  int runs = 0;
  Clock::time_point start = Clock::now();
  double elapsed = 0;
  do {
    fn();
    ++runs;
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  } while (elapsed < 0.5);
  return elapsed / runs;
}
