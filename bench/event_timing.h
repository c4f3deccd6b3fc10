#pragma once
// Median and worst of many single-event timings: a low-level hook is removed for its
// slowest answers, so the worst case matters as much as the typical one.

#include <algorithm>
#include <cstdio>
#include <vector>

namespace paginor::bench {

struct EventTiming {
  double medianUs = 0;
  double p999Us = 0;  // what remains once the scheduler's rare preemptions are set aside
  double worstUs = 0;
};

inline EventTiming Summarise(std::vector<double> microseconds) {
  if (microseconds.empty()) return {};
  std::sort(microseconds.begin(), microseconds.end());
  const std::size_t n = microseconds.size();
  return {microseconds[n / 2], microseconds[n - 1 - n / 1000], microseconds.back()};
}

inline void Print(const char* what, std::size_t events, EventTiming t) {
  std::printf("%-44s %6zu events  median %8.3f us  99.9%% %8.3f us  worst %8.3f us\n", what,
              events, t.medianUs, t.p999Us, t.worstUs);
}

}  // namespace paginor::bench
