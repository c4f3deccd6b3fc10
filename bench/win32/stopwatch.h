#pragma once
// Wall-clock time of one call, by the performance counter.

#include <windows.h>

template <class Call>
double MillisecondsOf(Call&& call) {
  LARGE_INTEGER start, end, frequency;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  call();
  QueryPerformanceCounter(&end);
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}
