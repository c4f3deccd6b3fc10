#pragma once
// The evaluator as the URL templates use it: one formula in, its result text out.

#include <string>
#include <string_view>

#include "calc/clock.h"

namespace paginor::calc {

// The result of a fresh TCalcul without variables: a number as FormatNumber writes it
// ("7*20-20" gives "120"), a text in double quotes. Empty on any failure.
std::string EvaluateFormula(std::string_view expression);
std::string EvaluateFormula(std::string_view expression, const Clock& clock);
// As above; when there is no result, error receives the evaluator's message.
std::string EvaluateFormula(std::string_view expression, std::string& error);

}  // namespace paginor::calc
