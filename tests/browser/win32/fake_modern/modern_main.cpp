// A test stand-in for Chromium and Firefox: a top-level window of their class whose
// client area answers WM_GETOBJECT with the accessibility tree of a link table, and
// that acts on the keys a person presses in a browser.
//
// fake_modern --log FILE --class CLASS [--title T] [--page TABLE.tsv]... [--hang-on CALL]
//             [--hang-ms MS] [--synthetic N] [--tree chromium|firefox] [--devtools 1]
//             [--ax-tree FILE.tsv]...
//   Shows the first page; a link's default action or an address typed after Ctrl+L
//   shows the page of that address when it is one of the tables. Logs every
//   accessibility call ("acc ..."), "address A", "key alt+left", "key alt+right",
//   "navigated URL" and "ready". --synthetic N adds a page of N links whose last one is
//   the next-page link. --tree says whose way the tree is served (see TreeKind). The
//   focus is on the page; Ctrl+L puts it on the address bar, Enter there and Escape put
//   it back; F2 moves it from the page to a search box of the page and back ("focus
//   search box", "focus page"); a letter or digit typed is logged as "typed K".
//   Chromium's way, a content window holds the page, which is an empty placeholder until
//   a client has asked for the honeypot ("honeypot") and read a name ("web content on").
//   --ax-tree serves trees a browser served (browser/ax_tree_file.h) instead of tables.

#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "../fake/call_log.h"
#include "../fake/fake_program.h"
#include "accessible_tree.h"
#include "browser/win32/com_util.h"

namespace paginor::fake {
namespace {

using win32::Utf8;
using win32::Wide;

std::vector<LinkTable> g_pages;
std::vector<AxTree> g_trees;
std::string g_title = "Page - Chromium";
ComPtr<IAccessible> g_tree;
TreeKind g_kind = TreeKind::Chromium;
bool g_devtools = false;
std::size_t g_page = 0;
// Chromium turns web content on once a client has asked for the honeypot and read a
// name, in either order (content/browser/accessibility/
// browser_accessibility_state_impl_win.cc, OnScreenReaderHoneyPotQueried, OnAccNameCalled).
bool g_honeypot = false;
bool g_nameRead = false;
bool g_webContent = false;
bool g_addressBar = false;
std::wstring g_typed;

void Show(std::size_t page);

const std::string& PageUrl(std::size_t page) { return g_trees.empty() ? g_pages[page].url : g_trees[page].url; }

void Follow(const std::string& address) {
  for (std::size_t i = 0; i < std::max(g_pages.size(), g_trees.size()); ++i) {
    if (PageUrl(i) == address) {
      Show(i);
      return;
    }
  }
  LogCall("navigated " + address + " (not served)");
}

// The objects of the tree before are gone with it.
void Build() {
  RetireTrees();
  if (!g_webContent) {
    g_tree = BuildPageTree(LinkTable{}, "", Follow, g_kind);
  } else {
    g_tree = g_trees.empty() ? BuildPageTree(g_pages[g_page], g_title, Follow, g_kind, g_devtools)
                             : BuildCapturedTree(g_trees[g_page], g_title, Follow, g_kind);
  }
}

void Show(std::size_t page) {
  g_page = page;
  Build();
  LogCall("navigated " + PageUrl(page));
}

// The tree arrives from the renderer a little later.
void MaybeTurnOnWebContent(HWND window) {
  if (!g_webContent && g_honeypot && g_nameRead) SetTimer(window, 1, 300, nullptr);
}

// content/browser/renderer_host/legacy_render_widget_host_win.cc, OnGetObject: object
// id 1 is the honeypot, the client area the page.
LRESULT CALLBACK ContentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_GETOBJECT) return DefWindowProcW(window, message, wParam, lParam);
  if (static_cast<long>(lParam) == 1) {
    LogCall("honeypot");
    g_honeypot = true;
    MaybeTurnOnWebContent(GetParent(window));
    return 0;
  }
  return SendMessageW(GetParent(window), message, wParam, lParam);
}

bool Held(int key) { return (GetKeyState(key) & 0x8000) != 0; }

