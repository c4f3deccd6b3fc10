#pragma once

#include <string_view>

namespace paginor::cli {

extern const std::string_view kUsage;

}  // namespace paginor::cli
