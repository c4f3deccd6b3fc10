#include "app/settings_store.h"

#include <algorithm>
#include <string>

#include "app/settings_keys.h"

namespace paginor::app {

SettingsStore::SettingsStore(Controls& controls, ProfileFile& profile, Notices& notices,
                             TrayImage& tray)
    : controls_(controls), profile_(profile), notices_(notices), tray_(tray) {}

void SettingsStore::LoadKeySettings() {
  for (const SettingsRow& row : kSettingsRows) {
    controls_.SetText(row.letterEdit, ReadText(profile_, kKeyboardSection, row.key, row.defaultLetter));
  }
  controls_.SetChecked(Control::CheckBoxKey, ReadSwitch(profile_, kKeyboardSection, kUseKey));
}

void SettingsStore::LoadMouseSettings() {
  controls_.SetChecked(Control::CheckBoxMouse1, ReadSwitch(profile_, kGestureSection, kUseKey));
  for (const SettingsRow& row : kSettingsRows) {
    controls_.SetItemIndex(row.gestureCombo,
                           ReadInteger(profile_, kGestureSection, row.key, row.defaultGesture));
  }
  controls_.SetChecked(Control::CheckBoxMouse2, ReadSwitch(profile_, kDoubleClickSection, kUseKey));
  for (const SettingsRow& row : kSettingsRows) {
    controls_.SetItemIndex(row.zoneCombo,
                           ReadInteger(profile_, kDoubleClickSection, row.key, row.defaultZone));
  }
}

void SettingsStore::LoadGeneralSettings() {
  LoadKeySettings();
  LoadMouseSettings();
  // Files written before the seventh kind keep their meaning; a larger index is the last.
  controls_.SetItemIndex(Control::rgpIE,
                         std::min(ReadInteger(profile_, kBrowserSection, kBrowserKey, 0), kLastBrowserItem));
  controls_.SetChecked(Control::autoUpgrade, ReadBoolean(profile_, kConfigSection, kAutoUpgradeKey, true));
  controls_.SetChecked(Control::leftChk, ReadBoolean(profile_, kConfigSection, kLeftKey, false));
  controls_.SetChecked(Control::smartChk, ReadBoolean(profile_, kConfigSection, kSmartKey, false));
  SetPagingDisabled(ReadBoolean(profile_, kConfigSection, kDisableKey, false));
  RefreshDispatchTables();
}

void SettingsStore::SetPagingDisabled(bool disabled) {
  pagingDisabled_ = disabled;
  tray_.ShowImage(disabled ? 1 : 0);
}

void SettingsStore::RefreshKeyTables() {
  for (const SettingsRow& row : kSettingsRows) {
    const std::string text = controls_.Text(row.letterEdit);
    tables_.keyLetters[static_cast<int>(row.command)] = text.substr(0, 1);
  }
  tables_.useKeyboard = controls_.Checked(Control::CheckBoxKey);
}

void SettingsStore::RefreshDispatchTables() {
  RefreshKeyTables();
  tables_.useGestures = controls_.Checked(Control::CheckBoxMouse1);
  tables_.useDoubleClick = controls_.Checked(Control::CheckBoxMouse2);
  for (const SettingsRow& row : kSettingsRows) {
    tables_.gestureOf[static_cast<int>(row.command)] = controls_.ItemIndex(row.gestureCombo);
    tables_.zoneOf[static_cast<int>(row.command)] = controls_.ItemIndex(row.zoneCombo);
  }
}

bool SettingsStore::WriteAll(const std::vector<ProfileEntry>& entries) {
  if (profile_.Write(entries) == entries.size()) return true;
  notices_.Error("Unable to write to " + profile_.Path());
  return false;
}

void SettingsStore::keyBtn1Click() {
  std::vector<ProfileEntry> entries;
  for (const SettingsRow& row : kSettingsRows) {
    entries.push_back({std::string(kKeyboardSection), std::string(row.key), controls_.Text(row.letterEdit)});
  }
  entries.push_back({std::string(kKeyboardSection), std::string(kUseKey),
                     BooleanText(controls_.Checked(Control::CheckBoxKey))});
  if (!WriteAll(entries)) return;
  RefreshKeyTables();
}

void SettingsStore::keyBtn2Click() {
  LoadKeySettings();
  controls_.SetEnabled(Control::keyBtn1, false);
  controls_.SetEnabled(Control::keyBtn2, false);
}

bool SettingsStore::HasDuplicate(bool gestures) const {
  std::vector<std::string> shown;
  for (const SettingsRow& row : kSettingsRows) {
    const Control combo = gestures ? row.gestureCombo : row.zoneCombo;
    if (controls_.ItemIndex(combo) != kNoneItem) shown.push_back(controls_.Text(combo));
  }
  std::sort(shown.begin(), shown.end());
  return std::adjacent_find(shown.begin(), shown.end()) != shown.end();
}

void SettingsStore::MouseBtn1Click() {
  if (HasDuplicate(true)) {
    notices_.Notice(kGestureDuplicateMessage);
    return;
  }
  if (HasDuplicate(false)) {
    notices_.Notice(kZoneDuplicateMessage);
    return;
  }
  std::vector<ProfileEntry> entries;
  for (const SettingsRow& row : kSettingsRows) {
    entries.push_back({std::string(kGestureSection), std::string(row.key),
                       std::to_string(controls_.ItemIndex(row.gestureCombo))});
  }
  for (const SettingsRow& row : kSettingsRows) {
    entries.push_back({std::string(kDoubleClickSection), std::string(row.key),
                       std::to_string(controls_.ItemIndex(row.zoneCombo))});
  }
  entries.push_back({std::string(kGestureSection), std::string(kUseKey),
                     BooleanText(controls_.Checked(Control::CheckBoxMouse1))});
  entries.push_back({std::string(kDoubleClickSection), std::string(kUseKey),
                     BooleanText(controls_.Checked(Control::CheckBoxMouse2))});
  if (!WriteAll(entries)) return;
  RefreshDispatchTables();
}

void SettingsStore::MouseBtn2Click() {
  LoadMouseSettings();
  controls_.SetEnabled(Control::MouseBtn1, false);
  controls_.SetEnabled(Control::MouseBtn2, false);
}

void SettingsStore::Edit1Change() {
  if (loadingSettings) return;
  controls_.SetEnabled(Control::keyBtn1, true);
  controls_.SetEnabled(Control::keyBtn2, true);
}

void SettingsStore::cb11Change() {
  controls_.SetEnabled(Control::MouseBtn1, true);
  controls_.SetEnabled(Control::MouseBtn2, true);
}

bool SettingsStore::SaveOnClose() {
  const std::vector<ProfileEntry> entries = {
      {std::string(kBrowserSection), std::string(kBrowserKey), std::to_string(controls_.ItemIndex(Control::rgpIE))},
      {std::string(kConfigSection), std::string(kAutoUpgradeKey), BooleanText(controls_.Checked(Control::autoUpgrade))},
      {std::string(kConfigSection), std::string(kLeftKey), BooleanText(controls_.Checked(Control::leftChk))},
      {std::string(kConfigSection), std::string(kDisableKey), BooleanText(pagingDisabled_)},
      {std::string(kConfigSection), std::string(kSmartKey), BooleanText(controls_.Checked(Control::smartChk))},
  };
  return profile_.Write(entries) == entries.size();
}

}  // namespace paginor::app
