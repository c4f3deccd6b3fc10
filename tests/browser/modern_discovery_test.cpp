// Which window of Chromium or Firefox holds the page a command acts on.

#include "browser/modern_discovery.h"

#include <gtest/gtest.h>

#include <map>

#include "fake_accessible.h"
#include "fake_windows.h"

namespace paginor::test {
namespace {

class FakeTrees : public AccessibleWindows {
 public:
  std::map<WindowHandle, AccessiblePtr> roots;
  std::vector<WindowHandle> asked;
  AccessiblePtr FromWindow(WindowHandle window) override {
    asked.push_back(window);
    auto it = roots.find(window);
    return it == roots.end() ? nullptr : it->second;
  }
};

std::shared_ptr<Node> PageTree(const std::string& url, std::uint32_t state = 0) {
  auto root = std::make_shared<Node>(0x09, "window");
  root->Add(0x10, "")->Add(msaa::kRoleDocument, "page", url, state);
  return root;
}

TEST(ModernDiscovery, TheTopmostVisibleWindowWithADocumentWinsAcrossBothClasses) {
  FakeWindows windows;
  FakeTrees trees;
  const WindowHandle other = windows.Add(0, "Notepad");
  const WindowHandle hidden = windows.Add(0, "MozillaWindowClass", false);
  const WindowHandle menu = windows.Add(0, "Chrome_WidgetWin_1");  // a pop-up, no document
  const WindowHandle firefox = windows.Add(0, "MozillaWindowClass");
  const WindowHandle chrome = windows.Add(0, "Chrome_WidgetWin_1");
  trees.roots[hidden] = PageTree("http://hidden/");
  trees.roots[menu] = std::make_shared<Node>(0x0B, "menu");
  trees.roots[firefox] = PageTree("http://firefox/");
  trees.roots[chrome] = PageTree("http://chrome/");
  (void)other;

  const auto tab = FindModernTab(windows, trees);
  ASSERT_TRUE(tab.has_value());
  EXPECT_EQ(tab->window, firefox);
  EXPECT_EQ(tab->document->Value(), "http://firefox/");
  EXPECT_EQ(trees.asked, (std::vector<WindowHandle>{menu, firefox}));
}

TEST(ModernDiscovery, NothingWhenOnlyBackgroundTabsOrNoBrowserWindowsExist) {
  FakeWindows windows;
  FakeTrees trees;
  EXPECT_FALSE(FindModernTab(windows, trees).has_value());
  const WindowHandle chrome = windows.Add(0, "Chrome_WidgetWin_1");
  trees.roots[chrome] = PageTree("http://chrome/", msaa::kStateOffscreen);
  EXPECT_FALSE(FindModernTab(windows, trees).has_value());
}

}  // namespace
}  // namespace paginor::test
