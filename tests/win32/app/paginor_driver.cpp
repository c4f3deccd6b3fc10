// Drives paginor.exe from outside, the way a person and the other components reach it:
// by its window class, its controls and their texts, window messages and the files it
// leaves beside itself. Each run works in a fresh program folder with stand-in hook
// libraries that record their calls. Writes screenshots of every tab at the display
// scaling it is given and prints the start-up figures.
//
// paginor_driver <paginor.exe> <folder of stand-in DLLs> <output folder> [hook libraries]

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "app/win32/resource.h"
#include "fake_process.h"
#include "hooks/MouseHookCommon.h"
#include "hooks/floatCommon.h"
#include "hooks/keyHookCommon.h"
#include "png_writer.h"

namespace {

int failures = 0;

void Check(bool ok, const std::string& what) {
  if (!ok) ++failures;
  std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
  std::fflush(stdout);
}

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::string Gbk(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(936, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(936, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::string ReadBytes(const std::wstring& path) {
  const HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<missing>";
  std::string data;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(f, buffer, sizeof(buffer), &n, nullptr) && n > 0) data.append(buffer, n);
  CloseHandle(f);
  return data;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  const HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  CloseHandle(f);
}

std::wstring Text(HWND w) {
  wchar_t buffer[8192] = {};
  SendMessageTimeoutW(w, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
  return buffer;
}

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

struct Program {
  PROCESS_INFORMATION pi{};
  HWND window = nullptr;
  double readyMs = 0;
};

struct FindState {
  DWORD pid;
  const wchar_t* cls;
  HWND found;
};

BOOL CALLBACK FindTopLevel(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<FindState*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  if (pid == s->pid && std::wstring(cls) == s->cls && (std::wstring(cls) != L"#32770" || IsWindowVisible(w))) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

HWND WaitTopLevel(DWORD pid, const wchar_t* cls, int timeoutMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 20) {
    FindState s{pid, cls, nullptr};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&s));
    if (s.found) return s.found;
    Sleep(20);
  }
  return nullptr;
}

class Driver {
 public:
  Driver(std::wstring exe, std::wstring standIns, std::wstring out)
      : exe_(std::move(exe)), standIns_(std::move(standIns)), out_(std::move(out)) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    // Wine reuses process ids across runs: the tick count keeps folders apart. The blank
    // in the name is there to catch a program path that is not quoted.
    dir_ = std::wstring(temp) + L"paginor app-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount64()) + L"\\";
    CreateDirectoryW(dir_.c_str(), nullptr);
    CopyFileW(exe_.c_str(), (dir_ + L"paginor.exe").c_str(), FALSE);
    CopyFileW((standIns_ + L"\\hkboard.dll").c_str(), (dir_ + L"hkboard.dll").c_str(), FALSE);
    CopyFileW((standIns_ + L"\\hkpoint.dll").c_str(), (dir_ + L"hkpoint.dll").c_str(), FALSE);
  }

  // A folder of the program's own, as the package leaves it: kept as it is afterwards.
  explicit Driver(const std::wstring& folder) : dir_(folder + L"\\"), owned_(false) {}

  ~Driver() {
    if (!owned_) return;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((dir_ + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileW((dir_ + found.cFileName).c_str());
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(dir_.c_str());
  }

  const std::wstring& dir() const { return dir_; }
  void CopyStandIn(const wchar_t* name) {
    CopyFileW((standIns_ + L"\\" + name).c_str(), (dir_ + name).c_str(), FALSE);
  }

  Program Start(bool expectWindow = true) {
    Program p;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    std::wstring command = L"\"" + dir_ + L"paginor.exe\"";
    const auto begin = std::chrono::steady_clock::now();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, dir_.c_str(), &si, &p.pi)) {
      Check(false, "paginor.exe starts");
      return p;
    }
    if (!expectWindow) return p;
    p.window = WaitTopLevel(p.pi.dwProcessId, L"TKRVMessageForm", 20000);
    WaitForInputIdle(p.pi.hProcess, 20000);
    p.readyMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    return p;
  }

  // The box the program shows, its text, closed with OK.
  std::wstring TakeNotice(const Program& p, const std::wstring& caption) {
    const HWND box = WaitTopLevel(p.pi.dwProcessId, L"#32770", 10000);
    if (!box) return L"<no box>";
    const std::wstring text = Text(GetDlgItem(box, 0xFFFF));
    Check(Text(box) == caption, "the box's caption is " + Utf8(caption));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 250 && IsWindow(box); ++i) Sleep(20);
    return text;
  }

