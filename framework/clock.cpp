// The system's local time and VB's fixed date formats.
#include "framework/clock.h"

#include <ctime>

namespace vb {

namespace {

Text TwoDigits(int n) {
  Text out;
  out += static_cast<char16_t>(u'0' + (n / 10) % 10);
  out += static_cast<char16_t>(u'0' + n % 10);
  return out;
}

Text FourDigits(int n) {
  Text out = TwoDigits(n / 100);
  out += TwoDigits(n % 100);
  return out;
}

}  // namespace

DateTime SystemClock::Now() const {
  std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

Text FormatDate(const DateTime& d, TextView dateSeparator) {
  Text out = TwoDigits(d.month);
  out += dateSeparator;
  out += TwoDigits(d.day);
  out += dateSeparator;
  out += FourDigits(d.year);
  return out;
}

Text FormatDateTime(const DateTime& d, TextView dateSeparator, TextView timeSeparator) {
  Text out = FormatDate(d, dateSeparator);
  out += u' ';
  out += TwoDigits(d.hour);
  out += timeSeparator;
  out += TwoDigits(d.minute);
  out += timeSeparator;
  out += TwoDigits(d.second);
  return out;
}

}  // namespace vb
