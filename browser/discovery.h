#pragma once
// Finding the tab the user reads: each browser kind's walk over its window tree,
// confirmed through the candidate content window's document.

#include <string>
#include <string_view>

#include "browser/frames.h"
#include "browser/window_system.h"
#include "engine/browser_model.h"

namespace paginor {

class WindowDiscovery : public BrowserDiscovery {
 public:
  // ieVersion as DetectIEVersion left it; it picks the "ie" walk.
  WindowDiscovery(WindowSystem& windows, FrameSource& frames, std::string ieVersion);

  // Never throws: a platform failure anywhere is a failed discovery.
  bool FindBrowserWindow(BrowserPtr& browser, WindowHandle& window, std::string_view kind) override;
  BrowserPtr GetFrameBrowser(int index, const BrowserPtr& browser) override;

 private:
  WindowSystem& windows_;
  FrameSource& frames_;
  int ieMajor_;
};

}  // namespace paginor
