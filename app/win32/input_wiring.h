#pragma once
// The hook and floating-box messages, from the window procedure to the engine: the
// portable input dispatch on the real cursor and tick count, and the executor on the
// browser that discovery finds, with what the window's controls hold at that moment.

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>

#include "app/frames_option.h"
#include "app/input_dispatch.h"
#include "app/win32/main_window.h"
#include "engine/definition_sets.h"
#include "engine/executor.h"

namespace paginor::app::win32 {

// The engine's executor, fed from the controls: browser choice, frames option, the three
// memos, the smart option and the active definition sets. Its log is historyMemo.
class ExecutorReceiver : public CommandReceiver {
 public:
  ExecutorReceiver(BrowserDiscovery& discovery, WindowMessenger& messenger, OperationLog& log,
                   const Controls& controls, const DefinitionManager& definitions);
  void ReceiveCommand(std::string_view command, Origin origin) override;
  // What the command would do on the current page of the chosen browser, without doing
  // it; or why there is no page to look at.
  std::string Explain(std::string_view command);

 private:
  ExecutorInputs Inputs() const;

  BrowserDiscovery& discovery_;
  WindowMessenger& messenger_;
  const Controls& controls_;
  const DefinitionManager& definitions_;
  CommandExecutor executor_;
};

class SystemCursor : public CursorReader {
 public:
  ScreenPoint CursorPos() const override;
};

class SystemTicks : public TickClock {
 public:
  std::int64_t Milliseconds() const override;
};

class WindowInputDispatch : public InputDispatch {
 public:
  WindowInputDispatch(const RegisteredMessages& messages, const SettingsStore& settings, Controls& controls,
                      CommandReceiver& receiver);
  void OnInputMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Asks the browser whether its focused object is a page, not a field; without one, keys
  // the hook could not confirm are dropped.
  void SetFocusCheck(std::function<bool(WindowHandle focused)> check) { focusCheck_ = std::move(check); }

 private:
  struct Pending {
    app::InputMessage message;
    WPARAM wParam;
    LPARAM lParam;
  };
  bool Recognise(UINT message, app::InputMessage& input) const;
  bool ConfirmedOnPage(LPARAM focused);

  RegisteredMessages messages_;
  const SettingsStore& settings_;
  const Controls& controls_;
  std::function<bool(WindowHandle)> focusCheck_;
  SystemCursor cursor_;
  SystemTicks clock_;
  app::InputDispatch dispatch_;
  bool busy_ = false;
  std::deque<Pending> pending_;
};

// The frames list of "一般选项" over the same discovery the commands use.
class BrowserFrames : public FrameSource {
 public:
  explicit BrowserFrames(BrowserDiscovery& discovery) : discovery_(discovery) {}
  bool FindBrowserWindow(std::string_view kind) override;
  int GetFrameCount() override;
  std::optional<std::string> FrameLocation(int index) override;

 private:
  BrowserDiscovery& discovery_;
  BrowserPtr tab_;
};

}  // namespace paginor::app::win32
