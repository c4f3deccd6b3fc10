#include "engine/definition_sets.h"

#include <utility>

#include "engine/definition_file.h"

namespace paginor {
namespace {

SetIndex SetAt(int i) { return static_cast<SetIndex>(i); }

}  // namespace

DefinitionManager::DefinitionManager(std::string appDir, DefinitionEditorView& view,
                                     FileDialogs& dialogs, MessageBoxes& messages,
                                     TextFiles& files)
    : appDir_(std::move(appDir)),
      view_(view),
      dialogs_(dialogs),
      messages_(messages),
      files_(files) {}

std::string DefinitionManager::StartUp() {
  std::string problem = LoadDefinitions("last");
  ActivateDefinitions();
  return problem;
}

std::optional<std::string> DefinitionManager::PathFor(std::string_view mode, bool forSaving) {
  if (mode == "last") return appDir_ + std::string(kLastDefinitionsFile);
  if (mode != "?") return std::nullopt;
  FileDialogRequest request;
  request.title = forSaving ? kSaveDefinitionsTitle : kOpenDefinitionsTitle;
  request.initialDir = appDir_;
  request.filter = kDefinitionFilter;
  request.defaultExtension = kDefinitionExtension;
  return forSaving ? dialogs_.Save(request) : dialogs_.Open(request);
}

std::string DefinitionManager::LoadDefinitions(std::string_view mode) {
  const std::optional<std::string> path = PathFor(mode, false);
  if (!path) return "";
  if (!files_.Exists(*path)) {
    messages_.Show(std::string(kMissingFileMessage) + *path, std::string(kNoticeCaption));
    return "";
  }
  std::string error;
  const std::optional<std::string> text = files_.ReadWithReason(*path, error);
  if (!text) return *path + " " + error;
  // Reading such a file would silently empty every set; an empty file says just that.
  const bool blank = text->find_first_not_of(" \t\r\n") == std::string::npos;
  if (!blank && CountSectionHeaders(*text) == 0) return *path + " " + std::string(kNoSectionProblem);
  edit_ = ParseDefinitionText(*text);
  ShowInMemos();
  return "";
}

std::string DefinitionManager::SaveDefinitions(std::string_view mode) {
  const std::optional<std::string> path = PathFor(mode, true);
  if (!path) return "";
  TakeMemos();
  return files_.Write(*path, FormatDefinitionText(edit_)) ? "" : *path;
}

void DefinitionManager::ActivateDefinitions() { active_ = edit_; }

std::string DefinitionManager::Button41Click() {
  TakeMemos();
  std::string failed = SaveDefinitions("last");
  ActivateDefinitions();
  return failed;
}

std::string DefinitionManager::Button42Click() { return LoadDefinitions("last"); }

std::string DefinitionManager::Button43Click() { return LoadDefinitions("?"); }

std::string DefinitionManager::Button44Click() { return SaveDefinitions("?"); }

void DefinitionManager::RadioGroup1Click(int itemIndex) {
  if (itemIndex < 0 || itemIndex >= kSetCount) return;
  view_.ShowPage(SetAt(itemIndex));
}

void DefinitionManager::TakeMemos() {
  for (int i = 0; i < kSetCount; ++i) edit_[SetAt(i)] = SplitLines(view_.MemoText(SetAt(i)));
}

void DefinitionManager::ShowInMemos() {
  for (int i = 0; i < kSetCount; ++i) view_.SetMemoText(SetAt(i), JoinLines(edit_[SetAt(i)]));
}

}  // namespace paginor
