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

void DefinitionManager::StartUp() {
  LoadDefinitions("last");
  ActivateDefinitions();
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

void DefinitionManager::LoadDefinitions(std::string_view mode) {
  const std::optional<std::string> path = PathFor(mode, false);
  if (!path) return;
  if (!files_.Exists(*path)) {
    messages_.Show(std::string(kMissingFileMessage) + *path, std::string(kNoticeCaption));
    return;
  }
  const std::optional<std::string> text = files_.Read(*path);
  if (!text) return;
  edit_ = ParseDefinitionText(*text);
  ShowInMemos();
}

void DefinitionManager::SaveDefinitions(std::string_view mode) {
  const std::optional<std::string> path = PathFor(mode, true);
  if (!path) return;
  TakeMemos();
  // A failed write is not reported; the old file stays whole.
  files_.Write(*path, FormatDefinitionText(edit_));
}

void DefinitionManager::ActivateDefinitions() { active_ = edit_; }

void DefinitionManager::Button41Click() {
  TakeMemos();
  SaveDefinitions("last");
  ActivateDefinitions();
}

void DefinitionManager::Button42Click() { LoadDefinitions("last"); }

void DefinitionManager::Button43Click() { LoadDefinitions("?"); }

void DefinitionManager::Button44Click() { SaveDefinitions("?"); }

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