  bool Close(Program& p) {
    PostMessageW(p.window, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(p.pi.hProcess, 20000) == WAIT_OBJECT_0;
    CloseHandle(p.pi.hProcess);
    CloseHandle(p.pi.hThread);
    return ended;
  }

  static HWND Page(HWND window, int controlId) {
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (GetDlgItem(child, controlId)) return child;
    }
    return nullptr;
  }
  static HWND Ctl(HWND window, int id) { return GetDlgItem(Page(window, id), id); }
  static void Command(HWND window, int id, int code, bool post = false) {
    const HWND page = Page(window, id);
    const WPARAM w = MAKEWPARAM(id, code);
    const LPARAM l = reinterpret_cast<LPARAM>(GetDlgItem(page, id));
    if (post) {
      PostMessageW(page, WM_COMMAND, w, l);
    } else {
      SendMessageW(page, WM_COMMAND, w, l);
    }
  }
  static void SetText(HWND window, int id, const std::wstring& text) {
    SendMessageW(Ctl(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  static void SendMessageTo(HWND window, int id, UINT message) { SendMessageW(Ctl(window, id), message, 0, 0); }
  static bool Checked(HWND window, int id) { return SendMessageW(Ctl(window, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  static void SetCheck(HWND window, int id, bool on) {
    SendMessageW(Ctl(window, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  static int Selected(HWND window, int id) { return static_cast<int>(SendMessageW(Ctl(window, id), CB_GETCURSEL, 0, 0)); }
  static void Select(HWND window, int id, int index) {
    SendMessageW(Ctl(window, id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Command(window, id, CBN_SELCHANGE);
  }
  static HWND Tabs(HWND window) { return FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr); }

  void Screenshots(HWND window, const std::wstring& suffix) {
    const HWND tabs = Tabs(window);
    for (int i = 0; i < 7; ++i) {
      SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(i), 0);
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      Sleep(400);
      RECT r{};
      GetWindowRect(window, &r);
      const int w = r.right - r.left;
      const int h = r.bottom - r.top;
      const HDC screen = GetDC(nullptr);
      const HDC memory = CreateCompatibleDC(screen);
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof(info.bmiHeader);
      info.bmiHeader.biWidth = w;
      info.bmiHeader.biHeight = -h;
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      void* bits = nullptr;
      const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
      const HGDIOBJ old = SelectObject(memory, bitmap);
      BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
      GdiFlush();
      std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
      const auto* px = static_cast<const std::uint8_t*>(bits);
      int distinct = 0;
      for (std::size_t k = 0; k < static_cast<std::size_t>(w) * h; ++k) {
        rgb[k * 3] = px[k * 4 + 2];
        rgb[k * 3 + 1] = px[k * 4 + 1];
        rgb[k * 3 + 2] = px[k * 4];
        if (k > 0 && px[k * 4] != px[k * 4 - 4]) ++distinct;
      }
      SelectObject(memory, old);
      DeleteObject(bitmap);
      DeleteDC(memory);
      ReleaseDC(nullptr, screen);
      const std::wstring name = out_ + L"\\tab" + std::to_wstring(i + 1) + L"-" + suffix + L".png";
      Check(paginor::testing::WritePng(name, w, h, rgb) && distinct > 1000,
            "screenshot " + Utf8(name) + " holds a drawn window");
    }
  }

 private:
  std::wstring exe_;
  std::wstring standIns_;
  std::wstring out_;
  std::wstring dir_;
  bool owned_ = true;
};

const int kEdits[] = {IDC_EDIT1, IDC_EDIT2, IDC_EDIT3, IDC_EDIT4, IDC_EDIT5, IDC_EDIT6};
const int kGestures[] = {IDC_CB11, IDC_CB12, IDC_CB13, IDC_CB14, IDC_CB15, IDC_CB16};
const int kZones[] = {IDC_CB21, IDC_CB22, IDC_CB23, IDC_CB24, IDC_CB25, IDC_CB26};

void SetLogPixels(DWORD dpi) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
  RegCloseKey(key);
}

// Without a window manager on the virtual display, Wine draws the frames itself only
// when its windows are not managed; the screenshots then show the caption too.
void DrawOwnFrames() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  const wchar_t no[] = L"N";
  RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(no), sizeof(no));
  RegCloseKey(key);
}

void PrintMemory(const char* what, HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
  std::printf("figure: %s: working set %.1f MB, private %.1f MB\n", what,
              static_cast<double>(memory.WorkingSetSize) / (1024.0 * 1024.0),
              static_cast<double>(memory.PrivateUsage) / (1024.0 * 1024.0));
}

SIZE ClientSize(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  return {r.right, r.bottom};
}

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t* const kLetters[] = {L"b", L"n", L"f", L"l", L"w", L"k"};

std::string KeyboardSection() {
  return Gbk(L"[键盘]\r\n上页=b\r\n下页=n\r\n首页=f\r\n末页=l\r\n前进=w\r\n后退=k\r\n使用=1\r\n");
}

Program FirstStart(Driver& d, const std::wstring& dir) {
  // A first start with nothing beside the program.
  Program first = d.Start();
  Check(first.window != nullptr, "the main window of class TKRVMessageForm exists");
  if (!first.window) return first;
  Check(d.TakeNotice(first, L"提示") == L"没有找到所需的文件:" + dir + L"last.pgt", "a missing last.pgt is told once");
  WaitForInputIdle(first.pi.hProcess, 10000);
  const HWND w = first.window;
  Check(!IsWindowVisible(w), "the window starts hidden");
  Check(ReadBytes(dir + L"hook-calls.txt") == "HookMouse\nHookKey\n", "the mouse hook is bound before the keyboard hook");
  Check(Text(w) == L"Paginor5.3(2011-11-01)", "the caption is the product name and version");
  const SIZE client = ClientSize(w);
  Check(client.cx == 650 && client.cy == 449, "the client area is 650 x 449 at 100 %");
  Check(SendMessageW(Driver::Tabs(w), TCM_GETCURSEL, 0, 0) == 6, "the help tab is active");
  const wchar_t* defaults[] = {L"s", L"x", L"a", L"z", L"q", L"h"};
  const int gestureDefaults[] = {0, 1, 4, 4, 2, 3};
  const int zoneDefaults[] = {0, 2, 4, 4, 4, 1};
  bool allDefaults = true;
  for (int i = 0; i < 6; ++i) {
    allDefaults = allDefaults && Text(Driver::Ctl(w, kEdits[i])) == defaults[i] &&
                  Driver::Selected(w, kGestures[i]) == gestureDefaults[i] && Driver::Selected(w, kZones[i]) == zoneDefaults[i];
  }
  Check(allDefaults, "letters, gestures and zones are the defaults");
  Check(Driver::Checked(w, IDC_CHECKBOXKEY) && Driver::Checked(w, IDC_AUTOUPGRADE) && !Driver::Checked(w, IDC_LEFTCHK) &&
            !Driver::Checked(w, IDC_SMARTCHK) && Driver::Checked(w, IDC_RGPIE_0),
        "the options are the defaults");
  Check(!IsWindowEnabled(Driver::Ctl(w, IDC_KEYBTN1)) && !IsWindowEnabled(Driver::Ctl(w, IDC_MOUSEBTN1)) &&
            !IsWindowEnabled(Driver::Ctl(w, IDC_CBFRAME)),
        "Apply buttons and the frame list start disabled");
  bool choicesEnabled = true;
  for (int i = 0; i < 6; ++i) choicesEnabled = choicesEnabled && IsWindowEnabled(Driver::Ctl(w, IDC_RGPIE_0 + i));
  Check(choicesEnabled, "every browser choice can be picked");

  return first;
}

void SecondInstance(Driver& d, HWND w) {
  // A second start wakes the first and ends.
  Program second = d.Start();
  const bool ended = WaitForSingleObject(second.pi.hProcess, 20000) == WAIT_OBJECT_0;
  DWORD code = 99;
  GetExitCodeProcess(second.pi.hProcess, &code);
  CloseHandle(second.pi.hProcess);
  CloseHandle(second.pi.hThread);
  Check(ended && code == 0 && second.window == nullptr, "a second instance ends without a window of its own");
  Sleep(300);
  Check(IsWindowVisible(w) != FALSE, "the second instance shows the first");
  d.Screenshots(w, L"100");

}

void ApplyAndRefuse(Driver& d, const Program& first, const std::wstring& dir) {
  const HWND w = first.window;
  // Keyboard Apply.
  for (int i = 0; i < 6; ++i) Driver::SetText(w, kEdits[i], kLetters[i]);
  Check(IsWindowEnabled(Driver::Ctl(w, IDC_KEYBTN1)) && IsWindowEnabled(Driver::Ctl(w, IDC_KEYBTN2)),
        "editing a letter enables Apply and Cancel");
  Driver::Command(w, IDC_KEYBTN1, BN_CLICKED);
  const std::string keyboardSection = KeyboardSection();
  Check(ReadBytes(dir + L"tpnav.ini") == keyboardSection, "keyboard Apply writes section 键盘 in GBK");

  // A duplicate gesture is refused.
  Driver::Select(w, IDC_CB13, 0);
  Check(IsWindowEnabled(Driver::Ctl(w, IDC_MOUSEBTN1)) != FALSE, "changing a gesture enables Apply");
  Driver::Command(w, IDC_MOUSEBTN1, BN_CLICKED, true);
  Check(d.TakeNotice(first, L"提示") == L"鼠标手势配置有重复，请检查", "a duplicate gesture is refused with its message");
  Check(ReadBytes(dir + L"tpnav.ini") == keyboardSection, "the refused Apply writes nothing");
  Driver::Command(w, IDC_MOUSEBTN2, BN_CLICKED);
  Check(Driver::Selected(w, IDC_CB13) == 4 && !IsWindowEnabled(Driver::Ctl(w, IDC_MOUSEBTN1)),
        "mouse Cancel restores the gesture and disables the buttons");

}

void ExitWritesEverything(Driver& d, Program& first, const std::wstring& dir) {
  const HWND w = first.window;
  // Lists and options, then exit.
  Driver::SetText(w, IDC_DMEMO1, L"http://kb.example.com/\r\n#中文注释");
  Driver::SetText(w, IDC_DMEMO2, L"http://ms.example.com/论坛/");
  Driver::SetText(w, IDC_XYMEMO, L"#指令格式: 动作,x,y,网址模式\r\n下一页,100,200,http://s.example/*");
  for (int i = 0; i < 6; ++i) Driver::SetCheck(w, IDC_RGPIE_0 + i, i == 2);
  Driver::SetCheck(w, IDC_SMARTCHK, true);
  Check(d.Close(first), "closing the window ends the program");
  Check(ReadBytes(dir + L"hook-calls.txt") == "HookMouse\nHookKey\nUnHookKey\nUnHookMouse\n",
        "the hooks are removed keyboard first");
  Check(ReadBytes(dir + L"tpnav.ini") ==
            KeyboardSection() + Gbk(L"[浏览器]\r\n默认=2\r\n[config]\r\nautoupgrade=1\r\nleft=0\r\ndisable=0\r\nsmart=1\r\n"),
        "tpnav.ini holds the browser choice and the options in GBK");
  Check(ReadBytes(dir + L"disable1.txt") == Gbk(L"http://kb.example.com/\r\n#中文注释\r\n"), "disable1.txt is dmemo1 in GBK");
  Check(ReadBytes(dir + L"disable2.txt") == Gbk(L"http://ms.example.com/论坛/\r\n"), "disable2.txt is dmemo2 in GBK");
  Check(ReadBytes(dir + L"xy.txt") == Gbk(L"#指令格式: 动作,x,y,网址模式\r\n下一页,100,200,http://s.example/*\r\n"),
        "xy.txt is xyMemo in GBK");

}

std::wstring RunValue() {
  wchar_t data[1024] = {};
  DWORD bytes = sizeof(data);
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"tpnav", RRF_RT_REG_SZ, nullptr, data, &bytes) != ERROR_SUCCESS) {
    return L"<none>";
  }
  return data;
}

// The six registered messages, as the hook libraries and the floating box send them.
struct InputMessages {
  UINT key = RegisterWindowMessageW(paginor::hooks::kKeyHookMessage);
  UINT mouse1 = RegisterWindowMessageW(paginor::hooks::kMouseHookMessage1);
  UINT mouse3 = RegisterWindowMessageW(paginor::hooks::kMouseHookMessage3);
  UINT floatKey = RegisterWindowMessageW(paginor::hooks::kFloatMessageKey);
  UINT floatMouse = RegisterWindowMessageW(paginor::hooks::kFloatMessageMouse);
};

void SendInputMessage(HWND w, UINT message, WPARAM wParam, LPARAM lParam = 0) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(w, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &answer);
}

void ClearLog(HWND w) { Driver::Command(w, IDC_BUTTON1, BN_CLICKED); }

// The receipt lines of the log, the lines a command starts with.
std::vector<std::wstring> Receipts(HWND w) {
  std::vector<std::wstring> receipts;
  const std::wstring text = Text(Driver::Ctl(w, IDC_HISTORYMEMO));
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = text.substr(start, end - start);
    if (line.rfind(L"接收到指令: ", 0) == 0) receipts.push_back(line);
    start = end + 2;
  }
  return receipts;
}

std::string Joined(const std::vector<std::wstring>& lines) {
  std::string all;
  for (const std::wstring& line : lines) all += Utf8(line) + " | ";
  return all;
}

void SendStroke(HWND w, const InputMessages& m, int dx, int dy) {
  SendInputMessage(w, m.mouse1, paginor::hooks::kStrokeStart, MAKELPARAM(500, 400));
  for (int i = 1; i <= 10; ++i) {
    SendInputMessage(w, m.mouse1, paginor::hooks::kStrokeMove, MAKELPARAM(500 + i * dx, 400 + i * dy));
  }
  SendInputMessage(w, m.mouse1, paginor::hooks::kStrokeEnd, MAKELPARAM(500 + 10 * dx, 400 + 10 * dy));
}

// Letters, a page number, a stroke, a double-click zone and the floating box's key and
// gesture each become a command whose receipt line lands in the log. The letters are
// those applied earlier (b n f l w k); the browser choice finds no browser here.
void InputReachesTheLog(HWND w) {
  const InputMessages m;
  ClearLog(w);
  SendInputMessage(w, m.key, 'N');
  SendInputMessage(w, m.key, '1');
  SendInputMessage(w, m.key, '2');
  SendInputMessage(w, m.key, VK_RETURN);
  SendInputMessage(w, m.key, VK_RETURN);  // Enter alone: nothing
  SendStroke(w, m, -10, 0);
  SendInputMessage(w, m.mouse3, 1);
  SendInputMessage(w, m.floatMouse, 3);
  SendInputMessage(w, m.floatKey, 'F');
  const std::vector<std::wstring> expected = {L"接收到指令: 下一页", L"接收到指令: 定位到第12页",
                                              L"接收到指令: 上一页", L"接收到指令: 浏览器回退",
                                              L"接收到指令: 浏览器前进", L"接收到指令: 首页"};
  const std::vector<std::wstring> got = Receipts(w);
  Check(got == expected, "letter, page number, stroke, zone and floating box reach the log: " + Joined(got));
  Check(Text(Driver::Ctl(w, IDC_HISTORYMEMO)).find(L"没有发现目标浏览器:sogou") != std::wstring::npos,
        "each command looks for the chosen browser");

  // The capture key fills the position fields from the cursor.
  SetCursorPos(321, 123);
  SendInputMessage(w, m.key, 'R');
  Check(Text(Driver::Ctl(w, IDC_XEDIT)) == L"321" && Text(Driver::Ctl(w, IDC_YEDIT)) == L"123",
        "the capture key records the cursor position");

  // A posted key, as the hook library sends it, to its receipt line.
  std::vector<double> times;
  for (int i = 0; i < 20; ++i) {
    ClearLog(w);
    const HWND memo = Driver::Ctl(w, IDC_HISTORYMEMO);
    const auto begin = std::chrono::steady_clock::now();
    PostMessageW(w, m.key, 'N', 0);
    while (SendMessageW(memo, WM_GETTEXTLENGTH, 0, 0) == 0 &&
           std::chrono::steady_clock::now() - begin < std::chrono::seconds(5)) {
    }
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count());
  }
  std::sort(times.begin(), times.end());
  std::printf("figure: posted key message to its receipt line: median %.2f ms, slowest %.2f ms over %zu\n",
              times[times.size() / 2], times.back(), times.size());
}

bool KeyIsLogged(HWND w) {
  ClearLog(w);
  SendInputMessage(w, InputMessages().key, 'N');
  return !Receipts(w).empty();
}

void TrayClick(HWND w, bool twice) {
  SendMessageW(w, WM_PAGINOR_TRAY, 1, WM_LBUTTONUP);
  if (twice) {
    SendMessageW(w, WM_PAGINOR_TRAY, 1, WM_LBUTTONDBLCLK);
    SendMessageW(w, WM_PAGINOR_TRAY, 1, WM_LBUTTONUP);
  }
  // A single click counts only once the double-click time has passed.
  Sleep(static_cast<int>(GetDoubleClickTime()) + 400);
}

// The temporary disable from the menu and from a left click with leftChk; a double
// click does neither; without leftChk a click shows or hides the window.
void TrayAndDisable(HWND w) {
  SendMessageW(w, WM_COMMAND, IDM_N1, 0);
  Check(!KeyIsLogged(w), "临时禁用翻页 stops the commands");
  SetCursorPos(5, 5);
  SendInputMessage(w, InputMessages().key, 'R');
  Check(Text(Driver::Ctl(w, IDC_XEDIT)) != L"5", "and the capture key");
  Driver::SetCheck(w, IDC_LEFTCHK, true);
  const bool visible = IsWindowVisible(w) != FALSE;
  TrayClick(w, false);
  Check(KeyIsLogged(w) && (IsWindowVisible(w) != FALSE) == visible,
        "with leftChk a left click switches paging back on and leaves the window");
  TrayClick(w, true);
  Check(KeyIsLogged(w) && (IsWindowVisible(w) != FALSE) == visible, "a double click on the icon does nothing");
  Driver::SetCheck(w, IDC_LEFTCHK, false);
  TrayClick(w, false);
  Check((IsWindowVisible(w) != FALSE) != visible && KeyIsLogged(w), "without leftChk a left click toggles the window");
  TrayClick(w, false);
  Check((IsWindowVisible(w) != FALSE) == visible, "and the next one toggles it back");
  SendMessageW(w, WM_COMMAND, IDM_N4, 0);
  Check((IsWindowVisible(w) != FALSE) != visible, "显示/隐藏主界面 toggles the window");
  SendMessageW(w, WM_COMMAND, IDM_N4, 0);
  SendMessageW(w, WM_COMMAND, IDM_N1, 0);  // left on for the restart
}

// The disable survives a restart; exit from the tray menu saves everything.
void DisabledAfterRestart(Driver& d, const std::wstring& dir) {
  Check(ReadBytes(dir + L"tpnav.ini").find(Gbk(L"disable=1")) != std::string::npos, "the disable is written at exit");
  Program p = d.Start();
  if (!p.window) {
    Check(false, "the program starts disabled");
    return;
  }
  Check(!KeyIsLogged(p.window), "after a restart paging is still disabled");
  SendMessageW(p.window, WM_COMMAND, IDM_N1, 0);
  Check(KeyIsLogged(p.window), "临时禁用翻页 switches it on again");
  Driver::SetText(p.window, IDC_DMEMO2, L"http://menu-exit.example/");
  PostMessageW(p.window, WM_COMMAND, IDM_N2, 0);
  const bool ended = WaitForSingleObject(p.pi.hProcess, 20000) == WAIT_OBJECT_0;
  CloseHandle(p.pi.hProcess);
  CloseHandle(p.pi.hThread);
  Check(ended, "退出程序 ends the program");
  Check(ReadBytes(dir + L"tpnav.ini").find(Gbk(L"disable=0")) != std::string::npos &&
            ReadBytes(dir + L"disable2.txt") == "http://menu-exit.example/\r\n",
        "退出程序 writes tpnav.ini and the lists");
}

std::wstring Today() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  wchar_t text[16];
  swprintf(text, 16, L"%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
  return text;
}

bool WaitForFile(const std::wstring& path, int timeoutMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 100) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    Sleep(100);
  }
  return false;
}

