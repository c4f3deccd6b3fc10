#include "app/main_form.h"

#include "app/update_check.h"
#include "engine/fixed_position.h"

namespace paginor::app {

std::string AppDirOf(std::string_view programPath) {
  const std::size_t slash = programPath.find_last_of("\\/");
  std::string dir(slash == std::string_view::npos ? std::string_view() : programPath.substr(0, slash + 1));
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  return dir;
}

MainForm::MainForm(std::string programPath, const MainFormParts& parts)
    : programPath_(std::move(programPath)),
      appDir_(AppDirOf(programPath_)),
      controls_(parts.controls),
      profile_(parts.profile),
      files_(parts.files),
      notices_(parts.notices),
      hooks_(parts.hooks),
      autostart_(parts.autostart),
      settings_(parts.controls, parts.profile, parts.notices, parts.tray),
      definitions_(appDir_, parts.editor, parts.dialogs, parts.messages, parts.files) {}

void MainForm::FormCreate() {
  hooks_.HookMouse();
  hooks_.HookKey();
  LoadTextLists(appDir_, controls_, files_);
  const std::optional<std::string> runValue = autostart_.RunValue();
  controls_.SetChecked(Control::chkauto, runValue && RunValueNamesProgram(*runValue, programPath_));
  settings_.loadingSettings = true;
  settings_.LoadGeneralSettings();
  settings_.loadingSettings = false;
  TellHooksThePageKind();
  TellUnread(definitions_.StartUp());
}

void MainForm::TellHooksThePageKind() {
  hooks_.SetPageKind(hooks::PageKindForChoice(controls_.ItemIndex(Control::rgpIE)));
}

void MainForm::rgpIEClick() { TellHooksThePageKind(); }

std::vector<std::string> MainForm::SaveAll() {
  std::vector<std::string> failed;
  if (!settings_.SaveOnClose()) failed.push_back(profile_.Path());
  for (std::string& path : SaveTextLists(appDir_, controls_, files_)) failed.push_back(std::move(path));
  return failed;
}

void MainForm::FormClose() {
  const std::vector<std::string> failed = SaveAll();
  if (failed.empty()) return;
  std::string text(kUnsavedFilesMessage);
  for (const std::string& path : failed) text += "\n" + path;
  notices_.Notice(text);
}

void MainForm::FormDestroy() {
  hooks_.UnHookKey();
  hooks_.UnHookMouse();
}

void MainForm::Button3Click() {
  const std::optional<std::string> line =
      GenerateFixedPositionLine(controls_.Text(Control::xEdit), controls_.Text(Control::yEdit),
                                controls_.Text(Control::xyEdit3), controls_.Checked(Control::RadioButton1));
  if (line) controls_.AppendLine(Control::xyMemo, *line);
}

void MainForm::Button41Click() { TellUnsaved(definitions_.Button41Click()); }
void MainForm::Button42Click() { TellUnread(definitions_.Button42Click()); }
void MainForm::Button43Click() { TellUnread(definitions_.Button43Click()); }
void MainForm::Button44Click() { TellUnsaved(definitions_.Button44Click()); }

void MainForm::TellUnread(const std::string& problem) {
  if (!problem.empty()) notices_.Notice(std::string(kUnreadDefinitionsMessage) + "\n" + problem);
}

void MainForm::TellUnsaved(const std::string& path) {
  if (!path.empty()) notices_.Notice(std::string(kUnsavedFilesMessage) + "\n" + path);
}

}  // namespace paginor::app
