#pragma once

namespace paginor::calc {

// Formulas compute in 80-bit extended precision: long double on GCC and MinGW for x86.
// MSVC maps long double to the 64-bit double, so a build there computes with 53-bit
// mantissas and results can differ in the last digits that FormatNumber shows.
using Extended = long double;

}  // namespace paginor::calc
