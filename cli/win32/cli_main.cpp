// paginor-cli.exe: one page-turn command through the real discovery and COM layer on
// whatever browser runs, printing the operation log; or the frames of the tab.

#include <windows.h>

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "app/win32/diagnostic_report_win32.h"
#include "browser/win32/call_watchdog.h"
#include "browser/win32/com_util.h"
#include "browser/win32/win32_browser.h"
#include "browser/win32/win32_window_system.h"
#include "engine/browser_kinds.h"
#include "engine/command.h"
#include "engine/definition_file.h"
#include "engine/executor.h"
#include "engine/text_file.h"

namespace paginor::cli {
namespace {

constexpr std::string_view kUsage =
    "paginor-cli.exe: page-turn commands on the browser that runs on this desktop.\n"
    "\n"
    "Usage:\n"
    "  paginor-cli.exe turn COMMAND --browser KIND [--rules FILE] [--xy FILE] [--frame N]\n"
    "  paginor-cli.exe frames --browser KIND\n"
    "  paginor-cli.exe report [--out FILE] [--full] [--browser KIND]\n"
    "\n"
    "turn     runs COMMAND (prev, next, first, last, back, forward, or a page number of 1\n"
    "         to 5 digits) as the tray program does and prints the operation log.\n"
    "frames   prints the frame list of the tab: \"N    ADDRESS\", or \"?\" for an embedded\n"
    "         object that is no browser.\n"
    "report   writes what Paginor sees of the browsers on this desktop into a UTF-8 text\n"
    "         file (paginor-report.txt beside the program unless --out) and prints where.\n"
    "         It never clicks, types or navigates, and ends within 30 s. Page addresses\n"
    "         are cut to scheme and host unless --full; --browser replaces the choice\n"
    "         read from tpnav.ini beside the program.\n"
    "  --browser KIND  ie, 360, sogou, tt, world, maxthon, or modern (Chrome, Edge,\n"
    "                  Firefox, through their accessibility interfaces)\n"
    "  --rules FILE    a definition file (.pgt): the active sets\n"
    "  --xy FILE       fixed-position command lines (as xy.txt)\n"
    "  --frame N       act on frame N of the frame list instead of the tab\n"
    "\n"
    "Exit status: 0 the command ran (whatever it found), 1 no browser was found\n"
    "(frames), 2 bad arguments or files.\n";

// UTF-8 into a pipe or file, so tests read it as it is; wide text onto a console.
void Write(HANDLE out, std::string_view text) {
  DWORD mode = 0;
  if (GetConsoleMode(out, &mode)) {
    const std::wstring wide = win32::Wide(text);
    DWORD written = 0;
    WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  DWORD written = 0;
  WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void Print(std::string_view line) {
  Write(GetStdHandle(STD_OUTPUT_HANDLE), std::string(line) + "\n");
}

int Fail(const std::string& message) {
  Write(GetStdHandle(STD_ERROR_HANDLE), "paginor-cli: " + message + " (see paginor-cli.exe --help)\n");
  return 2;
}

class PrintingLog : public OperationLog {
 public:
  void Append(std::string_view line) override { Print(line); }
};

struct Options {
  std::string subcommand;
  std::string command;
  std::optional<std::string> browser;
  std::optional<std::string> rules;
  std::optional<std::string> xy;
  std::optional<int> frame;
  std::optional<std::string> out;
  bool full = false;
};

std::optional<Options> Parse(const std::vector<std::string>& args, std::string& error) {
  Options options;
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--", 0) != 0) {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--full") {
      options.full = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      error = arg + " needs a value";
      return std::nullopt;
    }
    const std::string& value = args[++i];
    if (arg == "--browser") {
      options.browser = value;
    } else if (arg == "--rules") {
      options.rules = value;
    } else if (arg == "--xy") {
      options.xy = value;
    } else if (arg == "--out") {
      options.out = value;
    } else if (arg == "--frame") {
      const bool digits = !value.empty() && value.size() <= 3 &&
                          value.find_first_not_of("0123456789") == std::string::npos;
      if (!digits || std::stoi(value) < 1) {
        error = "--frame needs a frame number from 1";
        return std::nullopt;
      }
      options.frame = std::stoi(value);
    } else {
      error = "unknown option " + arg;
      return std::nullopt;
    }
  }
  if (positional.empty()) {
    error = "give a subcommand";
    return std::nullopt;
  }
  options.subcommand = positional[0];
  const std::size_t wanted = options.subcommand == "turn" ? 2 : 1;
  const bool known = options.subcommand == "turn" || options.subcommand == "frames" || options.subcommand == "report";
  if (!known || positional.size() != wanted) {
    error = options.subcommand == "turn" ? "turn needs one COMMAND"
                                         : "unknown subcommand \"" + options.subcommand + "\"";
    return std::nullopt;
  }
  if (wanted == 2) options.command = positional[1];
  if (!options.browser && options.subcommand != "report") {
    error = "--browser is required";
    return std::nullopt;
  }
  return options;
}

int BrowserChoice(std::string_view kind) {
  for (std::size_t i = 0; i < kBrowserKinds.size(); ++i) {
    if (kBrowserKinds[i] == kind) return static_cast<int>(i);
  }
  return -2;
}

std::optional<std::string> ReadFile(const std::string& path, std::string& error) {
  std::string problem;
  std::optional<std::string> text = ReadTextFile(path, problem);
  if (!text) {
    error = problem == "does not exist" ? "cannot find the file " + path
                                        : "the file " + path + " " + problem;
  }
  return text;
}

int Report(const Options& options) {
  app::win32::ReportRequest request;
  request.folder = app::win32::ProgramFolder();
  request.kind = options.browser;
  request.full = options.full;
  const std::string path = options.out ? *options.out : request.folder + "\\" + std::string(app::kReportFileName);
  const std::string text = app::win32::MakeDiagnosticReport(request);
  if (!WriteUtf8File(path, text)) {
    Write(GetStdHandle(STD_ERROR_HANDLE), "paginor-cli: the report cannot be written to " + path + "\n");
    return 2;
  }
  Print("report written to " + path);
  return 0;
}

int Run(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      Write(GetStdHandle(STD_OUTPUT_HANDLE), kUsage);
      return 0;
    }
  }
  std::string error;
  const std::optional<Options> options = Parse(args, error);
  if (!options) return Fail(error);
  if (options->browser && BrowserChoice(*options->browser) < 0) {
    return Fail("unknown browser \"" + *options->browser + "\"");
  }
  if (options->subcommand == "report") return Report(*options);
  const int choice = BrowserChoice(*options->browser);
  if (options->subcommand == "turn" && !IsNamedCommand(options->command) &&
      !IsPageNumberCommand(options->command)) {
    return Fail("unknown command \"" + options->command + "\"");
  }

