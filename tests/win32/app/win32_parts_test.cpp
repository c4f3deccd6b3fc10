// The Win32 pieces of the main window on real controls and real files: the settings file
// through the private-profile functions, and the operation log in its memo.

#include <windows.h>

#include <stdexcept>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/fakes.h"
#include "app/win32/input_wiring.h"
#include "app/win32/platform_parts.h"
#include "app/win32/profile_file_win32.h"
#include "app/win32/resource.h"
#include "app/win32/wide.h"
#include "app/win32/win32_controls.h"
#include "engine/executor.h"

namespace paginor::app::win32 {
namespace {

// A fresh folder, removed with its files when the test ends.
class TempFolder {
 public:
  TempFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    dir_ = std::wstring(temp) + L"paginor-parts-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++counter) + L"\\";
    CreateDirectoryW(dir_.c_str(), nullptr);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::path(dir_), ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string path() const { return Utf8(dir_); }

 private:
  std::wstring dir_;
};

std::string Bytes(const std::string& path) {
  std::ifstream in(std::filesystem::path(Wide(path)), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int FilesIn(const std::string& dir) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(Wide(dir + "*").c_str(), &found);
  int count = 0;
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

TEST(PrivateProfileFile, WritesGbkNamesKeepsOtherSectionsAndTellsMissingFromEmpty) {
  const TempFolder folder;
  const std::string dir = folder.path();
  PrivateProfileFile ini(dir + "tpnav.ini");
  EXPECT_EQ(ini.Read("键盘", "上页"), std::nullopt);

  EXPECT_EQ(ini.Write({{"键盘", "上页", "b"}, {"键盘", "前进", ""}}), 2u);
  EXPECT_EQ(ini.Write({{"config", "smart", "1"}}), 1u);
  EXPECT_EQ(Bytes(dir + "tpnav.ini"), "[\xBC\xFC\xC5\xCC]\r\n\xC9\xCF\xD2\xB3=b\r\n\xC7\xB0\xBD\xF8=\r\n[config]\r\nsmart=1\r\n");
  EXPECT_EQ(ini.Read("键盘", "上页"), "b");
  EXPECT_EQ(ini.Read("键盘", "前进"), "");
  EXPECT_EQ(ini.Read("键盘", "后退"), std::nullopt);
  EXPECT_EQ(FilesIn(dir), 1);  // the temporary copy is gone
}

TEST(PrivateProfileFile, AFileThatCannotBeWrittenIsLeftAsItWas) {
  const TempFolder folder;
  const std::string dir = folder.path();
  PrivateProfileFile ini(dir + "tpnav.ini");
  ASSERT_EQ(ini.Write({{"浏览器", "默认", "2"}}), 1u);
  const std::string before = Bytes(dir + "tpnav.ini");
  SetFileAttributesW(Wide(dir + "tpnav.ini").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(ini.Write({{"浏览器", "默认", "5"}}), 0u);
  EXPECT_EQ(Bytes(dir + "tpnav.ini"), before);
  EXPECT_EQ(FilesIn(dir), 1);
  SetFileAttributesW(Wide(dir + "tpnav.ini").c_str(), FILE_ATTRIBUTE_NORMAL);

  // A letter the ANSI code page cannot hold is refused rather than stored as "?".
  EXPECT_EQ(ini.Write({{"浏览器", "默认", "3"}, {"键盘", "上页", "한"}}), 1u);
  EXPECT_EQ(ini.Read("浏览器", "默认"), "3");
  EXPECT_EQ(ini.Read("键盘", "上页"), std::nullopt);

  PrivateProfileFile nowhere(dir + "no such folder\\tpnav.ini");
  EXPECT_EQ(nowhere.Write({{"config", "left", "1"}}), 0u);
}

class NoBrowser : public BrowserDiscovery {
 public:
  bool FindBrowserWindow(BrowserPtr&, WindowHandle&, std::string_view) override { return false; }
  BrowserPtr GetFrameBrowser(int, const BrowserPtr&) override { return nullptr; }
};

class NoWindows : public WindowMessenger {
 public:
  bool PostMessage(WindowHandle, unsigned, std::uintptr_t, std::intptr_t) override { return false; }
  ScreenPoint ScreenToClient(WindowHandle, ScreenPoint p) override { return p; }
  WindowHandle ChildWindowFromPointEx(WindowHandle, ScreenPoint, unsigned) override { return 0; }
};

TEST(HistoryMemoLog, TheLinesTheEngineWritesLandInTheMemoInOrder) {
  const HWND page = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(page, nullptr) << "no display";
  const HWND memo = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_MULTILINE | ES_READONLY, 0, 0, 300, 200, page,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_HISTORYMEMO)), nullptr, nullptr);
  ASSERT_NE(memo, nullptr);
  std::array<HWND, kPageCount> pages{};
  pages[kLogPage] = page;
  Win32Controls controls(pages);
  HistoryMemoLog log(controls);
  NoBrowser discovery;
  NoWindows windows;
  CommandExecutor executor(discovery, windows, log);
  ExecutorInputs inputs;
  inputs.browserChoice = 1;
  executor.ReceiveCommand("next", Origin::Keyboard, inputs);
  executor.ReceiveCommand("12", Origin::Mouse, inputs);

  EXPECT_EQ(WindowText(memo),
            "接收到指令: 下一页\r\n没有发现目标浏览器:360\r\n接收到指令: 定位到第12页\r\n没有发现目标浏览器:360");
  EXPECT_THAT(controls.Lines(Control::historyMemo),
              ::testing::ElementsAre("接收到指令: 下一页", "没有发现目标浏览器:360", "接收到指令: 定位到第12页",
                                     "没有发现目标浏览器:360"));
  DestroyWindow(page);
}

// Pixels of an icon as 0xAARRGGBB, top row first.
std::vector<DWORD> IconPixels(HICON icon, int size) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {};
  BITMAPINFO header{};
  header.bmiHeader.biSize = sizeof(header.bmiHeader);
  header.bmiHeader.biWidth = size;
  header.bmiHeader.biHeight = -size;
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  std::vector<DWORD> pixels(static_cast<std::size_t>(size) * size);
  const HDC screen = GetDC(nullptr);
  GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(size), pixels.data(), &header, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return pixels;
}

// The tray's two images at the sizes of 100 % and 150 %: see-through corners, an opaque
// tile, and the disabled one told apart by its red bar.
TEST(TrayImages, AreDrawnWithAlphaAtEachSizeAndDiffer) {
  for (const int size : {16, 24, 48}) {
    std::vector<DWORD> images[2];
    for (int index = 0; index < 2; ++index) {
      const HICON icon = DrawTrayImage(index, size);
      ASSERT_NE(icon, nullptr);
      images[index] = IconPixels(icon, size);
      DestroyIcon(icon);
      ASSERT_EQ(images[index].size(), static_cast<std::size_t>(size * size));
      EXPECT_EQ(images[index][0] >> 24, 0u) << size;
      EXPECT_EQ(images[index][static_cast<std::size_t>(size * size - 1)] >> 24, 0u) << size;
      EXPECT_EQ(images[index][static_cast<std::size_t>(size / 2 * size + size / 8)] >> 24, 0xFFu) << size;
    }
    const auto reddish = [](DWORD p) { return ((p >> 16) & 0xFF) > 180 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80; };
    EXPECT_EQ(std::count_if(images[0].begin(), images[0].end(), reddish), 0) << size;
    EXPECT_GT(std::count_if(images[1].begin(), images[1].end(), reddish), size) << size;
  }
}

// Settings as a fresh start loads them, over fakes.
struct LoadedSettings {
  app::testing::FakeControls controls;
  app::testing::FakeProfile profile;
  app::testing::FakeNotices notices;
  app::testing::FakeTray tray;
  SettingsStore settings{controls, profile, notices, tray};
  LoadedSettings() {
    settings.loadingSettings = true;
    settings.LoadGeneralSettings();
    settings.loadingSettings = false;
  }
};

// A command's cross-process calls let the thread handle messages; a hook message that
// arrives then waits until the command is done, in the order the messages came.
class ReenteringReceiver : public CommandReceiver {
 public:
  WindowInputDispatch* dispatch = nullptr;
  UINT keyMessage = 0;
  std::vector<std::string> journal;
  void ReceiveCommand(std::string_view command, Origin) override {
    journal.push_back("begin " + std::string(command));
    if (journal.size() == 1) {
      dispatch->OnInputMessage(keyMessage, 'S', 0);
      dispatch->OnInputMessage(keyMessage, 'A', 0);
    }
    journal.push_back("end " + std::string(command));
  }
};

TEST(WindowInputDispatch, MessagesDuringACommandRunAfterItInTheirOrder) {
  LoadedSettings loaded;
  SettingsStore& settings = loaded.settings;
  auto& controls = loaded.controls;
  const RegisteredMessages messages = RegisteredMessages::Register();
  ReenteringReceiver receiver;
  WindowInputDispatch dispatch(messages, settings, controls, receiver);
  receiver.dispatch = &dispatch;
  receiver.keyMessage = messages.keyHook;

  dispatch.OnInputMessage(messages.keyHook, 'X', 0);
  dispatch.OnInputMessage(WM_USER + 77, 'Z', 0);  // not one of the six: ignored
  EXPECT_THAT(receiver.journal, ::testing::ElementsAre("begin next", "end next", "begin prev", "end prev",
                                                       "begin first", "end first"));
  // Nothing is left waiting for the next message.
  dispatch.OnInputMessage(messages.floatKey, 'Z', 0);
  EXPECT_EQ(receiver.journal.size(), 8u);
  EXPECT_EQ(receiver.journal.back(), "end last");
}

class RecordingReceiver : public CommandReceiver {
 public:
  std::vector<std::string> commands;
  void ReceiveCommand(std::string_view command, Origin) override { commands.emplace_back(command); }
};

// A key the hook hands over with the focused window of Chromium or Firefox becomes a
// command only when the browser's focused object is confirmed to be on the page.
TEST(WindowInputDispatch, KeysHandedOverWithTheirWindowNeedTheFocusCheck) {
  LoadedSettings loaded;
  SettingsStore& settings = loaded.settings;
  auto& controls = loaded.controls;
  const RegisteredMessages messages = RegisteredMessages::Register();
  RecordingReceiver receiver;
  WindowInputDispatch dispatch(messages, settings, controls, receiver);
  const LPARAM chrome = 0x1234;

  controls.SetItemIndex(Control::rgpIE, 6);
  dispatch.OnInputMessage(messages.keyHook, 'X', chrome);
  EXPECT_TRUE(receiver.commands.empty()) << "no check: never a command by accident";

  std::vector<WindowHandle> asked;
  bool onPage = true;
  dispatch.SetFocusCheck([&](WindowHandle w) {
    asked.push_back(w);
    return onPage;
  });
  dispatch.OnInputMessage(messages.keyHook, 'X', chrome);
  onPage = false;
  dispatch.OnInputMessage(messages.keyHook, 'S', chrome);  // typed into the omnibox
  dispatch.OnInputMessage(messages.keyHook, 'A', 0);        // confirmed by the hook itself
  EXPECT_THAT(receiver.commands, ::testing::ElementsAre("next", "first"));
  EXPECT_THAT(asked, ::testing::ElementsAre(WindowHandle{0x1234}, WindowHandle{0x1234}));

  // A check that throws is a key that is no command.
  dispatch.SetFocusCheck([](WindowHandle) -> bool { throw std::runtime_error("gone"); });
  dispatch.OnInputMessage(messages.keyHook, 'X', chrome);
  EXPECT_EQ(receiver.commands.size(), 2u);

  // Chosen back to an IE kind, or with paging disabled, the browser is not even asked.
  dispatch.SetFocusCheck([&](WindowHandle w) {
    asked.push_back(w);
    return true;
  });
  controls.SetItemIndex(Control::rgpIE, 0);
  dispatch.OnInputMessage(messages.keyHook, 'X', chrome);
  controls.SetItemIndex(Control::rgpIE, 6);
  settings.SetPagingDisabled(true);
  dispatch.OnInputMessage(messages.keyHook, 'X', chrome);
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_EQ(receiver.commands.size(), 2u);
}

}  // namespace
}  // namespace paginor::app::win32
