#include "fake_windows.h"

#include <algorithm>

namespace paginor::test {

std::string UrlOf(const BrowserPtr& browser) {
  return browser ? browser->LocationUrl().value_or("") : "";
}

WindowHandle FakeWindows::Add(WindowHandle parent, std::string cls, bool visible) {
  const WindowHandle h = next_++;
  windows_[h] = Window{parent, std::move(cls), "", visible, 0, std::nullopt};
  order_.push_back(h);
  return h;
}

WindowHandle FakeWindows::AddContent(WindowHandle parent, const std::string& url, std::string prefix,
                                     bool withEmbedding) {
  if (withEmbedding) parent = Add(parent, prefix + "Shell Embedding");
  const WindowHandle view = Add(parent, prefix + "Shell DocObject View");
  const WindowHandle content = Add(view, prefix + "Internet Explorer_Server");
  windows_[content].answer = WindowBrowser{0, std::make_shared<TabBrowser>(url)};
  return content;
}

void FakeWindows::SetProcess(WindowHandle h, std::uint32_t pid, std::string exe) {
  Get(h).pid = pid;
  exes[pid] = std::move(exe);
}

FakeWindows::Window& FakeWindows::Get(WindowHandle h) {
  const auto it = windows_.find(h);
  if (it == windows_.end()) throw std::logic_error("the walk used a window that does not exist");
  return it->second;
}

WindowHandle FakeWindows::FindChild(WindowHandle parent, WindowHandle after, std::string_view cls) {
  auto it = order_.begin();
  if (after) {
    it = std::find(order_.begin(), order_.end(), after);
    if (it == order_.end() || windows_[after].parent != parent) return 0;
    ++it;
  }
  for (; it != order_.end(); ++it) {
    const Window& w = windows_[*it];
    if (w.parent == parent && (cls.empty() || w.cls == cls)) return *it;
  }
  return 0;
}

std::string FakeWindows::Title(WindowHandle window, std::size_t maxChars) {
  return Get(window).title.substr(0, maxChars);
}

std::string FakeWindows::ExeName(WindowHandle window) {
  const auto it = exes.find(Get(window).pid);
  return it == exes.end() ? "" : it->second;
}

WindowBrowser FakeWindows::BrowserFromWindow(WindowHandle window) {
  asked.push_back(window);
  return Get(window).answer.value_or(WindowBrowser{2, nullptr});
}

std::optional<long> FakeWindows::ShellWindowCount() {
  if (shellWindowsThrow) throw std::runtime_error("shell windows collection");
  if (!shellWindows) return std::nullopt;
  return static_cast<long>(shellWindows->size());
}

ShellWindowItem FakeWindows::ShellWindow(long index) { return shellWindows->at(static_cast<std::size_t>(index)); }

int FakeFrames::CountEmbeddings(Browser&, int limit) {
  limits.push_back(limit);
  return std::min(limit, static_cast<int>(embeddings.size()));
}

BrowserPtr FakeFrames::EmbeddedBrowser(Browser&, int index) {
  if (index >= static_cast<int>(embeddings.size())) return nullptr;
  return embeddings[static_cast<std::size_t>(index)];
}

}  // namespace paginor::test
