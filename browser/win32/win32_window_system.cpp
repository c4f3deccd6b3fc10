#include "browser/win32/win32_window_system.h"

#include <mshtml.h>
#include <oleacc.h>
#include <servprov.h>
#include <shlguid.h>
#include <tlhelp32.h>

#include <vector>

#include "browser/win32/com_browser.h"
#include "browser/win32/document_browser.h"

namespace paginor::win32 {
namespace {

HWND Hwnd(WindowHandle h) { return reinterpret_cast<HWND>(h); }

class Library {
 public:
  explicit Library(HMODULE module) : module_(module) {}
  ~Library() {
    if (module_) FreeLibrary(module_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  HMODULE get() const { return module_; }

 private:
  HMODULE module_;
};

// A bare name would let an "oleacc.dll" in the program's folder or the current
// directory be loaded in place of the system's.
HMODULE LoadSystemLibrary(const wchar_t* name) {
  wchar_t dir[MAX_PATH];
  const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  std::wstring path(dir, n);
  path += L'\\';
  path += name;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

class Snapshot {
 public:
  Snapshot() : h_(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)) {}
  ~Snapshot() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  Snapshot(const Snapshot&) = delete;
  Snapshot& operator=(const Snapshot&) = delete;
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

// The tab's browser through the document's window: its own browser service as IE
// answers, else through the top-level browser's services, the way Selenium's IE driver
// reaches Edge's IE mode (SeleniumHQ/selenium cpp/iedriver/BrowserFactory.cpp, after
// Microsoft's KB 257717).
ComPtr<IWebBrowser2> TabBrowserOf(IHTMLDocument2& document) {
  ComPtr<IHTMLWindow2> parent;
  ComPtr<IServiceProvider> services;
  if (FAILED(document.get_parentWindow(&parent)) || !parent || FAILED(parent.As(&services))) return nullptr;
  ComPtr<IWebBrowser2> browser;
  if (SUCCEEDED(services->QueryService(SID_SWebBrowserApp, IID_PPV_ARGS(&browser))) && browser) return browser;
  ComPtr<IServiceProvider> topLevel;
  if (FAILED(services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&topLevel))) || !topLevel) return nullptr;
  browser.Reset();
  if (FAILED(topLevel->QueryService(SID_SWebBrowserApp, IID_PPV_ARGS(&browser)))) return nullptr;
  return browser;
}

}  // namespace

ComPtr<IHTMLDocument2> DocumentFromWindow(HWND window, UINT timeoutMs, long& status) {
  status = 1;
  const Library oleacc(LoadSystemLibrary(L"oleacc.dll"));
  if (!oleacc.get()) return nullptr;
  const auto objectFromLresult = reinterpret_cast<LPFNOBJECTFROMLRESULT>(
      reinterpret_cast<void*>(GetProcAddress(oleacc.get(), "ObjectFromLresult")));
  if (!objectFromLresult) return nullptr;

  const UINT message = RegisterWindowMessageW(L"WM_HTML_GETOBJECT");
  DWORD_PTR result = 0;
  // A hung browser makes the send return at once; a slow one is given up after the
  // timeout, and its late answer is lost with it.
  SendMessageTimeoutW(window, message, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result);
  ComPtr<IHTMLDocument2> document;
  const HRESULT hr = objectFromLresult(static_cast<LRESULT>(result), IID_IHTMLDocument2, 0,
                                       reinterpret_cast<void**>(document.GetAddressOf()));
  status = hr;
  if (FAILED(hr) || !document) {
    if (status == 0) status = E_NOINTERFACE;
    return nullptr;
  }
  return document;
}

WindowBrowser BrowserFromWindow(HWND window) {
  WindowBrowser answer;
  ComPtr<IHTMLDocument2> document = DocumentFromWindow(window, kDocumentTimeoutMs, answer.status);
  if (!document) return answer;
  ComPtr<IWebBrowser2> browser = TabBrowserOf(*document.Get());
  answer.browser = browser ? MakeBrowser(std::move(browser))
                           : std::make_shared<DocumentBrowser>(std::move(document));
  return answer;
}

WindowHandle Win32WindowSystem::FindChild(WindowHandle parent, WindowHandle after,
                                          std::string_view className) {
  const std::wstring cls = Wide(className);
  return reinterpret_cast<WindowHandle>(
      FindWindowExW(Hwnd(parent), Hwnd(after), className.empty() ? nullptr : cls.c_str(), nullptr));
}

bool Win32WindowSystem::IsVisible(WindowHandle window) { return IsWindowVisible(Hwnd(window)) != FALSE; }
bool Win32WindowSystem::IsMinimized(WindowHandle window) { return IsIconic(Hwnd(window)) != FALSE; }

WindowHandle Win32WindowSystem::Foreground() { return reinterpret_cast<WindowHandle>(GetForegroundWindow()); }

std::string Win32WindowSystem::Title(WindowHandle window, std::size_t maxChars) {
  std::vector<wchar_t> buffer(maxChars + 1, L'\0');
  const int n = GetWindowTextW(Hwnd(window), buffer.data(), static_cast<int>(buffer.size()));
  return n > 0 ? Utf8({buffer.data(), static_cast<std::size_t>(n)}) : std::string();
}

std::uint32_t Win32WindowSystem::ProcessId(WindowHandle window) {
  DWORD pid = 0;
  if (!GetWindowThreadProcessId(Hwnd(window), &pid)) return 0;
  return pid;
}

std::string Win32WindowSystem::ExeName(WindowHandle window) {
  const std::uint32_t pid = ProcessId(window);
  if (pid == 0) return {};
  const Snapshot snapshot;
  if (snapshot.get() == INVALID_HANDLE_VALUE) return {};
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ProcessID == pid) {
      entry.szExeFile[MAX_PATH - 1] = L'\0';
      return Utf8(entry.szExeFile);
    }
  }
  return {};
}

WindowBrowser Win32WindowSystem::BrowserFromWindow(WindowHandle window) {
  return win32::BrowserFromWindow(Hwnd(window));
}

std::optional<long> Win32WindowSystem::ShellWindowCount() {
  shellWindows_.Reset();
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&shellWindows_)))) {
    return std::nullopt;
  }
  long count = 0;
  if (FAILED(shellWindows_->get_Count(&count))) return std::nullopt;
  return count;
}

ShellWindowItem Win32WindowSystem::ShellWindow(long index) {
  ShellWindowItem item;
  if (!shellWindows_) return item;
  Variant at;
  at.SetLong(index);
  ComPtr<IDispatch> dispatch;
  ComPtr<IWebBrowser2> browser;
  if (FAILED(shellWindows_->Item(*at, &dispatch)) || !dispatch || FAILED(dispatch.As(&browser))) {
    return item;
  }
  ComPtr<IDispatch> parent;
  item.hasParent = SUCCEEDED(browser->get_Parent(&parent)) && parent;
  Bstr url;
  if (SUCCEEDED(browser->get_LocationURL(url.Out()))) item.locationUrl = url.Utf8();
  SHANDLE_PTR hwnd = 0;
  if (SUCCEEDED(browser->get_HWND(&hwnd))) item.window = static_cast<WindowHandle>(hwnd);
  item.browser = MakeBrowser(std::move(browser));
  return item;
}

}  // namespace paginor::win32
