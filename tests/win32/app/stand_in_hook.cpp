// A stand-in for hkboard.dll or hkpoint.dll: exports the library's two functions and
// appends each call's name to hook-calls.txt beside the library, so a test sees which
// were called and in what order.

#include <windows.h>

#include <string>

namespace {

HMODULE SelfModule() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&SelfModule), &self);
  return self;
}

void Record(const char* name) {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(SelfModule(), path, MAX_PATH);
  std::wstring file(path, n);
  file = file.substr(0, file.find_last_of(L'\\') + 1) + L"hook-calls.txt";
  const HANDLE h = CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  const std::string line = std::string(name) + "\n";
  DWORD written = 0;
  WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(h);
}

}  // namespace

#ifdef PAGINOR_STAND_IN_KEYBOARD
extern "C" __declspec(dllexport) void WINAPI HookKey() { Record("HookKey"); }
extern "C" __declspec(dllexport) void WINAPI UnHookKey() { Record("UnHookKey"); }
#else
extern "C" __declspec(dllexport) void WINAPI HookMouse() { Record("HookMouse"); }
extern "C" __declspec(dllexport) void WINAPI UnHookMouse() { Record("UnHookMouse"); }
#endif
