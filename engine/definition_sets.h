#pragma once
// The five definition sets as the main window owns them: the edit copies behind the
// editor on the tab "翻页定义", the active copies the executor reads, and the loading,
// saving and activation behind the editor's buttons.

#include <optional>
#include <string>
#include <string_view>

#include "engine/command.h"
#include "engine/rule_set.h"
#include "engine/text_file.h"

namespace paginor {

// The editor: RadioGroup1, PageControlcfg and cfgMemo1 to cfgMemo5.
class DefinitionEditorView {
 public:
  virtual ~DefinitionEditorView() = default;
  // The text of the memo of a set (cfgMemo1 上页 ... cfgMemo5 某页).
  virtual std::string MemoText(SetIndex set) const = 0;
  virtual void SetMemoText(SetIndex set, const std::string& text) = 0;
  // Brings the page of PageControlcfg with the memo of the set to the front.
  virtual void ShowPage(SetIndex set) = 0;
};

struct FileDialogRequest {
  std::string title;
  std::string initialDir;
  std::string filter;            // "description|pattern"
  std::string defaultExtension;  // without the dot
};

// The standard dialogs; an empty result means the user cancelled.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // od1: hide read-only, path must exist, file must exist, resizable.
  virtual std::optional<std::string> Open(const FileDialogRequest& request) = 0;
  // sd1: prompt before overwriting, hide read-only, path must exist, resizable.
  virtual std::optional<std::string> Save(const FileDialogRequest& request) = 0;
};

// A message box with a single OK button.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual void Show(const std::string& text, const std::string& caption) = 0;
};

inline constexpr std::string_view kLastDefinitionsFile = "last.pgt";
inline constexpr std::string_view kDefinitionFilter = "配置文件|*.pgt";
inline constexpr std::string_view kDefinitionExtension = "pgt";
inline constexpr std::string_view kOpenDefinitionsTitle = "打开翻页动作配置文件";
inline constexpr std::string_view kSaveDefinitionsTitle = "保存翻页动作到配置文件";
inline constexpr std::string_view kMissingFileMessage = "没有找到所需的文件:";
inline constexpr std::string_view kNoticeCaption = "提示";

class DefinitionManager {
 public:
  // appDir is the program's directory in UTF-8, ending with a path separator.
  DefinitionManager(std::string appDir, DefinitionEditorView& view, FileDialogs& dialogs,
                    MessageBoxes& messages, TextFiles& files = DiskTextFiles());

  // The last step of the main window's creation: last.pgt becomes what is edited and
  // what commands use. The result is LoadDefinitions' problem, if any.
  std::string StartUp();

  // mode "?" asks with the open dialog, "last" reads last.pgt; other modes do nothing.
  // Fills the edit copies and the memos; the active copies stay as they are. A file
  // that cannot be read, or holds no section header at all, changes nothing; the
  // result then says why (the path and the reason), for the window to show.
  std::string LoadDefinitions(std::string_view mode);
  // mode "?" asks with the save dialog, "last" writes last.pgt; other modes do nothing.
  // The memos go into the edit copies, which are then written. The result is the path
  // of a file that could not be written (the old one stays whole), for the window to
  // show; empty when it was written or nothing was asked.
  std::string SaveDefinitions(std::string_view mode);
  void ActivateDefinitions();

  std::string Button41Click();  // 应用: as SaveDefinitions
  std::string Button42Click();  // 取消: as LoadDefinitions
  std::string Button43Click();  // 导入...: as LoadDefinitions
  std::string Button44Click();  // 导出...: as SaveDefinitions
  void RadioGroup1Click(int itemIndex);

  // What the executor reads.
  const DefinitionSets& Active() const { return active_; }
  const DefinitionSets& Edited() const { return edit_; }

 private:
  std::optional<std::string> PathFor(std::string_view mode, bool forSaving);
  void TakeMemos();
  void ShowInMemos();

  std::string appDir_;
  DefinitionEditorView& view_;
  FileDialogs& dialogs_;
  MessageBoxes& messages_;
  TextFiles& files_;
  DefinitionSets edit_;
  DefinitionSets active_;
};

}  // namespace paginor
