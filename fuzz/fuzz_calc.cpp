// Any formula must end in a result or a recorded error: no crash, no leak, no hang.
// An evaluation slower than 100 ms counts as a hang.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "calc/uCalcul.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  // Before the first NUL: the variables text; after it: the formula.
  std::string variables;
  if (const auto nul = input.find('\0'); nul != std::string::npos) {
    variables = input.substr(0, nul);
    input.erase(0, nul + 1);
  }

  const auto start = std::chrono::steady_clock::now();
  paginor::calc::TCalcul calc;
  calc.SetVariablesText(variables);
  calc.SetFormula(input);
  std::string result;
  calc.Calculate(result);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  if (elapsed > std::chrono::milliseconds(100)) {
    std::fprintf(stderr, "slow evaluation: %lld ms\n",
                 static_cast<long long>(
                     std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
    __builtin_trap();
  }
  if (calc.ErrorFlag() && calc.ErrorText().empty()) __builtin_trap();
  return 0;
}
