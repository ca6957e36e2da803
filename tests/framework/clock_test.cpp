#include <gtest/gtest.h>

#include <ctime>

#include "framework/clock.h"
#include "support/scoped_env.h"

namespace {

using vb::DateTime;

TEST(Clock, FormatsMonthDayYearAnd24HourTime) {
  struct Case {
    DateTime at;
    vb::Text dateSeparator, timeSeparator, expected;
  };
  const Case cases[] = {
      {{2026, 12, 7, 9, 30, 15}, u"/", u":", u"12/07/2026 09:30:15"},
      {{2024, 1, 2, 23, 5, 0}, u"/", u":", u"01/02/2024 23:05:00"},
      {{2024, 1, 2, 0, 0, 9}, u".", u".", u"01.02.2024 00.00.09"},
      {{2024, 10, 31, 12, 59, 59}, u"-", u":", u"10-31-2024 12:59:59"},
      {{999, 3, 4, 5, 6, 7}, u"/", u":", u"03/04/0999 05:06:07"},
  };
  for (const Case& c : cases) EXPECT_EQ(vb::FormatDateTime(c.at, c.dateSeparator, c.timeSeparator), c.expected);
  EXPECT_EQ(vb::FormatDateTime({2026, 12, 7, 9, 30, 15}), u"12/07/2026 09:30:15");
  EXPECT_EQ(vb::FormatDate({2026, 3, 9, 9, 30, 15}), u"03/09/2026");
  EXPECT_EQ(vb::FormatDate({2026, 3, 9, 9, 30, 15}, u"."), u"03.09.2026");
}

TEST(Clock, FixedClockCanBeMoved) {
  vb::FixedClock clock({2026, 12, 7, 9, 30, 15});
  EXPECT_EQ(clock.Now(), (DateTime{2026, 12, 7, 9, 30, 15}));
  clock.Set({2027, 1, 1, 0, 0, 0});
  EXPECT_EQ(clock.Now(), (DateTime{2027, 1, 1, 0, 0, 0}));
}

TEST(Clock, SystemClockGivesLocalTime) {
  {
    // A zone 5:45 ahead of UTC (no tz database needed) so that UTC would not pass for local time.
    testing_support::ScopedEnv zone("TZ", "VBT-5:45");
    tzset();

    std::time_t before = std::time(nullptr);
    DateTime now = vb::SystemClock().Now();
    std::time_t after = std::time(nullptr);
    // Compare with the C library's local time taken around the call (equal unless a second ticked).
    auto local = [](std::time_t t) {
      std::tm tm{};
      localtime_r(&t, &tm);
      return DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    };
    EXPECT_TRUE(now == local(before) || now == local(after));
    std::tm utc{};
    gmtime_r(&before, &utc);
    EXPECT_NE(now.minute, utc.tm_min);
  }
  tzset();  // the zone put back
}

}  // namespace
