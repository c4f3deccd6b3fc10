#pragma once
// The two kinds of box the program shows besides its own dialogs.

#include <string_view>

namespace paginor::app {

inline constexpr std::string_view kNoticeCaption = "提示";

class Notices {
 public:
  virtual ~Notices() = default;
  // Caption "提示", an OK button: missing files, duplicate settings.
  virtual void Notice(std::string_view text) = 0;
  // The standard error box of a failed write ("Unable to write to %s").
  virtual void Error(std::string_view text) = 0;
};

}  // namespace paginor::app
