#include "fake_process.h"

#include <fstream>
#include <sstream>

namespace paginor::test {
namespace {

std::wstring Quote(const std::wstring& arg) { return L"\"" + arg + L"\""; }

std::wstring CommandLine(const std::wstring& exe, const std::vector<std::wstring>& args) {
  std::wstring line = Quote(exe);
  for (const std::wstring& arg : args) line += L" " + Quote(arg);
  return line;
}

std::wstring TempDir() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  std::wstring dir = std::wstring(base) + L"paginor-browser-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir + L"\\";
}

}  // namespace

std::wstring WinPath(const std::string& path) {
  std::wstring out = path.rfind('/', 0) == 0 ? L"Z:" : L"";
  for (const char c : path) out += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return out;
}

std::wstring SourceFile(const std::string& relative) {
  return WinPath(std::string(PAGINOR_SOURCE_DIR) + "/" + relative);
}

std::vector<std::wstring> PageArgs(const std::string& table) {
  return {L"--page", SourceFile("tests/browser/data/" + table + ".tsv")};
}

FakeBrowserProcess::FakeBrowserProcess(const std::vector<std::wstring>& args, const std::wstring& exeName,
                                       const std::string& program) {
  static int count = 0;
  const std::wstring dir = TempDir();
  log_ = dir + L"calls-" + std::to_wstring(++count) + L".log";
  DeleteFileW(log_.c_str());
  std::wstring exe = WinPath(program.empty() ? std::string(PAGINOR_FAKE_BROWSER) : program);
  if (!exeName.empty()) {
    const std::wstring copy = dir + exeName;
    CopyFileW(exe.c_str(), copy.c_str(), FALSE);
    exe = copy;
  }
  std::vector<std::wstring> all = {L"--log", log_};
  all.insert(all.end(), args.begin(), args.end());
  std::wstring line = CommandLine(exe, all);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process_)) {
    return;
  }
  // A busy machine under Wine can take seconds to start a process.
  ready_ = WaitForLine("ready", 0, 30000);
}

FakeBrowserProcess::~FakeBrowserProcess() {
  Kill();
}

void FakeBrowserProcess::Kill() {
  if (!process_.hProcess) return;
  TerminateProcess(process_.hProcess, 0);
  WaitForSingleObject(process_.hProcess, 10000);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
  process_ = {};
}

std::vector<std::string> FakeBrowserProcess::Lines() const { return LinesFrom(0); }

std::vector<std::string> FakeBrowserProcess::LinesFrom(std::size_t from) const {
  std::ifstream in(log_.c_str(), std::ios::binary);
  std::vector<std::string> lines;
  std::size_t n = 0;
  for (std::string line; std::getline(in, line); ++n) {
    if (n >= from) lines.push_back(line);
  }
  return lines;
}

bool FakeBrowserProcess::WaitForLine(const std::string& wanted, std::size_t from, DWORD timeoutMs) const {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  do {
    for (const std::string& line : LinesFrom(from)) {
      if (line == wanted) return true;
    }
    Sleep(20);
  } while (GetTickCount64() < end);
  return false;
}

std::string RunProgram(const std::wstring& exe, const std::vector<std::wstring>& args,
                       DWORD timeoutMs, DWORD* exitCode) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  if (!CreatePipe(&read, &write, &inherit, 0)) return {};
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write;
  startup.hStdError = write;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::wstring line = CommandLine(exe, args);
  const BOOL started = CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &process);
  CloseHandle(write);
  std::string out;
  if (started) {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
    if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
      TerminateProcess(process.hProcess, 99);
    }
    GetExitCodeProcess(process.hProcess, exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(read);
  std::string clean;
  for (const char c : out) {
    if (c != '\r') clean += c;
  }
  return clean;
}

}  // namespace paginor::test
