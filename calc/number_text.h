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

// Fixed notation, 12 decimals at most, trailing zeros dropped; see number_text.cpp.
std::string FormatNumber(Extended x);

}  // namespace paginor::calc
