#pragma once
// Runs formulas the way the program does, against a fixed clock.

#include <string>
#include <string_view>

#include "calc/clock.h"
#include "calc/uCalcul.h"

namespace paginor::calc::test {

class FixedClock final : public Clock {
 public:
  explicit FixedClock(Extended stamp) : stamp_(stamp) {}
  Extended Now() const override { return stamp_; }

 private:
  Extended stamp_;
};

// Friday 2024-03-15 10:20:30.
inline const FixedClock& TestClock() {
  static const FixedClock clock(45366.0L + 37230.0L / 86400.0L);
  return clock;
}

struct CalcRun {
  bool ok = false;
  std::string result;  // what Calculate wrote into the caller's variable
  std::string error;
  ValueKind kind = ValueKind::kUndecided;
};

inline CalcRun Calc(std::string_view formula, std::string_view variables = {}) {
  TCalcul calc(&TestClock());
  calc.SetVariablesText(variables);
  calc.SetFormula(formula);
  CalcRun run;
  run.result = "<untouched>";
  run.ok = calc.Calculate(run.result);
  run.error = calc.ErrorText();
  run.kind = calc.ResultKind();
  return run;
}

// The result, or "ERROR: " and the error text when Calculate failed.
inline std::string Eval(std::string_view formula, std::string_view variables = {}) {
  const CalcRun run = Calc(formula, variables);
  return run.ok ? run.result : "ERROR: " + run.error;
}

}  // namespace paginor::calc::test
