#pragma once
// The Win32 side of the interfaces the main window's logic talks to.

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "app/frames_option.h"
#include "app/main_form.h"
#include "app/notices.h"
#include "app/settings_store.h"
#include "app/win32/tray_icon.h"
#include "engine/definition_sets.h"
#include "engine/operation_log.h"

namespace paginor::app::win32 {

// Message boxes owned by the main window.
class WindowBoxes : public Notices, public MessageBoxes {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  void Notice(std::string_view text) override;
  void Error(std::string_view text) override;
  void Show(const std::string& text, const std::string& caption) override;

 private:
  HWND owner_ = nullptr;
};

class CommonFileDialogs : public FileDialogs {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  std::optional<std::string> Open(const FileDialogRequest& request) override;
  std::optional<std::string> Save(const FileDialogRequest& request) override;

 private:
  std::optional<std::string> Run(const FileDialogRequest& request, bool save);
  HWND owner_ = nullptr;
};

// hkboard.dll and hkpoint.dll, loaded by full path from the program's folder.
class LoadedHookLibraries : public HookLibraries {
 public:
  // False, with the path of the library or export that is missing, when one is.
  bool Load(const std::wstring& appDir, std::wstring& missing);
  ~LoadedHookLibraries() override;
  void HookMouse() override { hookMouse_(); }
  void HookKey() override { hookKey_(); }
  void UnHookKey() override { unHookKey_(); }
  void UnHookMouse() override { unHookMouse_(); }
  void SetPageKind(hooks::PageKind kind) override;

 private:
  using Export = void(WINAPI*)();
  HMODULE keyboard_ = nullptr;
  HMODULE mouse_ = nullptr;
  Export hookKey_ = nullptr;
  Export unHookKey_ = nullptr;
  Export hookMouse_ = nullptr;
  Export unHookMouse_ = nullptr;
  // Optional: libraries without it know the IE engine's pages only.
  using SetKind = BOOL(WINAPI*)(int);
  SetKind keyboardKind_ = nullptr;
  SetKind mouseKind_ = nullptr;
};

class RunKeyAutostart : public AutostartRegistry {
 public:
  std::optional<std::string> RunValue() const override;
};

// The memos of "翻页定义", one shown at a time.
class DefinitionMemos : public DefinitionEditorView {
 public:
  void SetPage(HWND page) { page_ = page; }
  std::string MemoText(SetIndex set) const override;
  void SetMemoText(SetIndex set, const std::string& text) override;
  void ShowPage(SetIndex set) override;

 private:
  HWND page_ = nullptr;
};

// Every line the engine writes lands at the end of historyMemo.
class HistoryMemoLog : public OperationLog {
 public:
  explicit HistoryMemoLog(Controls& controls) : controls_(controls) {}
  void Append(std::string_view line) override { controls_.AppendLine(Control::historyMemo, line); }

 private:
  Controls& controls_;
};

// The tray icon's image follows the temporary disable; the choice made while the settings
// load, before the icon exists, is the image it is added with.
class TrayImageChoice : public TrayImage {
 public:
  void ShowImage(int index) override {
    image_ = index;
    if (icon_) icon_->ShowImage(index);
  }
  int image() const { return image_; }
  void SetIcon(TrayIcon* icon) { icon_ = icon; }

 private:
  int image_ = 0;
  TrayIcon* icon_ = nullptr;
};

// The frames list needs the browser's tab and its document. Until the program hands the
// window its browser layer, no browser is found, and the list stays empty and disabled.
class NoBrowserFrames : public FrameSource {
 public:
  bool FindBrowserWindow(std::string_view) override { return false; }
  int GetFrameCount() override { return 0; }
  std::optional<std::string> FrameLocation(int) override { return std::nullopt; }
};

}  // namespace paginor::app::win32
