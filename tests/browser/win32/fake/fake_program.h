#pragma once
// What both stand-in browsers do around their own set-up: serve window messages once
// ready, and run inside a COM apartment with any error told on standard error.

#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "browser/win32/com_util.h"
#include "call_log.h"

namespace paginor::fake {

inline int ServeMessagesWhenReady() {
  LogCall("ready");
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

template <class Run>
int FakeProgramMain(const char* name, int argc, wchar_t** argv, Run run) {
  const win32::ComApartment apartment;
  try {
    return run(std::vector<std::wstring>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", name, e.what());
    return 2;
  }
}

}  // namespace paginor::fake
