#pragma once
// Letter case and ordering of UTF-8 text, following the rules Windows applies to the
// letters of the Chinese ANSI code page: ASCII, full-width Latin, Greek, Cyrillic and
// Roman numerals change case; every other character (Chinese above all) is unchanged.

#include <string>
#include <string_view>

namespace paginor::calc {

std::string UpperText(std::string_view utf8);
std::string LowerText(std::string_view utf8);

// Case-sensitive ordering in the manner of the user locale's collation: letters compare
// alphabetically first, and only then small before capital. Negative, 0 or positive.
int CollateText(std::string_view a, std::string_view b);

}  // namespace paginor::calc
