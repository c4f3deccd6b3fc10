#pragma once
// The frames option on "一般选项": ticking chkframe lists the embedded frames of the
// page the browser shows, so that commands can work on one of them.

#include <optional>
#include <string>
#include <string_view>

#include "app/controls.h"

namespace paginor::app {

inline constexpr int kMaxFrames = 100;

// The browser side of the list. The Windows build asks the real browser; tests a fake.
class FrameSource {
 public:
  virtual ~FrameSource() = default;
  // Finds the tab of the browser kind and keeps it as the current browser.
  virtual bool FindBrowserWindow(std::string_view kind) = 0;
  // Embedded objects of the current browser's document.
  virtual int GetFrameCount() = 0;
  // The frame's address; nothing when the object at that position is not a browser.
  virtual std::optional<std::string> FrameLocation(int index) = 0;
};

// The entry of a frame in cbframe: position, four blanks, address; "?" for no browser.
std::string FrameEntry(int index, const std::optional<std::string>& location);

void chkframeClick(Controls& controls, FrameSource& source);

}  // namespace paginor::app
