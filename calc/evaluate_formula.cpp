#include "calc/evaluate_formula.h"

#include "calc/uCalcul.h"

namespace paginor::calc {

std::string EvaluateFormula(std::string_view expression) {
  return EvaluateFormula(expression, SystemClock());
}

std::string EvaluateFormula(std::string_view expression, const Clock& clock) {
  std::string result;
  try {
    TCalcul calculator(&clock);
    calculator.SetVariablesText({});
    calculator.SetFormula(expression);
    if (!calculator.ErrorFlag()) calculator.Calculate(result);
  } catch (...) {
    result.clear();  // out of memory before the calculation began
  }
  return result;
}

}  // namespace paginor::calc
