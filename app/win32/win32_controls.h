#pragma once
// The handlers' view of the real controls on the seven pages.

#include <windows.h>

#include <array>

#include "app/controls.h"

namespace paginor::app::win32 {

enum Page { kKeyboardPage, kMousePage, kDefinitionsPage, kFixedPage, kOptionsPage, kLogPage, kHelpPage, kPageCount };

// Which page holds a control, and its id there; a radio group is its first button's id.
struct ControlPlace {
  Page page;
  int id;
  int radioCount;  // buttons of a radio group, else 0
};
ControlPlace PlaceOf(Control c);

class Win32Controls : public Controls {
 public:
  explicit Win32Controls(const std::array<HWND, kPageCount>& pages) : pages_(pages) {}

  HWND Handle(Control c) const;

  std::string Text(Control c) const override;
  void SetText(Control c, std::string_view text) override;
  bool Checked(Control c) const override;
  void SetChecked(Control c, bool checked) override;
  int ItemIndex(Control c) const override;
  void SetItemIndex(Control c, int index) override;
  void ClearItems(Control c) override;
  void AddItem(Control c, std::string_view text) override;
  bool Enabled(Control c) const override;
  void SetEnabled(Control c, bool enabled) override;
  std::vector<std::string> Lines(Control c) const override;
  void SetLines(Control c, const std::vector<std::string>& lines) override;
  void AppendLine(Control c, std::string_view line) override;

 private:
  const std::array<HWND, kPageCount>& pages_;
};

}  // namespace paginor::app::win32
