#pragma once
// Whether a key typed into a Chromium or Firefox window is meant for the page or for a
// field: their address bar, search boxes and the page share windows, so the focused
// accessible object decides. The question crosses into the browser; it is asked on an
// accessibility worker with a short timeout of its own, and any failure, any doubt and
// any delay mean "not a page command": a typed letter must never turn a page by accident.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

#include "browser/accessible.h"
#include "browser/modern_discovery.h"
#include "engine/operation_log.h"

namespace paginor {

class AccessibleWorker;

// A person who types expects to see the letter at once: a browser that has not answered
// by then is taken as busy, not as a page.
inline constexpr std::chrono::milliseconds kFocusCheckTimeout{1000};
// After a browser failed to answer in time, keys are refused without asking for this
// long, so that a hung browser costs the window one wait, not one per key.
inline constexpr std::chrono::milliseconds kFocusCheckQuiet{10000};

inline constexpr char kFocusTimeoutLine[] = "浏览器没有及时回答焦点查询,按键未当作翻页指令";

// Keys go to the object itself: a text field that is not read-only, any combo box (an
// editable one, or a list that selects by typed letters), a document in design mode.
// Documents that are only read are marked read-only by Chromium and Firefox alike.
bool TakesTyping(long role, std::uint32_t state);

enum class FocusVerdict {
  Page,       // the focus is on a page's document or inside it, and takes no typing
  Typing,     // an object that takes typing has the focus
  Elsewhere,  // the browser's own controls (tab strip, toolbar buttons)
  Unknown     // the tree failed to answer
};

// Follows the focus from root down to the focused object and judges it.
FocusVerdict JudgeFocus(const AccessiblePtr& root);

class PageFocusCheck {
 public:
  using WorkerFactory = std::function<std::shared_ptr<AccessibleWorker>()>;
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // windows and log live as long as the program: a check that timed out may still run.
  PageFocusCheck(AccessibleWindows& windows, WorkerFactory makeWorker, OperationLog& log,
                 Clock clock = std::chrono::steady_clock::now);

  // True only when the tree of window answers in time that the focus is on the page.
  bool KeyGoesToPage(WindowHandle window);

 private:
  AccessibleWindows& windows_;
  WorkerFactory makeWorker_;
  OperationLog& log_;
  Clock clock_;
  std::shared_ptr<AccessibleWorker> worker_;
  std::chrono::steady_clock::time_point quietUntil_{};
};

}  // namespace paginor
