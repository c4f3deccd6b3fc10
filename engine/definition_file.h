#pragma once
// The definition file: five sections, each a header line and the lines of one set.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/command.h"
#include "engine/rule_set.h"

namespace paginor {

// Header lines in set order.
inline constexpr std::array<std::string_view, kSetCount> kSectionHeaders = {
    "**上页配置**", "**下页配置**", "**首页配置**", "**末页配置**", "**某页配置**"};

// The set a line heads: only a whole line equal to a header, byte for byte.
std::optional<SetIndex> SectionOfHeader(std::string_view line);

// CR LF, a lone CR and a lone LF each end a line; a break at the very end opens no
// further line, so "" has no lines and "a\r\n" has one.
std::vector<std::string> SplitLines(std::string_view text);

// Lines joined with CR LF, the text a memo shows.
std::string JoinLines(const RuleSet& lines);

// Lenient reading: sections in any order, repeated ones appended, lines before the
// first header dropped, every other line kept unchanged.
DefinitionSets ParseDefinitionText(std::string_view text);

inline constexpr std::string_view kNoSectionProblem =
    "holds none of the section headers \"**上页配置**\" to \"**某页配置**\"";

// How many lines of the text are section headers; a definition file has at least one.
std::size_t CountSectionHeaders(std::string_view text);

// Exact writing: all five headers in set order, each followed by its set's lines;
// every line ends with CR LF.
std::string FormatDefinitionText(const DefinitionSets& sets);

}  // namespace paginor
