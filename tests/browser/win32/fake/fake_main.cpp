// A test browser: opens the window chains of the supported browsers and answers
// "WM_HTML_GETOBJECT" from its content windows with documents serving link tables.
//
// fake_browser --log FILE [--page TABLE.tsv]... [--synthetic N] [--embed P:LIST]...
//              --window PATH... [--hang-ms MS] [--hang-on CALL]
//   PATH     windows from the top level down, "/"-separated; each step is
//            CLASS[#TAG][!|_][=TITLE][@PAGE|@hang]: "!" hidden, "_" minimised, "@PAGE" a content window
//            showing that page (0-based, in --page order) in a tab of its own,
//            "@hang" a content window that stops answering. Steps shared by several
//            paths are one window; a TAG tells same-class siblings apart.
//   --embed  P:LIST  page P embeds frames showing the pages of LIST (comma-separated;
//            "plugin" for an object that is no browser).
//   --hang-on CALL  stops answering for --hang-ms when that call arrives (a line of
//            the call log, e.g. "link 2 get outerText").
//   --synthetic N  adds a page of N links whose last one is the next-page link.
//   --service direct|toplevel|none, --active TAG[:TYPE[:editable]]  how a document's window
//            hands out its browser; the documents' activeElement (BODY without it).
// Writes "ready" to the log when every window is up. Windows listed first are the
// topmost, among top-level windows and among siblings.

#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "browser/win32/com_util.h"
#include "call_log.h"
#include "fake_objects.h"
#include "fake_program.h"

