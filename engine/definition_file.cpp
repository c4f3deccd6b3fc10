#include "engine/definition_file.h"

namespace paginor {
namespace {

constexpr std::string_view kCrLf = "\r\n";

// Calls take(line) for each line of the text, in order.
template <typename Take>
void ForEachLine(std::string_view text, Take take) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      take(text.substr(start));
      return;
    }
    take(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
}

}  // namespace

std::optional<SetIndex> SectionOfHeader(std::string_view line) {
  for (int i = 0; i < kSetCount; ++i) {
    if (line == kSectionHeaders[static_cast<std::size_t>(i)]) return static_cast<SetIndex>(i);
  }
  return std::nullopt;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

std::string JoinLines(const RuleSet& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += kCrLf;
    text += lines[i];
  }
  return text;
}

DefinitionSets ParseDefinitionText(std::string_view text) {
  DefinitionSets sets;
  std::optional<SetIndex> current;
  ForEachLine(text, [&](std::string_view line) {
    if (const std::optional<SetIndex> header = SectionOfHeader(line)) {
      current = header;
    } else if (current) {
      sets[*current].emplace_back(line);
    }
  });
  return sets;
}

std::size_t CountSectionHeaders(std::string_view text) {
  std::size_t count = 0;
  ForEachLine(text, [&](std::string_view line) {
    if (SectionOfHeader(line)) ++count;
  });
  return count;
}

std::string FormatDefinitionText(const DefinitionSets& sets) {
  std::string text;
  for (int i = 0; i < kSetCount; ++i) {
    text += kSectionHeaders[static_cast<std::size_t>(i)];
    text += kCrLf;
    for (const std::string& line : sets[static_cast<SetIndex>(i)]) {
      text += line;
      text += kCrLf;
    }
  }
  return text;
}

}  // namespace paginor
