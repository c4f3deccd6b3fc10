#include "app/text_lists.h"

#include "engine/definition_file.h"

namespace paginor::app {

void LoadTextLists(const std::string& appDir, Controls& controls, const TextFiles& files) {
  for (const ListFile& list : kListFiles) {
    const std::optional<std::string> text = files.Read(appDir + std::string(list.name));
    if (text) controls.SetLines(list.memo, SplitLines(*text));
  }
}

std::string ListFileText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::vector<std::string> SaveTextLists(const std::string& appDir, const Controls& controls,
                                       TextFiles& files) {
  std::vector<std::string> failed;
  for (const ListFile& list : kListFiles) {
    const std::string path = appDir + std::string(list.name);
    if (!files.Write(path, ListFileText(controls.Lines(list.memo)))) failed.push_back(path);
  }
  return failed;
}

}  // namespace paginor::app
