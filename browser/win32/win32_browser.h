#pragma once
// What the main window and the console tool need of browser discovery on Windows.
// The caller's thread must be a single-threaded apartment (ComApartment), and each
// command should run inside a CallWatchdog(kDocumentTimeoutMs) (call_watchdog.h), so
// that a browser that stops answering halfway cannot hold the thread.

#include <memory>
#include <string>
#include <vector>

#include "browser/frames.h"
#include "browser/window_system.h"
#include "engine/browser_model.h"
#include "engine/operation_log.h"
#include "engine/window_messenger.h"

namespace paginor::win32 {

// The installed IE's major version: HKLM, then HKCU; "6" without either key.
std::string DetectIEVersion();

// Discovery over the real windows and browsers, for the IE version DetectIEVersion gave.
// log, when given, lives as long as the discovery and hears why a page came empty.
std::unique_ptr<BrowserDiscovery> MakeWin32BrowserDiscovery(std::string ieVersion, OperationLog* log = nullptr);
// The same over the caller's window calls (a tracing wrapper), which outlive it.
std::unique_ptr<BrowserDiscovery> MakeWin32BrowserDiscovery(std::string ieVersion, WindowSystem& windows,
                                                            OperationLog* log = nullptr);
std::unique_ptr<WindowMessenger> MakeWin32WindowMessenger();
// The frame list of the tab: "N    ADDRESS" per frame, "?" for anything else.
std::vector<std::string> ListFrames(const BrowserPtr& tab);

}  // namespace paginor::win32
