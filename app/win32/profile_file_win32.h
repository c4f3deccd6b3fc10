#pragma once
// tpnav.ini through the private-profile functions. Section and key names are written
// in the ANSI code page, as a person's existing file has them.

#include <string>

#include "app/profile_file.h"

namespace paginor::app::win32 {

class PrivateProfileFile : public ProfileFile {
 public:
  explicit PrivateProfileFile(std::string path) : path_(std::move(path)) {}
  std::optional<std::string> Read(std::string_view section, std::string_view key) const override;
  std::size_t Write(const std::vector<ProfileEntry>& entries) override;
  std::string Path() const override { return path_; }

 private:
  std::string path_;
};

}  // namespace paginor::app::win32
