// Pages of any content for the smart fallback: link texts, rel values and addresses of
// any bytes. The search always ends, never chooses a link that is not there or that
// leads to the page itself, and the address rules never return the address they read.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/smart_address.h"
#include "engine/smart_fallback.h"
#include "engine/smart_words.h"
#include "fuzz/fuzz_fields.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

struct FuzzLink {
  std::string text;
  std::string href;
  std::string rel;
};

class Link : public paginor::LinkElement {
 public:
  explicit Link(const FuzzLink& link) : link_(link) {}
  std::optional<std::string> OuterText() override { return link_.text; }
  std::optional<std::string> OuterHtml() override { return std::nullopt; }
  std::unique_ptr<paginor::LinkElement> ParentElement() override { return nullptr; }
  std::optional<std::string> Href() override { return link_.href; }
  bool Click() override { return true; }
  bool SetTarget(std::string_view) override { return true; }
  std::optional<std::string> Attribute(std::string_view) override { return link_.rel; }
  std::optional<std::string> ImageText() override { return link_.text; }

 private:
  const FuzzLink& link_;
};

class Page : public paginor::Document, public paginor::LinkCollection {
 public:
  Page(std::string url, std::vector<FuzzLink> links) : url_(std::move(url)), links_(std::move(links)) {}
  std::unique_ptr<paginor::LinkCollection> Links() override { return nullptr; }
  std::optional<std::string> Url() override { return url_; }
  std::optional<long> Length() override { return static_cast<long>(links_.size()); }
  std::unique_ptr<paginor::LinkElement> Item(long i) override {
    if (i < 0 || i >= static_cast<long>(links_.size())) return nullptr;
    return std::make_unique<Link>(links_[static_cast<std::size_t>(i)]);
  }

 private:
  std::string url_;
  std::vector<FuzzLink> links_;
};

std::string_view WithoutFragment(std::string_view url) { return url.substr(0, url.find('#')); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto fields = paginor::fuzzing::Fields(bytes);
  const std::string url(fields[0]);
  std::vector<FuzzLink> links;
  std::vector<std::string> hrefs;
  for (std::size_t i = 1; i + 2 < fields.size(); i += 3) {
    links.push_back({std::string(fields[i]), std::string(fields[i + 1]), std::string(fields[i + 2])});
    hrefs.emplace_back(fields[i + 1]);
  }
  Page page(url, links);

  for (const char* command : {"next", "prev", "first", "last", "3", "00012"}) {
    const paginor::AddressTurn turn = paginor::TurnAddress(url, command, hrefs);
    if (!turn.address.empty()) Check(turn.address != WithoutFragment(url));

    const paginor::SmartDecision decision =
        paginor::DecideSmart(command, page, &page, static_cast<long>(links.size()), url, true);
    if (decision.action == paginor::SmartDecision::Action::ClickLink) {
      Check(decision.linkIndex >= 0 && decision.linkIndex < static_cast<long>(links.size()));
      const std::string& href = links[static_cast<std::size_t>(decision.linkIndex)].href;
      Check(href.empty() || WithoutFragment(href) != WithoutFragment(url));
    }
    if (decision.action == paginor::SmartDecision::Action::Navigate) {
      Check(!decision.address.empty() && WithoutFragment(decision.address) != WithoutFragment(url));
    }
  }
  for (const FuzzLink& link : links) {
    const paginor::PageText text = paginor::ReadPageText(link.text);
    Check(text.core.size() <= link.text.size());
    if (text.number) Check(*text.number > 0 && *text.number < 100000);
  }
  return 0;
}
