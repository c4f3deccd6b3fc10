#include "app/win32/main_window.h"

#include <commctrl.h>

#include "app/settings_keys.h"
#include "app/text_lists.h"
#include "app/win32/resource.h"
#include "app/win32/wide.h"
#include "browser/win32/accessible_win32.h"
#include "calc/clock.h"
#include "hooks/keyHookCommon.h"

namespace paginor::app::win32 {
namespace {

constexpr int kClientWidth = 650;   // at 96 dots per inch
constexpr int kClientHeight = 449;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

constexpr std::array<const wchar_t*, kPageCount> kTabCaptions = {
    L"键盘动作", L"鼠标动作", L"翻页定义", L"其它方式", L"一般选项", L"操作记录", L"使用帮助"};
constexpr std::array<int, kPageCount> kTemplates = {IDD_KEYBOARD, IDD_MOUSE, IDD_DEFINITIONS, IDD_FIXED,
                                                    IDD_OPTIONS, IDD_LOG, IDD_HELP};
constexpr char kDesignMemo[] = "#表示注释\r\n#http://www.example.com/forum/";
constexpr char kDesignXyMemo[] = "#指令格式: 动作,x,y,网址模式";
constexpr wchar_t kKeyHint[] = L"允许字母a到z,不允许数字";

// Per-monitor DPI functions exist from Windows 10 on; older systems have one DPI.
UINT WindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto fn = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (fn && window) {
    const UINT dpi = fn(window);
    if (dpi) return dpi;
  }
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

RECT WindowRectForClient(int width, int height, UINT dpi) {
  RECT rect{0, 0, width, height};
  using AdjustFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = reinterpret_cast<AdjustFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  if (!adjust || !adjust(&rect, kStyle, FALSE, 0, dpi)) AdjustWindowRectEx(&rect, kStyle, FALSE, 0);
  return rect;
}

HFONT SongFont(int height, bool underline) {
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underline ? TRUE : FALSE, FALSE, GB2312_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体");
}

bool IsLink(int id) { return id == IDC_FLOATLINK1 || id == IDC_FLOATLINK2 || id == IDC_HELPLABEL; }

// The one-shot update check after each showing.
constexpr UINT_PTR kUpdateTimer = 1;
constexpr UINT kUpdateDelayMs = 3000;

int SystemMetricForDpi(int index, UINT dpi) {
  using ForDpiFn = int(WINAPI*)(int, UINT);
  static const auto fn = reinterpret_cast<ForDpiFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
  return fn ? fn(index, dpi) : GetSystemMetrics(index);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, const RegisteredMessages& messages, HookLibraries& hooks)
    : instance_(instance), messages_(messages), hooks_(hooks), programPath_(ProgramPath()) {}

bool MainWindow::Create() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  // No close box: the program ends from the tray menu only.
  wc.style = CS_NOCLOSE;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance_;
  wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_PAGINOR));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = hooks::kMainWindowClass;
  if (!RegisterClassExW(&wc)) return false;

  const std::wstring caption = Wide(std::string(kProductName) + std::string(kVersionText));
  window_ = CreateWindowExW(0, hooks::kMainWindowClass, caption.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                            kClientWidth, kClientHeight, nullptr, nullptr, instance_, this);
  if (!window_) return false;
  const UINT dpi = Dpi();
  MakeFonts(dpi);
  tabs_ = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, 10,
                          10, window_, nullptr, instance_, nullptr);
  SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_.get()), FALSE);
  for (int i = 0; i < kPageCount; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(kTabCaptions[static_cast<std::size_t>(i)]);
    SendMessageW(tabs_, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  if (!CreatePages()) return false;
  MakeFonts(dpi);

  // Centred on the work area, the client area 650 x 449 at 100 %.
  const RECT frame = WindowRectForClient(MulDiv(kClientWidth, static_cast<int>(dpi), 96),
                                         MulDiv(kClientHeight, static_cast<int>(dpi), 96), dpi);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

  boxes_.SetOwner(window_);
  dialogs_.SetOwner(window_);
  editor_.SetPage(pages_[kDefinitionsPage]);
  ApplyDesignState();
  AddHints();
  SelectPage(kHelpPage);
  SetDlgItemTextW(pages_[kHelpPage], IDC_VERLABEL, Wide(kVersionText).c_str());

  profile_ = std::make_unique<PrivateProfileFile>(
      Utf8(Wide(AppDirOf(Utf8(programPath_))) + Wide(kSettingsFileName)));
  form_ = std::make_unique<MainForm>(
      Utf8(programPath_),
      MainFormParts{controls_, *profile_, DiskTextFiles(), boxes_, tray_, hooks_, autostart_, editor_, dialogs_, boxes_});
  form_->FormCreate();
  // Chromium builds a page's accessibility tree only once asked; ask now, not at the
  // first command.
  if (controls_.ItemIndex(Control::rgpIE) == kLastBrowserItem) paginor::win32::WakeModernBrowsers();
  SetUpTray();
  return true;
}

void MainWindow::SetUpTray() {
  view_.SetWindow(window_);
  trayControl_ = std::make_unique<TrayControl>(form_->settings(), controls_, view_);
  const UINT dpi = Dpi();
  windowIcons_[0].Reset(DrawTrayImage(0, SystemMetricForDpi(SM_CXICON, dpi)));
  windowIcons_[1].Reset(DrawTrayImage(0, SystemMetricForDpi(SM_CXSMICON, dpi)));
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(windowIcons_[0].get()));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(windowIcons_[1].get()));
  // Explorer sends this to every top-level window when it starts again.
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  trayIcon_.Add(window_, SystemMetricForDpi(SM_CXSMICON, dpi), tray_.image());
  tray_.SetIcon(&trayIcon_);

  const std::string appDir = form_->appDir();
  renewerSettings_ = std::make_unique<PrivateProfileFile>(appDir + std::string(kUpdaterSettings));
  updater_ = std::make_unique<Updater>(UpdaterParts{appDir, reinterpret_cast<WindowHandle>(window_), launcher_, boxes_,
                                                    *renewerSettings_, calc::SystemClock(), view_});
}

