// Templates, addresses and values of any content: expansion and the fixed-position
// choice always end, and replace-all agrees with its rescanning definition.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/fixed_position.h"
#include "engine/replace_all.h"
#include "engine/url_template.h"
#include "fuzz/fuzz_fields.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

std::string_view At(const std::vector<std::string_view>& fields, std::size_t i) {
  return i < fields.size() ? fields[i] : std::string_view();
}

// Small inputs only: the loop it is compared with is quadratic.
void CheckReplaceAll(std::string_view text, std::string_view old, std::string_view replacement) {
  std::string fast(text);
  paginor::ReplaceAll(fast, old, replacement);
  if (old.empty() || text.size() > 256 || replacement.size() >= old.size()) return;
  std::string slow(text);
  for (auto at = slow.find(old); at != std::string::npos; at = slow.find(old)) {
    slow.replace(at, old.size(), replacement);
  }
  Check(fast == slow);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto fields = paginor::fuzzing::Fields(bytes);
  const std::string_view tmpl = At(fields, 0);
  const std::string_view address = At(fields, 1);
  const std::string_view value = At(fields, 2);

  const paginor::UrlExpansion expansion = paginor::ExpandUrlTemplateDetailed(tmpl, address, value);
  Check(expansion.address == paginor::ExpandUrlTemplate(tmpl, address, value));
  // Without wildcards the address plays no part.
  if (!expansion.address.empty() && !expansion.wildcard) {
    Check(paginor::ExpandUrlTemplate(tmpl, "", value) == expansion.address);
  }
  (void)paginor::ExpandUrlTemplate(tmpl, address, "$");

  std::vector<std::string> lines;
  for (std::size_t i = 3; i < fields.size(); ++i) lines.emplace_back(fields[i]);
  lines.push_back("下一页,1,2," + std::string(tmpl));
  for (const char* command : {"prev", "next", "first"}) {
    const auto hit = paginor::MatchFixedPosition(command, address, lines);
    if (hit) Check(hit->x >= 0 && hit->y >= 0 && std::string_view(command) != "first");
  }

  CheckReplaceAll(address, tmpl, value);
  CheckReplaceAll(tmpl, value, address);
  return 0;
}
