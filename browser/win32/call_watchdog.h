#pragma once
// Bounds the cross-process calls made on this thread while it lives. A browser that
// handed out its document and then stopped answering would otherwise hold the calling
// thread for good: COM waits for a reply without end. Create one around each command
// on a single-threaded apartment.

#include <windows.h>
#include <objidl.h>

#include "browser/win32/com_util.h"

namespace paginor::win32 {

class CallWatchdog {
 public:
  // limitMs: the longest any one call may wait; once a call has been given up, the
  // browser counts as hung and every later call in this scope is given up at once.
  explicit CallWatchdog(DWORD limitMs);
  ~CallWatchdog();
  CallWatchdog(const CallWatchdog&) = delete;
  CallWatchdog& operator=(const CallWatchdog&) = delete;

  bool gaveUp() const;

 private:
  ComPtr<IMessageFilter> filter_;
  ComPtr<IMessageFilter> previous_;
  bool registered_ = false;
  HANDLE timer_ = nullptr;
};

}  // namespace paginor::win32
