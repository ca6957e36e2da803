// Local date and time from a clock that tests can fix, and VB's "mm/dd/yyyy hh:mm:ss" format.
#pragma once

#include "framework/vb_text.h"

namespace vb {

struct DateTime {
  int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
  bool operator==(const DateTime&) const = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime Now() const = 0;  // local time
};

class SystemClock final : public Clock {
 public:
  DateTime Now() const override;
};

class FixedClock final : public Clock {
 public:
  explicit FixedClock(DateTime at) : at_(at) {}
  DateTime Now() const override { return at_; }
  void Set(DateTime at) { at_ = at; }

 private:
  DateTime at_;
};

// Format(date, "mm/dd/yyyy hh:mm:ss") where "/" and ":" stand for the system's separators.
Text FormatDateTime(const DateTime& d, TextView dateSeparator = u"/", TextView timeSeparator = u":");
// Format(date, "mm/dd/yyyy").
Text FormatDate(const DateTime& d, TextView dateSeparator = u"/");

}  // namespace vb
