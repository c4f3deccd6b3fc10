#include "browser/ie_version.h"

#include <climits>

namespace paginor {

std::string IEVersionFromRegistry(bool keyOpened, std::optional<std::string_view> value) {
  if (!keyOpened) return "6";
  std::string_view text = value.value_or("");
  const auto point = text.find('.');
  if (point != std::string_view::npos) text = text.substr(0, point);
  bool digits = !text.empty();
  for (const char c : text) digits = digits && c >= '0' && c <= '9';
  return digits ? std::string(text) : std::string("7");
}

std::string IEVersionFromRegistry(bool keyOpened, std::optional<std::string_view> svcVersion,
                                  std::optional<std::string_view> version) {
  const bool useService = svcVersion && !svcVersion->empty();
  return IEVersionFromRegistry(keyOpened, useService ? svcVersion : version);
}

int IEMajor(std::string_view version) {
  long long n = 0;
  for (const char c : version) {
    if (c < '0' || c > '9') break;
    n = n * 10 + (c - '0');
    if (n > INT_MAX) return INT_MAX;
  }
  return static_cast<int>(n);
}

}  // namespace paginor
