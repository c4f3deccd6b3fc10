#pragma once
// Starting the updater, the floating box and the program itself at logon.

#include <string>
#include <string_view>

#include "app/notices.h"
#include "app/profile_file.h"
#include "calc/clock.h"
#include "engine/browser_model.h"

namespace paginor::app {

inline constexpr std::string_view kUpdaterProgram = "renewer.exe";
inline constexpr std::string_view kUpdaterSettings = "renewer_tpnav.ini";
inline constexpr std::string_view kMissingUpdaterMessage =
    "没有发现renewer.exe，请检查程序安装目录是否完整。";
inline constexpr std::string_view kMissingFileMessage = "没有发现";
inline constexpr std::string_view kFloatingBoxFile = "hoverpad.exe";
// The user guide shipped beside the program; the help tab's link shows this name.
inline constexpr std::string_view kGuideFile = "guide.html";
inline constexpr std::string_view kRunValueName = "tpnav";
inline constexpr std::string_view kRunValueError = "Failed to set data for 'tpnav'";

// Processes start by full path only, never through the search path.
class Launcher {
 public:
  virtual ~Launcher() = default;
  virtual bool FileExists(const std::string& path) const = 0;
  // Shown normally, not waited for.
  virtual bool Launch(const std::string& path, const std::string& arguments) = 0;
  // A document, opened by whatever program the user's system keeps for its kind.
  virtual bool Open(const std::string& path) = 0;
};

enum class RunKeyWrite { Written, KeyUnavailable, Failed };

// The "tpnav" value under the current user's Run key.
class RunKey {
 public:
  virtual ~RunKey() = default;
  virtual RunKeyWrite Write(std::string_view data) = 0;
  // Nothing happens when the key does not exist.
  virtual void Delete() = 0;
};

class Minimizer {
 public:
  virtual ~Minimizer() = default;
  virtual void MinimizeToTray() = 0;
};

// A path with a blank, unquoted, lets Windows start "C:\Program.exe" instead.
std::string QuotedPath(std::string_view path);
// The Run value names this program, in the quoted form written now or the bare one
// written by earlier versions; Windows paths ignore the case of ASCII letters.
bool RunValueNamesProgram(std::string_view stored, std::string_view programPath);
// The updater's two arguments: the window handle in decimal and the settings file name.
std::string UpdaterArguments(WindowHandle window);
// "yyyymmdd" of the local date fifteen days before now.
std::string UpdateCutoff(calc::Extended now);
// The stored date sorts below the cutoff; an empty one counts as "2011-11-01".
bool UpdateIsDue(std::string_view lastUpdate, calc::Extended now);

struct UpdaterParts {
  std::string appDir;
  WindowHandle window = 0;
  Launcher& launcher;
  Notices& notices;
  const ProfileFile& renewerSettings;
  const calc::Clock& clock;
  Minimizer& minimizer;
};

class Updater {
 public:
  explicit Updater(const UpdaterParts& parts);

  // Whether the window's showing must start the one-shot timer; a running one is kept.
  bool FormShow();
  // The timer fired: it stops; the check runs only while automatic checking is on.
  void updateTimerTimer(bool autoUpgrade);
  void updatebtnClick();
  void CheckForUpdate();

 private:
  std::string UpdaterPath() const;

  UpdaterParts parts_;
  bool timerRunning_ = false;
};

// "使用悬浮框".
void Label19Click(const std::string& appDir, Launcher& launcher, Notices& notices);
// The help tab's link: the file it names, in appDir.
void helpLabelClick(const std::string& appDir, std::string_view caption, Launcher& launcher, Notices& notices);
// chkauto toggled.
void chkautoClick(bool checked, std::string_view programPath, RunKey& runKey, Notices& notices);

}  // namespace paginor::app
