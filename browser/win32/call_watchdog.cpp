#include "browser/win32/call_watchdog.h"

#include <cstdint>

namespace paginor::win32 {
namespace {

// COM asks the filter about a call in progress only when a message arrives while it
// waits, and a WM_TIMER does not count everywhere (Wine waits for posted and sent
// messages only): a pool timer posts an empty message to the thread instead.
constexpr UINT kTickMs = 100;

void CALLBACK Tick(void* thread, BOOLEAN) {
  PostThreadMessageW(static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(thread)), WM_NULL, 0, 0);
}

class Filter final : public IMessageFilter {
 public:
  explicit Filter(DWORD limitMs) : limitMs_(limitMs) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid != IID_IUnknown && riid != IID_IMessageFilter) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = static_cast<IMessageFilter*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
    return SERVERCALL_ISHANDLED;
  }
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsedMs, DWORD rejectType) override {
    // A busy browser is asked again for as long as a call may take; a refusal is final.
    if (rejectType == SERVERCALL_RETRYLATER && !gaveUp && elapsedMs < limitMs_) return kTickMs;
    return static_cast<DWORD>(-1);
  }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD elapsedMs, DWORD) override {
    if (gaveUp || elapsedMs >= limitMs_) {
      gaveUp = true;
      return PENDINGMSG_CANCELCALL;
    }
    return PENDINGMSG_WAITDEFPROCESS;
  }

  bool gaveUp = false;

 private:
  DWORD limitMs_;
  LONG refs_ = 1;
};

}  // namespace

CallWatchdog::CallWatchdog(DWORD limitMs) {
  filter_.Attach(new Filter(limitMs));
  registered_ = SUCCEEDED(CoRegisterMessageFilter(filter_.Get(), &previous_));
  if (!registered_) return;
  void* thread = reinterpret_cast<void*>(static_cast<std::uintptr_t>(GetCurrentThreadId()));
  if (!CreateTimerQueueTimer(&timer_, nullptr, Tick, thread, kTickMs, kTickMs, WT_EXECUTEDEFAULT)) {
    timer_ = nullptr;
  }
}

CallWatchdog::~CallWatchdog() {
  // Waits for a tick in progress, so none posts after the scope.
  if (timer_) DeleteTimerQueueTimer(nullptr, timer_, INVALID_HANDLE_VALUE);
  if (!registered_) return;
  ComPtr<IMessageFilter> ours;
  CoRegisterMessageFilter(previous_.Get(), &ours);
}

bool CallWatchdog::gaveUp() const { return static_cast<Filter*>(filter_.Get())->gaveUp; }

}  // namespace paginor::win32
