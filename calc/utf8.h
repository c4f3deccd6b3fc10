#pragma once
// Characters of UTF-8 text. A byte that does not start a valid sequence stands for
// itself as U+DC80..U+DCFF, so every byte string decodes and no invalid byte can
// compare equal to a real character.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace paginor::calc {

// The character starting at text[at]; `length` receives its byte count (1 for an
// invalid byte). `at` must be inside the text.
char32_t DecodeUtf8At(std::string_view text, std::size_t at, std::size_t& length);
std::vector<char32_t> DecodeUtf8(std::string_view text);
void AppendUtf8(std::string& out, char32_t code);

}  // namespace paginor::calc
