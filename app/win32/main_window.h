#pragma once
// TKRVMessageForm: the main window, a tab control over the seven pages. Its window
// procedure only routes: registered input messages to the input dispatch, commands to
// the page that owns the control, the life-cycle messages to MainForm.

#include <windows.h>

#include <array>
#include <functional>
#include <memory>

#include "app/main_form.h"
#include "app/win32/platform_parts.h"
#include "app/win32/profile_file_win32.h"
#include "app/win32/registered_messages.h"
#include "app/win32/win32_controls.h"

namespace paginor::app::win32 {

// Where the hook libraries' and the floating box's messages go once they are turned into
// commands.
class InputDispatch {
 public:
  virtual ~InputDispatch() = default;
  virtual void OnInputMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// A GDI font owned for the window's life.
class OwnedFont {
 public:
  OwnedFont() = default;
  OwnedFont(const OwnedFont&) = delete;
  OwnedFont& operator=(const OwnedFont&) = delete;
  ~OwnedFont() { Reset(nullptr); }
  void Reset(HFONT font) {
    if (font_) DeleteObject(font_);
    font_ = font;
  }
  HFONT get() const { return font_; }

 private:
  HFONT font_ = nullptr;
};

class MainWindow {
 public:
  MainWindow(HINSTANCE instance, const RegisteredMessages& messages, HookLibraries& hooks);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window hidden and runs FormCreate; false when the window cannot exist.
  bool Create();
  HWND handle() const { return window_; }
  HWND activePage() const;

  // Seams for the input dispatch and the update check (run by FormShow).
  void SetInputDispatch(InputDispatch* dispatch) { dispatch_ = dispatch; }
  void SetFormShow(std::function<void()> formShow) { formShow_ = std::move(formShow); }
  Controls& controls() { return controls_; }
  OperationLog& log() { return history_; }
  MainForm& form() { return *form_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandlePage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

  bool CreatePages();
  void ApplyDesignState();
  void AddHints();
  void MakeFonts(UINT dpi);
  void Layout();
  void SelectPage(int index);
  UINT Dpi() const;

  void OnCommand(Page page, int id, int code);
  void OnKeyboardCommand(int id, int code);
  void OnMouseCommand(int id, int code);
  void OnDefinitionsCommand(int id, int code);
  void OnFixedCommand(int id, int code);
  void OnOptionsCommand(int id, int code);
  void OnLogCommand(int id, int code);
  void OnHelpCommand(int id, int code);
  void Label19Click();
  void OnClose();

  HINSTANCE instance_;
  RegisteredMessages messages_;
  HookLibraries& hooks_;
  HWND window_ = nullptr;
  HWND tabs_ = nullptr;
  HWND tooltips_ = nullptr;
  std::array<HWND, kPageCount> pages_{};
  Win32Controls controls_{pages_};
  std::wstring programPath_;
  std::unique_ptr<PrivateProfileFile> profile_;
  WindowBoxes boxes_;
  CommonFileDialogs dialogs_;
  RunKeyAutostart autostart_;
  DefinitionMemos editor_;
  TrayImageChoice tray_;
  HistoryMemoLog history_{controls_};
  NoBrowserFrames frames_;
  std::unique_ptr<MainForm> form_;
  InputDispatch* dispatch_ = nullptr;
  std::function<void()> formShow_;
  OwnedFont uiFont_;
  OwnedFont introFont_;
  OwnedFont linkFont_;
};

}  // namespace paginor::app::win32
