// paginor-cli.exe report against the stand-in browsers in other processes: each
// browser kind's search named with where it stopped, addresses kept private, and a
// browser that stops answering named without holding the report.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "fake_process.h"

namespace paginor::test {
namespace {

const std::wstring kIeTab = L"IEFrame/TabWindowClass/Shell DocObject View/Internet Explorer_Server";

std::string Report(const std::vector<std::wstring>& extra, DWORD* status) {
  const std::string out = std::string(PAGINOR_BUILD_DIR) + "/report-under-test.txt";
  std::vector<std::wstring> args = {L"report", L"--out", WinPath(out)};
  args.insert(args.end(), extra.begin(), extra.end());
  const std::string printed = RunProgram(WinPath(PAGINOR_CLI), args, 60000, status);
  std::ifstream file(out, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  std::remove(out.c_str());
  return printed + text.str();
}

std::unique_ptr<FakeBrowserProcess> Start(const std::string& browser) {
  if (browser == "ie") {
    return std::make_unique<FakeBrowserProcess>(
        std::vector<std::wstring>{L"--page", SourceFile("tests/browser/data/forum1.tsv"), L"--window", kIeTab + L"@0"});
  }
  if (browser == "hung ie") {
    return std::make_unique<FakeBrowserProcess>(std::vector<std::wstring>{
        L"--page", SourceFile("tests/browser/data/forum1.tsv"), L"--hang-ms", L"20000", L"--window",
        kIeTab + L"@hang"});
  }
  if (browser == "modern") {
    return std::make_unique<FakeBrowserProcess>(
        std::vector<std::wstring>{L"--page", SourceFile("tests/browser/data/forum1.tsv")}, L"chrome.exe",
        PAGINOR_FAKE_MODERN);
  }
  return nullptr;
}

TEST(ReportWine, EachBrowserKindsSearchIsNamedPrivatelyAndWithinTheBound) {
  const struct {
    std::string browser;
    std::vector<std::wstring> args;
    std::vector<std::string> present;
    std::vector<std::string> absent;
  } cases[] = {
      {"ie",
       {},
       {"== Search for the kind \"ie\" (chosen)\n", "\"IEFrame\" among top-level windows: 0x",
        "tab found in window 0x", "document http://forum.example/…\n", "15 links", "click link",
        "Page addresses are cut to their scheme and host", "Paginor 5.3.0, "},
       {"thread-1024", "论坛首页"}},
      {"ie", {L"--full"}, {"document http://forum.example/thread-1024-1.html\n"}, {}},
      {"modern",
       {L"--browser", L"modern"},
       {"== Search for the kind \"modern\" (chosen)\n", "\"Chrome_WidgetWin_1\" chrome.exe", "15 links", "focus on the page"},
       {"thread-1024"}},
      {"hung ie", {}, {"== Search for the kind \"ie\" (chosen)\n", "no answer (0x"}, {"\n  tab found"}},
      {"none",
       {},
       {"none: no top-level window of a browser's class or program", "no tab found: the search ended at the last step above"},
       {"\n  tab found"}},
  };
  for (const auto& c : cases) {
    const std::unique_ptr<FakeBrowserProcess> fake = Start(c.browser);
    ASSERT_TRUE(!fake || fake->ready()) << c.browser;
    DWORD status = 99;
    const DWORD start = GetTickCount();
    const std::string report = Report(c.args, &status);
    EXPECT_LT(GetTickCount() - start, 40000u) << c.browser;
    EXPECT_EQ(status, 0u) << c.browser << report;
    EXPECT_NE(report.find("report written to "), std::string::npos) << c.browser;
    for (const std::string& part : c.present) EXPECT_NE(report.find(part), std::string::npos) << c.browser << ": " << part << "\n" << report;
    for (const std::string& part : c.absent) EXPECT_EQ(report.find(part), std::string::npos) << c.browser << ": " << part << "\n" << report;
  }
}

}  // namespace
}  // namespace paginor::test
