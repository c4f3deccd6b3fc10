#include "calc/clock.h"

#include <chrono>
#include <ctime>

#include "calc/conversions.h"

namespace paginor::calc {
namespace {

class LocalClock final : public Clock {
 public:
  Extended Now() const override {
    const auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count();
    const auto seconds = static_cast<std::time_t>(ms >= 0 ? ms / 1000 : (ms - 999) / 1000);
    const auto millisecond = static_cast<int>(ms - static_cast<long long>(seconds) * 1000);
    std::tm local{};
#ifdef _WIN32
    const bool converted = localtime_s(&local, &seconds) == 0;
#else
    const bool converted = localtime_r(&seconds, &local) != nullptr;
#endif
    if (converted) {
      // A leap second is shown as the last ordinary second of its minute.
      const DateTimeParts parts{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                local.tm_hour,        local.tm_min,     local.tm_sec > 59 ? 59 : local.tm_sec,
                                millisecond};
      if (const auto stamp = PartsToStamp(parts)) {
        return *stamp;
      }
    }
    // Without a local time zone the universal time is the best there is.
    constexpr long double kUnixEpochDay = 25569.0L;
    return kUnixEpochDay + static_cast<Extended>(ms) / 86'400'000.0L;
  }
};

}  // namespace

const Clock& SystemClock() {
  static const LocalClock clock;
  return clock;
}

}  // namespace paginor::calc