  DefinitionSets sets;
  ExecutorInputs inputs;
  inputs.browserChoice = choice;
  inputs.activeSets = &sets;
  if (options->rules) {
    const std::optional<std::string> text = ReadFile(*options->rules, error);
    if (!text) return Fail(error);
    if (CountSectionHeaders(*text) == 0) {
      return Fail("the file " + *options->rules + " " + std::string(kNoSectionProblem));
    }
    sets = ParseDefinitionText(*text);
  }
  if (options->xy) {
    const std::optional<std::string> text = ReadFile(*options->xy, error);
    if (!text) return Fail(error);
    inputs.fixedPositionLines = SplitLines(*text);
  }
  if (options->frame) {
    inputs.framesOption = true;
    inputs.frameIndex = *options->frame - 1;
  }

  const win32::ComApartment apartment;
  if (!apartment.ok()) return Fail("cannot initialise COM");
  const win32::CallWatchdog watchdog(win32::kDocumentTimeoutMs);
  PrintingLog log;
  const std::unique_ptr<BrowserDiscovery> discovery =
      win32::MakeWin32BrowserDiscovery(win32::DetectIEVersion(), &log);
  if (options->subcommand == "frames") {
    BrowserPtr tab;
    WindowHandle window = 0;
    if (!discovery->FindBrowserWindow(tab, window, *options->browser)) return 1;
    for (const std::string& entry : win32::ListFrames(tab)) Print(entry);
    return 0;
  }
  const std::unique_ptr<WindowMessenger> messenger = win32::MakeWin32WindowMessenger();
  CommandExecutor executor(*discovery, *messenger, log);
  executor.ReceiveCommand(options->command, Origin::Keyboard, inputs);
  return 0;
}

}  // namespace
}  // namespace paginor::cli

int wmain(int argc, wchar_t** argv) {
  try {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(paginor::win32::Utf8(argv[i]));
    return paginor::cli::Run(args);
  } catch (const std::exception& e) {
    return paginor::cli::Fail(e.what());
  }
}
