#include "browser/ie_engine_processes.h"

#include <algorithm>
#include <array>

namespace paginor {
namespace {

// Edge's IE mode renders in msedge.exe itself: no "IEFrame", no shell window, only
// "Internet Explorer_Server" windows deep under its "Chrome_WidgetWin_1" top level
// (SeleniumHQ/selenium cpp/iedriver/BrowserFactory.cpp, FindEdgeWindow and
// FindEdgeChildWindowForProcess). Current 360 and Sogou builds run as 360se.exe
// (360chrome.exe for the 360 speed browser) and sogouexplorer.exe, as public automation
// scripts start and match them; QQ Browser followed Tencent Traveler.
constexpr std::array kIe = {std::string_view("iexplore.exe"), std::string_view("msedge.exe")};
constexpr std::array kQihoo = {std::string_view("360se.exe"), std::string_view("360chrome.exe")};
constexpr std::array kSogou = {std::string_view("sogouexplorer.exe")};
constexpr std::array kTt = {std::string_view("ttraveler.exe"), std::string_view("qqbrowser.exe")};
constexpr std::array kWorld = {std::string_view("theworld.exe")};
constexpr std::array kMaxthon = {std::string_view("maxthon.exe")};

}  // namespace

std::span<const std::string_view> IeEngineExeNames(std::string_view kind) {
  if (kind == "ie") return kIe;
  if (kind == "360") return kQihoo;
  if (kind == "sogou") return kSogou;
  if (kind == "tt") return kTt;
  if (kind == "world") return kWorld;
  if (kind == "maxthon") return kMaxthon;
  return {};
}

bool IsIeEngineExe(std::string_view kind, std::string_view reducedExe) {
  const auto names = IeEngineExeNames(kind);
  return std::find(names.begin(), names.end(), reducedExe) != names.end();
}

}  // namespace paginor
