#pragma once
// tpnav.ini: a profile file of sections and key=value lines. The Windows build goes
// through the private-profile functions; tests use a map.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace paginor::app {

struct ProfileEntry {
  std::string section;
  std::string key;
  std::string value;
};

class ProfileFile {
 public:
  virtual ~ProfileFile() = default;
  // The value as the profile functions give it; nothing when the file or key is missing.
  virtual std::optional<std::string> Read(std::string_view section, std::string_view key) const = 0;
  // Writes the entries in order and replaces the file once, so a crash never leaves it
  // half written. Stops at the first entry that cannot be written and returns how many
  // were written; those stay written.
  virtual std::size_t Write(const std::vector<ProfileEntry>& entries) = 0;
  virtual std::string Path() const = 0;
};

// The reading rules of the settings: a missing key gives the default.
std::string ReadText(const ProfileFile& file, std::string_view section, std::string_view key,
                     std::string_view fallback);
// Decimal, leading blanks and a sign allowed; anything else gives the default.
int ReadInteger(const ProfileFile& file, std::string_view section, std::string_view key,
                int fallback);
// An integer: any non-zero number is true.
bool ReadBoolean(const ProfileFile& file, std::string_view section, std::string_view key,
                 bool fallback);
// The "使用" switches: on exactly when the text is "1".
bool ReadSwitch(const ProfileFile& file, std::string_view section, std::string_view key);

std::optional<int> ParseProfileInteger(std::string_view text);
inline std::string BooleanText(bool value) { return value ? "1" : "0"; }

}  // namespace paginor::app
