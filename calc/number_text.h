#pragma once
// Text to number and back, as every operation of the formula language converts.

#include <optional>
#include <string>
#include <string_view>

#include "calc/extended.h"

namespace paginor::calc {

// Blanks and control characters (bytes 0 to 32) at both ends removed.
std::string_view TrimBlanks(std::string_view text);
std::string_view TrimLeftBlanks(std::string_view text);
std::string_view TrimRightBlanks(std::string_view text);

// The number a text holds: trimmed, "," read as ".", then optional sign, digits,
// optional "." and digits (a leading "." allowed), optional exponent. Empty when the
// text is empty or not entirely such a number, or the value overflows.
std::optional<Extended> ParseNumber(std::string_view text);

// 18 significant digits, then at most 12 decimals (halves away from zero), trailing
// zeros and a bare point dropped; "." whatever the locale; "-" for every negative value,
// so tiny ones give "-0". From 1e36 on: d.dddE+NN, as "1.5E+40". NaN and infinities give
// "NAN", "INF", "-INF".
std::string FormatNumber(Extended x);

}  // namespace paginor::calc
