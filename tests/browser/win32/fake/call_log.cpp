#include "call_log.h"

#include <cstdio>

namespace paginor::fake {
namespace {
std::FILE* g_log = nullptr;
}

void OpenCallLog(const std::wstring& path) { g_log = _wfopen(path.c_str(), L"wb"); }

void LogCall(std::string_view line) {
  if (!g_log) return;
  std::fwrite(line.data(), 1, line.size(), g_log);
  std::fputc('\n', g_log);
  std::fflush(g_log);
}

}  // namespace paginor::fake
