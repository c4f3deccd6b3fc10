#pragma once
// What the executor needs besides a browser, for tests that turn pages over a tree: one
// tab that is always found, windows that take no messages, and a log kept in memory.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/browser_model.h"
#include "engine/operation_log.h"
#include "engine/window_messenger.h"

namespace paginor::test {

class OneTab : public BrowserDiscovery {
 public:
  explicit OneTab(BrowserPtr browser) : browser_(std::move(browser)) {}
  bool FindBrowserWindow(BrowserPtr& browser, WindowHandle& window, std::string_view) override {
    browser = browser_;
    window = 7;
    return true;
  }
  BrowserPtr GetFrameBrowser(int, const BrowserPtr&) override { return nullptr; }

 private:
  BrowserPtr browser_;
};

class NoWindows : public WindowMessenger {
 public:
  bool PostMessage(WindowHandle, unsigned, std::uintptr_t, std::intptr_t) override { return false; }
  ScreenPoint ScreenToClient(WindowHandle, ScreenPoint p) override { return p; }
  WindowHandle ChildWindowFromPointEx(WindowHandle, ScreenPoint, unsigned) override { return 0; }
};

class Lines : public OperationLog {
 public:
  std::vector<std::string> lines;
  void Append(std::string_view line) override { lines.emplace_back(line); }
};

}  // namespace paginor::test