namespace paginor::fake {
namespace {

using win32::Utf8;
using win32::Wide;

Site g_site;
DWORD g_hangMs = 30000;
UINT g_getObject = 0;
std::map<HWND, FakeBrowser*> g_tabs;  // content windows
std::vector<HWND> g_hanging;

struct Step {
  std::string cls;
  std::string title;
  bool visible = true;
  bool minimized = false;
  int page = -1;  // content window showing that page
  bool hang = false;
};

Step ParseStep(const std::string& text) {
  Step step;
  std::string rest = text;
  if (const auto at = rest.find('@'); at != std::string::npos) {
    const std::string what = rest.substr(at + 1);
    if (what == "hang") step.hang = true; else step.page = std::stoi(what);
    rest.resize(at);
  }
  if (const auto eq = rest.find('='); eq != std::string::npos) {
    step.title = rest.substr(eq + 1);
    rest.resize(eq);
  }
  if (!rest.empty() && rest.back() == '!') {
    step.visible = false;
    rest.pop_back();
  }
  if (!rest.empty() && rest.back() == '_') step.minimized = (rest.pop_back(), true);
  if (const auto tag = rest.find('#'); tag != std::string::npos) rest.resize(tag);
  step.cls = rest;
  return step;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == g_getObject && g_getObject != 0) {
    for (const HWND h : g_hanging) {
      if (h == window) {
        LogCall("WM_HTML_GETOBJECT hangs");
        Sleep(g_hangMs);
        return 0;
      }
    }
    const auto tab = g_tabs.find(window);
    if (tab == g_tabs.end()) return 0;
    FakeDocument* document = tab->second->Current();
    LogCall("WM_HTML_GETOBJECT " + document->Url());
    return LresultFromObject(IID_IHTMLDocument2, wParam, static_cast<IHTMLDocument2*>(document));
  }
  if (message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) {
    char line[96];
    std::snprintf(line, sizeof line, "mouse 0x%x %d %d wparam %u %s", message,
                  static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)),
                  static_cast<unsigned>(wParam), g_tabs.count(window) ? "content" : "other");
    LogCall(line);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterClassOnce(const std::wstring& cls) {
  static std::map<std::wstring, bool> registered;
  if (registered.count(cls)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = cls.c_str();
  registered[cls] = RegisterClassExW(&wc) != 0;
  return registered[cls];
}

struct Node {
  Step step;
  HWND window = nullptr;
  std::vector<std::string> children;  // keys
};

class Layout {
 public:
  void AddPath(const std::string& path) {
    std::string key;
    std::string parent;
    std::stringstream steps(path);
    for (std::string text; std::getline(steps, text, '/');) {
      key += "/" + text;
      if (!nodes_.count(key)) {
        nodes_[key].step = ParseStep(text);
        (parent.empty() ? roots_ : nodes_[parent].children).push_back(key);
      }
      parent = key;
    }
  }

  bool Create() {
    for (const std::string& root : roots_) {
      if (!CreateTree(root, nullptr)) return false;
    }
    Order(roots_);
    return true;
  }

 private:
  bool CreateTree(const std::string& key, HWND parent) {
    Node& node = nodes_[key];
    const std::wstring cls = Wide(node.step.cls);
    if (!RegisterClassOnce(cls)) return false;
    DWORD style = parent ? WS_CHILD : WS_POPUP;
    if (node.step.visible) style |= WS_VISIBLE;
    if (node.step.minimized) style |= WS_MINIMIZE;
    // Top-level windows at the screen origin, children filling their parent: a
    // position on the screen is the same position in every window of a chain.
    node.window = CreateWindowExW(0, cls.c_str(), Wide(node.step.title).c_str(), style, 0, 0, 1024,
                                  768, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!node.window) return false;
    if (node.step.page >= 0) {
      FakeBrowser& tab = AddBrowser(g_site, "tab" + std::to_string(g_tabs.size()), node.step.page);
      tab.SetWindow(node.window);
      g_tabs[node.window] = &tab;
    }
    if (node.step.hang) g_hanging.push_back(node.window);
    for (const std::string& child : node.children) {
      if (!CreateTree(child, node.window)) return false;
    }
    Order(node.children);
    return true;
  }

  // The first listed ends on top.
  void Order(const std::vector<std::string>& keys) {
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
      SetWindowPos(nodes_[*it].window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }

  std::map<std::string, Node> nodes_;
  std::vector<std::string> roots_;
};

bool ReadTable(const std::wstring& file, LinkTable& table) {
  std::ifstream in(file.c_str(), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string error;
  std::optional<LinkTable> parsed = ParseLinkTable(text, error);
  if (!parsed) {
    std::fprintf(stderr, "fake_browser: %s: %s\n", Utf8(file).c_str(), error.c_str());
    return false;
  }
  table = std::move(*parsed);
  return true;
}

Page Synthetic(int count) {
  Page page;
  page.table.url = "http://bench.example/list-" + std::to_string(count) + ".html";
  for (int i = 1; i <= count; ++i) {
    const bool last = i == count;
    const std::string text = last ? "下一页" : "条目 " + std::to_string(i);
    const std::string href = last ? "http://bench.example/next.html"
                                  : "http://bench.example/item-" + std::to_string(i) + ".html";
    page.table.links.push_back({text, "<a href=\"" + href + "\">" + text + "</a>", href,
                                "列表 " + text, "<li><a href=\"" + href + "\">" + text + "</a></li>"});
  }
  return page;
}

int Run(const std::vector<std::wstring>& args) {
  Layout layout;
  std::vector<std::wstring> embeds;
  std::string hangOn;
  for (std::size_t i = 0; i + 1 < args.size(); i += 2) {
    const std::wstring& option = args[i];
    const std::wstring& value = args[i + 1];
    if (option == L"--log") {
      OpenCallLog(value);
    } else if (option == L"--page") {
      Page page;
      if (!ReadTable(value, page.table)) return 2;
      g_site.pages.push_back(std::move(page));
    } else if (option == L"--synthetic") {
      g_site.pages.push_back(Synthetic(std::stoi(value)));
    } else if (option == L"--embed") {
      embeds.push_back(value);
    } else if (option == L"--window") {
      layout.AddPath(Utf8(value));
    } else if (option == L"--hang-ms") {
      g_hangMs = static_cast<DWORD>(std::stoul(value));
    } else if (option == L"--service") {
      Behave().service = value == L"none" ? Behaviour::Service::None
                         : value == L"toplevel" ? Behaviour::Service::TopLevel : Behaviour::Service::Direct;
    } else if (option == L"--active") {
      std::stringstream parts(Utf8(value) + "::");
      std::string editable;
      std::getline(std::getline(std::getline(parts, Behave().activeTag, ':'), Behave().activeType, ':'), editable);
      Behave().activeEditable = editable.rfind("editable", 0) == 0;
    } else if (option == L"--hang-on") {
      hangOn = Utf8(value);
    } else {
      std::fprintf(stderr, "fake_browser: unknown option %s\n", Utf8(option).c_str());
      return 2;
    }
  }
  for (const std::wstring& embed : embeds) {
    const std::string text = Utf8(embed);
    const auto colon = text.find(':');
    Page& page = g_site.pages.at(static_cast<std::size_t>(std::stoi(text.substr(0, colon))));
    std::stringstream list(text.substr(colon + 1));
    for (std::string item; std::getline(list, item, ',');) {
      page.embeds.push_back(item == "plugin" ? -1 : std::stoi(item));
    }
  }
  if (!hangOn.empty()) HangOnCall(hangOn, g_hangMs);
  g_getObject = RegisterWindowMessageW(L"WM_HTML_GETOBJECT");
  if (!layout.Create()) {
    std::fprintf(stderr, "fake_browser: cannot create the windows (error %lu)\n", GetLastError());
    return 1;
  }
  return ServeMessagesWhenReady();
}

}  // namespace
}  // namespace paginor::fake

int wmain(int argc, wchar_t** argv) {
  return paginor::fake::FakeProgramMain("fake_browser", argc, argv, paginor::fake::Run);
}
