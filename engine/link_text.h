#pragma once
// The candidate text of a link: what rules and keywords are compared with.

#include <string>
#include <string_view>

#include "calc/number_text.h"

namespace paginor {

// Lowercases A-Z only, drops entities, 【】 marks and the no-break and ideographic
// spaces, and deletes blanks, brackets,
// angle brackets, TAB, CR and LF: ‘[ 下一页 ]’ → ‘下一页’, ‘Next &gt;&gt;’ → ‘next’.
std::string NormalizeLinkText(std::string_view text);

// A text as one line for the log and reports: every run of blanks and control
// characters becomes one blank, none at either end.
std::string OneLineText(std::string_view text);

// The byte-wise helpers rules share with link texts.
void LowercaseAscii(std::string& text);
// Blanks and control characters at both ends go, as in formulas.
using calc::TrimBlanks;

}  // namespace paginor
