// paginor-calc FORMULA...: prints each formula's result on its own line, or
// "error: " and the recorded message; exit status 1 when any formula failed.
// Output is UTF-8 so that it reads the same in a console, a pipe or a file.

#include <windows.h>

#include <cstdio>
#include <string>

#include "calc/uCalcul.h"

namespace {

std::string ToUtf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  out.resize(static_cast<size_t>(size - 1));
  return out;
}

void WriteLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetConsoleOutputCP(CP_UTF8);
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    paginor::calc::TCalcul calc;
    calc.SetVariablesText("");
    calc.SetFormula(ToUtf8(argv[i]));
    std::string result;
    calc.Calculate(result);
    if (calc.ErrorFlag()) {
      WriteLine("error: " + calc.ErrorText());
      status = 1;
    } else {
      WriteLine(result);
    }
  }
  std::fflush(stdout);
  return status;
}
