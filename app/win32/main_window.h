#pragma once
// TKRVMessageForm: the main window, a tab control over the seven pages. Its window
// procedure only routes: registered input messages to the input dispatch, commands to
// the page that owns the control, the life-cycle messages to MainForm.

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <memory>
#include <thread>

#include "app/main_form.h"
#include "app/tray_control.h"
#include "app/update_check.h"
#include "app/win32/launch.h"
#include "app/win32/platform_parts.h"
#include "app/win32/profile_file_win32.h"
#include "app/win32/registered_messages.h"
#include "app/win32/tray_icon.h"
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

// Showing and hiding as the tray asks; minimizing hides to the tray as well.
class WindowView : public MainWindowView, public Minimizer {
 public:
  void SetWindow(HWND window) { window_ = window; }
  bool Visible() const override { return IsWindowVisible(window_) != FALSE; }
  void Show() override;
  void Hide() override { ShowWindow(window_, SW_HIDE); }
  void MinimizeToTray() override { Hide(); }

 private:
  HWND window_ = nullptr;
};

// What the diagnostic report's thread hands back to the window.
struct ReportOutcome;

// The report's thread: joined once it has said it is done, let go if the window goes
// first (a report may wait on a hung browser).
class ReportThread {
 public:
  ReportThread() = default;
  ReportThread(const ReportThread&) = delete;
  ReportThread& operator=(const ReportThread&) = delete;
  ~ReportThread() {
    if (thread_.joinable()) thread_.detach();
  }
  void Start(std::thread thread) { thread_ = std::move(thread); }
  void Join() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
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

  // The seams for the input dispatch and for the browser behind the frames list.
  void SetInputDispatch(InputDispatch* dispatch) { dispatch_ = dispatch; }
  void SetFrameSource(FrameSource* frames) { frames_ = frames ? frames : &noFrames_; }
  // "测试当前页": what a command would do on the browser's current page, as text.
  void SetExplainer(std::function<std::string(std::string_view command)> explain) {
    explain_ = std::move(explain);
  }
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
  void ExplainCurrentPage();
  // "诊断报告": the report is made on a thread of its own, then its folder is opened.
  void StartReport();
  void OnReportDone();
  void FormShow();
  void OnTimer(UINT_PTR id);
  void OnMenuCommand(UINT id);
  void SetUpTray();
  void OnPageMouseDown(HWND page, MouseButton button);

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
  TrayIcon trayIcon_;
  WindowView view_;
  std::unique_ptr<TrayControl> trayControl_;
  UINT taskbarCreated_ = 0;
  OwnedIcon windowIcons_[2];
  ProcessLauncher launcher_;
  RegistryRunKey runKey_;
  std::unique_ptr<PrivateProfileFile> renewerSettings_;
  std::unique_ptr<Updater> updater_;
  HistoryMemoLog history_{controls_};
  NoBrowserFrames noFrames_;
  FrameSource* frames_ = &noFrames_;
  std::unique_ptr<MainForm> form_;
  InputDispatch* dispatch_ = nullptr;
  std::function<std::string(std::string_view)> explain_;
  std::shared_ptr<ReportOutcome> report_;
  ReportThread reportThread_;
  OwnedFont uiFont_;
  OwnedFont introFont_;
  OwnedFont linkFont_;
};

}  // namespace paginor::app::win32
