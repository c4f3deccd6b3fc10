#pragma once
// The arguments of "paginor-cli turn".

#include <optional>
#include <string>
#include <vector>

#include "engine/command.h"

namespace paginor::cli {

inline constexpr int kMaxFollow = 10000;

struct TurnOptions {
  std::string command;
  std::string page;
  std::optional<std::string> url;
  std::optional<std::string> rulesFile;
  std::optional<std::string> xyFile;
  std::optional<std::string> disableFile;
  std::optional<std::string> siteDir;
  std::optional<std::string> treeDir;  // --tree: pages as captured accessibility trees
  Origin origin = Origin::Keyboard;
  int follow = 1;
  bool smart = false;  // --smart: the smart fallback stage
  bool all = false;    // explain --all: list every link examined
  bool json = false;   // explain --json
};

struct ParsedTurnOptions {
  std::optional<TurnOptions> options;
  std::string error;  // set when options is empty
};

// "prev", "next", "first", "last", "back", "forward" or one to five decimal digits, as
// the input dispatch delivers them.
bool IsDispatchableCommand(std::string_view command);

// args: everything after "turn". Options take their value as the next argument or after
// "=", and may stand anywhere.
ParsedTurnOptions ParseTurnOptions(const std::vector<std::string>& args);

}  // namespace paginor::cli
