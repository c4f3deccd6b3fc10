#pragma once
// BracketArguments: encloses every comma-separated piece of a parenthesised list in
// its own parentheses, so that the parser reads copy(s,1,2) as copy((s),(1),(2)) and
// each argument is a complete expression.

#include <string>
#include <string_view>

namespace paginor::calc {

// Texts between double quotes and from "[" to the next "]" are left alone. A comma
// outside every pair gets ")" before and "(" after it, which unbalances the formula.
std::string BracketArguments(std::string_view text);

}  // namespace paginor::calc
