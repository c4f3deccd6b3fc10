#include "calc/evaluate_formula.h"

#include "calc/uCalcul.h"

namespace paginor::calc {

std::string EvaluateFormula(std::string_view expression) {
  return EvaluateFormula(expression, SystemClock());
}

namespace {

std::string Evaluate(std::string_view expression, const Clock& clock, std::string* error) {
  std::string result;
  try {
    TCalcul calculator(&clock);
    calculator.SetVariablesText({});
    calculator.SetFormula(expression);
    if (!calculator.ErrorFlag()) calculator.Calculate(result);
    if (result.empty() && error != nullptr) *error = calculator.ErrorText();
  } catch (...) {
    result.clear();  // out of memory before the calculation began
    if (error != nullptr) *error = "out of memory";
  }
  return result;
}

}  // namespace

std::string EvaluateFormula(std::string_view expression, const Clock& clock) {
  return Evaluate(expression, clock, nullptr);
}

std::string EvaluateFormula(std::string_view expression, std::string& error) {
  return Evaluate(expression, SystemClock(), &error);
}

}  // namespace paginor::calc
