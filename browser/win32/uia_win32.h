#pragma once
// UI Automation over IUIAutomation, for the link list of Chromium and Firefox pages.

#include "browser/automation.h"

namespace paginor::win32 {

// Each element must be used, and released, on the thread that made it (see
// AutomationOnWorker), in a COM apartment.
class Win32Automation : public Automation {
 public:
  // A new IUIAutomation for each window asked, so nothing outlives the worker's
  // apartment. Null once the system has refused to create one: it is not asked again.
  AutomationPtr FromWindow(WindowHandle window) override;
  // True once creating IUIAutomation has failed (Wine has none).
  static bool Refused();
};

}  // namespace paginor::win32
