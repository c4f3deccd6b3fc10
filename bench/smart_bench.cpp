// What the smart fallback adds to a command on a long forum page: every link read once
// and weighed. "Words": the next-page link is the last of 5,000. "Address": no link names
// a page, so the addresses of all links are read too before the address is counted up.
// "Numbers": the page ends in a pager of numbers only, found through the links' parent.
// The figure to watch is the time per iteration: it must stay well under a millisecond.

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/smart_fallback.h"

namespace {

constexpr std::string_view kPage = "http://s.example/forum/thread-42-1.html";

struct Pager {
  std::string markup;
  std::string text;
};

// A link as a browser hands it over: every read returns a fresh copy. The pager's links
// have the pager for their parent, and the pager has none.
class PageLink : public paginor::LinkElement {
 public:
  PageLink(std::string text, std::string href, const Pager* pager = nullptr)
      : text_(std::move(text)), href_(std::move(href)), pager_(pager) {}
  std::optional<std::string> OuterText() override { return pager_ && href_.empty() ? pager_->text : text_; }
  std::optional<std::string> OuterHtml() override {
    return pager_ && href_.empty() ? pager_->markup : "<a>" + text_ + "</a>";
  }
  std::unique_ptr<paginor::LinkElement> ParentElement() override {
    if (!pager_ || href_.empty()) return nullptr;
    return std::make_unique<PageLink>("", "", pager_);
  }
  std::optional<std::string> Href() override { return href_; }
  bool Click() override { return true; }
  bool SetTarget(std::string_view) override { return true; }
  std::optional<std::string> Attribute(std::string_view) override { return std::nullopt; }

 private:
  std::string text_;
  std::string href_;
  const Pager* pager_;
};

class ForumPage : public paginor::LinkCollection, public paginor::Document {
 public:
  explicit ForumPage(std::vector<std::pair<std::string, std::string>> links, long pagerFrom = -1)
      : links_(std::move(links)), pagerFrom_(pagerFrom) {
    for (long i = pagerFrom_; i >= 0 && i < static_cast<long>(links_.size()); ++i) {
      pager_.markup += "<a>" + links_[static_cast<std::size_t>(i)].first + "</a> ";
      pager_.text += links_[static_cast<std::size_t>(i)].first + (i == pagerFrom_ + 1 ? " 3 " : " ");
    }
  }
  std::optional<long> Length() override { return static_cast<long>(links_.size()); }
  std::unique_ptr<paginor::LinkElement> Item(long i) override {
    const auto& [text, href] = links_[static_cast<std::size_t>(i)];
    return std::make_unique<PageLink>(text, href, pagerFrom_ >= 0 && i >= pagerFrom_ ? &pager_ : nullptr);
  }
  std::unique_ptr<paginor::LinkCollection> Links() override { return nullptr; }
  std::optional<std::string> Url() override { return std::string(kPage); }

 private:
  std::vector<std::pair<std::string, std::string>> links_;
  long pagerFrom_;
  Pager pager_;
};

std::vector<std::pair<std::string, std::string>> ForumLinks(int count, const std::string& last) {
  const std::pair<const char*, const char*> kinds[] = {
      {"第", "楼"}, {"回复 ", ""}, {"用户", ""}, {"[", "]"}, {"帖子标题：第", "个讨论"}};
  std::vector<std::pair<std::string, std::string>> links;
  for (int i = 0; i < count - 1; ++i) {
    const auto& [head, tail] = kinds[i % 5];
    links.emplace_back(head + std::to_string(i) + tail,
                       "http://s.example/forum/thread-42-1.html#pid" + std::to_string(i));
  }
  links.emplace_back(last, "http://s.example/forum/thread-42-2.html");
  return links;
}

// Pages 1, 2, then 4 to 10 linked: the third is the current one, shown as text.
std::vector<std::pair<std::string, std::string>> NumberedLinks(int count) {
  auto links = ForumLinks(count - 9, "返回列表");
  for (int page = 1; page <= 10; ++page) {
    if (page == 3) continue;
    links.emplace_back(std::to_string(page), "http://s.example/forum/list-" + std::to_string(page) + ".html");
  }
  return links;
}

void Run(benchmark::State& state, const std::string& last, paginor::SmartDecision::Action expected) {
  ForumPage links(ForumLinks(5000, last));
  for (auto _ : state) {
    const paginor::SmartDecision decision =
        paginor::DecideSmart("next", links, &links, 5000, kPage, false);
    if (decision.action != expected) {
      state.SkipWithError("the fallback should have found the next page");
      break;
    }
    benchmark::DoNotOptimize(decision);
  }
}

void SmartFallbackWords(benchmark::State& state) {
  Run(state, "下一章 →", paginor::SmartDecision::Action::ClickLink);
}
void SmartFallbackAddress(benchmark::State& state) {
  Run(state, "返回列表", paginor::SmartDecision::Action::Navigate);
}

void SmartFallbackNumbers(benchmark::State& state) {
  ForumPage links(NumberedLinks(5000), 4991);
  for (auto _ : state) {
    const paginor::SmartDecision decision = paginor::DecideSmart("next", links, &links, 5000, kPage, false);
    if (decision.address != "http://s.example/forum/list-4.html") {
      state.SkipWithError("the fallback should have clicked page 4");
      break;
    }
    benchmark::DoNotOptimize(decision);
  }
}

// For scale: only asking each link for its text, as the link stage before it does.
void ReadEveryLinkText(benchmark::State& state) {
  ForumPage links(ForumLinks(5000, "下一章 →"));
  for (auto _ : state) {
    std::size_t bytes = 0;
    for (long i = 0; i < 5000; ++i) bytes += links.Item(i)->OuterText()->size();
    benchmark::DoNotOptimize(bytes);
  }
}

BENCHMARK(ReadEveryLinkText)->Unit(benchmark::kMicrosecond);
BENCHMARK(SmartFallbackWords)->Unit(benchmark::kMicrosecond);
BENCHMARK(SmartFallbackAddress)->Unit(benchmark::kMicrosecond);
BENCHMARK(SmartFallbackNumbers)->Unit(benchmark::kMicrosecond);

}  // namespace