// The update check 3 s after a showing starts renewer.exe by its full path, with the
// window's handle and the shared file's name, and hides the window to the tray; a
// "lastupdate" of today starts nothing. The quoted Run value ticks chkauto.
void UpdateCheck(Driver& d, const std::wstring& dir) {
  d.CopyStandIn(L"renewer.exe");
  DeleteFileW((dir + L"renewer_tpnav.ini").c_str());
  const std::wstring calls = dir + L"renewer-calls.txt";
  DeleteFileW(calls.c_str());
  const std::wstring quoted = L"\"" + dir + L"paginor.exe\"";
  RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"tpnav", REG_SZ, quoted.c_str(),
                  static_cast<DWORD>((quoted.size() + 1) * sizeof(wchar_t)));
  Program p = d.Start();
  const HWND w = p.window;
  if (!w) {
    Check(false, "the program starts for the update check");
    return;
  }
  Check(Driver::Checked(w, IDC_CHKAUTO), "a quoted Run value of this program ticks chkauto");
  Driver::SendMessageTo(w, IDC_CHKAUTO, BM_CLICK);
  Check(RunValue() == L"<none>", "and unticking removes it");
  Sleep(3500);
  Check(GetFileAttributesW(calls.c_str()) == INVALID_FILE_ATTRIBUTES, "no update check before the window is shown");

  ShowWindow(w, SW_SHOWNORMAL);
  const bool started = WaitForFile(calls, 10000);
  Sleep(300);
  wchar_t handle[32];
  swprintf(handle, 32, L"%llu", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(w)));
  const std::string expected = Utf8(L"\"" + dir + L"renewer.exe\" " + handle + L" renewer_tpnav.ini\n");
  Check(started && ReadBytes(calls) == expected, "the first showing starts renewer.exe: " + ReadBytes(calls));
  Check(!IsWindowVisible(w), "and the window goes to the tray");

  WriteBytes(dir + L"renewer_tpnav.ini", "[config]\r\nlastupdate=" + Utf8(Today()) + "\r\n");
  DeleteFileW(calls.c_str());
  ShowWindow(w, SW_SHOWNORMAL);
  Sleep(4500);
  Check(GetFileAttributesW(calls.c_str()) == INVALID_FILE_ATTRIBUTES, "a lastupdate of today starts nothing");
  Driver::Command(w, IDC_UPDATEBTN, BN_CLICKED);
  Check(WaitForFile(calls, 10000), "立即升级 starts it whatever the date");

  // "使用悬浮框": a missing floating box is named; one that is there starts by its path.
  Driver::Command(w, IDC_FLOATLINK1, STN_CLICKED, true);
  Check(d.TakeNotice(p, L"提示") == L"没有发现" + dir + L"hoverpad.exe", "a missing hoverpad.exe is named");
  CopyFileW((dir + L"renewer.exe").c_str(), (dir + L"hoverpad.exe").c_str(), FALSE);
  Sleep(500);
  DeleteFileW(calls.c_str());
  Driver::Command(w, IDC_FLOATLINK2, STN_CLICKED);
  const bool floated = WaitForFile(calls, 10000);
  Sleep(300);
  const std::string floatCall = ReadBytes(calls);
  Check(floated && floatCall == Utf8(L"\"" + dir + L"hoverpad.exe\"\n"),
        "使用悬浮框 starts hoverpad.exe without arguments: " + floatCall);
  DeleteFileW((dir + L"hoverpad.exe").c_str());

  const std::wstring report = dir + L"paginor-report.txt";
  DeleteFileW(report.c_str());
  Driver::Command(w, IDC_REPORTBTN, BN_CLICKED);
  Check(WaitForFile(report, 40000) && ReadBytes(report).find("Paginor diagnostic report") != std::string::npos,
        "诊断报告 writes paginor-report.txt beside the program");
  PostMessageW(w, WM_COMMAND, IDM_N2, 0);
  WaitForSingleObject(p.pi.hProcess, 20000);
  CloseHandle(p.pi.hProcess);
  CloseHandle(p.pi.hThread);
  DeleteFileW((dir + L"renewer.exe").c_str());
}

