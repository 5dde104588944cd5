#include "rtl/DateTime.h"

#include <cmath>
#include <ctime>

#include "rtl/Exception.h"

namespace rtl {

namespace {
// Date value of 1 January of year 1 minus one day: the offset between the day count from
// 1 January 0001 (day 1) and the day count from 30 December 1899.
constexpr int DateDelta = 693594;
constexpr double MSecsPerDay = 86400000.0;

int64_t DaysBeforeYear(int year) {
    int64_t y = year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400;
}
} // namespace

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    if (month < 1 || month > 12) {
        return 0;
    }
    return MonthDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month)) {
        return false;
    }
    int dayOfYear = day;
    for (int m = 1; m < month; ++m) {
        dayOfYear += DaysInMonth(year, m);
    }
    result = static_cast<double>(DaysBeforeYear(year) + dayOfYear - DateDelta);
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime result = 0;
    if (!TryEncodeDate(year, month, day, result)) {
        throw EConvertError("Invalid argument to date encode");
    }
    return result;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& result) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        msec < 0 || msec > 999) {
        return false;
    }
    result = ((hour * 3600 + minute * 60 + second) * 1000.0 + msec) / MSecsPerDay;
    return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
    TDateTime result = 0;
    if (!TryEncodeTime(hour, minute, second, msec, result)) {
        throw EConvertError("Invalid argument to time encode");
    }
    return result;
}

DateParts DecodeDate(TDateTime value) {
    DateParts parts;
    if (!std::isfinite(value)) {
        return parts;
    }
    // Whole days since 1 January 0001 (that day being 0).
    double days = std::floor(value) + DateDelta - 1;
    if (days < 0 || days >= DaysBeforeYear(10000)) {
        return parts;
    }
    int64_t d = static_cast<int64_t>(days);
    int64_t n400 = d / 146097;
    d %= 146097;
    int64_t n100 = d / 36524;
    if (n100 == 4) {
        n100 = 3;
    }
    d -= n100 * 36524;
    int64_t n4 = d / 1461;
    d %= 1461;
    int64_t n1 = d / 365;
    if (n1 == 4) {
        n1 = 3;
    }
    d -= n1 * 365;
    parts.year = static_cast<int>(n400 * 400 + n100 * 100 + n4 * 4 + n1 + 1);
    int month = 1;
    while (d >= DaysInMonth(parts.year, month)) {
        d -= DaysInMonth(parts.year, month);
        ++month;
    }
    parts.month = month;
    parts.day = static_cast<int>(d) + 1;
    return parts;
}

TimeParts DecodeTime(TDateTime value) {
    TimeParts parts;
    if (!std::isfinite(value)) {
        return parts;
    }
    double frac = std::fabs(value - std::trunc(value));
    auto ms = static_cast<int64_t>(std::llround(frac * MSecsPerDay));
    if (ms >= 86400000) {
        ms = 86399999;
    }
    parts.hour = static_cast<int>(ms / 3600000);
    parts.minute = static_cast<int>(ms / 60000 % 60);
    parts.second = static_cast<int>(ms / 1000 % 60);
    parts.msec = static_cast<int>(ms % 1000);
    return parts;
}

int DayOfWeek(TDateTime value) {
    // Day 0 (30 December 1899) was a Saturday.
    auto days = static_cast<int64_t>(std::floor(value));
    int64_t r = ((days + 6) % 7 + 7) % 7; // 0 = Sunday
    return static_cast<int>(r) + 1;
}

TDateTime Now() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    std::tm local{};
    localtime_r(&ts.tv_sec, &local);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           EncodeTime(local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec,
                      static_cast<int>(ts.tv_nsec / 1000000));
}

TDateTime Date() {
    return std::floor(Now());
}

int CurrentYear() {
    return DecodeDate(Now()).year;
}

} // namespace rtl
