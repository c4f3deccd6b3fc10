#pragma once
// The pages of an example site: which file a browser would receive for an address.
// The map file holds lines "ADDRESS FILE"; blank lines and lines whose first non-blank
// character is "#" are comments. FILE may contain blanks and is relative to the map's
// directory unless absolute; either way it must lie inside that directory, as a site
// serves only its own pages.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace paginor::cli {

class SiteMap {
 public:
  // The map, or a message naming the first bad line.
  struct Parsed;
  static Parsed Parse(std::string_view text, const std::filesystem::path& directory);

  // The file for an address; an address with a fragment also finds the page without it.
  std::optional<std::filesystem::path> FileFor(std::string_view address) const;
  // The first address whose file is this one, for a page given by its file name.
  std::optional<std::string> AddressOf(const std::filesystem::path& file) const;

 private:
  std::map<std::string, std::filesystem::path, std::less<>> files_;
  std::vector<std::string> order_;  // addresses as listed
};

struct SiteMap::Parsed {
  std::optional<SiteMap> map;
  std::string error;
};

}  // namespace paginor::cli
