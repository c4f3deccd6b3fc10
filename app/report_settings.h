#pragma once
// The settings that steer commands, as the diagnostic report lists them.

#include <string>
#include <vector>

#include "app/profile_file.h"

namespace paginor::app {

// The browser choice first, then the options and each input's switch and bindings;
// a missing file reads as the defaults, and says so.
std::vector<std::string> ReportSettingsLines(const ProfileFile& profile, bool fileExists);

}  // namespace paginor::app
