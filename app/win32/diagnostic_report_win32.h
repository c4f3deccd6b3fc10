#pragma once
// The diagnostic report on Windows: paginor-cli.exe report and "诊断报告" on
// "一般选项" make the same text. It never clicks, types or navigates.

#include <optional>
#include <string>

#include "app/diagnostic_report.h"

namespace paginor::app::win32 {

struct ReportRequest {
  std::string folder;               // where tpnav.ini, last.pgt and xy.txt are read (UTF-8)
  std::optional<std::string> kind;  // instead of the settings' browser choice
  bool full = false;                // whole page addresses
  ReportBudget budget;
};

std::string MakeDiagnosticReport(const ReportRequest& request);

// The folder of the running program, UTF-8.
std::string ProgramFolder();

}  // namespace paginor::app::win32
