#pragma once
// Every call the fake browser receives, one UTF-8 line each, flushed at once so that a
// test in another process reads it while the fake runs.

#include <string>
#include <string_view>


namespace paginor::fake {

void OpenCallLog(const std::wstring& path);
// The browser stops answering for hangMs when it receives this call.
void HangOnCall(std::string line, unsigned long hangMs);
void LogCall(std::string_view line);
// Lines logged so far.
unsigned long CallsLogged();

}  // namespace paginor::fake