// How long the test browser's log takes to show a line after `from`, or -1.
double MsUntilLine(const paginor::test::FakeBrowserProcess& fake, const std::string& line, std::size_t from,
                   std::chrono::steady_clock::time_point begin) {
  if (!fake.WaitForLine(line, from, 30000)) return -1;
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
}

// With the test browser showing a page of 1,000 links whose last is "下一页", a letter,
// a stroke to the right and a double click in the lower right zone each find the
// browser, its document and the link, and click it.
void EndToEnd(Driver& d) {
  paginor::test::FakeBrowserProcess fake(
      {L"--synthetic", L"1000", L"--window", L"IEFrame/TabWindowClass/Shell DocObject View/Internet Explorer_Server@0"});
  Check(fake.ready(), "the test browser starts");
  if (!fake.ready()) return;
  Program p = d.Start();
  const HWND w = p.window;
  if (!w) {
    Check(false, "the program starts beside the test browser");
    return;
  }
  for (int i = 0; i < 6; ++i) Driver::SetCheck(w, IDC_RGPIE_0 + i, i == 0);
  const InputMessages m;
  const std::string click = "link 999 click";

  std::vector<double> times;
  // Each command walks the 1,000 links across processes: seconds under Wine, so two.
  for (int i = 0; i < 2; ++i) {
    const std::size_t from = fake.Lines().size();
    const auto begin = std::chrono::steady_clock::now();
    PostMessageW(w, m.key, 'N', 0);
    times.push_back(MsUntilLine(fake, click, from, begin));
  }
  Check(times.front() >= 0, "a letter clicks the next-page link of the test browser");
  std::sort(times.begin(), times.end());
  std::printf("figure: posted key to the click, 1,000 links: median %.0f ms, slowest %.0f ms over %zu\n",
              times[times.size() / 2], times.back(), times.size());

  std::size_t from = fake.Lines().size();
  SendStroke(w, m, 10, 0);
  Check(fake.WaitForLine(click, from, 30000), "a stroke to the right clicks it");
  from = fake.Lines().size();
  SendInputMessage(w, m.mouse3, 2);
  Check(fake.WaitForLine(click, from, 30000), "a double click in the lower right zone clicks it");
  const std::wstring log = Text(Driver::Ctl(w, IDC_HISTORYMEMO));
  Check(log.find(L"接收到指令: 下一页") != std::wstring::npos && log.find(L"没有发现目标浏览器") == std::wstring::npos,
        "the log shows the commands and no missing browser");

  // "测试当前页" tells what "next" (the 下页 set is shown) would do, and does nothing.
  for (int i = 0; i < 5; ++i) Driver::SetCheck(w, IDC_RADIOGROUP1_0 + i, i == 1);
  std::size_t before = fake.Lines().size();
  Driver::Command(w, IDC_EXPLAINBTN, BN_CLICKED, true);
  const HWND dialog = WaitTopLevel(p.pi.dwProcessId, L"#32770", 60000);
  const std::wstring explanation = dialog ? Text(GetDlgItem(dialog, IDC_EXPLAINTEXT)) : L"";
  Check(explanation.find(L"click link 999: http://bench.example/next.html") != std::wstring::npos,
        "测试当前页 shows the link the command would click");
  const std::vector<std::string> during = fake.LinesFrom(before);
  Check(std::find(during.begin(), during.end(), click) == during.end(), "测试当前页 clicks nothing");
  if (dialog) PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  Sleep(500);

  // Switched off, nothing reaches the browser.
  SendMessageW(w, WM_COMMAND, IDM_N1, 0);
  from = fake.Lines().size();
  SendInputMessage(w, m.key, 'N');
  SendInputMessage(w, m.mouse3, 2);
  Sleep(1500);
  Check(fake.LinesFrom(from).empty(), "临时禁用翻页 stops every call into the browser");
  SendMessageW(w, WM_COMMAND, IDM_N1, 0);
  d.Close(p);
}

