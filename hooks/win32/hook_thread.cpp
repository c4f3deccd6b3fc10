#include "hooks/win32/hook_thread.h"

#include <atomic>
#include <iterator>

#include "hooks/keyHookCommon.h"

namespace paginor::hooks {

namespace {

// The module that holds this code: the thread keeps it loaded, so a FreeLibrary by the
// host while the hook runs cannot pull the code from under it.
HMODULE PinThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                     reinterpret_cast<LPCWSTR>(&PinThisModule), &module);
  return module;
}

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

class Exclusive {
 public:
  explicit Exclusive(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
  ~Exclusive() { ReleaseSRWLockExclusive(&lock_); }
  Exclusive(const Exclusive&) = delete;
  Exclusive& operator=(const Exclusive&) = delete;

 private:
  SRWLOCK& lock_;
};

constexpr DWORD kStartTimeoutMs = 5000;
constexpr DWORD kStopTimeoutMs = 5000;

}  // namespace

DWORD WINAPI HookThread::Run(void* arg) {
  auto* self = static_cast<HookThread*>(arg);
  const HMODULE pinned = PinThisModule();
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the queue exists from now
  self->workerId_ = GetCurrentThreadId();
  // Windows measures a hook's answer in wall time: a busy desktop must not starve it.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
  if (self->prepare_) self->prepare_();
  const HHOOK hook = SetWindowsHookExW(self->hookId_, self->proc_, ThisModule(), 0);
  self->installed_ = hook != nullptr;
  SetEvent(self->ready_);
  if (hook) {
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (msg.hwnd == nullptr && msg.message >= kWorkMessage) {
        self->handler_(msg.message, msg.wParam, msg.lParam);
      } else {
        DispatchMessageW(&msg);
      }
    }
    UnhookWindowsHookEx(hook);
  }
  FreeLibraryAndExitThread(pinned, 0);
}

bool HookThread::Start(int hookId, HOOKPROC proc, Prepare prepare, Handler handler) {
  Exclusive guard(lock_);
  if (thread_) return true;
  hookId_ = hookId;
  proc_ = proc;
  prepare_ = prepare;
  handler_ = handler;
  installed_ = false;
  ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!ready_) return false;
  thread_ = CreateThread(nullptr, 0, &HookThread::Run, this, 0, &threadId_);
  const bool started = thread_ && WaitForSingleObject(ready_, kStartTimeoutMs) == WAIT_OBJECT_0;
  CloseHandle(ready_);
  ready_ = nullptr;
  if (started && installed_) return true;
  if (thread_) {
    // Not installed (the thread ends by itself) or not answering (told to end).
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, kStopTimeoutMs);
    CloseHandle(thread_);
  }
  thread_ = nullptr;
  threadId_ = 0;
  return false;
}

bool HookThread::Stop() {
  Exclusive guard(lock_);
  if (!thread_) return true;
  PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  const bool ended = WaitForSingleObject(thread_, kStopTimeoutMs) == WAIT_OBJECT_0;
  CloseHandle(thread_);
  thread_ = nullptr;
  threadId_ = 0;
  return ended;
}

void HookThread::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
  PostThreadMessageW(workerId_, message, wParam, lParam);
}

namespace {
std::atomic<int> pageKind{static_cast<int>(PageKind::IeEngine)};
}  // namespace

bool StorePageKind(int kind) {
  if (kind != static_cast<int>(PageKind::IeEngine) && kind != static_cast<int>(PageKind::Modern)) return false;
  pageKind.store(kind, std::memory_order_relaxed);
  return true;
}

PageKind CurrentPageKind() { return static_cast<PageKind>(pageKind.load(std::memory_order_relaxed)); }

void PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == 0) return;
  if (const HWND main = FindWindowW(kMainWindowClass, nullptr)) {
    PostMessageW(main, message, wParam, lParam);
  }
}

ClassName ClassOf(HWND w) {
  ClassName name;
  name.buf[0] = L'\0';
  if (w) name.length = GetClassNameW(w, name.buf, static_cast<int>(std::size(name.buf)));
  if (name.length < 0) name.length = 0;
  return name;
}

}  // namespace paginor::hooks
