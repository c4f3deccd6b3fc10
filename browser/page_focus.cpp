#include "browser/page_focus.h"

#include "browser/timed_accessible.h"

namespace paginor {
namespace {

// Chromium and Firefox answer the focus of a window with the focused object itself;
// trees that answer one level at a time are followed this deep.
constexpr int kMaxFocusDepth = 64;
// A focused link sits a few levels under its document; a toolbar button never does.
constexpr int kMaxDocumentDistance = 64;

AccessiblePtr FocusedObject(const AccessiblePtr& root) {
  AccessiblePtr node = root;
  for (int depth = 0; depth < kMaxFocusDepth; ++depth) {
    FocusAnswer answer = node->Focus();
    switch (answer.where) {
      case FocusAnswer::Where::Failed:
        return nullptr;
      case FocusAnswer::Where::Nowhere:
        // The window's own tree knows no focus: nothing to judge. Deeper down, an object
        // its parent named as focused is that object.
        return depth == 0 ? nullptr : node;
      case FocusAnswer::Where::Self:
        return node;
      case FocusAnswer::Where::Descendant:
        if (!answer.descendant) return nullptr;
        node = std::move(answer.descendant);
        break;
    }
  }
  return node;
}

// Chromium and Firefox mark contenteditable regions editable only in IAccessible2
// (ui/accessibility/platform/ax_platform_node_win.cc, ComputeIA2State;
// accessible/windows/ia2/ia2Accessible.cpp, get_states).
bool Ia2Editable(AccessibleNode& node) {
  const auto states = node.Ia2States();
  return states && (*states & msaa::kIa2StateEditable) != 0;
}

}  // namespace

bool TakesTyping(long role, std::uint32_t state) {
  const bool readOnly = (state & msaa::kStateReadOnly) != 0;
  switch (role) {
    case msaa::kRoleText:
    case msaa::kRoleDocument:
      return !readOnly;
    case msaa::kRoleComboBox:
      return true;
    default:
      return false;
  }
}

FocusVerdict JudgeFocus(const AccessiblePtr& root) {
  if (!root) return FocusVerdict::Unknown;
  AccessiblePtr node = FocusedObject(root);
  if (!node) return FocusVerdict::Unknown;
  const std::optional<long> role = node->Role();
  const std::optional<std::uint32_t> state = node->State();
  if (!role || !state) return FocusVerdict::Unknown;
  if (TakesTyping(*role, *state) || Ia2Editable(*node)) return FocusVerdict::Typing;
  if (*role == msaa::kRoleDocument) return FocusVerdict::Page;
  for (int up = 0; up < kMaxDocumentDistance; ++up) {
    node = node->Parent();
    if (!node) return FocusVerdict::Elsewhere;
    const std::optional<long> parentRole = node->Role();
    if (!parentRole) return FocusVerdict::Unknown;
    // The paragraph focused inside an editor is not editable by role; its editor is.
    if (Ia2Editable(*node)) return FocusVerdict::Typing;
    if (*parentRole == msaa::kRoleDocument) return FocusVerdict::Page;
  }
  return FocusVerdict::Elsewhere;
}

PageFocusCheck::PageFocusCheck(AccessibleWindows& windows, WorkerFactory makeWorker, OperationLog& log,
                               Clock clock)
    : windows_(windows), makeWorker_(std::move(makeWorker)), log_(log), clock_(std::move(clock)) {}

bool PageFocusCheck::KeyGoesToPage(WindowHandle window) {
  if (window == 0 || clock_() < quietUntil_) return false;
  try {
    if (!worker_ || worker_->givenUp()) worker_ = makeWorker_();
    if (!worker_) return false;
    // One job for the whole walk: every node is made, used and released on the worker.
    auto verdict = std::make_shared<FocusVerdict>(FocusVerdict::Unknown);
    AccessibleWindows* windows = &windows_;
    const bool answered = worker_->Run([verdict, windows, window] {
      try {
        *verdict = JudgeFocus(windows->FromWindow(window));
      } catch (...) {
        *verdict = FocusVerdict::Unknown;
      }
    });
    if (!answered) {
      quietUntil_ = clock_() + kFocusCheckQuiet;
      log_.Append(kFocusTimeoutLine);
      return false;
    }
    return *verdict == FocusVerdict::Page;
  } catch (...) {
    return false;
  }
}

}  // namespace paginor
