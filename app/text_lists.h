#pragma once
// The three lists kept in memos and written beside the program: the two disable lists
// and the fixed-position commands.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/controls.h"
#include "engine/text_file.h"

namespace paginor::app {

struct ListFile {
  Control memo;
  std::string_view name;
};

inline constexpr std::array<ListFile, 3> kListFiles = {{
    {Control::dmemo1, "disable1.txt"},
    {Control::dmemo2, "disable2.txt"},
    {Control::xyMemo, "xy.txt"},
}};

// A missing or unreadable file leaves the memo's design-time text.
void LoadTextLists(const std::string& appDir, Controls& controls, const TextFiles& files);

// Each list on its own: every line ends with CR LF. Returns the paths not written.
std::vector<std::string> SaveTextLists(const std::string& appDir, const Controls& controls,
                                       TextFiles& files);

// The file text of memo lines.
std::string ListFileText(const std::vector<std::string>& lines);

}  // namespace paginor::app
