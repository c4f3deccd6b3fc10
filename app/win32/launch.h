#pragma once
// Starting programs from the program's folder, and the Run value of autostart.

#include "app/update_check.h"

namespace paginor::app::win32 {

// CreateProcessW with the full path as the application name: nothing is looked up on the
// search path or in the current directory, and a blank in the folder's name cannot make
// Windows start "C:\Program.exe" instead.
class ProcessLauncher : public Launcher {
 public:
  bool FileExists(const std::string& path) const override;
  bool Launch(const std::string& path, const std::string& arguments) override;
  bool Open(const std::string& path) override;
};

class RegistryRunKey : public RunKey {
 public:
  RunKeyWrite Write(std::string_view data) override;
  void Delete() override;
};

}  // namespace paginor::app::win32
