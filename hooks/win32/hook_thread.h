#pragma once
// A low-level hook lives on a thread of its own that only pumps messages. The hook is
// called on the thread that installed it, and Windows silently removes a hook whose
// thread answers late; the main window's thread waits on the browser for seconds at a
// time, so the hooks must not live there.
//
// The callback posts its candidates to this thread's queue and returns; the handler runs
// them after the callback, where looking up windows and posting to the main window
// cannot delay the input of the whole desktop.

#include <windows.h>

#include "hooks/keyHookCommon.h"

namespace paginor::hooks {

// First message number of the posted work; the handler sees these and nothing else.
inline constexpr UINT kWorkMessage = WM_APP + 0x100;

class HookThread {
 public:
  using Handler = void (*)(UINT message, WPARAM wParam, LPARAM lParam);
  using Prepare = void (*)();

  // Starts the thread, runs prepare on it, installs the hook and waits until it is in
  // place. False when the hook could not be installed. A second Start while running is
  // a success that changes nothing.
  bool Start(int hookId, HOOKPROC proc, Prepare prepare, Handler handler);
  // Removes the hook and ends the thread; harmless when not running.
  bool Stop();

  // For the callback: queue work for the handler (never blocks).
  void Post(UINT message, WPARAM wParam, LPARAM lParam) const;

 private:
  static DWORD WINAPI Run(void* self);

  SRWLOCK lock_ = SRWLOCK_INIT;
  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
  DWORD workerId_ = 0;  // written by the thread itself, before its hook can run
  HANDLE ready_ = nullptr;
  bool installed_ = false;
  int hookId_ = 0;
  HOOKPROC proc_ = nullptr;
  Prepare prepare_ = nullptr;
  Handler handler_ = nullptr;
};

// Posts a registered message to the main window (found by its class each time, so a
// restarted program is found too). Nothing happens while the program does not run.
void PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam);

// Which windows are pages, as the main window last said; read by the callback and the
// hook thread. StorePageKind refuses (false) a value it does not know and keeps the last.
bool StorePageKind(int kind);
PageKind CurrentPageKind();

// The class of w as a view into buf; empty when w is null or gone.
struct ClassName {
  wchar_t buf[64];
  int length = 0;
};
ClassName ClassOf(HWND w);

}  // namespace paginor::hooks
