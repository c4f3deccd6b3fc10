#include "app/update_check.h"

#include <cstdio>

#include "calc/conversions.h"

namespace paginor::app {

namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SamePath(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

constexpr calc::Extended kUpdateAgeDays = 15;
constexpr std::string_view kNeverUpdated = "2011-11-01";

}  // namespace

std::string QuotedPath(std::string_view path) {
  std::string quoted;
  quoted.reserve(path.size() + 2);
  quoted += '"';
  quoted += path;
  quoted += '"';
  return quoted;
}

bool RunValueNamesProgram(std::string_view stored, std::string_view programPath) {
  if (programPath.empty()) return false;
  if (stored.size() >= 2 && stored.front() == '"' && stored.back() == '"') {
    stored = stored.substr(1, stored.size() - 2);
  }
  return SamePath(stored, programPath);
}

std::string UpdaterArguments(WindowHandle window) {
  return std::to_string(window) + " " + std::string(kUpdaterSettings);
}

std::string UpdateCutoff(calc::Extended now) {
  const auto parts = calc::StampToParts(now - kUpdateAgeDays);
  if (!parts) return {};
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", parts->year, parts->month, parts->day);
  return text;
}

bool UpdateIsDue(std::string_view lastUpdate, calc::Extended now) {
  const std::string_view stored = lastUpdate.empty() ? kNeverUpdated : lastUpdate;
  const std::string cutoff = UpdateCutoff(now);
  // A clock outside the calendar decides nothing.
  if (cutoff.empty()) return false;
  return stored < std::string_view(cutoff);
}

Updater::Updater(const UpdaterParts& parts) : parts_(parts) {}

std::string Updater::UpdaterPath() const { return parts_.appDir + std::string(kUpdaterProgram); }

bool Updater::FormShow() {
  if (timerRunning_) return false;
  timerRunning_ = true;
  return true;
}

void Updater::updateTimerTimer(bool autoUpgrade) {
  timerRunning_ = false;
  if (autoUpgrade) CheckForUpdate();
}

void Updater::updatebtnClick() {
  const std::string path = UpdaterPath();
  if (!parts_.launcher.FileExists(path)) {
    parts_.notices.Notice(kMissingUpdaterMessage);
    return;
  }
  parts_.launcher.Launch(path, UpdaterArguments(parts_.window));
  parts_.minimizer.MinimizeToTray();
}

void Updater::CheckForUpdate() {
  if (!parts_.launcher.FileExists(UpdaterPath())) return;
  const std::string stored =
      ReadText(parts_.renewerSettings, "config", "lastupdate", "");
  if (!UpdateIsDue(stored, parts_.clock.Now())) return;
  updatebtnClick();
}

void Label19Click(const std::string& appDir, Launcher& launcher, Notices& notices) {
  const std::string path = appDir + std::string(kFloatingBoxFile);
  if (!launcher.FileExists(path)) {
    notices.Notice(std::string(kMissingFileMessage) + path);
    return;
  }
  launcher.Launch(path, "");
}

void helpLabelClick(const std::string& appDir, std::string_view caption, Launcher& launcher, Notices& notices) {
  const std::string path = appDir + std::string(caption);
  if (!launcher.FileExists(path)) {
    notices.Notice(std::string(kMissingFileMessage) + path);
    return;
  }
  launcher.Open(path);
}

void chkautoClick(bool checked, std::string_view programPath, RunKey& runKey, Notices& notices) {
  if (!checked) {
    runKey.Delete();
    return;
  }
  if (runKey.Write(QuotedPath(programPath)) == RunKeyWrite::Failed) {
    notices.Error(kRunValueError);
  }
}

}  // namespace paginor::app
