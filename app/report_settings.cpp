#include "app/report_settings.h"

#include <algorithm>

#include "app/settings_keys.h"
#include "engine/browser_kinds.h"

namespace paginor::app {
namespace {

std::string OnOff(bool on) { return on ? "on" : "off"; }

std::string Item(const auto& items, int index) {
  if (index < 0 || index >= static_cast<int>(items.size())) return "item " + std::to_string(index);
  return std::string(items[static_cast<std::size_t>(index)]);
}

}  // namespace

std::vector<std::string> ReportSettingsLines(const ProfileFile& profile, bool fileExists) {
  std::vector<std::string> lines;
  lines.push_back("settings file: " + std::string(kSettingsFileName) +
                  (fileExists ? "" : " (missing: the defaults below are in force)"));
  const int choice = std::clamp(ReadInteger(profile, kBrowserSection, kBrowserKey, 0), 0, kLastBrowserItem);
  lines.push_back("browser choice: item " + std::to_string(choice) + ", kind \"" +
                  std::string(BrowserKindForChoice(choice)) + "\"");
  lines.push_back("smart fallback: " + OnOff(ReadBoolean(profile, kConfigSection, kSmartKey, false)));
  lines.push_back("paging disabled from the tray: " + OnOff(ReadBoolean(profile, kConfigSection, kDisableKey, false)));
  lines.push_back("left click on the tray icon toggles paging: " +
                  OnOff(ReadBoolean(profile, kConfigSection, kLeftKey, false)));
  lines.push_back("keys: " + OnOff(ReadSwitch(profile, kKeyboardSection, kUseKey)) +
                  ", strokes: " + OnOff(ReadSwitch(profile, kGestureSection, kUseKey)) +
                  ", double clicks: " + OnOff(ReadSwitch(profile, kDoubleClickSection, kUseKey)));
  for (const SettingsRow& row : kSettingsRows) {
    lines.push_back("  " + std::string(row.key) + ": key \"" +
                    ReadText(profile, kKeyboardSection, row.key, row.defaultLetter) + "\", stroke " +
                    Item(kGestureItems, ReadInteger(profile, kGestureSection, row.key, row.defaultGesture)) +
                    ", double click " +
                    Item(kZoneItems, ReadInteger(profile, kDoubleClickSection, row.key, row.defaultZone)));
  }
  return lines;
}

}  // namespace paginor::app