void WindowView::Show() {
  ShowWindow(window_, SW_SHOW);
  if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
  SetForegroundWindow(window_);
}

void MainWindow::FormShow() {
  if (updater_ && updater_->FormShow()) SetTimer(window_, kUpdateTimer, kUpdateDelayMs, nullptr);
}

void MainWindow::OnTimer(UINT_PTR id) {
  if (id == kTrayClickTimer && trayControl_) trayIcon_.OnClickTimer(*trayControl_);
  if (id != kUpdateTimer) return;
  KillTimer(window_, kUpdateTimer);
  if (updater_) updater_->updateTimerTimer(controls_.Checked(Control::autoUpgrade));
}

void MainWindow::OnMenuCommand(UINT id) {
  if (!trayControl_) return;
  switch (id) {
    case kMenuN4: trayControl_->N4Click(); break;
    case kMenuN1: trayControl_->N1Click(); break;
    case kMenuN2: OnClose(); break;
    default: break;
  }
}

// Pages whose background drags the window; "其它方式" is not one of them.
void MainWindow::OnPageMouseDown(HWND page, MouseButton button) {
  if (page == pages_[kFixedPage] || !DragsWindow(button)) return;
  ReleaseCapture();
  SendMessageW(window_, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

bool MainWindow::CreatePages() {
  for (int i = 0; i < kPageCount; ++i) {
    pages_[static_cast<std::size_t>(i)] =
        CreateDialogParamW(instance_, MAKEINTRESOURCEW(kTemplates[static_cast<std::size_t>(i)]), window_, PageProc,
                           reinterpret_cast<LPARAM>(this));
    if (!pages_[static_cast<std::size_t>(i)]) return false;
  }
  return true;
}

void MainWindow::ApplyDesignState() {
  for (const SettingsRow& row : kSettingsRows) {
    SendMessageW(controls_.Handle(row.letterEdit), EM_LIMITTEXT, 1, 0);
    controls_.SetText(row.letterEdit, row.defaultLetter);
    for (auto item : kGestureItems) controls_.AddItem(row.gestureCombo, item);
    for (auto item : kZoneItems) controls_.AddItem(row.zoneCombo, item);
    controls_.SetItemIndex(row.gestureCombo, row.defaultGesture);
    controls_.SetItemIndex(row.zoneCombo, row.defaultZone);
  }
  SendMessageW(controls_.Handle(Control::xyEdit), EM_LIMITTEXT, 1, 0);
  controls_.SetText(Control::xyEdit, "r");
  // Lists and the log have no size limit but memory.
  for (Control memo : {Control::dmemo1, Control::dmemo2, Control::xyMemo, Control::historyMemo}) {
    SendMessageW(controls_.Handle(memo), EM_SETLIMITTEXT, 0, 0);
  }
  for (int i = 0; i < kSetCount; ++i) {
    SendDlgItemMessageW(pages_[kDefinitionsPage], IDC_CFGMEMO1 + i, EM_SETLIMITTEXT, 0, 0);
  }
  controls_.SetText(Control::dmemo1, kDesignMemo);
  controls_.SetText(Control::dmemo2, kDesignMemo);
  controls_.SetText(Control::xyMemo, kDesignXyMemo);
  for (Control box : {Control::CheckBoxKey, Control::CheckBoxMouse1, Control::CheckBoxMouse2,
                      Control::autoUpgrade, Control::RadioButton2}) {
    controls_.SetChecked(box, true);
  }
  controls_.SetItemIndex(Control::rgpIE, 0);
  CheckDlgButton(pages_[kDefinitionsPage], IDC_RADIOGROUP1_0, BST_CHECKED);
}

void MainWindow::AddHints() {
  tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
  if (!tooltips_) return;
  SendMessageW(tooltips_, TTM_SETMAXTIPWIDTH, 0, 400);
  auto add = [this](HWND control, const wchar_t* text) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  };
  add(pages_[kKeyboardPage], kKeyHint);
  for (const SettingsRow& row : kSettingsRows) add(controls_.Handle(row.letterEdit), kKeyHint);
  add(controls_.Handle(Control::chkframe), L"启用框架,用于某些某页");
  add(controls_.Handle(Control::cbframe), L"选择框架");
  add(controls_.Handle(Control::leftChk), L"如果此项打勾，可以用鼠标右键来显示/隐藏主窗口");
  add(GetDlgItem(pages_[kHelpPage], IDC_HELPLABEL), L"查看详细的使用帮助说明");
}

void MainWindow::MakeFonts(UINT dpi) {
  const int d = static_cast<int>(dpi);
  uiFont_.Reset(SongFont(-MulDiv(9, d, 72), false));
  linkFont_.Reset(SongFont(-MulDiv(9, d, 72), true));
  introFont_.Reset(SongFont(-MulDiv(15, d, 96), false));
  if (tabs_) SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_.get()), TRUE);
  const HWND help = pages_[kHelpPage];
  if (!help) return;
  SendDlgItemMessageW(help, IDC_INTRO, WM_SETFONT, reinterpret_cast<WPARAM>(introFont_.get()), TRUE);
  SendDlgItemMessageW(help, IDC_HELPLABEL, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), TRUE);
  SendDlgItemMessageW(pages_[kKeyboardPage], IDC_FLOATLINK1, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), TRUE);
  SendDlgItemMessageW(pages_[kMousePage], IDC_FLOATLINK2, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), TRUE);
}