HWND FindChain(const std::vector<const wchar_t*>& classes) {
  HWND w = FindWindowW(classes.front(), nullptr);
  for (std::size_t i = 1; w && i < classes.size(); ++i) w = FindWindowExW(w, nullptr, classes[i], nullptr);
  return w;
}

// The test browser's page gets the keyboard focus, as a reader's click would give it.
bool FocusPage(HWND page) {
  const HWND top = GetAncestor(page, GA_ROOT);
  SetForegroundWindow(top);
  const DWORD pageThread = GetWindowThreadProcessId(page, nullptr);
  const DWORD self = GetCurrentThreadId();
  AttachThreadInput(self, pageThread, TRUE);
  SetFocus(page);
  AttachThreadInput(self, pageThread, FALSE);
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(0, &info) && info.hwndFocus == page;
}

void TypeKey(WORD vk) {
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = vk;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

void MouseAt(POINT p, DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(INPUT));
}

// A right-button stroke to the right, at a hand's pace.
void RightStroke(POINT from) {
  MouseAt(from, 0);
  Sleep(50);
  MouseAt(from, MOUSEEVENTF_RIGHTDOWN);
  for (int i = 1; i <= 20; ++i) {
    Sleep(15);
    MouseAt({from.x + i * 10, from.y}, 0);
  }
  MouseAt({from.x + 200, from.y}, MOUSEEVENTF_RIGHTUP);
}

void DoubleClick(POINT at) {
  MouseAt(at, 0);
  Sleep(50);
  for (int i = 0; i < 2; ++i) {
    MouseAt(at, MOUSEEVENTF_LEFTDOWN);
    MouseAt(at, MOUSEEVENTF_LEFTUP);
    Sleep(60);
  }
}

