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

// Splits a stamp after rounding it to the whole millisecond; empty outside 0001..9999.
std::optional<DateTimeParts> StampToParts(Extended stamp);
// The stamp of a calendar date and time of day; empty outside 0001..9999.
std::optional<Extended> PartsToStamp(const DateTimeParts& parts);

std::optional<std::string> DateToText(Extended stamp);   // YYYY/MM/DD
std::optional<std::string> TimeToText(Extended stamp);   // HH:MM:SS.mmm
std::optional<std::string> StampToText(Extended stamp);  // date, blank, time

std::optional<Extended> TextToDatePart(std::string_view text);
std::optional<Extended> TextToTimePart(std::string_view text);
std::optional<Extended> TextToStamp(std::string_view text);

std::optional<int> DaysInMonth(Extended stamp);

std::string IntToBase(std::int32_t n, int base);
std::int32_t BaseToInt(std::string_view digits, int base);

}  // namespace paginor::calc
