#include "calc/conversions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

#include "calc/number_text.h"

namespace paginor::calc {
namespace {

using Int = std::int64_t;

constexpr Int kMsPerDay = 86'400'000;
constexpr Int kFirstDay = -693'593;   // 0001-01-01
constexpr Int kLastDay = 2'958'465;   // 9999-12-31
constexpr Int kEpochShift = 25'569;   // 1970-01-01 counted from 1899-12-30
// Fields are read as 32-bit values would be; longer digit runs saturate instead of
// wrapping, so an absurd year is caught by the range check rather than folded back.
constexpr Int kFieldLimit = std::numeric_limits<std::int32_t>::max();

Int FloorDiv(Int a, Int b) {
  const Int q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

Int FloorMod(Int a, Int b) { return a - FloorDiv(a, b) * b; }

bool IsLeapYear(Int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int MonthLength(Int year, Int month) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30,
                                                31, 31, 30, 31, 30, 31};
  return kDays[static_cast<std::size_t>(month - 1)] + ((month == 2 && IsLeapYear(year)) ? 1 : 0);
}

// Day number of a proleptic Gregorian date, counted from 1899-12-30.
Int DayNumber(Int year, Int month, Int day) {
  const Int y = month <= 2 ? year - 1 : year;
  const Int era = FloorDiv(y, 400);
  const Int year_of_era = y - era * 400;
  const Int day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const Int day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146'097 + day_of_era - 719'468 + kEpochShift;
}

struct CivilDate {
  Int year;
  Int month;
  Int day;
};

CivilDate DateOfDay(Int day_number) {
  const Int z = day_number - kEpochShift + 719'468;
  const Int era = FloorDiv(z, 146'097);
  const Int day_of_era = z - era * 146'097;
  const Int year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36'524 - day_of_era / 146'096) / 365;
  const Int day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const Int mp = (5 * day_of_year + 2) / 153;
  const Int day = day_of_year - (153 * mp + 2) / 5 + 1;
  const Int month = mp < 10 ? mp + 3 : mp - 9;
  const Int year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);
  return {year, month, day};
}

struct SplitStamp {
  Int day;      // truncated toward zero
  Int time_ms;  // time of day, 0 .. 86399999
};

std::optional<SplitStamp> Split(Extended stamp) {
  // The bound keeps the millisecond count far inside 64 bits before the range check.
  if (!std::isfinite(stamp) || std::fabs(stamp) > 4.0e6L) {
    return std::nullopt;
  }
  const auto total = static_cast<Int>(std::round(stamp * static_cast<Extended>(kMsPerDay)));
  const Int day = total / kMsPerDay;
  const Int time_ms = total % kMsPerDay;
  if (day < kFirstDay || day > kLastDay) {
    return std::nullopt;
  }
  return SplitStamp{day, time_ms < 0 ? -time_ms : time_ms};
}

Extended Join(Int day, Int time_ms) {
  const Extended fraction = static_cast<Extended>(time_ms) / static_cast<Extended>(kMsPerDay);
  // Before 1899-12-30 the time of day counts backward from the day number.
  return day >= 0 ? static_cast<Extended>(day) + fraction : static_cast<Extended>(day) - fraction;
}

std::string Padded(Int value, int width) {
  std::array<char, 24> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%0*lld", width, static_cast<long long>(value));
  return buffer.data();
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct Field {
  Int value = 0;
  bool valid = false;  // the whole text was an integer
};

// Optional blanks and sign, then digits. A text that is not entirely that still yields
// the digits read before the first bad character.
Field ReadField(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) <= 32) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t first_digit = i;
  Int value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = std::min(value * 10 + (text[i] - '0'), kFieldLimit);
  }
  const bool valid = i > first_digit && i == text.size();
  return {negative ? -value : value, valid};
}

std::string ReplaceEvery(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t hit = text.find(from); hit != std::string_view::npos;
       hit = text.find(from, start)) {
    out.append(text.substr(start, hit - start)).append(to);
    start = hit + from.size();
  }
  out.append(text.substr(start));
  return out;
}

std::string_view StripQuotes(std::string_view text) {
  if (!text.empty() && text.front() == '"') {
    text.remove_prefix(1);
  }
  if (!text.empty() && text.back() == '"') {
    text.remove_suffix(1);
  }
  return text;
}

struct YearMonthDay {
  Int year = 1;
  Int month = 1;
  Int day = 1;
};

YearMonthDay ReadDateFields(std::string_view text) {
  YearMonthDay date;
  const std::size_t slash = text.find('/');
  if (slash == std::string_view::npos) {
    const Field whole = ReadField(TrimBlanks(text));
    if (whole.valid) {
      date.year = whole.value;
    }
    return date;
  }
  date.year = ReadField(text.substr(0, slash)).value;
  text.remove_prefix(slash + 1);
  const std::size_t second = text.find('/');
  if (second != std::string_view::npos && second >= 1) {
    const Field month = ReadField(TrimBlanks(text.substr(0, second)));
    if (month.valid) {
      date.month = month.value;
    }
    text.remove_prefix(second + 1);
  }
  date.day = ReadField(TrimBlanks(text)).value;
  return date;
}

