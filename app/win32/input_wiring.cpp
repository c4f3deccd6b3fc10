#include "app/win32/input_wiring.h"

#include "browser/frames.h"
#include "hooks/keyHookCommon.h"
#include "engine/browser_kinds.h"
#include "engine/explain.h"
#include "browser/win32/call_watchdog.h"
#include "browser/win32/com_frames.h"
#include "browser/win32/ie_focus_win32.h"
#include "browser/win32/win32_window_system.h"

namespace paginor::app::win32 {
namespace {

// Hook messages that arrive while a command runs (a cross-process call into the browser
// lets the thread handle messages) wait for it: a command inside a command would walk
// the same browser state twice. More than this many waiting are typing nobody expects
// to replay.
constexpr std::size_t kMaxPending = 64;

}  // namespace

ExecutorReceiver::ExecutorReceiver(BrowserDiscovery& discovery, WindowMessenger& messenger, OperationLog& log,
                                   const Controls& controls, const DefinitionManager& definitions)
    : discovery_(discovery),
      messenger_(messenger),
      controls_(controls),
      definitions_(definitions),
      executor_(discovery, messenger, log) {}

ExecutorInputs ExecutorReceiver::Inputs() const {
  ExecutorInputs inputs;
  inputs.browserChoice = controls_.ItemIndex(Control::rgpIE);
  inputs.framesOption = controls_.Checked(Control::chkframe);
  inputs.frameIndex = controls_.ItemIndex(Control::cbframe);
  inputs.keyboardDisable = controls_.Lines(Control::dmemo1);
  inputs.mouseDisable = controls_.Lines(Control::dmemo2);
  inputs.fixedPositionLines = controls_.Lines(Control::xyMemo);
  inputs.activeSets = &definitions_.Active();
  inputs.smartFallback = controls_.Checked(Control::smartChk);
  return inputs;
}

void ExecutorReceiver::ReceiveCommand(std::string_view command, Origin origin) {
  // A browser that stops answering halfway through the command gives up its calls
  // instead of holding the window.
  const paginor::win32::CallWatchdog watchdog(paginor::win32::kDocumentTimeoutMs);
  // Nothing may leave through the window procedure.
  try {
    executor_.ReceiveCommand(command, origin, Inputs());
  } catch (...) {
  }
}

std::string ExecutorReceiver::Explain(std::string_view command) {
  const paginor::win32::CallWatchdog watchdog(paginor::win32::kDocumentTimeoutMs);
  const ExecutorInputs inputs = Inputs();
  const std::string kind(BrowserKindForChoice(inputs.browserChoice));
  BrowserPtr browser;
  WindowHandle window = 0;
  try {
    if (!discovery_.FindBrowserWindow(browser, window, kind)) return "没有发现目标浏览器:" + kind;
    return ExplanationText(ExplainOnBrowser(command, Origin::Keyboard, inputs, browser, window, messenger_));
  } catch (...) {
    return "没有发现目标浏览器:" + kind;
  }
}

ScreenPoint SystemCursor::CursorPos() const {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

std::int64_t SystemTicks::Milliseconds() const { return static_cast<std::int64_t>(GetTickCount64()); }

WindowInputDispatch::WindowInputDispatch(const RegisteredMessages& messages, const SettingsStore& settings,
                                         Controls& controls, CommandReceiver& receiver)
    : messages_(messages),
      settings_(settings),
      controls_(controls),
      dispatch_({settings, controls, cursor_, clock_, receiver}) {}

bool WindowInputDispatch::Recognise(UINT message, app::InputMessage& input) const {
  if (message == 0) return false;
  if (message == messages_.keyHook) input = app::InputMessage::KeyHook;
  else if (message == messages_.floatKey) input = app::InputMessage::FloatKey;
  else if (message == messages_.mouseHook1) input = app::InputMessage::MouseHook1;
  else if (message == messages_.mouseHook2) input = app::InputMessage::MouseHook2;
  else if (message == messages_.mouseHook3) input = app::InputMessage::MouseHook3;
  else if (message == messages_.floatMouse) input = app::InputMessage::FloatMouse;
  else return false;
  return true;
}

// A key the hook handed over with the focused window, asked when it arrives, while the
// focus is still where the key went. Chromium and Firefox count only while their choice
// holds; an IE-engine page (Edge's IE mode too) under every choice.
bool WindowInputDispatch::ConfirmedOnPage(LPARAM focused) {
  if (settings_.pagingDisabled()) return false;
  const auto window = static_cast<WindowHandle>(static_cast<std::uintptr_t>(focused));
  if (hooks::PageKindForChoice(controls_.ItemIndex(Control::rgpIE)) != hooks::PageKind::Modern &&
      !paginor::win32::IsIeContentWindow(window)) {
    return false;
  }
  try {
    return focusCheck_ && focusCheck_(window);
  } catch (...) {
    return false;
  }
}

void WindowInputDispatch::OnInputMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  app::InputMessage input{};
  if (!Recognise(message, input)) return;
  if (input == app::InputMessage::KeyHook && lParam != 0 && !ConfirmedOnPage(lParam)) return;
  if (busy_) {
    if (pending_.size() < kMaxPending) pending_.push_back({input, wParam, lParam});
    return;
  }
  busy_ = true;
  try {
    dispatch_.Dispatch(input, wParam, lParam);
    while (!pending_.empty()) {
      const Pending next = pending_.front();
      pending_.pop_front();
      dispatch_.Dispatch(next.message, next.wParam, next.lParam);
    }
  } catch (...) {
    pending_.clear();
  }
  busy_ = false;
}

bool BrowserFrames::FindBrowserWindow(std::string_view kind) {
  const paginor::win32::CallWatchdog watchdog(paginor::win32::kDocumentTimeoutMs);
  BrowserPtr tab;
  WindowHandle window = 0;
  if (!discovery_.FindBrowserWindow(tab, window, kind)) return false;
  tab_ = std::move(tab);
  return true;
}

int BrowserFrames::GetFrameCount() {
  const paginor::win32::CallWatchdog watchdog(paginor::win32::kDocumentTimeoutMs);
  paginor::win32::ComFrameSource frames;
  return paginor::GetFrameCount(frames, tab_);
}

std::optional<std::string> BrowserFrames::FrameLocation(int index) {
  const paginor::win32::CallWatchdog watchdog(paginor::win32::kDocumentTimeoutMs);
  const BrowserPtr frame = discovery_.GetFrameBrowser(index, tab_);
  if (!frame) return std::nullopt;
  try {
    return frame->LocationUrl().value_or("");
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace paginor::app::win32
