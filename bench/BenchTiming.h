// Timing for the benchmark programs.
#pragma once

#include <chrono>
#include <cstdio>

// Which build the figures come from: they differ between the two Windows targets and the host.
inline void PrintBenchTarget() {
#if defined(_WIN64)
  std::printf("target: win64 (x86_64 Windows, under Wine)\n");
#elif defined(_WIN32)
  std::printf("target: win32 (i686 Windows, under Wine)\n");
#else
  std::printf("target: native (the host)\n");
#endif
}

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
