// hoverpad.exe: the floating box. A small always-on-top tool window with the six command
// buttons, a page-number field and a stroke pad; it posts to the main window and never
// takes the focus from the browser, except while the user types a page number.

#include <windows.h>

#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

#include "hooks/float_box.h"
#include "hooks/floatCommon.h"
#include "hooks/hoverpad_layout.h"
#include "hooks/keyHookCommon.h"
#include "hooks/pad_gesture.h"

namespace paginor::hooks {
namespace {

constexpr wchar_t kBoxClass[] = L"THoverpadForm";
constexpr wchar_t kPositionFile[] = L"hoverpad.ini";
constexpr wchar_t kPositionSection[] = L"悬浮框";
constexpr wchar_t kTitleRunning[] = L"翻页悬浮框 - 主程序已运行";
constexpr wchar_t kTitleNotRunning[] = L"翻页悬浮框 - 主程序未运行";
constexpr UINT_PTR kStatusTimer = 1;
constexpr UINT kStatusIntervalMs = 1000;
constexpr std::size_t kMaxPadPoints = 4096;
constexpr DWORD kBoxStyle = WS_POPUP | WS_BORDER;
constexpr DWORD kBoxExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;

std::wstring AppDir() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring ReadProfile(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                         const wchar_t* fallback) {
  wchar_t buf[64];
  GetPrivateProfileStringW(section, key, fallback, buf, static_cast<DWORD>(std::size(buf)),
                           file.c_str());
  return buf;
}

class Font {
 public:
  Font() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
      font_ = CreateFontIndirectW(&metrics.lfMessageFont);
    }
  }
  ~Font() {
    if (font_) DeleteObject(font_);
  }
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;
  HFONT get() const { return font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

 private:
  HFONT font_ = nullptr;
};

RECT ToRect(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
Point PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

class Box {
 public:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Create();
  void Paint(HDC dc);
  void PaintButton(HDC dc, std::size_t i);
  LRESULT MouseActivate();
  void LeftDown(Point p);
  void LeftUp(Point p);
  void Move(Point p);
  void PressButton(std::size_t i);
  void SendPageNumber();
  void GiveFocusBack();
  void RefreshStatus();
  void Feedback(const wchar_t* text);
  void RestorePosition();
  void SavePosition() const;
  bool PostToMain(UINT message, WPARAM wParam);
  std::wstring LetterOf(std::size_t i) const;

  HWND hwnd_ = nullptr;
  HWND edit_ = nullptr;
  WNDPROC editDefault_ = nullptr;
  Font font_;
  BoxLayout layout_ = LayoutBox(96);
  std::wstring dir_ = AppDir();
  UINT keyMessage_ = RegisterWindowMessageW(kFloatMessageKey);
  UINT mouseMessage_ = RegisterWindowMessageW(kFloatMessageMouse);
  int pressed_ = -1;
  bool drawing_ = false;
  bool dragging_ = false;
  POINT dragFrom_{};  // the cursor's offset from the window's corner when the drag began
  bool mainRunning_ = false;
  std::vector<Point> stroke_;
  std::wstring feedback_ = L"按住左键在此划动";
  HWND returnFocusTo_ = nullptr;
};

LRESULT CALLBACK Box::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* box = reinterpret_cast<Box*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    box = static_cast<Box*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    box->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box));
  }
  return box ? box->Handle(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

// Enter sends the page number, Escape gives up; both hand the focus back to the browser.
LRESULT CALLBACK Box::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* box = reinterpret_cast<Box*>(GetWindowLongPtrW(GetParent(hwnd), GWLP_USERDATA));
  if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
    if (wParam == VK_RETURN) box->SendPageNumber();
    box->GiveFocusBack();
    return 0;
  }
  if (message == WM_CHAR && (wParam == L'\r' || wParam == 27)) return 0;  // no beep
  return CallWindowProcW(box->editDefault_, hwnd, message, wParam, lParam);
}

LRESULT Box::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      Create();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = BeginPaint(hwnd_, &ps);
      Paint(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_MOUSEACTIVATE:
      return MouseActivate();
    case WM_LBUTTONDOWN:
      LeftDown(PointOf(lParam));
      return 0;
    case WM_MOUSEMOVE:
      Move(PointOf(lParam));
      return 0;
    case WM_LBUTTONUP:
      LeftUp(PointOf(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      if (pressed_ >= 0 || drawing_) InvalidateRect(hwnd_, nullptr, TRUE);
      if (dragging_) SavePosition();
      pressed_ = -1;
      drawing_ = false;
      dragging_ = false;
      return 0;
    case WM_TIMER:
      if (wParam == kStatusTimer) RefreshStatus();
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd_, kStatusTimer);
      SavePosition();
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void Box::Create() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  layout_ = LayoutBox(static_cast<unsigned>(dpi));
  RECT frame = ToRect(layout_.client);
  AdjustWindowRectEx(&frame, kBoxStyle, FALSE, kBoxExStyle);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RestorePosition();

  const Rect& e = layout_.pageEdit;
  edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER | ES_CENTER,
                          e.left, e.top, e.right - e.left, e.bottom - e.top, hwnd_, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  if (edit_) {
    SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    SendMessageW(edit_, EM_SETLIMITTEXT, 5, 0);
    editDefault_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Box::EditProc)));
  }
  stroke_.reserve(kMaxPadPoints);
  RefreshStatus();
  SetTimer(hwnd_, kStatusTimer, kStatusIntervalMs, nullptr);
}

