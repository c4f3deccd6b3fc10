#pragma once
// "paginor-cli calc": formulas evaluated as a URL template's computed parts are.

#include <ostream>
#include <string>
#include <vector>

namespace paginor::cli {

// Prints one result line per formula; a formula that fails prints its error text to err
// instead. Returns 0 when every formula gave a result, 1 otherwise, 2 without formulas.
int RunCalc(const std::vector<std::string>& formulas, std::ostream& out, std::ostream& err);

}  // namespace paginor::cli