struct TimeFields {
  Int hour = 0;
  Int minute = 0;
  Int second = 0;
  Int millisecond = 0;
};

TimeFields ReadTimeFields(std::string_view text) {
  TimeFields time;
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon < 1) {
    const Field whole = ReadField(text);
    if (whole.valid) {
      time.hour = whole.value;
    }
    return time;
  }
  time.hour = ReadField(text.substr(0, colon)).value;
  text.remove_prefix(colon + 1);
  const std::size_t second_colon = text.find(':');
  if (second_colon == std::string_view::npos || second_colon < 1) {
    const Field minute = ReadField(text);
    if (minute.valid) {
      time.minute = minute.value;
    }
    return time;
  }
  time.minute = ReadField(text.substr(0, second_colon)).value;
  text.remove_prefix(second_colon + 1);
  const std::size_t dot = text.find('.');
  if (dot != std::string_view::npos) {
    time.second = ReadField(text.substr(0, dot)).value;
    time.millisecond = ReadField(text.substr(dot + 1)).value;
  } else if (const Field second = ReadField(text); second.valid) {
    time.second = second.value;
  }
  return time;
}

// Moves whatever lies outside 0 .. unit-1 into the next larger unit.
void Carry(Int& value, Int unit, Int& next) {
  next += FloorDiv(value, unit);
  value = FloorMod(value, unit);
}

}  // namespace

