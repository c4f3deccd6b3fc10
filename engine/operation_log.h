#pragma once
// The operation log: one appended line per decision.

#include <string_view>

namespace paginor {

class OperationLog {
 public:
  virtual ~OperationLog() = default;
  virtual void Append(std::string_view line) = 0;
};

}  // namespace paginor
