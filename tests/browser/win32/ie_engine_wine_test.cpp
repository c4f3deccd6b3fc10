// The IE engine where it lives today, end to end through paginor-cli.exe against the
// stand-in browser: the cases of tests/browser/data/ie_engine_cases.tsv.

#include <gtest/gtest.h>

#include <sstream>

#include "browser/win32/com_util.h"
#include "engine/text_file.h"
#include "fake_process.h"

namespace paginor::test {
namespace {

std::vector<std::string> Split(const std::string& text, char by) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, by);) parts.push_back(part);
  return parts;
}

TEST(IeEngineWine, EachPlaceTheEngineLivesTurnsTheShownPage) {
  std::vector<std::wstring> pages;
  for (const char* page : {"iemode1", "iemode2", "iemode3", "iemode4"}) {
    for (const std::wstring& a : PageArgs(page)) pages.push_back(a);
  }
  const std::string table = ReadTextFile(win32::Utf8(SourceFile("tests/browser/data/ie_engine_cases.tsv"))).value_or("");
  ASSERT_NE(table.find("360se6_Frame"), std::string::npos) << "the table of cases cannot be read";
  for (const std::string& line : Split(table, '\n')) {
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> f = Split(line, '\t');  // windows exe kind options commands seen
    ASSERT_EQ(f.size(), 6u) << line;
    std::vector<std::wstring> args = pages;
    for (const std::string& option : Split(f[3], ' ')) args.push_back(win32::Wide(option));
    for (const std::string& w : Split(f[0], '|')) args.insert(args.end(), {L"--window", win32::Wide(w)});
    FakeBrowserProcess fake(args, f[1] == "-" ? L"" : win32::Wide(f[1]));
    ASSERT_TRUE(fake.ready()) << line;
    DWORD status = 0;
    for (const std::string& command : Split(f[4], '|')) {
      RunProgram(WinPath(PAGINOR_CLI), {L"turn", win32::Wide(command), L"--browser", win32::Wide(f[2]), L"--rules",
                                        SourceFile("tests/browser/data/iemode.pgt")}, 60000, &status);
    }
    std::vector<std::string> seen;
    for (const std::string& logged : fake.Lines()) {
      for (const char* kept : {"WM_HTML_GETOBJECT", "* ", "history "}) {
        if (logged.rfind(kept, 0) == 0) seen.push_back(logged);
      }
    }
    EXPECT_EQ(seen, Split(f[5], '|')) << line;
  }
}

}  // namespace
}  // namespace paginor::test
