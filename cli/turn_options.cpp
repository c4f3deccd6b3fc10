#include "cli/turn_options.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace paginor::cli {
namespace {

ParsedTurnOptions Fail(std::string error) { return {std::nullopt, std::move(error)}; }

std::optional<int> ParseCount(std::string_view text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Stores value under name; false for an unknown name.
bool Store(TurnOptions& options, std::string_view name, std::string value, std::string& error) {
  if (name == "--url") {
    options.url = std::move(value);
  } else if (name == "--rules") {
    options.rulesFile = std::move(value);
  } else if (name == "--xy") {
    options.xyFile = std::move(value);
  } else if (name == "--disable") {
    options.disableFile = std::move(value);
  } else if (name == "--site") {
    options.siteDir = std::move(value);
  } else if (name == "--tree") {
    options.treeDir = std::move(value);
  } else if (name == "--origin") {
    if (value == "keyboard") {
      options.origin = Origin::Keyboard;
    } else if (value == "mouse") {
      options.origin = Origin::Mouse;
    } else {
      error = "--origin must be keyboard or mouse, not \"" + value + "\"";
    }
  } else if (name == "--follow") {
    const std::optional<int> count = ParseCount(value);
    if (!count || *count < 1 || *count > kMaxFollow) {
      error = "--follow needs a number from 1 to " + std::to_string(kMaxFollow) + ", not \"" +
              value + "\"";
    } else {
      options.follow = *count;
    }
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool IsDispatchableCommand(std::string_view command) {
  if (IsNamedCommand(command)) return true;
  return !command.empty() && command.size() <= 5 &&
         std::all_of(command.begin(), command.end(), [](char c) { return c >= '0' && c <= '9'; });
}

ParsedTurnOptions ParseTurnOptions(const std::vector<std::string>& args) {
  TurnOptions options;
  std::vector<std::string> positional;
  bool followGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!arg.starts_with("-") || arg == "-") {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--smart" || arg == "--all" || arg == "--json") {
      (arg == "--smart" ? options.smart : arg == "--all" ? options.all : options.json) = true;
      continue;
    }
    if (!arg.starts_with("--")) return Fail("unknown option " + arg);
    std::string name = arg;
    std::string value;
    if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
      name = arg.substr(0, equals);
      value = arg.substr(equals + 1);
      if (value.empty()) return Fail(name + " needs a value");
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return Fail(arg + " needs a value");
    }
    std::string error;
    if (!Store(options, name, std::move(value), error)) return Fail("unknown option " + name);
    if (!error.empty()) return Fail(error);
    followGiven = followGiven || name == "--follow";
  }
  if (positional.size() != 2) {
    return Fail("turn needs a COMMAND and a PAGE, got " + std::to_string(positional.size()) +
                " argument" + (positional.size() == 1 ? "" : "s"));
  }
  options.command = positional[0];
  options.page = positional[1];
  if (!IsDispatchableCommand(options.command)) {
    return Fail("unknown command \"" + options.command +
                "\": use prev, next, first, last, back, forward or a page number of 1 to 5 digits");
  }
  if (followGiven && !options.siteDir) return Fail("--follow needs --site");
  return {std::move(options), ""};
}

}  // namespace paginor::cli
