#include "cli/turn_command.h"

#include <filesystem>
#include <memory>
#include <optional>

#include "cli/desktop.h"
#include "cli/page_files.h"
#include "cli/site_map.h"
#include "cli/tree_tab.h"
#include "cli/turn_options.h"
#include "engine/browser_kinds.h"
#include "engine/definition_file.h"
#include "engine/executor.h"
#include "engine/explain.h"
#include "engine/html/html_browser.h"
#include "engine/link_text.h"
#include "engine/text_file.h"

namespace paginor::cli {
namespace {

constexpr int kBadInput = 2;

class PrintingLog : public OperationLog {
 public:
  explicit PrintingLog(std::ostream& out) : out_(out) {}
  void Append(std::string_view line) override { out_ << line << '\n'; }

 private:
  std::ostream& out_;
};

// Everything a run needs besides the tab: what the main window's controls would hold.
struct Setup {
  DefinitionSets sets;
  ExecutorInputs inputs;
  std::optional<SiteMap> site;
};

bool LoadSetup(const TurnOptions& options, Setup& setup, std::string& error) {
  if (options.rulesFile) {
    const std::string& path = *options.rulesFile;
    std::string problem;
    const std::optional<std::string> text = ReadTextFile(path, problem);
    if (!text) {
      error = problem == "does not exist" ? "cannot find the definition file " + path
                                          : "the definition file " + path + " " + problem;
      return false;
    }
    if (CountSectionHeaders(*text) == 0) {
      error = "the definition file " + path + " " + std::string(kNoSectionProblem);
      return false;
    }
    setup.sets = ParseDefinitionText(*text);
  }
  setup.inputs.activeSets = &setup.sets;
  setup.inputs.browserChoice = 0;  // "ie"
  setup.inputs.smartFallback = options.smart;
  if (options.xyFile) {
    auto lines = ReadListFile(*options.xyFile, error);
    if (!lines) return false;
    setup.inputs.fixedPositionLines = std::move(*lines);
  }
  if (options.disableFile) {
    auto lines = ReadListFile(*options.disableFile, error);
    if (!lines) return false;
    (options.origin == Origin::Keyboard ? setup.inputs.keyboardDisable
                                        : setup.inputs.mouseDisable) = std::move(*lines);
  }
  if (options.siteDir) {
    const std::filesystem::path directory = PathFromUtf8(*options.siteDir);
    const std::filesystem::path mapFile = directory / "site.map";
    const std::optional<std::string> text = ReadUtf8File(mapFile, error);
    if (!text) return false;
    SiteMap::Parsed parsed = SiteMap::Parse(*text, directory);
    if (!parsed.map) {
      error = mapFile.string() + " " + parsed.error;
      return false;
    }
    setup.site = std::move(parsed.map);
  }
  return true;
}

std::string OpenPage(HtmlBrowser& tab, std::string address, const std::filesystem::path& file) {
  return OpenPageFile(tab, std::move(address), file);
}
std::string OpenPage(TreeTab& tab, std::string address, const std::filesystem::path& file) {
  return tab.Open(std::move(address), file);
}

// The first page: an address of the site map, or a file.
template <class Tab>
bool OpenFirstPage(const TurnOptions& options, const Setup& setup, Tab& tab, std::string& error) {
  std::optional<std::filesystem::path> file;
  std::string address;
  if (setup.site) {
    file = setup.site->FileFor(options.page);
    if (file) address = options.page;
  }
  if (!file) {
    file = PathFromUtf8(options.page);
    std::error_code ec;
    if (!std::filesystem::exists(*file, ec)) {
      error = setup.site ? options.page + " is neither an address of the site map nor a file"
                         : "cannot find the page file " + options.page;
      return false;
    }
    const std::optional<std::string> mapped =
        setup.site ? setup.site->AddressOf(*file) : std::nullopt;
    address = mapped ? *mapped : FileAddress(*file);
  }
  if (options.url) address = *options.url;
  error = OpenPage(tab, address, *file);
  return error.empty();
}

std::vector<std::string> OutcomeLines(const BrowserActions& actions,
                                      const std::vector<PostedMessage>& posted) {
  std::vector<std::string> lines;
  for (const BrowserAction& action : actions) {
    switch (action.kind) {
      case BrowserAction::Kind::FollowedLink: {
        const std::string text = OneLineText(action.text);
        lines.push_back("clicked: " + action.address + (text.empty() ? "" : " " + text));
        break;
      }
      case BrowserAction::Kind::Navigated:
        lines.push_back("navigated: " + action.address);
        break;
      case BrowserAction::Kind::WentBack:
        lines.push_back(action.address.empty() ? "back: no earlier page"
                                               : "back: " + action.address);
        break;
      case BrowserAction::Kind::WentForward:
        lines.push_back(action.address.empty() ? "forward: no later page"
                                               : "forward: " + action.address);
        break;
      case BrowserAction::Kind::TargetWritten:
        break;
    }
  }
  for (const PostedMessage& message : posted) {
    if (message.window != kTabWindow || message.message != kWmLButtonUp) continue;
    const auto lParam = static_cast<std::uintptr_t>(message.lParam);
    lines.push_back("clicked position: " + std::to_string(lParam & 0xFFFF) + "," +
                    std::to_string((lParam >> 16) & 0xFFFF));
  }
  if (lines.empty()) lines.emplace_back("nothing");
  return lines;
}

// The address the run led to, when it was a link or a navigation.
std::optional<std::string> Destination(const BrowserActions& actions) {
  for (const BrowserAction& action : actions) {
    if (action.kind == BrowserAction::Kind::FollowedLink ||
        action.kind == BrowserAction::Kind::Navigated) {
      return action.address;
    }
  }
  return std::nullopt;
}

bool MovedInHistory(const BrowserActions& actions) {
  for (const BrowserAction& action : actions) {
    if ((action.kind == BrowserAction::Kind::WentBack ||
         action.kind == BrowserAction::Kind::WentForward) &&
        !action.address.empty()) {
      return true;
    }
  }
  return false;
}

// The runs of the command, each on the page the one before led to.
template <class Tab>
int Turn(const TurnOptions& options, Setup& setup, const std::shared_ptr<Tab>& tab, std::ostream& out,
         std::ostream& err) {
  std::string error;
  if (!OpenFirstPage(options, setup, *tab, error)) {
    err << "paginor-cli turn: " << error << '\n';
    return kBadInput;
  }
  TabDiscovery discovery(tab, std::string(BrowserKindForChoice(setup.inputs.browserChoice)));
  RecordingMessenger messenger;
  PrintingLog log(out);
  CommandExecutor executor(discovery, messenger, log);
  for (int run = 1; run <= options.follow; ++run) {
    if (setup.site) out << "run " << run << ": " << tab->LocationUrl().value_or("") << '\n';
    tab->ClearActions();
    messenger.posted.clear();
    executor.ReceiveCommand(options.command, options.origin, setup.inputs);
    for (const std::string& line : OutcomeLines(tab->Actions(), messenger.posted)) {
      out << line << '\n';
    }
    if (run == options.follow || MovedInHistory(tab->Actions())) continue;
    const std::optional<std::string> next = Destination(tab->Actions());
    if (!next) {
      out << "walk ends: the command led to no page\n";
      break;
    }
    const std::optional<std::filesystem::path> file = setup.site->FileFor(*next);
    if (!file) {
      out << "walk ends: " << *next << " is not in the site map\n";
      break;
    }
    error = OpenPage(*tab, *next, *file);
    if (!error.empty()) {
      err << "paginor-cli turn: " << error << '\n';
      return kBadInput;
    }
  }
  return 0;
}

}  // namespace

int RunTurn(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const ParsedTurnOptions parsed = ParseTurnOptions(args);
  if (!parsed.options) {
    err << "paginor-cli turn: " << parsed.error << " (see paginor-cli --help)\n";
    return kBadInput;
  }
  const TurnOptions& options = *parsed.options;
  if (options.all || options.json) {
    err << "paginor-cli turn: " << (options.all ? "--all" : "--json")
        << " is an option of explain (see paginor-cli --help)\n";
    return kBadInput;
  }
  Setup setup;
  std::string error;
  if (!LoadSetup(options, setup, error)) {
    err << "paginor-cli turn: " << error << '\n';
    return kBadInput;
  }
  if (options.treeDir) {
    // The Chrome, Edge and Firefox kind.
    setup.inputs.browserChoice = 6;
    return Turn(options, setup, std::make_shared<TreeTab>(PathFromUtf8(*options.treeDir)), out, err);
  }
  return Turn(options, setup, std::make_shared<HtmlBrowser>(), out, err);
}

int RunExplain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const ParsedTurnOptions parsed = ParseTurnOptions(args);
  std::string error = parsed.error;
  if (parsed.options && parsed.options->follow != 1) error = "--follow is an option of turn";
  if (!parsed.options || !error.empty()) {
    if (error.starts_with("turn needs")) error.replace(0, 4, "explain");
    err << "paginor-cli explain: " << error << " (see paginor-cli --help)\n";
    return kBadInput;
  }
  const TurnOptions& options = *parsed.options;
  Setup setup;
  const auto tab = std::make_shared<HtmlBrowser>();
  if (!LoadSetup(options, setup, error) || !OpenFirstPage(options, setup, *tab, error)) {
    err << "paginor-cli explain: " << error << '\n';
    return kBadInput;
  }
  TabDiscovery discovery(tab);
  RecordingMessenger messenger;
  const Explanation explanation =
      ExplainCommand(options.command, options.origin, setup.inputs, discovery, messenger);
  const ExplainFormat format{options.all};
  out << (options.json ? ExplanationJson(explanation, format) : ExplanationText(explanation, format));
  return 0;
}

}  // namespace paginor::cli
