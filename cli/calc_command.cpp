#include "cli/calc_command.h"

#include "calc/evaluate_formula.h"
#include "calc/uCalcul.h"

namespace paginor::cli {
namespace {

// The evaluation gives no reason when it fails; a second run of the evaluator, set up the
// same way, records one.
std::string ErrorTextOf(const std::string& formula) {
  calc::TCalcul calcul;
  calcul.SetVariablesText("");
  calcul.SetFormula(formula);
  std::string result;
  if (!calcul.ErrorFlag()) calcul.Calculate(result);
  if (calcul.ErrorFlag() && !calcul.ErrorText().empty()) return calcul.ErrorText();
  return "the result is empty";
}

}  // namespace

int RunCalc(const std::vector<std::string>& formulas, std::ostream& out, std::ostream& err) {
  if (formulas.empty()) {
    err << "paginor-cli calc: give at least one formula (see paginor-cli --help)\n";
    return 2;
  }
  int status = 0;
  for (const std::string& formula : formulas) {
    const std::string result = calc::EvaluateFormula(formula);
    if (!result.empty()) {
      out << result << '\n';
      continue;
    }
    out.flush();
    err << formula << ": " << ErrorTextOf(formula) << '\n';
    status = 1;
  }
  return status;
}

}  // namespace paginor::cli
