#include "call_log.h"

#include <windows.h>

#include <cstdio>

namespace paginor::fake {
namespace {
std::FILE* g_log = nullptr;
std::string g_hangOn;
DWORD g_hangMs = 0;
unsigned long g_logged = 0;
}  // namespace

void HangOnCall(std::string line, unsigned long hangMs) {
  g_hangOn = std::move(line);
  g_hangMs = hangMs;
}

void OpenCallLog(const std::wstring& path) { g_log = _wfopen(path.c_str(), L"wb"); }

unsigned long CallsLogged() { return g_logged; }

void LogCall(std::string_view line) {
  ++g_logged;
  if (!g_log) return;
  std::fwrite(line.data(), 1, line.size(), g_log);
  std::fputc('\n', g_log);
  std::fflush(g_log);
  if (!g_hangOn.empty() && line == g_hangOn) Sleep(g_hangMs);
}

}  // namespace paginor::fake