// With the real hook libraries: a key typed over the test browser's page goes through
// the keyboard hook, the dispatch, discovery, the document and the link search to the
// click.
void ThroughTheHooks(const std::wstring& exe, const std::wstring& hooksDir, const std::wstring& out) {
  if (GetFileAttributesW((hooksDir + L"\\hkboard.dll").c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::printf("skipped: no hook libraries in %s\n", Utf8(hooksDir).c_str());
    return;
  }
  Driver real(exe, hooksDir, out);
  WriteBytes(real.dir() + L"last.pgt", "");
  paginor::test::FakeBrowserProcess fake(
      {L"--synthetic", L"1000", L"--window", L"IEFrame/TabWindowClass/Shell DocObject View/Internet Explorer_Server@0"});
  Program p = real.Start();
  if (!fake.ready() || !p.window) {
    Check(false, "the test browser and the program start with the real hooks");
    return;
  }
  Sleep(500);
  const HWND page = FindChain({L"IEFrame", L"TabWindowClass", L"Shell DocObject View", L"Internet Explorer_Server"});
  Check(page && FocusPage(page), "the test browser's page has the focus");
  const std::string click = "link 999 click";
  std::vector<double> times;
  for (int i = 0; i < 2; ++i) {
    const std::size_t from = fake.Lines().size();
    const auto begin = std::chrono::steady_clock::now();
    TypeKey('X');
    times.push_back(MsUntilLine(fake, click, from, begin));
  }
  Check(times.front() >= 0 && times.back() >= 0, "a key typed over the page turns it, through the keyboard hook");
  std::sort(times.begin(), times.end());
  std::printf("figure: injected key over the test browser to the click, 1,000 links: median %.0f ms, slowest %.0f ms\n",
              times[times.size() / 2], times.back());

  // A right-button stroke and a double click in the lower right of the page, through
  // the mouse hook.
  RECT r{};
  GetWindowRect(page, &r);
  std::size_t from = fake.Lines().size();
  RightStroke({r.left + (r.right - r.left) / 4, (r.top + r.bottom) / 2});
  Check(fake.WaitForLine(click, from, 30000), "a right-button stroke over the page turns it");
  from = fake.Lines().size();
  DoubleClick({r.right - 20, r.bottom - 20});
  Check(fake.WaitForLine(click, from, 30000), "a double click in the lower right of the page turns it");

  SendMessageW(p.window, WM_COMMAND, IDM_N1, 0);
  from = fake.Lines().size();
  TypeKey('X');
  Sleep(1500);
  Check(fake.LinesFrom(from).empty(), "nothing reaches the browser while paging is disabled");
  real.Close(p);
}

// With the real hook libraries: a focused <select> or editable region shows no caret, so
// the page's active element alone keeps a key typed into it from turning the page.
void IeFieldsThroughTheHooks(const std::wstring& exe, const std::wstring& hooksDir, const std::wstring& out) {
  Driver real(exe, hooksDir, out);
  WriteBytes(real.dir() + L"last.pgt", "");
  Program p = real.Start();
  for (const wchar_t* active : {L"SELECT", L"DIV::editable"}) {
    paginor::test::FakeBrowserProcess fake({L"--synthetic", L"20", L"--active", active, L"--window",
                                            L"IEFrame/TabWindowClass/Shell DocObject View/Internet Explorer_Server@0"});
    const HWND page = FindChain({L"IEFrame", L"TabWindowClass", L"Shell DocObject View", L"Internet Explorer_Server"});
    Check(fake.ready() && p.window && page && FocusPage(page), "the test browser's page has the focus");
    TypeKey('X');
    Check(fake.WaitForLine("document GetIDsOfNames activeElement", 0, 15000) && !fake.WaitForLine("link 19 click", 0, 3000),
          Utf8(active) + ": a key typed into a field without a caret is asked about and typed, not a command");
  }
  real.Close(p);
}

// With Chrome/Edge/Firefox chosen and the real hook libraries: a key typed into the
// stand-in modern browser turns its page while its focus is on the page, and is only
// typed while a search box of the page has the focus; with an IE kind chosen its window
// is no page.
void ModernThroughTheHooks(const std::wstring& exe, const std::wstring& hooksDir, const std::wstring& out) {
  if (GetFileAttributesW((hooksDir + L"\\hkboard.dll").c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::printf("skipped: no hook libraries in %s\n", Utf8(hooksDir).c_str());
    return;
  }
  Driver real(exe, hooksDir, out);
  WriteBytes(real.dir() + L"last.pgt", "");
  WriteBytes(real.dir() + L"tpnav.ini", Gbk(L"[浏览器]\r\n默认=6\r\n"));
  paginor::test::FakeBrowserProcess fake({L"--synthetic", L"200"}, L"chrome.exe", PAGINOR_FAKE_MODERN);
  Program p = real.Start();
  if (!fake.ready() || !p.window) {
    Check(false, "the stand-in modern browser and the program start with the real hooks");
    return;
  }
  Sleep(500);
  const HWND browser = FindWindowW(L"Chrome_WidgetWin_1", nullptr);
  Check(browser && FocusPage(browser), "the stand-in modern browser has the focus");
  const std::string click = "acc action link 199 下一页";
  // A key that is no command still reaches the browser; a command would start with a
  // discovery that asks for the window's tree, at once after the focus check's own ask.
  const auto onlyTyped = [&fake](WORD vk, int focusChecks, const std::string& what) {
    const std::size_t from = fake.Lines().size();
    TypeKey(vk);
    const bool typed = fake.WaitForLine(std::string("typed ") + static_cast<char>(vk), from, 10000);
    Sleep(3000);
    const std::vector<std::string> lines = fake.LinesFrom(from);
    const auto asks = std::count(lines.begin(), lines.end(), std::string("WM_GETOBJECT"));
    const auto checks = std::count(lines.begin(), lines.end(), std::string("acc focus client"));
    Check(typed && asks == focusChecks && checks == focusChecks, what);
  };

  std::size_t from = fake.Lines().size();
  auto begin = std::chrono::steady_clock::now();
  TypeKey('X');
  const double ms = MsUntilLine(fake, click, from, begin);
  Check(ms >= 0, "a key typed on the modern browser's page turns it, through the hook and the focus check");
  std::printf("figure: injected key over the stand-in modern browser to the click, 200 links: %.0f ms\n", ms);

  from = fake.Lines().size();
  TypeKey(VK_F2);
  Check(fake.WaitForLine("focus search box", from, 10000), "the stand-in's search box takes the focus");
  onlyTyped('X', 1, "a key typed into a search box of the page is no command");

  from = fake.Lines().size();
  TypeKey(VK_F2);
  Check(fake.WaitForLine("focus page", from, 10000), "the focus is back on the page");
  from = fake.Lines().size();
  TypeKey('X');
  Check(fake.WaitForLine(click, from, 30000), "back on the page, a key turns it again");

  // An IE kind chosen on 一般选项: the hooks are told, and the window is no page.
  for (int i = 0; i < 7; ++i) Driver::SetCheck(p.window, IDC_RGPIE_0 + i, i == 0);
  Driver::Command(p.window, IDC_RGPIE_0, BN_CLICKED);
  onlyTyped('X', 0, "with IE chosen a key in the modern browser is no command, nor asked about");
  for (int i = 0; i < 7; ++i) Driver::SetCheck(p.window, IDC_RGPIE_0 + i, i == 6);
  Driver::Command(p.window, IDC_RGPIE_6, BN_CLICKED);
  from = fake.Lines().size();
  TypeKey('X');
  Check(fake.WaitForLine(click, from, 30000), "Chrome/Edge/Firefox chosen again, a key turns the page");
  real.Close(p);
}

Program Restart(Driver& d, const std::wstring& dir) {
  // Autostart shows as on only for this very program file.
  RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"tpnav", REG_SZ, (dir + L"paginor.exe").c_str(),
                  static_cast<DWORD>((dir.size() + 12) * sizeof(wchar_t)));
  // A restart shows everything again; with last.pgt present no box holds it up.
  WriteBytes(dir + L"last.pgt", Gbk(L"**下页配置**\r\n下一章\r\n**某页配置**\r\n[网址=http://s.example/p*.html]\r\n"));
  Program again = d.Start();
  const HWND w = again.window;
  Check(w != nullptr, "the program starts again");
  if (!w) return again;
  bool lettersKept = true;
  for (int i = 0; i < 6; ++i) lettersKept = lettersKept && Text(Driver::Ctl(w, kEdits[i])) == kLetters[i];
  Check(lettersKept, "all six letters survive the restart");
  Check(Text(Driver::Ctl(w, IDC_DMEMO1)) == L"http://kb.example.com/\r\n#中文注释" &&
            Text(Driver::Ctl(w, IDC_DMEMO2)) == L"http://ms.example.com/论坛/",
        "each disable list is back in its memo");
  Check(Driver::Checked(w, IDC_RGPIE_0 + 2) && Driver::Checked(w, IDC_SMARTCHK), "the browser choice and smart option are back");
  Check(Text(Driver::Ctl(w, IDC_CFGMEMO1 + 1)) == L"下一章", "last.pgt fills the definition editor");
  Check(Driver::Checked(w, IDC_CHKAUTO), "the Run value of this program ticks 开机后自动运行");
  Driver::SendMessageTo(w, IDC_CHKAUTO, BM_CLICK);
  Check(RunValue() == L"<none>", "unticking removes the Run value");
  Driver::SendMessageTo(w, IDC_CHKAUTO, BM_CLICK);
  Check(RunValue() == L"\"" + dir + L"paginor.exe\"", "ticking writes the program's path, quoted");
  Driver::SendMessageTo(w, IDC_CHKAUTO, BM_CLICK);

  return again;
}

void EditorsAndButtons(HWND w, const std::wstring& dir) {
  // The definition editor: one memo per set, 应用 writes last.pgt, 取消 reads it again.
  Driver::SendMessageTo(w, IDC_RADIOGROUP1_0 + 1, BM_CLICK);
  // The window itself is hidden, so each memo's own visibility style tells.
  auto shown = [&](int id) { return (GetWindowLongPtrW(Driver::Ctl(w, id), GWL_STYLE) & WS_VISIBLE) != 0; };
  Check(shown(IDC_CFGMEMO1 + 1) && !shown(IDC_CFGMEMO1),
        "choosing 下页 shows its memo alone");
  Driver::SetText(w, IDC_CFGMEMO1, L"上一章\r\n*上一页*");
  Driver::Command(w, IDC_BUTTON41, BN_CLICKED);
  Check(ReadBytes(dir + L"last.pgt") == Gbk(L"**上页配置**\r\n上一章\r\n*上一页*\r\n**下页配置**\r\n下一章\r\n**首页配置**\r\n"
                                            L"**末页配置**\r\n**某页配置**\r\n[网址=http://s.example/p*.html]\r\n"),
        "应用 writes all five sets to last.pgt in GBK");
  Driver::SetText(w, IDC_CFGMEMO1, L"未应用");
  Driver::Command(w, IDC_BUTTON42, BN_CLICKED);
  Check(Text(Driver::Ctl(w, IDC_CFGMEMO1)) == L"上一章\r\n*上一页*", "取消 shows last.pgt again");

  // The fixed-position generator appends a line.
  Driver::SetText(w, IDC_XEDIT, L"120");
  Driver::SetText(w, IDC_YEDIT, L"45");
  Driver::SetText(w, IDC_XYEDIT3, L"http://s.example/*");
  Driver::Command(w, IDC_BUTTON3, BN_CLICKED);
  const std::wstring xy = Text(Driver::Ctl(w, IDC_XYMEMO));
  const std::wstring line = L"\r\n下一页,120,45,http://s.example/*";
  Check(xy.size() > line.size() && xy.substr(xy.size() - line.size()) == line,
        "生成翻页指令 appends the line to the list");

  // The log: 复制 puts its text on the clipboard, 清空 empties it.
  Driver::SetText(w, IDC_HISTORYMEMO, L"接收到指令: 下一页\r\n    执行指令:下一页");
  Driver::Command(w, IDC_BUTTON2, BN_CLICKED);
  std::wstring clip;
  if (OpenClipboard(nullptr)) {
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      clip = static_cast<const wchar_t*>(GlobalLock(data));
      GlobalUnlock(data);
    }
    CloseClipboard();
  }
  Check(clip == L"接收到指令: 下一页\r\n    执行指令:下一页", "复制 copies the whole log");
  Driver::Command(w, IDC_BUTTON1, BN_CLICKED);
  Check(Text(Driver::Ctl(w, IDC_HISTORYMEMO)).empty(), "清空 empties the log");

  // Without a browser the frames list stays empty and disabled.
  Driver::SendMessageTo(w, IDC_CHKFRAME, BM_CLICK);
  Check(Driver::Checked(w, IDC_CHKFRAME) && !IsWindowEnabled(Driver::Ctl(w, IDC_CBFRAME)) &&
            SendMessageW(Driver::Ctl(w, IDC_CBFRAME), CB_GETCOUNT, 0, 0) == 0,
        "ticking 网页含有框架 without a browser leaves the list empty");

}

