#include "app/frames_option.h"

#include <algorithm>

#include "engine/browser_kinds.h"

namespace paginor::app {

std::string FrameEntry(int index, const std::optional<std::string>& location) {
  if (!location) return "?";
  return std::to_string(index + 1) + "    " + *location;
}

void chkframeClick(Controls& controls, FrameSource& source) {
  if (!controls.Checked(Control::chkframe)) {
    controls.SetEnabled(Control::cbframe, false);
    return;
  }
  controls.ClearItems(Control::cbframe);
  controls.SetEnabled(Control::cbframe, false);
  const std::string_view kind = BrowserKindForChoice(controls.ItemIndex(Control::rgpIE));
  if (!source.FindBrowserWindow(kind)) return;
  // A document can claim any count; the list holds the first hundred.
  const int count = std::clamp(source.GetFrameCount(), 0, kMaxFrames);
  for (int i = 0; i < count; ++i) controls.AddItem(Control::cbframe, FrameEntry(i, source.FrameLocation(i)));
  if (count == 0) return;
  controls.SetEnabled(Control::cbframe, true);
  controls.SetItemIndex(Control::cbframe, 0);
}

}  // namespace paginor::app
