#pragma once
// The life of the main window: what it loads when created, what it saves when closed or
// when the session ends, and what it undoes when destroyed. The window calls these; the
// decisions live here so they run the same on a test fake.

#include <optional>
#include <vector>
#include <string>
#include <string_view>

#include "paginor_version.h"
#include "app/controls.h"
#include "app/notices.h"
#include "app/profile_file.h"
#include "app/settings_store.h"
#include "app/text_lists.h"
#include "engine/definition_sets.h"
#include "engine/text_file.h"
#include "hooks/keyHookCommon.h"

namespace paginor::app {

// The exports of hkboard.dll and hkpoint.dll.
class HookLibraries {
 public:
  virtual ~HookLibraries() = default;
  virtual void HookMouse() = 0;
  virtual void HookKey() = 0;
  virtual void UnHookKey() = 0;
  virtual void UnHookMouse() = 0;
  // Which windows are browser pages; libraries without it know the IE engine's only.
  virtual void SetPageKind(hooks::PageKind) {}
};

// The "tpnav" value under the current user's Run key, when the key and value exist.
class AutostartRegistry {
 public:
  virtual ~AutostartRegistry() = default;
  virtual std::optional<std::string> RunValue() const = 0;
};

inline constexpr std::string_view kVersionText = PAGINOR_VERSION_LABEL;
inline constexpr std::string_view kProductName = "Paginor";
inline constexpr std::string_view kUnsavedFilesMessage = "以下文件无法写入，其中的设置没有保存：";
inline constexpr std::string_view kUnreadDefinitionsMessage = "配置文件无法读取，没有载入：";

// appDir from the program's full path: its directory with a trailing backslash.
std::string AppDirOf(std::string_view programPath);

struct MainFormParts {
  Controls& controls;
  ProfileFile& profile;
  TextFiles& files;
  Notices& notices;
  TrayImage& tray;
  HookLibraries& hooks;
  const AutostartRegistry& autostart;
  DefinitionEditorView& editor;
  FileDialogs& dialogs;
  MessageBoxes& messages;
};

class MainForm {
 public:
  MainForm(std::string programPath, const MainFormParts& parts);

  void FormCreate();
  // Saves everything; tells the person which files could not be written.
  void FormClose();
  // The same saves when Windows ends the session, without a box that would hold it up.
  std::vector<std::string> SaveAll();
  void FormDestroy();

  // An item of the browser choice was clicked: the hooks learn which windows are pages.
  void rgpIEClick();

  // "生成翻页指令" on "其它方式".
  void Button3Click();

  // 应用, 取消, 导入..., 导出... on "翻页定义": a file that could not be read or written is
  // told in a box, since the sets in use then differ from what the person expects.
  void Button41Click();
  void Button42Click();
  void Button43Click();
  void Button44Click();

  const std::string& appDir() const { return appDir_; }
  SettingsStore& settings() { return settings_; }
  DefinitionManager& definitions() { return definitions_; }

 private:
  void TellHooksThePageKind();

  std::string programPath_;
  std::string appDir_;
  Controls& controls_;
  ProfileFile& profile_;
  TextFiles& files_;
  Notices& notices_;
  HookLibraries& hooks_;
  const AutostartRegistry& autostart_;
  SettingsStore settings_;
  DefinitionManager definitions_;

  void TellUnread(const std::string& problem);
  void TellUnsaved(const std::string& path);
};

}  // namespace paginor::app