void SessionEndSaves(HWND w, const std::wstring& dir) {
  Driver::SetText(w, IDC_DMEMO1, L"http://end.example/");
  SendMessageW(w, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
  SendMessageW(w, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  Check(ReadBytes(dir + L"disable1.txt") == "http://end.example/\r\n", "the end of a session saves the lists");
}

void Figures(Driver& d, Program& again) {
  Sleep(1000);
  PrintMemory("paginor.exe, idle", again.pi.hProcess);
  PrintMemory("this driver, for comparison", GetCurrentProcess());
  Check(d.Close(again), "the second run ends");

  // Start-up time: a few more starts, each to the window being ready and hidden.
  std::vector<double> times;
  for (int i = 0; i < 5; ++i) {
    Program p = d.Start();
    if (!p.window) break;
    times.push_back(p.readyMs);
    d.Close(p);
  }
  std::sort(times.begin(), times.end());
  if (!times.empty()) {
    std::printf("figure: start to window ready (hidden): median %.0f ms, fastest %.0f ms, slowest %.0f ms over %zu starts\n",
                times[times.size() / 2], times.front(), times.back(), times.size());
  }

}

void Scaled(Driver& d, const std::wstring& dir) {
  // The same window at 150 % scaling.
  SetLogPixels(144);
  Program scaled = d.Start();
  if (scaled.window) {
    const SIZE big = ClientSize(scaled.window);
    Check(big.cx == 975 && big.cy == 674, "the client area grows with the scaling: " + std::to_string(big.cx) + " x " +
                                             std::to_string(big.cy));
    ShowWindow(scaled.window, SW_SHOWNORMAL);
    d.Screenshots(scaled.window, L"150");
    // A list that cannot be written is named at exit, and the exit goes on.
    DeleteFileW((dir + L"disable2.txt").c_str());
    CreateDirectoryW((dir + L"disable2.txt").c_str(), nullptr);
    PostMessageW(scaled.window, WM_CLOSE, 0, 0);
    const std::wstring notice = d.TakeNotice(scaled, L"提示");
    Check(notice.find(dir + L"disable2.txt") != std::wstring::npos && notice.find(L"xy.txt") == std::wstring::npos,
          "a failed save at exit names the file: " + Utf8(notice));
    Check(d.Close(scaled), "the scaled run ends");
    RemoveDirectoryW((dir + L"disable2.txt").c_str());
  } else {
    Check(false, "the program starts at 150 %");
  }
  SetLogPixels(96);

}

void MissingHookLibrary(Driver& d, const std::wstring& dir) {
  // Without its hook libraries beside it the program says which one is missing and ends.
  DeleteFileW((dir + L"hkboard.dll").c_str());
  Program bare = d.Start(false);
  Check(d.TakeNotice(bare, L"提示") == L"没有发现" + dir + L"hkboard.dll", "a missing hook library is named");
  DWORD bareCode = 0;
  const bool bareEnded = WaitForSingleObject(bare.pi.hProcess, 20000) == WAIT_OBJECT_0;
  GetExitCodeProcess(bare.pi.hProcess, &bareCode);
  Check(bareEnded && bareCode != 0, "and the program ends without a window");
  CloseHandle(bare.pi.hProcess);
  CloseHandle(bare.pi.hThread);

}

// Windows finds the program's icon in the file at the size asked, as Explorer asks it.
bool CarriesIcon(const std::wstring& file, int size) {
  const HMODULE module = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return false;
  const auto icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_PAGINOR), IMAGE_ICON, size, size, 0));
  ICONINFO info{};
  BITMAP bitmap{};
  const bool drawn = icon && GetIconInfo(icon, &info) && GetObjectW(info.hbmColor, sizeof bitmap, &bitmap) &&
                     bitmap.bmWidth == size && bitmap.bmBitsPixel == 32;
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  if (icon) DestroyIcon(icon);
  FreeLibrary(module);
  return drawn;
}

