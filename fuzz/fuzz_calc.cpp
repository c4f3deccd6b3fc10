// Any formula must end in a result or a recorded error: no crash, no leak, no hang.
// An evaluation that takes more than 100 ms of this thread's processor time counts as
// a hang; processor time rather than wall time, so that a busy machine cannot fail it.

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
  if (elapsed > 0.100) {
    std::fprintf(stderr, "slow evaluation: %.0f ms\n", elapsed * 1000);
    __builtin_trap();
  }
  if (calc.ErrorFlag() && calc.ErrorText().empty()) __builtin_trap();
  return 0;
}