void FocusLogged(Focus focus) {
  SetFocusOn(focus);
  LogCall(focus == Focus::SearchBox ? "focus search box" : "focus page");
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETOBJECT:
      if (static_cast<long>(lParam) != OBJID_CLIENT || !g_tree) {
        return DefWindowProcW(window, message, wParam, lParam);
      }
      LogCall("WM_GETOBJECT");
      return LresultFromObject(IID_IAccessible, wParam, g_tree.Get());
    case WM_KEYDOWN:
      if (wParam == 'L' && Held(VK_CONTROL)) {
        g_addressBar = true;
        g_typed.clear();
        LogCall("key ctrl+L");
        SetFocusOn(Focus::AddressBar);
      } else if (wParam == VK_RETURN && g_addressBar) {
        g_addressBar = false;
        const std::string address = Utf8(g_typed);
        LogCall("address " + address);
        SetFocusOn(Focus::Page);
        Follow(address);
      } else if (wParam == VK_ESCAPE) {
        g_addressBar = false;
        FocusLogged(Focus::Page);
      } else if (wParam == VK_F2) {
        FocusLogged(FocusedOn() == Focus::SearchBox ? Focus::Page : Focus::SearchBox);
      } else if (!g_addressBar && ((wParam >= 'A' && wParam <= 'Z') || (wParam >= '0' && wParam <= '9'))) {
        LogCall("typed " + std::string(1, static_cast<char>(wParam)));
      }
      return 0;
    case WM_TIMER:
      KillTimer(window, 1);
      g_webContent = true;
      LogCall("web content on");
      Build();
      return 0;
    case WM_SYSKEYDOWN:
      if (wParam == VK_LEFT) LogCall("key alt+left");
      if (wParam == VK_RIGHT) LogCall("key alt+right");
      return 0;
    case WM_CHAR:
      if (g_addressBar && wParam >= 0x20) g_typed += static_cast<wchar_t>(wParam);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

template <class T>
bool ReadTable(const std::wstring& file, std::optional<T> (*parse)(std::string_view, std::string&),
               std::vector<T>& into) {
  std::ifstream in(file.c_str(), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string error;
  std::optional<T> table = parse(text, error);
  if (!table) {
    std::fprintf(stderr, "fake_modern: %s: %s\n", Utf8(file).c_str(), error.c_str());
    return false;
  }
  into.push_back(std::move(*table));
  return true;
}

LinkTable Synthetic(int count) {
  LinkTable table;
  table.url = "http://bench.example/list-" + std::to_string(count) + ".html";
  for (int i = 1; i <= count; ++i) {
    const bool last = i == count;
    const std::string text = last ? "下一页" : "条目 " + std::to_string(i);
    const std::string href = last ? "http://bench.example/next.html"
                                  : "http://bench.example/item-" + std::to_string(i) + ".html";
    table.links.push_back({text, "<a href=\"" + href + "\">" + text + "</a>", href, "列表 " + text, ""});
  }
  return table;
}

int Run(const std::vector<std::wstring>& args) {
  std::wstring cls = L"Chrome_WidgetWin_1";
  std::string hangOn;
  DWORD hangMs = 30000;
  for (std::size_t i = 0; i + 1 < args.size(); i += 2) {
    const std::wstring& option = args[i];
    const std::wstring& value = args[i + 1];
    if (option == L"--log") {
      OpenCallLog(value);
    } else if (option == L"--class") {
      cls = value;
    } else if (option == L"--title") {
      g_title = Utf8(value);
    } else if (option == L"--page") {
      if (!ReadTable(value, ParseLinkTable, g_pages)) return 2;
    } else if (option == L"--ax-tree") {
      if (!ReadTable(value, ParseAxTree, g_trees)) return 2;
    } else if (option == L"--synthetic") {
      g_pages.push_back(Synthetic(std::stoi(value)));
    } else if (option == L"--hang-on") {
      hangOn = Utf8(value);
    } else if (option == L"--tree" && (value == L"chromium" || value == L"firefox")) {
      g_kind = value == L"firefox" ? TreeKind::Firefox : TreeKind::Chromium;
    } else if (option == L"--devtools") {
      g_devtools = value == L"1";
    } else if (option == L"--hang-ms") {
      hangMs = static_cast<DWORD>(std::stoul(value));
    } else {
      std::fprintf(stderr, "fake_modern: unknown option %s\n", Utf8(option).c_str());
      return 2;
    }
  }
  if (g_pages.empty() == g_trees.empty()) {
    std::fprintf(stderr, "fake_modern: --page or --synthetic, or else --ax-tree\n");
    return 2;
  }
  if (!hangOn.empty()) HangOnCall(hangOn, hangMs);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = cls.c_str();
  if (!RegisterClassExW(&wc)) return 1;
  g_webContent = g_kind == TreeKind::Firefox;
  Show(0);
  HWND window = CreateWindowExW(0, cls.c_str(), Wide(g_title).c_str(), WS_POPUP | WS_VISIBLE, 0, 0,
                                1024, 768, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window) return 1;
  OnNameRead([window] {
    g_nameRead = true;
    MaybeTurnOnWebContent(window);
  });
  wc.lpfnWndProc = ContentProc;
  wc.lpszClassName = L"Chrome_RenderWidgetHostHWND";
  if (g_kind == TreeKind::Chromium &&
      (!RegisterClassExW(&wc) || !CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 1024, 768,
                                                  window, nullptr, wc.hInstance, nullptr))) {
    return 1;
  }
  SetForegroundWindow(window);
  SetFocus(window);
  return ServeMessagesWhenReady();
}

}  // namespace
}  // namespace paginor::fake

int wmain(int argc, wchar_t** argv) {
  return paginor::fake::FakeProgramMain("fake_modern", argc, argv, paginor::fake::Run);
}
