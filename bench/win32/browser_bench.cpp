// What a "next" command costs on Windows: its cross-process calls. Runs the command
// on test-browser pages of 100 and 500 links in another process, once with the
// built-in keywords only and once with rules that read outer HTML and parent text,
// and reports the calls per link (counted by the test browser, so the figure does
// not depend on the machine) and the milliseconds per command.
//
// Run under Wine: xvfb-run -a cmake/wine-run.sh build/win64/bench/win32/browser_bench.exe [REPEATS]

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "browser/win32/com_util.h"
#include "browser/win32/win32_browser.h"
#include "engine/definition_file.h"
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

struct Figures {
  double ms = 0;
  std::size_t calls = 0;       // every call the browser received
  std::size_t linkCalls = 0;   // on the collection's items and the links themselves
  std::size_t lookups = 0;     // GetIDsOfNames
  std::size_t names = 0;       // distinct names looked up
  std::size_t html = 0;        // outer HTML reads
  std::size_t parents = 0;     // parent elements fetched
  std::string outcome;
};

bool Starts(const std::string& line, const char* prefix) { return line.rfind(prefix, 0) == 0; }

Figures Count(const std::vector<std::string>& lines) {
  Figures f;
  std::map<std::string, int> names;
  for (const std::string& line : lines) {
    if (line.empty() || Starts(line, "* ") || Starts(line, "mouse ") || line == "ready") continue;
    ++f.calls;
    if (Starts(line, "links item ") || Starts(line, "link ") || Starts(line, "parent ")) ++f.linkCalls;
    const auto lookup = line.find(" GetIDsOfNames ");
    if (lookup != std::string::npos) {
      ++f.lookups;
      names[line.substr(lookup + 15)]++;
    }
    if (line.find(" get outerHTML") != std::string::npos) ++f.html;
    if (line.find(" get parentElement") != std::string::npos) ++f.parents;
  }
  f.names = names.size();
  return f;
}

DefinitionSets MixedRules() {
  // Text-only rules beside rules that need each link's HTML and its parent's text,
  // none of which matches before the last link.
  return ParseDefinitionText(
      "**上页配置**\n**下页配置**\n[特别=http://other.example/]*下一页\n*下页按钮\n"
      "[代码]rel=next\n[扩展]*下一页 »\n**首页配置**\n**末页配置**\n**某页配置**\n");
}

void Run(int links, bool mixed, int repeats) {
  test::FakeBrowserProcess fake(
      {L"--synthetic", std::to_wstring(links), L"--window",
       L"IEFrame/TabWindowClass/Shell DocObject View/Internet Explorer_Server@0"});
  if (!fake.ready()) {
    std::printf("the test browser did not start\n");
    return;
  }
  const DefinitionSets sets = mixed ? MixedRules() : DefinitionSets{};
  const auto discovery = win32::MakeWin32BrowserDiscovery("8");
  const auto messenger = win32::MakeWin32WindowMessenger();
  SilentLog log;
  CommandExecutor executor(*discovery, *messenger, log);
  ExecutorInputs inputs;
  inputs.activeSets = &sets;
  for (int r = 0; r < repeats; ++r) {
    const std::size_t from = fake.Lines().size();
    const double ms = MillisecondsOf([&] { executor.ReceiveCommand("next", Origin::Keyboard, inputs); });
    Figures f = Count(fake.LinesFrom(from));
    f.ms = ms;
    const double perLink = static_cast<double>(f.linkCalls) / links;
    std::printf("%4d links  %-13s  %8.0f ms  %6.0f calls  %5.2f link calls/link  "
                "%zu lookups of %zu names  %zu outerHTML  %zu parents  [%s]\n",
                links, mixed ? "mixed rules" : "keywords only", f.ms, static_cast<double>(f.calls),
                perLink, f.lookups, f.names, f.html, f.parents, log.last.c_str());
    std::fflush(stdout);
  }
}

}  // namespace
}  // namespace paginor::bench

int wmain(int argc, wchar_t** argv) {
  const paginor::win32::ComApartment apartment;
  const int repeats = argc > 1 ? _wtoi(argv[1]) : 2;
  std::printf("next on a page whose last link is the next-page link; link calls: the collection's\n"
              "item and every call on a link or its parent (the hit's click and target included)\n");
  for (const int links : {100, 500}) {
    paginor::bench::Run(links, false, repeats);
    paginor::bench::Run(links, true, repeats);
  }
  return 0;
}
