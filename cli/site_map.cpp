#include "cli/site_map.h"

#include <system_error>

#include "engine/definition_file.h"
#include "engine/text_file.h"

namespace paginor::cli {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::filesystem::path Normal(const std::filesystem::path& file) {
  std::error_code ignored;
  std::filesystem::path absolute = std::filesystem::weakly_canonical(file, ignored);
  return absolute.empty() ? file.lexically_normal() : absolute;
}

// Both paths normal; links resolved, so "a/../../etc" or a link out cannot pass.
bool Inside(const std::filesystem::path& file, const std::filesystem::path& directory) {
  auto part = file.begin();
  for (const auto& step : directory) {
    if (step.empty()) continue;  // a trailing separator
    if (part == file.end() || *part != step) return false;
    ++part;
  }
  return part != file.end();
}

}  // namespace

SiteMap::Parsed SiteMap::Parse(std::string_view text, const std::filesystem::path& directory) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  SiteMap map;
  int number = 0;
  for (const std::string& raw : SplitLines(text)) {
    ++number;
    const std::string_view line = Trimmed(raw);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t gap = line.find_first_of(" \t");
    const std::string_view file = gap == std::string_view::npos ? "" : Trimmed(line.substr(gap));
    const std::string prefix = "line " + std::to_string(number) + ": ";
    if (file.empty()) return {std::nullopt, prefix + "expected an address and a file name"};
    const std::string address(line.substr(0, gap));
    if (map.files_.contains(address)) return {std::nullopt, prefix + address + " is listed twice"};
    std::filesystem::path page = Normal(directory / PathFromUtf8(file));
    if (!Inside(page, Normal(directory))) {
      return {std::nullopt, prefix + std::string(file) + " lies outside the site's directory"};
    }
    map.files_.emplace(address, std::move(page));
    map.order_.push_back(address);
  }
  return {std::move(map), ""};
}

std::optional<std::filesystem::path> SiteMap::FileFor(std::string_view address) const {
  if (const auto found = files_.find(address); found != files_.end()) return found->second;
  if (const std::size_t hash = address.find('#'); hash != std::string_view::npos) {
    return FileFor(address.substr(0, hash));
  }
  return std::nullopt;
}

std::optional<std::string> SiteMap::AddressOf(const std::filesystem::path& file) const {
  const std::filesystem::path wanted = Normal(file);
  for (const std::string& address : order_) {
    if (files_.at(address) == wanted) return address;
  }
  return std::nullopt;
}

}  // namespace paginor::cli
