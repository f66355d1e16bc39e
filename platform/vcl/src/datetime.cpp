// The date-time number: whole days since 30 December 1899 plus the fraction of the day.
#include <chrono>
#include <cmath>
#include <cstdint>

#include "vcl/sysutils.h"

namespace {

constexpr double kMillisecondsPerDay = 86400000.0;
// Days from 1/1/1 (day 1) to 30 December 1899.
constexpr std::int64_t kDayOffset = 693594;
// The date-time numbers of 1/1/1 and 12/31/9999.
constexpr double kFirstDay = -693593.0;
constexpr double kLastDay = 2958465.0;

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// Days since 1/1/1 of the value's date (negative values count backwards, their fraction forwards).
std::int64_t DayNumber(TDateTime value) { return static_cast<std::int64_t>(std::trunc(value)) + kDayOffset; }

std::int64_t MillisecondOfDay(TDateTime value) {
  const double fraction = std::fabs(value - std::trunc(value));
  const auto ms = static_cast<std::int64_t>(std::llround(fraction * kMillisecondsPerDay));
  return ms >= 86400000 ? 86399999 : ms;
}

}  // namespace

TDateTime EncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    throw EConvertError("Invalid argument to date encode");
  const std::int64_t y = year - 1;
  std::int64_t days = y * 365 + y / 4 - y / 100 + y / 400 + day;
  for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
  return static_cast<TDateTime>(days - kDayOffset);
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    throw EConvertError("Invalid argument to time encode");
  return ((hour * 3600000.0) + minute * 60000.0 + second * 1000.0 + millisecond) / kMillisecondsPerDay;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  // Outside 1/1/1 .. 12/31/9999 (or no number at all) there is no date: 0/0/0.
  if (!std::isfinite(value) || value < kFirstDay || value >= kLastDay + 1) {
    year = month = day = 0;
    return;
  }
  std::int64_t days = DayNumber(value) - 1;  // days since 1/1/1, from 0
  if (days < 0) {
    year = month = day = 0;
    return;
  }
  const std::int64_t cycle400 = days / 146097;
  days %= 146097;
  std::int64_t cycle100 = days / 36524;
  if (cycle100 == 4) cycle100 = 3;
  days -= cycle100 * 36524;
  const std::int64_t cycle4 = days / 1461;
  days %= 1461;
  std::int64_t years = days / 365;
  if (years == 4) years = 3;
  days -= years * 365;
  year = static_cast<int>(cycle400 * 400 + cycle100 * 100 + cycle4 * 4 + years + 1);
  month = 1;
  while (days >= DaysInMonth(year, month)) {
    days -= DaysInMonth(year, month);
    ++month;
  }
  day = static_cast<int>(days + 1);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
  if (!std::isfinite(value)) {
    hour = minute = second = millisecond = 0;
    return;
  }
  std::int64_t ms = MillisecondOfDay(value);
  hour = static_cast<int>(ms / 3600000);
  ms %= 3600000;
  minute = static_cast<int>(ms / 60000);
  ms %= 60000;
  second = static_cast<int>(ms / 1000);
  millisecond = static_cast<int>(ms % 1000);
}

TDateTime Now() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t t = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  const int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, ms);
}

std::string DateTimeToStr(TDateTime value) {
  int year, month, day, hour, minute, second, ms;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, ms);
  std::string text = Format("%d/%d/%d", {month, day, year});
  if (hour != 0 || minute != 0 || second != 0) text += Format(" %d:%.2d:%.2d", {hour, minute, second});
  return text;
}