UINT MainWindow::Dpi() const { return WindowDpi(window_); }

HWND MainWindow::activePage() const {
  if (!tabs_) return nullptr;
  const auto index = SendMessageW(tabs_, TCM_GETCURSEL, 0, 0);
  return index >= 0 && index < kPageCount ? pages_[static_cast<std::size_t>(index)] : nullptr;
}

void MainWindow::SelectPage(int index) {
  SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  Layout();
  for (int i = 0; i < kPageCount; ++i) {
    ShowWindow(pages_[static_cast<std::size_t>(i)], i == index ? SW_SHOW : SW_HIDE);
  }
}

void MainWindow::Layout() {
  if (!tabs_) return;
  RECT client{};
  GetClientRect(window_, &client);
  SetWindowPos(tabs_, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT page = client;
  SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  for (HWND p : pages_) {
    if (p) SetWindowPos(p, HWND_TOP, page.left, page.top, page.right - page.left, page.bottom - page.top, SWP_NOACTIVATE);
  }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    auto* self = static_cast<MainWindow*>(create->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED && trayControl_) {
        trayControl_->OnMinimize();
        return 0;
      }
      Layout();
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE && trayControl_) {
        trayControl_->OnMinimize();
        return 0;
      }
      break;
    case kTrayCallbackMessage:
      if (trayControl_) trayIcon_.OnCallback(lParam, *trayControl_);
      return 0;
    case WM_PAGINOR_REPORT:
      OnReportDone();
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_COMMAND:
      if (lParam == 0) OnMenuCommand(LOWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE) {
        SelectPage(static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)));
      }
      return 0;
    }
    case WM_SHOWWINDOW:
      if (wParam) FormShow();
      break;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      MakeFonts(HIWORD(wParam));
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // Windows ends the process after this message: save as at exit, without a box
      // that would hold the session up.
      if (wParam && form_) form_->SaveAll();
      return 0;
    case WM_DESTROY:
      KillTimer(window_, kUpdateTimer);
      KillTimer(window_, kTrayClickTimer);
      tray_.SetIcon(nullptr);
      trayIcon_.Remove();
      if (form_) form_->FormDestroy();
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    trayIcon_.Add(window_, SystemMetricForDpi(SM_CXSMICON, Dpi()), tray_.image());
    return 0;
  }
  const LRESULT result = DefWindowProcW(window_, message, wParam, lParam);
  if (dispatch_ && messages_.Contains(message)) dispatch_->OnInputMessage(message, wParam, lParam);
  return result;
}

