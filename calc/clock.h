#pragma once
// The clock behind the variables date, now and time; tests inject a fixed one.

#include "calc/extended.h"

namespace paginor::calc {

class Clock {
 public:
  virtual ~Clock() = default;
  // The local date and time as a stamp (days from 1899-12-30, time as the fraction).
  virtual Extended Now() const = 0;
};

const Clock& SystemClock();

}  // namespace paginor::calc
