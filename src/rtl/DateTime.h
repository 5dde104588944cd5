#pragma once
// Date values: days since 30 December 1899 at midnight, the fraction being the time of day.
// Calendar dates follow the proleptic Gregorian rule for years 1 to 9999.
#include <cstdint>

namespace rtl {

using TDateTime = double;

// Days of each month, January first; February gains a day in leap years.
inline constexpr int MonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool IsLeapYear(int year);
// Days of `month` (1..12) in `year`; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);

// False (and `result` untouched) for anything but a valid date of years 1..9999.
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
// Raises EConvertError "Invalid argument to date encode" for an invalid triple.
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& result);
TDateTime EncodeTime(int hour, int minute, int second, int msec);

struct DateParts {
    int year = 0, month = 0, day = 0;
};
struct TimeParts {
    int hour = 0, minute = 0, second = 0, msec = 0;
};
// Dates outside years 1..9999 decode to all zeros.
DateParts DecodeDate(TDateTime value);
TimeParts DecodeTime(TDateTime value);

// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime value);

// The local clock.
TDateTime Now();
TDateTime Date();
int CurrentYear();

} // namespace rtl
