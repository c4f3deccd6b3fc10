#include "app/tray_control.h"

namespace paginor::app {

TrayControl::TrayControl(SettingsStore& settings, const Controls& controls, MainWindowView& window)
    : settings_(settings), controls_(controls), window_(window) {}

void TrayControl::bsTrayIcon1Click() {
  if (controls_.Checked(Control::leftChk)) {
    N1Click();
    return;
  }
  N4Click();
}

bool TrayControl::bsSkinPopupMenu1Popup() const { return settings_.pagingDisabled(); }

void TrayControl::N4Click() {
  if (window_.Visible()) {
    window_.Hide();
    return;
  }
  window_.Show();
}

void TrayControl::N1Click() { settings_.SetPagingDisabled(!settings_.pagingDisabled()); }

void TrayControl::OnMinimize() { window_.Hide(); }

}  // namespace paginor::app
