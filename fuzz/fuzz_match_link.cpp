// A link and a rule set of any content, for every kind of command: matching never
// fails, one preparation per command gives what preparing per link gives, and the
// helpers keep their promises.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/link_address.h"
#include "engine/link_search.h"
#include "engine/link_text.h"
#include "fuzz/fuzz_fields.h"

namespace {

struct Element {
  std::optional<std::string> text;
  std::optional<std::string> html;
  std::optional<std::string> href;
};

// Reads fail where the input says so; the parent is a second element or none.
class Link : public paginor::LinkElement {
 public:
  Link(const Element& self, const Element* parent) : self_(self), parent_(parent) {}
  std::optional<std::string> OuterText() override { return self_.text; }
  std::optional<std::string> OuterHtml() override { return self_.html; }
  std::unique_ptr<paginor::LinkElement> ParentElement() override {
    if (parent_ == nullptr) return nullptr;
    return std::make_unique<Link>(*parent_, nullptr);
  }
  std::optional<std::string> Href() override { return self_.href; }
  bool Click() override { return true; }
  bool SetTarget(std::string_view) override { return true; }

 private:
  const Element& self_;
  const Element* parent_;
};

// A field starting with 0x7F reads as a failure.
std::optional<std::string> Field(const std::vector<std::string_view>& fields, std::size_t i) {
  if (i >= fields.size()) return std::string();
  if (fields[i].starts_with('\x7f')) return std::nullopt;
  return std::string(fields[i]);
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void CheckHelpers(std::string_view text, std::string_view href, std::string_view base) {
  const std::string normal = paginor::NormalizeLinkText(text);
  Check(normal.find_first_of(" ()[]><\t\r\n") == std::string::npos);
  Check(normal.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos);
  const std::string resolved = paginor::ResolveLinkAddress(href, base);
  Check(paginor::ResolveLinkAddress(resolved, base) == resolved);
}

bool Same(const paginor::LinkMatch& a, const paginor::LinkMatch& b) {
  return a.kind == b.kind && a.setLine == b.setLine && a.address == b.address;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto fields = paginor::fuzzing::Fields(bytes);
  const Element self{Field(fields, 0), Field(fields, 1), Field(fields, 2)};
  const std::string docURL = Field(fields, 3).value_or("");
  const Element parent{Field(fields, 4), Field(fields, 5), std::string()};
  const bool hasParent = fields.size() > 4 && !fields[4].starts_with('\x7f');
  paginor::RuleSet set;
  for (std::size_t i = 6; i < fields.size(); ++i) set.emplace_back(fields[i]);

  CheckHelpers(self.text.value_or(""), self.href.value_or(""), docURL);
  for (const char* command : {"prev", "next", "first", "last", "back", "7", "12$", "$$", ""}) {
    const paginor::PreparedRules prepared(command, set);
    Link once(self, hasParent ? &parent : nullptr);
    Link each(self, hasParent ? &parent : nullptr);
    const paginor::LinkMatch a = paginor::MatchLink(prepared, once, docURL);
    const paginor::LinkMatch b = paginor::MatchLink(command, each, set, docURL);
    Check(Same(a, b));
    const bool ruleKind = a.kind != paginor::MatchKind::None &&
                          a.kind != paginor::MatchKind::Keyword &&
                          a.kind != paginor::MatchKind::ReadFailed;
    Check(ruleKind == !a.setLine.empty());
    if (a.kind != paginor::MatchKind::SpecialRule) Check(a.address.empty());
  }
  return 0;
}
