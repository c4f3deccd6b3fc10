// What a "next" command costs through the accessibility interfaces of Chromium and
// Firefox: the stand-in browser serves pages of 100 and 500 links in another process
// and counts every accessibility call it receives, so the calls per link do not depend
// on the machine; the milliseconds per command do. Both ways of serving a tree are
// measured: Chromium's (children one by one) and Firefox's (children enumerated), and
// the trees Chromium served for real pages, the longest of 1,200 links. The
// QueryInterface round trips for IAccessible and IEnumVARIANT are counted apart; the
// releases of the browser's objects, made on the worker after the command, are not.
//
// Run under Wine: xvfb-run -a cmake/wine-run.sh build/win64/bench/win32/modern_bench.exe [REPEATS]

#include <windows.h>

#include <cstdio>
#include <utility>
#include <string>
#include <vector>

#include "browser/timed_accessible.h"
#include "browser/win32/accessible_win32.h"
#include "browser/win32/com_util.h"
#include "browser/win32/win32_browser.h"
#include "engine/executor.h"
#include "fake_process.h"
#include "stopwatch.h"

namespace paginor::bench {
namespace {

class SilentLog : public OperationLog {
 public:
  void Append(std::string_view line) override { last = line; }
  std::string last;
};

// label: what is served; args: the stand-in's arguments for it.
void Run(const std::string& label, const std::vector<std::wstring>& args, int links, int repeats) {
  // Discovery drives only browsers' executables.
  test::FakeBrowserProcess fake(args, label == "firefox" ? L"firefox.exe" : L"chrome.exe");
  if (!fake.ready()) {
    std::printf("the stand-in browser did not start\n");
    return;
  }
  const auto discovery = win32::MakeWin32BrowserDiscovery("8");
  const auto messenger = win32::MakeWin32WindowMessenger();
  SilentLog log;
  CommandExecutor executor(*discovery, *messenger, log);
  const DefinitionSets sets;
  ExecutorInputs inputs;
  inputs.browserChoice = 6;
  inputs.activeSets = &sets;
  for (int r = 0; r < repeats; ++r) {
    const std::size_t from = fake.Lines().size();
    const double ms = MillisecondsOf([&] { executor.ReceiveCommand("next", Origin::Keyboard, inputs); });
    std::size_t calls = 0;
    std::size_t queries = 0;
    for (const std::string& line : fake.LinesFrom(from)) {
      calls += line.rfind("acc ", 0) == 0;
      queries += line.rfind("acc qi ", 0) == 0;
    }
    std::printf("%-22s %4d links  %8.0f ms  %6zu calls  %5.2f calls/link  (%5.2f with %zu QueryInterface)  [%s]\n",
                label.c_str(), links, ms, calls - queries, static_cast<double>(calls - queries) / links,
                static_cast<double>(calls) / links, queries, log.last.c_str());
    std::fflush(stdout);
  }
}

// What handing one call to the worker thread and waiting for it costs, the browser
// aside: part of every accessibility call's time.
void WorkerRoundTrip() {
  const auto worker = win32::MakeAccessibleWorker();
  constexpr int kCalls = 2000;
  const double us = 1000.0 * MillisecondsOf([&] {
                      for (int i = 0; i < kCalls; ++i) worker->Run([] {});
                    }) / kCalls;
  std::printf("worker hand-over: %.0f us a call\n", us);
}

}  // namespace
}  // namespace paginor::bench

int wmain(int argc, wchar_t** argv) {
  const paginor::win32::ComApartment apartment;
  const int repeats = argc > 1 ? _wtoi(argv[1]) : 1;
  paginor::bench::WorkerRoundTrip();
  // The first command on a page turns it, so every repeat starts a fresh browser.
  for (int r = 0; r < repeats; ++r) {
    for (const wchar_t* tree : {L"chromium", L"firefox"}) {
      for (const int links : {100, 500}) {
        paginor::bench::Run(paginor::win32::Utf8(tree), {L"--synthetic", std::to_wstring(links), L"--tree", tree}, links, 1);
      }
    }
    // Trees Chromium served (tests/browser/data/ax), with their links.
    for (const auto& [page, links] : {std::pair{"forum/page1", 15}, {"results/page1", 11}, {"smart/blog-2", 12},
                                      {"ax-site/2", 9}, {"bench/list-1200", 1200}}) {
      paginor::bench::Run(page, {L"--ax-tree", paginor::test::SourceFile(std::string("tests/browser/data/ax/") + page + ".tsv")},
                          links, 1);
    }
  }
  return 0;
}
