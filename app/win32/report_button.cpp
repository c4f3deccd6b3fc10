// "诊断报告" on "一般选项": the same report as paginor-cli.exe report, made on a thread
// of its own (it may wait up to 30 s on a hung browser), then shown in its folder.

#include <windows.h>
#include <shellapi.h>

#include <mutex>
#include <thread>

#include "app/win32/diagnostic_report_win32.h"
#include "app/win32/main_window.h"
#include "app/win32/resource.h"
#include "app/win32/wide.h"
#include "engine/text_file.h"

namespace paginor::app::win32 {

struct ReportOutcome {
  std::mutex mutex;
  std::string path;  // empty: nowhere could be written
};

namespace {

std::string TempFolder() {
  wchar_t path[MAX_PATH];
  const DWORD chars = GetTempPathW(MAX_PATH, path);
  std::string folder = chars ? Utf8({path, chars}) : "";
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return folder;
}

// Beside the program, as a person will look for it; a folder they cannot write to
// (Program Files) leaves the temporary folder.
std::string SaveReport(const std::string& text) {
  for (const std::string& folder : {ProgramFolder(), TempFolder()}) {
    const std::string path = folder + "\\" + std::string(kReportFileName);
    if (!folder.empty() && WriteUtf8File(path, text)) return path;
  }
  return "";
}

}  // namespace

void MainWindow::StartReport() {
  if (report_) return;  // one at a time
  report_ = std::make_shared<ReportOutcome>();
  EnableWindow(GetDlgItem(pages_[kOptionsPage], IDC_REPORTBTN), FALSE);
  reportThread_.Start(std::thread([outcome = report_, window = window_] {
    ReportRequest request;
    request.folder = ProgramFolder();
    const std::string path = SaveReport(MakeDiagnosticReport(request));
    {
      const std::lock_guard<std::mutex> lock(outcome->mutex);
      outcome->path = path;
    }
    PostMessageW(window, WM_PAGINOR_REPORT, 0, 0);
  }));
}

void MainWindow::OnReportDone() {
  if (!report_) return;
  std::string path;
  {
    const std::lock_guard<std::mutex> lock(report_->mutex);
    path = report_->path;
  }
  report_.reset();
  reportThread_.Join();
  EnableWindow(GetDlgItem(pages_[kOptionsPage], IDC_REPORTBTN), TRUE);
  if (path.empty()) {
    history_.Append("诊断报告无法写入程序所在的文件夹或临时文件夹");
    return;
  }
  history_.Append("诊断报告已写入 " + path);
  const std::wstring select = L"/select,\"" + Wide(path) + L"\"";
  ShellExecuteW(window_, L"open", L"explorer.exe", select.c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace paginor::app::win32
