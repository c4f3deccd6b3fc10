#pragma once
// Stamps (day counts from 1899-12-30), date and time texts, and base conversions.
// A calendar value out of range is a fault: the optional is empty, and the evaluator
// records it as "invalid formule".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "calc/extended.h"

namespace paginor::calc {

struct DateTimeParts {
  int year = 1;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// Splits a stamp after rounding it to the whole millisecond; empty outside 0001..9999
// and for NaN or infinity.
std::optional<DateTimeParts> StampToParts(Extended stamp);
// The stamp of a calendar date and time of day; empty outside 0001..9999 or when a field
// is out of its range (it builds stamps, it does not normalise them).
std::optional<Extended> PartsToStamp(const DateTimeParts& parts);

std::optional<std::string> DateToText(Extended stamp);   // YYYY/MM/DD
std::optional<std::string> TimeToText(Extended stamp);   // HH:MM:SS.mmm
std::optional<std::string> StampToText(Extended stamp);  // date, blank, time

// Texts that are no dates or times give 0 or a default, never a fault; only a year above
// 9999 (or a day past 9999-12-31) is. Numeric fields too long for 32 bits saturate.
std::optional<Extended> TextToDatePart(std::string_view text);
std::optional<Extended> TextToTimePart(std::string_view text);  // never empty
std::optional<Extended> TextToStamp(std::string_view text);

// 0 for 0001-01-01 itself; empty for stamps outside 0001..9999.
std::optional<int> DaysInMonth(Extended stamp);
// Day of the week of a stamp, Monday 1 to Sunday 7; empty outside 0001..9999.
std::optional<int> WeekdayOf(Extended stamp);

// Empty unless base is 2 to 16; a negative n gives "-" and the digits of its magnitude.
std::string IntToBase(std::int32_t n, int base);
// -1 for a base outside 2 to 16, a character other than 0-9, A-F, a-f, or a value above
// 2147483647 (no wrap-around). Digits are not checked against the base.
std::int32_t BaseToInt(std::string_view digits, int base);

}  // namespace paginor::calc
