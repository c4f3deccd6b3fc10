// paginor.exe: one instance, the registered messages, the hook libraries, the main window
// and its message loop.

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/main_form.h"
#include "app/notices.h"
#include "app/win32/input_wiring.h"
#include "app/win32/main_window.h"
#include "app/win32/platform_parts.h"
#include "app/win32/registered_messages.h"
#include "app/win32/wide.h"
#include "browser/win32/ie_focus_win32.h"
#include "browser/win32/page_focus_win32.h"
#include "browser/win32/win32_browser.h"
#include "hooks/keyHookCommon.h"

namespace {

using namespace paginor::app;
using namespace paginor::app::win32;

constexpr wchar_t kMutexName[] = L"KRVkkkkKRV";

// Libraries come from the system folder, or by full path from the program's own.
void RestrictLibrarySearch() {
  SetDllDirectoryW(L"");
  using SetDefaultFn = BOOL(WINAPI*)(DWORD);
  const auto setDefault = reinterpret_cast<SetDefaultFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// The running instance is woken and shown; this one ends.
int WakeFirstInstance() {
  const HWND first = FindWindowW(paginor::hooks::kMainWindowClass, nullptr);
  if (!first) return 0;
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(first, kSecondInstanceMessage, kSecondInstanceWParam, 0, SMTO_ABORTIFHUNG, 5000,
                           &answer)) {
    answer = 1;  // a window that does not answer cannot be switched to from here
  }
  if (answer == 0) {
    ShowWindow(first, SW_SHOWNORMAL);
    SetForegroundWindow(first);
  } else {
    MessageBoxW(nullptr, L"Paginor已经在运行中，请手工切换", Wide(kNoticeCaption).c_str(), MB_OK);
  }
  return 0;
}

// The browser's objects are reached from this thread's single-threaded apartment.
class ComApartment {
 public:
  ComApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (ok_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool ok_;
};

class MutexHandle {
 public:
  explicit MutexHandle(HANDLE h) : h_(h) {}
  ~MutexHandle() {
    if (h_) CloseHandle(h_);
  }
  MutexHandle(const MutexHandle&) = delete;
  MutexHandle& operator=(const MutexHandle&) = delete;

 private:
  HANDLE h_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  RestrictLibrarySearch();
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
  const bool second = !mutex || GetLastError() == ERROR_ALREADY_EXISTS;
  MutexHandle mutexOwner(mutex);
  if (second) return WakeFirstInstance();

  const RegisteredMessages messages = RegisteredMessages::Register();
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  ComApartment apartment;

  LoadedHookLibraries hooks;
  std::wstring missing;
  if (!hooks.Load(Wide(AppDirOf(Utf8(ProgramPath()))), missing)) {
    MessageBoxW(nullptr, (L"没有发现" + missing).c_str(), Wide(kNoticeCaption).c_str(), MB_OK);
    return 1;
  }

  MainWindow window(instance, messages, hooks);
  if (!window.Create()) return 1;
  const std::unique_ptr<paginor::BrowserDiscovery> discovery =
      paginor::win32::MakeWin32BrowserDiscovery(paginor::win32::DetectIEVersion(), &window.log());
  const std::unique_ptr<paginor::WindowMessenger> messenger = paginor::win32::MakeWin32WindowMessenger();
  BrowserFrames frames(*discovery);
  window.SetFrameSource(&frames);
  ExecutorReceiver receiver(*discovery, *messenger, window.log(), window.controls(), window.form().definitions());
  WindowInputDispatch dispatch(messages, window.form().settings(), window.controls(), receiver);
  const std::unique_ptr<paginor::PageFocusCheck> focusCheck = paginor::win32::MakePageFocusCheck(window.log());
  dispatch.SetFocusCheck([&focusCheck](paginor::WindowHandle focused) {
    if (paginor::win32::IsIeContentWindow(focused)) return paginor::win32::IeKeyGoesToPage(focused);
    return focusCheck->KeyGoesToPage(focused);
  });
  window.SetInputDispatch(&dispatch);
  window.SetExplainer([&receiver](std::string_view command) { return receiver.Explain(command); });
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    const HWND page = window.activePage();
    if (page && IsDialogMessageW(page, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