void MainWindow::OnClose() {
  if (form_) form_->FormClose();
  DestroyWindow(window_);
}

INT_PTR CALLBACK MainWindow::PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(page, DWLP_USER, lParam);
    return TRUE;
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(page, DWLP_USER));
  if (!self) return FALSE;
  return self->HandlePage(page, message, wParam, lParam);
}

// The memos fill the page below their top edge, whatever height the font gives the rows
// above them: the dialog units of a substituted font are not those of 宋体.
namespace {
void StretchMemos(HWND page) {
  RECT client{};
  GetClientRect(page, &client);
  RECT margin{0, 0, 6, 6};
  MapDialogRect(page, &margin);
  for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!(GetWindowLongPtrW(child, GWL_STYLE) & ES_MULTILINE)) continue;
    wchar_t cls[16] = {};
    GetClassNameW(child, cls, 16);
    if (lstrcmpiW(cls, L"Edit") != 0) continue;
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
    const int width = client.right - 2 * r.left;
    const int height = client.bottom - r.top - margin.bottom;
    if (width > 0 && height > 0) SetWindowPos(child, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace

INT_PTR MainWindow::HandlePage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      StretchMemos(page);
      return FALSE;
    case WM_LBUTTONDOWN:
      OnPageMouseDown(page, MouseButton::Left);
      return TRUE;
    case WM_MBUTTONDOWN:
      OnPageMouseDown(page, MouseButton::Middle);
      return TRUE;
    case WM_COMMAND:
      for (int i = 0; i < kPageCount; ++i) {
        if (pages_[static_cast<std::size_t>(i)] == page) OnCommand(static_cast<Page>(i), LOWORD(wParam), HIWORD(wParam));
      }
      return TRUE;
    case WM_CTLCOLORSTATIC: {
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      const HDC dc = reinterpret_cast<HDC>(wParam);
      if (id == IDC_HISTORYMEMO) {  // read-only, yet a page of text like the other memos
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
      }
      if (!IsLink(id)) return FALSE;
      SetTextColor(dc, RGB(0, 0, 128));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR: {
      if (IsLink(GetDlgCtrlID(reinterpret_cast<HWND>(wParam)))) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        SetWindowLongPtrW(page, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace paginor::app::win32