std::optional<DateTimeParts> StampToParts(Extended stamp) {
  const auto split = Split(stamp);
  if (!split) {
    return std::nullopt;
  }
  const CivilDate date = DateOfDay(split->day);
  const Int t = split->time_ms;
  return DateTimeParts{static_cast<int>(date.year),        static_cast<int>(date.month),
                       static_cast<int>(date.day),         static_cast<int>(t / 3'600'000),
                       static_cast<int>(t / 60'000 % 60),  static_cast<int>(t / 1000 % 60),
                       static_cast<int>(t % 1000)};
}

std::optional<Extended> PartsToStamp(const DateTimeParts& parts) {
  // Fields must already be in range: this builds stamps, it does not normalise them.
  if (parts.year < 1 || parts.year > 9999 || parts.month < 1 || parts.month > 12 ||
      parts.day < 1 || parts.day > MonthLength(parts.year, parts.month) || parts.hour < 0 ||
      parts.hour > 23 || parts.minute < 0 || parts.minute > 59 || parts.second < 0 ||
      parts.second > 59 || parts.millisecond < 0 || parts.millisecond > 999) {
    return std::nullopt;
  }
  const Int time_ms = ((Int{parts.hour} * 60 + parts.minute) * 60 + parts.second) * 1000 +
                      parts.millisecond;
  return Join(DayNumber(parts.year, parts.month, parts.day), time_ms);
}

std::optional<int> WeekdayOf(Extended stamp) {
  const auto split = Split(stamp);
  if (!split) {
    return std::nullopt;
  }
  // 1899-12-30 was a Saturday.
  return static_cast<int>(FloorMod(split->day + 5, 7) + 1);
}

std::optional<std::string> DateToText(Extended stamp) {
  const auto parts = StampToParts(stamp);
  if (!parts) {
    return std::nullopt;
  }
  return Padded(parts->year, 4) + "/" + Padded(parts->month, 2) + "/" + Padded(parts->day, 2);
}

std::optional<std::string> TimeToText(Extended stamp) {
  const auto parts = StampToParts(stamp);
  if (!parts) {
    return std::nullopt;
  }
  return Padded(parts->hour, 2) + ":" + Padded(parts->minute, 2) + ":" +
         Padded(parts->second, 2) + "." + Padded(parts->millisecond, 3);
}

std::optional<std::string> StampToText(Extended stamp) {
  const auto date = DateToText(stamp);
  const auto time = TimeToText(stamp);
  if (!date || !time) {
    return std::nullopt;
  }
  return *date + " " + *time;
}

std::optional<Extended> TextToDatePart(std::string_view text) {
  std::string cleaned = ReplaceEvery(StripQuotes(TrimBlanks(text)), " /", "/");
  cleaned = ReplaceEvery(cleaned, "/ ", "/");
  std::string_view rest = TrimBlanks(cleaned);
  if (rest.empty() || !IsDigit(rest.front())) {
    return Extended{0};
  }
  if (const std::size_t blank = rest.find(' ', 1); blank != std::string_view::npos) {
    rest = rest.substr(0, blank);
  }
  YearMonthDay date = ReadDateFields(rest);
  // Month 13 is January of the next year, month 0 December of the one before.
  date.year += FloorDiv(date.month - 1, 12);
  date.month = FloorMod(date.month - 1, 12) + 1;
  if (date.year <= 0) {
    date = YearMonthDay{};
  }
  if (date.year > 9999) {
    return std::nullopt;
  }
  const Int day_number = DayNumber(date.year, date.month, 1) + date.day - 1;
  if (day_number > kLastDay) {
    return std::nullopt;
  }
  return static_cast<Extended>(std::max(day_number, kFirstDay));
}

std::optional<Extended> TextToTimePart(std::string_view text) {
  std::string cleaned(TrimBlanks(StripQuotes(TrimBlanks(text))));
  static constexpr std::array<std::array<std::string_view, 2>, 7> kJoins = {{
      {"  ", " "}, {" /", "/"}, {"/ ", "/"}, {" :", ":"}, {": ", ":"}, {" .", "."}, {". ", "."},
  }};
  for (const auto& [from, to] : kJoins) {
    cleaned = ReplaceEvery(cleaned, from, to);
  }
  std::string_view rest = cleaned;
  if (const std::size_t blank = rest.find(' ', 1); blank != std::string_view::npos) {
    rest = TrimBlanks(rest.substr(blank + 1));
  }
  if (rest.empty() || !(rest.front() == '-' || IsDigit(rest.front()))) {
    return Extended{0};
  }
  TimeFields time = ReadTimeFields(rest);
  Int days = 0;
  Carry(time.millisecond, 1000, time.second);
  Carry(time.second, 60, time.minute);
  Carry(time.minute, 60, time.hour);
  Carry(time.hour, 24, days);
  const Int time_ms =
      time.hour * 3'600'000 + time.minute * 60'000 + time.second * 1000 + time.millisecond;
  return static_cast<Extended>(days) +
         static_cast<Extended>(time_ms) / static_cast<Extended>(kMsPerDay);
}

std::optional<Extended> TextToStamp(std::string_view text) {
  const std::string_view trimmed = TrimBlanks(text);
  const bool has_time = trimmed.find(':') != std::string_view::npos;
  if (trimmed.find('/') == std::string_view::npos) {
    return has_time ? TextToTimePart(trimmed) : TextToDatePart(trimmed);
  }
  const auto date = TextToDatePart(trimmed);
  if (!date || !has_time) {
    return date;
  }
  const auto time = TextToTimePart(trimmed);
  // Whole days the time carried move the date; the time of day then goes forward from
  // the day from 1899-12-30 on, and backward before it, as stamps count it. This also
  // holds where the carried days cross 1899-12-30 and for a negative time on a negative
  // date, where a complement to 23:59:59.999 would land a millisecond early.
  const auto d = static_cast<double>(*date);
  const auto t = static_cast<double>(time.value_or(0));
  const double whole_days = std::floor(t);
  const double day = d + whole_days;
  const double time_of_day = t - whole_days;
  return static_cast<Extended>(day >= 0 ? day + time_of_day : day - time_of_day);
}

std::optional<int> DaysInMonth(Extended stamp) {
  // Stamps before 0001-01-01 are out of range like those after 9999: a fault.
  const auto parts = StampToParts(stamp);
  if (!parts) {
    return std::nullopt;
  }
  const bool first_instant = parts->year == 1 && parts->month == 1 && parts->day == 1 &&
                             parts->hour == 0 && parts->minute == 0 && parts->second == 0 &&
                             parts->millisecond == 0;
  // 0001-01-01 itself is where unreadable dates are clamped to; it reports no month.
  if (first_instant) {
    return 0;
  }
  return MonthLength(parts->year, parts->month);
}

std::string IntToBase(std::int32_t n, int base) {
  if (base < 2 || base > 16) {
    return {};
  }
  // A negative number is written as "-" and the digits of its magnitude.
  Int magnitude = n < 0 ? -Int{n} : Int{n};
  std::string digits;
  do {
    digits.insert(digits.begin(), "0123456789ABCDEF"[magnitude % base]);
    magnitude /= base;
  } while (magnitude != 0 && digits.size() < 32);
  return n < 0 ? "-" + digits : digits;
}

std::int32_t BaseToInt(std::string_view digits, int base) {
  if (base < 2 || base > 16) {
    return -1;
  }
  while (!digits.empty() && digits.front() == '0') {
    digits.remove_prefix(1);
  }
  // Digits are not checked against the base ("9" in base 2 is 9). A value beyond the
  // 32-bit signed range is reported as -1 like an invalid digit, not wrapped around.
  Int value = 0;
  bool overflow = false;
  for (const char c : digits) {
    Int digit = 0;
    if (IsDigit(c)) {
      digit = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      return -1;
    }
    if (!overflow) {
      value = value * base + digit;
      overflow = value > std::numeric_limits<std::int32_t>::max();
    }
  }
  return overflow ? -1 : static_cast<std::int32_t>(value);
}

}  // namespace paginor::calc
