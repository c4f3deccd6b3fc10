// One "next" command over a long forum page: the rules are prepared once and every link
// is asked in document order; only the last link matches, and only the last rule.

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/link_search.h"

namespace {

constexpr std::string_view kPage = "http://s.example/forum/thread-42-1.html";

// A link as a browser hands it over: every read returns a fresh copy.
class PageLink : public paginor::LinkElement {
 public:
  PageLink(std::string text, std::string html, std::string href, std::shared_ptr<PageLink> parent)
      : text_(std::move(text)),
        html_(std::move(html)),
        href_(std::move(href)),
        parent_(std::move(parent)) {}
  std::optional<std::string> OuterText() override { return text_; }
  std::optional<std::string> OuterHtml() override { return html_; }
  std::unique_ptr<paginor::LinkElement> ParentElement() override {
    if (!parent_) return nullptr;
    return std::make_unique<PageLink>(*parent_);
  }
  std::optional<std::string> Href() override { return href_; }
  bool Click() override { return true; }
  bool SetTarget(std::string_view) override { return true; }

 private:
  std::string text_;
  std::string html_;
  std::string href_;
  std::shared_ptr<PageLink> parent_;
};

std::vector<std::unique_ptr<PageLink>> MakeLinks(int count) {
  const auto cell =
      std::make_shared<PageLink>("作者 回复 引用 举报", "<td class=\"post\">", "", nullptr);
  const std::pair<const char*, const char*> kinds[] = {
      {"第", "楼"}, {"回复 ", ""}, {"用户", ""}, {"[", "]"}, {"帖子标题：第", "个讨论"}};
  std::vector<std::unique_ptr<PageLink>> links;
  for (int i = 0; i < count - 1; ++i) {
    const auto& [head, tail] = kinds[i % 5];
    const std::string text = head + std::to_string(i) + tail;
    const std::string href = "thread-42-1.html#pid" + std::to_string(i);
    links.push_back(std::make_unique<PageLink>(
        text, "<a href=\"" + href + "\" class=\"xi2\">" + text + "</a>", href, cell));
  }
  links.push_back(std::make_unique<PageLink>("继续阅读 &gt;&gt;", "<a href=\"thread-42-2.html\">",
                                             "thread-42-2.html", cell));
  return links;
}

paginor::RuleSet MakeRules(int count) {
  paginor::RuleSet rules;
  for (int i = 0; i < count - 1; ++i) {
    const std::string n = std::to_string(i);
    switch (i % 5) {
      case 0:
        rules.push_back("*下一章" + n);
        break;
      case 1:
        rules.push_back("下一节" + n);
        break;
      case 2:
        rules.push_back("[代码]rel=next" + n);
        break;
      case 3:
        rules.push_back("[扩展]*下页" + n);
        break;
      default:
        rules.push_back("[特别=http://s.example/]*翻页" + n);
        break;
    }
  }
  rules.push_back("*继续阅读");
  return rules;
}

void MatchOneCommand(benchmark::State& state) {
  const auto links = MakeLinks(5000);
  const paginor::RuleSet rules = MakeRules(200);
  for (auto _ : state) {
    const paginor::PreparedRules prepared("next", rules);
    std::size_t hitAt = links.size();
    for (std::size_t i = 0; i < links.size(); ++i) {
      if (paginor::MatchLink(prepared, *links[i], kPage).kind != paginor::MatchKind::None) {
        hitAt = i;
        break;
      }
    }
    if (hitAt != links.size() - 1) {
      state.SkipWithError("the last link should be the only hit");
      break;
    }
    benchmark::DoNotOptimize(hitAt);
  }
}

BENCHMARK(MatchOneCommand)->Unit(benchmark::kMillisecond);

}  // namespace