// The package as a person gets it, unzipped: the first start reaches the tray without a
// box and with the starter rules, a changed letter is applied, the tray menu's exit saves,
// and the next start reads it all back.
int PackageRun(const std::wstring& folder) {
  Driver d(folder);
  const std::wstring dir = d.dir();
  const std::string starter = ReadBytes(dir + L"last.pgt");
  Program p = d.Start();
  if (!p.window) return std::printf("paginor.exe shows no main window\n"), 1;
  CloseHandle(p.pi.hThread);
  Check(WaitTopLevel(p.pi.dwProcessId, L"#32770", 3000) == nullptr, "a first start shows no box");
  Check(!IsWindowVisible(p.window), "it starts in the tray");
  Check(CarriesIcon(dir + L"paginor.exe", 16) && CarriesIcon(dir + L"paginor.exe", 256) &&
            CarriesIcon(dir + L"hoverpad.exe", 32),
        "paginor.exe and hoverpad.exe carry the icon from 16 to 256 pixels");
  TrayClick(p.window, false);
  Check(IsWindowVisible(p.window) != FALSE, "a click on the tray icon shows the window");
  Check(Text(Driver::Ctl(p.window, IDC_CFGMEMO1 + 1)).find(L"下一章") != std::wstring::npos, "the starter rules are loaded");
  Driver::SetText(p.window, IDC_EDIT2, L"n");
  Driver::Command(p.window, IDC_KEYBTN1, BN_CLICKED);
  PostMessageW(p.window, WM_COMMAND, IDM_N2, 0);
  Check(WaitForSingleObject(p.pi.hProcess, 20000) == WAIT_OBJECT_0, "退出程序 ends the program");
  Check(ReadBytes(dir + L"tpnav.ini").find(Gbk(L"[键盘]\r\n上页=s\r\n下页=n\r\n")) == 0, "tpnav.ini holds the applied letter in GBK");
  Check(!ReadBytes(dir + L"disable1.txt").empty() && !ReadBytes(dir + L"xy.txt").empty(), "the lists are written beside it");
  Check(ReadBytes(dir + L"last.pgt") == starter, "the starter rules are left as they were");
  Program again = d.Start();
  Check(again.window && Text(Driver::Ctl(again.window, IDC_EDIT2)) == L"n", "the next start reads the letter back");
  if (again.window) Check(d.Close(again), "and ends");
  std::printf("%d failed\n", failures);
  return failures == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wstring(argv[1]) == L"--package") return PackageRun(argv[2]);
  if (argc == 5 && std::wstring(argv[1]) == L"--through-hooks") {  // only the cases typed through the hooks
    ThroughTheHooks(argv[2], argv[3], argv[4]);
    ModernThroughTheHooks(argv[2], argv[3], argv[4]);
    std::printf("%d failed\n", failures);
    return failures == 0 ? 0 : 1;
  }
  if (argc < 4) {
    std::printf("usage: paginor_driver <paginor.exe> <stand-in folder> <output folder> [hook library folder]\n");
    return 2;
  }
  Driver d(argv[1], argv[2], argv[3]);
  const std::wstring dir = d.dir();
  CreateDirectoryW(argv[3], nullptr);
  SetLogPixels(96);
  DrawOwnFrames();

  Program first = FirstStart(d, dir);
  if (!first.window) return 1;
  SecondInstance(d, first.window);
  ApplyAndRefuse(d, first, dir);
  ExitWritesEverything(d, first, dir);
  Program again = Restart(d, dir);
  if (!again.window) return 1;
  EditorsAndButtons(again.window, dir);
  SessionEndSaves(again.window, dir);
  InputReachesTheLog(again.window);
  TrayAndDisable(again.window);
  Figures(d, again);
  DisabledAfterRestart(d, dir);
  UpdateCheck(d, dir);
  EndToEnd(d);
  if (argc > 4) ThroughTheHooks(argv[1], argv[4], argv[3]);
  if (argc > 4 && GetFileAttributesW((std::wstring(argv[4]) + L"\\hkboard.dll").c_str()) != INVALID_FILE_ATTRIBUTES) {
    IeFieldsThroughTheHooks(argv[1], argv[4], argv[3]);
  }
  if (argc > 4) ModernThroughTheHooks(argv[1], argv[4], argv[3]);
  Scaled(d, dir);
  MissingHookLibrary(d, dir);

  std::printf("%d failed\n", failures);
  return failures == 0 ? 0 : 1;
}
