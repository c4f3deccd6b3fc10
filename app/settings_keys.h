#pragma once
// tpnav.ini: its sections, keys and defaults, and the rows of the two input tabs.

#include <array>
#include <string_view>

#include "app/controls.h"
#include "app/dispatch_tables.h"

namespace paginor::app {

inline constexpr std::string_view kSettingsFileName = "tpnav.ini";

inline constexpr std::string_view kKeyboardSection = "键盘";
inline constexpr std::string_view kGestureSection = "鼠标手势";
inline constexpr std::string_view kDoubleClickSection = "鼠标双击";
inline constexpr std::string_view kBrowserSection = "浏览器";
inline constexpr std::string_view kConfigSection = "config";

inline constexpr std::string_view kUseKey = "使用";
inline constexpr std::string_view kBrowserKey = "默认";
inline constexpr std::string_view kAutoUpgradeKey = "autoupgrade";
inline constexpr std::string_view kLeftKey = "left";
inline constexpr std::string_view kDisableKey = "disable";
inline constexpr std::string_view kSmartKey = "smart";

// The browser choice's last item, "Chrome/Edge/Firefox".
inline constexpr int kLastBrowserItem = 6;

// Item 4 of both mouse columns.
inline constexpr int kNoneItem = 4;

// One row of "键盘动作" and "鼠标动作", in the tabs' order.
struct SettingsRow {
  std::string_view key;
  PageCommand command;
  Control letterEdit;
  std::string_view defaultLetter;
  Control gestureCombo;
  int defaultGesture;
  Control zoneCombo;
  int defaultZone;
};

inline constexpr std::array<SettingsRow, kPageCommandCount> kSettingsRows = {{
    {"上页", PageCommand::Prev, Control::Edit1, "s", Control::cb11, 0, Control::cb21, 0},
    {"下页", PageCommand::Next, Control::Edit2, "x", Control::cb12, 1, Control::cb22, 2},
    {"首页", PageCommand::First, Control::Edit3, "a", Control::cb13, 4, Control::cb23, 4},
    {"末页", PageCommand::Last, Control::Edit4, "z", Control::cb14, 4, Control::cb24, 4},
    {"前进", PageCommand::Forward, Control::Edit5, "q", Control::cb15, 2, Control::cb25, 4},
    {"后退", PageCommand::Back, Control::Edit6, "h", Control::cb16, 3, Control::cb26, 1},
}};

inline constexpr std::array<std::string_view, 5> kGestureItems = {"水平向左", "水平向右", "垂直向上",
                                                                 "垂直向下", "无"};
inline constexpr std::array<std::string_view, 5> kZoneItems = {"窗口右上区", "窗口右中区", "窗口右下区",
                                                              "其它位置", "无"};

inline constexpr std::string_view kGestureDuplicateMessage = "鼠标手势配置有重复，请检查";
inline constexpr std::string_view kZoneDuplicateMessage = "鼠标双击配置有重复，请检查";

}  // namespace paginor::app
