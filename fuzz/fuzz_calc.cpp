// Any formula must end in a result or a recorded error: no crash, no leak, no hang.
// The evaluator's work budget ends every run; an evaluation that still takes a second
// of this thread's processor time has found work the budget does not count. Processor
// time, so a busy machine cannot fail it, and fifty times what the slowest input seen
// costs under the sanitizers and coverage counters (about 20 ms), so it cannot flake.

#include <time.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "calc/uCalcul.h"

namespace {

double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  // Before the first NUL: the variables text; after it: the formula.
  std::string variables;
  if (const auto nul = input.find('\0'); nul != std::string::npos) {
    variables = input.substr(0, nul);
    input.erase(0, nul + 1);
  }

  const double start = ThreadSeconds();
  paginor::calc::TCalcul calc;
  calc.SetVariablesText(variables);
  calc.SetFormula(input);
  std::string result;
  calc.Calculate(result);
  const double elapsed = ThreadSeconds() - start;
  if (elapsed > 1.0) {
    std::fprintf(stderr, "slow evaluation: %.0f ms\n", elapsed * 1000);
    __builtin_trap();
  }
  if (calc.ErrorFlag() && calc.ErrorText().empty()) __builtin_trap();
  return 0;
}
