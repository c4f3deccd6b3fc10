#pragma once
// Runs the test browser in a process of its own, as a real browser runs beside the
// program, and reads the calls it logged.

#include <windows.h>

#include <string>
#include <vector>

namespace paginor::test {

// A path of the source or build tree (a Unix path under Wine) as Windows opens it.
std::wstring WinPath(const std::string& path);
std::wstring SourceFile(const std::string& relative);
// The arguments that make the test browser serve a table of tests/browser/data.
std::vector<std::wstring> PageArgs(const std::string& table);

class FakeBrowserProcess {
 public:
  // exeName: the file name the browser runs under, so walks that test the executable
  // see "360se.exe" or "TTraveler.EXE"; empty keeps fake_browser.exe.
  // program: another test browser of the same options (a Unix or Windows path).
  explicit FakeBrowserProcess(const std::vector<std::wstring>& args, const std::wstring& exeName = L"",
                              const std::string& program = "");
  ~FakeBrowserProcess();
  FakeBrowserProcess(const FakeBrowserProcess&) = delete;
  FakeBrowserProcess& operator=(const FakeBrowserProcess&) = delete;

  bool ready() const { return ready_; }
  std::vector<std::string> Lines() const;
  // Lines logged after the first `from`.
  std::vector<std::string> LinesFrom(std::size_t from) const;
  // Waits until a line equal to `line` appears after `from`.
  bool WaitForLine(const std::string& line, std::size_t from, DWORD timeoutMs) const;
  void Kill();

 private:
  std::wstring log_;
  PROCESS_INFORMATION process_{};
  bool ready_ = false;
};

// Runs a program to its end and returns its standard output with "\r" removed.
std::string RunProgram(const std::wstring& exe, const std::vector<std::wstring>& args,
                       DWORD timeoutMs, DWORD* exitCode);

}  // namespace paginor::test
