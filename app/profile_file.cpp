#include "app/profile_file.h"

#include <charconv>
#include <string>

namespace paginor::app {

std::optional<int> ParseProfileInteger(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string ReadText(const ProfileFile& file, std::string_view section, std::string_view key,
                     std::string_view fallback) {
  return file.Read(section, key).value_or(std::string(fallback));
}

int ReadInteger(const ProfileFile& file, std::string_view section, std::string_view key,
                int fallback) {
  const std::optional<std::string> text = file.Read(section, key);
  if (!text) return fallback;
  return ParseProfileInteger(*text).value_or(fallback);
}

bool ReadBoolean(const ProfileFile& file, std::string_view section, std::string_view key,
                 bool fallback) {
  return ReadInteger(file, section, key, fallback ? 1 : 0) != 0;
}

bool ReadSwitch(const ProfileFile& file, std::string_view section, std::string_view key) {
  return ReadText(file, section, key, "1") == "1";
}

}  // namespace paginor::app