void Box::PaintButton(HDC dc, std::size_t i) {
  RECT r = ToRect(layout_.buttons[i]);
  const bool down = pressed_ == static_cast<int>(i);
  DrawEdge(dc, &r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
  const std::wstring letter = LetterOf(i);
  const bool usable = KeyCodeOfLetter(letter).has_value();
  std::wstring text(kFloatButtons[i].caption);
  if (usable) text += L" " + std::wstring(1, static_cast<wchar_t>(KeyCodeOfLetter(letter).value()));
  if (down) OffsetRect(&r, 1, 1);
  SetTextColor(dc, GetSysColor(usable ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  DrawTextW(dc, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void Box::Paint(HDC dc) {
  const HGDIOBJ oldFont = SelectObject(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  RECT status = ToRect(layout_.status);
  status.left += 6;
  SetTextColor(dc, mainRunning_ ? RGB(0, 128, 0) : GetSysColor(COLOR_GRAYTEXT));
  DrawTextW(dc, mainRunning_ ? L"● 主程序已运行" : L"○ 主程序未运行", -1, &status,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  RECT close = ToRect(layout_.close);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextW(dc, L"×", -1, &close, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  for (std::size_t i = 0; i < layout_.buttons.size(); ++i) PaintButton(dc, i);
  RECT label = ToRect(layout_.pageLabel);
  DrawTextW(dc, L"页码", -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

  RECT pad = ToRect(layout_.pad);
  FillRect(dc, &pad, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawEdge(dc, &pad, EDGE_SUNKEN, BF_RECT);
  SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  DrawTextW(dc, feedback_.c_str(), -1, &pad, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, oldFont);
}

// Only the page-number field takes the keyboard, and it remembers whose it was.
LRESULT Box::MouseActivate() {
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(hwnd_, &cursor);
  if (!Contains(layout_.pageEdit, {cursor.x, cursor.y})) return MA_NOACTIVATE;
  const HWND previous = GetForegroundWindow();
  if (previous != hwnd_) returnFocusTo_ = previous;
  SetForegroundWindow(hwnd_);
  SetFocus(edit_);
  return MA_ACTIVATE;
}

void Box::GiveFocusBack() {
  SetWindowTextW(edit_, L"");
  if (returnFocusTo_ && IsWindow(returnFocusTo_)) SetForegroundWindow(returnFocusTo_);
  returnFocusTo_ = nullptr;
}

void Box::LeftDown(Point p) {
  if (const int i = ButtonAt(layout_, p); i >= 0) {
    pressed_ = i;
    SetCapture(hwnd_);
    InvalidateRect(hwnd_, nullptr, FALSE);
  } else if (Contains(layout_.pad, p)) {
    stroke_.clear();
    stroke_.push_back(p);
    drawing_ = true;
    SetCapture(hwnd_);
  } else if (!Contains(layout_.close, p)) {
    // Dragged by hand rather than by the system's move loop, which would activate the box.
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT window{};
    GetWindowRect(hwnd_, &window);
    dragFrom_ = {cursor.x - window.left, cursor.y - window.top};
    dragging_ = true;
    SetCapture(hwnd_);
  }
}

void Box::Move(Point p) {
  if (dragging_) {
    POINT cursor{};
    GetCursorPos(&cursor);
    SetWindowPos(hwnd_, nullptr, cursor.x - dragFrom_.x, cursor.y - dragFrom_.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  if (!drawing_ || stroke_.size() >= kMaxPadPoints) return;
  const Point last = stroke_.back();
  stroke_.push_back(p);
  if (HDC dc = GetDC(hwnd_)) {
    const RECT pad = ToRect(layout_.pad);
    IntersectClipRect(dc, pad.left + 2, pad.top + 2, pad.right - 2, pad.bottom - 2);
    MoveToEx(dc, last.x, last.y, nullptr);
    LineTo(dc, p.x, p.y);
    ReleaseDC(hwnd_, dc);
  }
}

void Box::LeftUp(Point p) {
  if (dragging_) {
    ReleaseCapture();  // saves the place
    return;
  }
  if (pressed_ >= 0) {
    const int i = pressed_;
    ReleaseCapture();  // resets pressed_
    if (ButtonAt(layout_, p) == i) PressButton(static_cast<std::size_t>(i));
    return;
  }
  if (drawing_) {
    if (stroke_.size() < kMaxPadPoints) stroke_.push_back(p);
    ReleaseCapture();
    const FloatGesture g = ClassifyPadStroke(stroke_);
    static constexpr const wchar_t* kNames[] = {L"未识别的手势", L"← 向左", L"→ 向右", L"↑ 向上",
                                                L"↓ 向下"};
    if (g != FloatGesture::None && !PostToMain(mouseMessage_, static_cast<WPARAM>(g))) return;
    Feedback(kNames[static_cast<unsigned>(g)]);
    return;
  }
  if (Contains(layout_.close, p)) DestroyWindow(hwnd_);
}

std::wstring Box::LetterOf(std::size_t i) const {
  const std::wstring section(kKeySection);
  const std::wstring key(kFloatButtons[i].caption);
  const std::wstring fallback(kFloatButtons[i].defaultLetter);
  return ReadProfile(dir_ + L"tpnav.ini", section.c_str(), key.c_str(), fallback.c_str());
}

// The letter is read at every press, so a change applied in the main window counts at once.
void Box::PressButton(std::size_t i) {
  const auto code = KeyCodeOfLetter(LetterOf(i));
  if (!code) {
    Feedback(L"此按钮没有设置字母");
    return;
  }
  if (PostToMain(keyMessage_, *code)) Feedback(L"按住左键在此划动");
}

void Box::SendPageNumber() {
  wchar_t text[16] = L"";
  GetWindowTextW(edit_, text, static_cast<int>(std::size(text)));
  const PageKeys keys = PageNumberKeys(text);
  if (keys.count == 0) return;
  for (int i = 0; i < keys.count; ++i) {
    if (!PostToMain(keyMessage_, keys.codes[static_cast<std::size_t>(i)])) return;
  }
}

bool Box::PostToMain(UINT message, WPARAM wParam) {
  const HWND main = FindWindowW(kMainWindowClass, nullptr);
  if (main && PostMessageW(main, message, wParam, 0)) return true;
  RefreshStatus();
  return false;
}

void Box::Feedback(const wchar_t* text) {
  feedback_ = text;
  const RECT pad = ToRect(layout_.pad);
  InvalidateRect(hwnd_, &pad, TRUE);
}

void Box::RefreshStatus() {
  const bool running = FindWindowW(kMainWindowClass, nullptr) != nullptr;
  if (running == mainRunning_ && GetWindowTextLengthW(hwnd_) > 0) return;
  mainRunning_ = running;
  SetWindowTextW(hwnd_, running ? kTitleRunning : kTitleNotRunning);
  const RECT status = ToRect(layout_.status);
  InvalidateRect(hwnd_, &status, TRUE);
  if (!running) Feedback(L"主程序未运行");
  else if (feedback_ == L"主程序未运行") Feedback(L"按住左键在此划动");
}

// The saved place, kept on the monitor nearest to it; the top right of the main monitor
// the first time.
void Box::RestorePosition() {
  RECT window{};
  GetWindowRect(hwnd_, &window);
  const long width = window.right - window.left, height = window.bottom - window.top;
  const std::wstring file = dir_ + kPositionFile;
  const std::wstring x = ReadProfile(file, kPositionSection, L"左", L"");
  const std::wstring y = ReadProfile(file, kPositionSection, L"上", L"");
  wchar_t* xEnd = nullptr;
  wchar_t* yEnd = nullptr;
  const long left = std::wcstol(x.c_str(), &xEnd, 10);
  const long top = std::wcstol(y.c_str(), &yEnd, 10);
  const bool saved = !x.empty() && !y.empty() && *xEnd == L'\0' && *yEnd == L'\0';
  RECT wanted{left, top, left + width, top + height};
  if (!saved) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    wanted = {work.right - width - 24, work.top + 120, work.right - 24, work.top + 120 + height};
  }
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& w = monitor.rcWork;
  const Rect place = KeepOnScreen({wanted.left, wanted.top, wanted.right, wanted.bottom},
                                  {w.left, w.top, w.right, w.bottom});
  SetWindowPos(hwnd_, nullptr, place.left, place.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Box::SavePosition() const {
  RECT window{};
  if (!GetWindowRect(hwnd_, &window)) return;
  const std::wstring file = dir_ + kPositionFile;
  WritePrivateProfileStringW(kPositionSection, L"左", std::to_wstring(window.left).c_str(),
                             file.c_str());
  WritePrivateProfileStringW(kPositionSection, L"上", std::to_wstring(window.top).c_str(),
                             file.c_str());
}

int Run(HINSTANCE instance) {
  // One box is enough: a second start shows the first one.
  if (const HWND existing = FindWindowW(kBoxClass, nullptr)) {
    ShowWindow(existing, SW_SHOWNOACTIVATE);
    return 0;
  }
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Box::Proc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(110));  // the program's icon (cmake/PaginorResources.cmake)
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kBoxClass;
  if (!RegisterClassExW(&wc)) return 1;
  Box box;
  const HWND hwnd = CreateWindowExW(kBoxExStyle, kBoxClass, kTitleNotRunning, kBoxStyle, 0, 0, 10,
                                    10, nullptr, nullptr, instance, &box);
  if (!hwnd) return 1;
  ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace
}  // namespace paginor::hooks

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  return paginor::hooks::Run(instance);
}
