#pragma once
// The biorhythm arithmetic: the two dates, the day count and phases, and one month's curves and
// day lists. No state of its own; the program's session holds the cycle state (MonthSession.h).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rtl/DateTime.h"

namespace app {

inline constexpr int PhysicalCycle = 23;
inline constexpr int EmotionalCycle = 28;
inline constexpr int IntellectualCycle = 33;

struct TCyclePhases {
    int32_t DayCount = 0;
    int32_t PhysicalPhase = 0;
    int32_t EmotionalPhase = 0;
    int32_t IntellectualPhase = 0;
};

// "15.3.1980": day, month and year in decimal without leading zeros.
std::string BirthDateText(int day, int month, int year);
// "1.3.2000": the first of the month at `monthIndex` (0 = January) of the year text as it stands.
std::string PeriodStartText(int monthIndex, std::string_view yearText);

// The months as the input form's period list names them ("Январь" first), for naming a period
// where the form is not at hand (the command line's report).
const std::array<std::string_view, 12>& PeriodMonthNames();

// Reads a date text the program wrote itself ("." and day first, whatever the locale). Raises
// EConvertError "'%s' is not a valid date".
rtl::TDateTime DateFromProgramText(std::string_view text);

// The birth date of a day, month and year, as DateFromProgramText reads their BirthDateText
// (a year of one or two digits in the current century) without writing the text: EConvertError
// "'15.3.1980' is not a valid date" for one that does not exist.
rtl::TDateTime BirthDateOf(int day, int month, int year);

// "Март 2000": the month's name in the period list and the year of `periodStart`.
std::string PeriodNameOf(rtl::TDateTime periodStart);

// The whole days from birth to period start, and each phase: the cycle length minus the day
// count's remainder (a remainder of 0 giving the full length).
TCyclePhases ComputePhases(rtl::TDateTime birthDate, rtl::TDateTime periodStart);

struct TMonthResult {
    int Days = 0; // days of the period month; each series holds Days + 1 points, x = 0..Days
    std::vector<double> Physical, Emotional, Intellectual, Sum;
    std::string EspeciallyDangerous, Dangerous, Unfavourable;
};

// Days of the month at `monthIndex` (0..11) in `year`.
int MonthLength(int monthIndex, int year);

// One month's four curves and three day lists. The lists are built only for a positive day count;
// with dayCount <= 0 they keep their bare headers completed by " нет.".
TMonthResult ComputeMonth(const TCyclePhases& phases, int monthIndex, int year);

// The number of critical cycles on the day `dayNumber` days after birth.
int CriticalCycles(int64_t dayNumber);

} // namespace app
