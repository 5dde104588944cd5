#include "app/BiorhythmModel.h"

#include <cmath>

#include "rtl/DateText.h"
#include "rtl/Exception.h"
#include "rtl/FormatSettings.h"

namespace app {

namespace {
// 2π at extended precision, as the curves were always computed; each value is rounded to a double
// only after the sine.
constexpr long double TwoPi = 6.283185307179586477L;

double ExactCycleValue(int64_t k, int length) {
    long double arg = TwoPi * static_cast<long double>(k) / length;
    return static_cast<double>(-sinl(arg));
}

// Every argument p - n + 2 that a month can produce lies in a small range (phases are at most
// 47, n at most 32), so the values are computed once, by the same formula, and looked up after.
class CycleTable {
public:
    static constexpr int Lowest = -64, Highest = 64;

    explicit CycleTable(int length) : m_length(length) {
        for (int k = Lowest; k <= Highest; ++k) {
            m_values[k - Lowest] = ExactCycleValue(k, length);
        }
    }
    double operator()(int32_t phase, int n) const {
        int64_t k = int64_t(phase) - n + 2;
        return k >= Lowest && k <= Highest ? m_values[k - Lowest] : ExactCycleValue(k, m_length);
    }

private:
    int m_length;
    double m_values[Highest - Lowest + 1];
};

const char* const EspeciallyDangerousHeader = "Особо опасные дни:";
const char* const DangerousHeader = "Опасные дни:";
const char* const UnfavourableHeader = "Неблагоприятные дни:";
const char* const NoneSuffix = " нет.";
} // namespace

std::string BirthDateText(int day, int month, int year) {
    return std::to_string(day) + "." + std::to_string(month) + "." + std::to_string(year);
}

std::string PeriodStartText(int monthIndex, std::string_view yearText) {
    return "1." + std::to_string(monthIndex + 1) + "." + std::string(yearText);
}

const std::array<std::string_view, 12>& PeriodMonthNames() {
    static const std::array<std::string_view, 12> names = {
        "Январь", "Февраль", "Март",     "Апрель",  "Май",    "Июнь",
        "Июль",   "Август",  "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};
    return names;
}

rtl::TDateTime DateFromProgramText(std::string_view text) {
    return rtl::StrToDate(text, rtl::ProgramDateSettings());
}

rtl::TDateTime BirthDateOf(int day, int month, int year) {
    // The reader takes a year written with one or two digits as one of the current century;
    // a negative number is no digits at all, and no date.
    int fullYear = year >= 0 && year <= 99 ? year + rtl::CurrentYear() / 100 * 100 : year;
    rtl::TDateTime date = 0;
    if (year < 0 || !rtl::TryEncodeDate(fullYear, month, day, date))
        throw rtl::EConvertError("'%s' is not a valid date", BirthDateText(day, month, year));
    return date;
}

std::string PeriodNameOf(rtl::TDateTime periodStart) {
    rtl::DateParts d = rtl::DecodeDate(periodStart);
    std::string name(PeriodMonthNames()[size_t(d.month - 1)]);
    name += ' ';
    name += std::to_string(d.year);
    return name;
}

TCyclePhases ComputePhases(rtl::TDateTime birthDate, rtl::TDateTime periodStart) {
    TCyclePhases p;
    double d = periodStart - birthDate;
    p.DayCount = static_cast<int32_t>(std::trunc(d));
    p.PhysicalPhase = PhysicalCycle - p.DayCount % PhysicalCycle;
    p.EmotionalPhase = EmotionalCycle - p.DayCount % EmotionalCycle;
    p.IntellectualPhase = IntellectualCycle - p.DayCount % IntellectualCycle;
    return p;
}

int MonthLength(int monthIndex, int year) {
    if (monthIndex < 0 || monthIndex > 11) {
        return 0;
    }
    int days = rtl::MonthDays[monthIndex];
    if (rtl::IsLeapYear(year) && monthIndex == 1) {
        ++days;
    }
    return days;
}

int CriticalCycles(int64_t dayNumber) {
    int64_t a = dayNumber % 23, b = dayNumber % 14, e = dayNumber % 33;
    bool physical = a == 0 || a == 12;
    bool intellectual = e == 0 || e == 17;
    // The emotional half-cycle of 14 days falls between two whole days every other time; the day
    // after counts only when another cycle is critical at its half as well.
    bool emotional = b == 0 || (b == 1 && (a == 12 || e == 17));
    return int(physical) + int(emotional) + int(intellectual);
}

TMonthResult ComputeMonth(const TCyclePhases& phases, int monthIndex, int year) {
    static const CycleTable physical(PhysicalCycle), emotional(EmotionalCycle),
        intellectual(IntellectualCycle);
    TMonthResult r;
    r.Days = MonthLength(monthIndex, year);
    const int points = r.Days + 1;
    r.Physical.reserve(points);
    r.Emotional.reserve(points);
    r.Intellectual.reserve(points);
    r.Sum.reserve(points);
    r.EspeciallyDangerous = EspeciallyDangerousHeader;
    r.Dangerous = DangerousHeader;
    r.Unfavourable = UnfavourableHeader;
    for (int n = 1; n <= points; ++n) {
        double y23 = physical(phases.PhysicalPhase, n);
        double y28 = emotional(phases.EmotionalPhase, n);
        double y33 = intellectual(phases.IntellectualPhase, n);
        r.Physical.push_back(y23);
        r.Emotional.push_back(y28);
        r.Intellectual.push_back(y33);
        r.Sum.push_back(y23 + y28 + y33);
        // The first day of the next month is drawn but never listed; without a positive day count
        // there is nothing to classify.
        if (n == points || phases.DayCount <= 0) {
            continue;
        }
        std::string* list = nullptr;
        switch (CriticalCycles(static_cast<int64_t>(phases.DayCount) + n - 1)) {
        case 3:
            list = &r.EspeciallyDangerous;
            break;
        case 2:
            list = &r.Dangerous;
            break;
        case 1:
            list = &r.Unfavourable;
            break;
        default:
            break;
        }
        if (list) {
            *list += ' ';
            *list += std::to_string(n);
        }
    }
    for (std::string* list : {&r.EspeciallyDangerous, &r.Dangerous, &r.Unfavourable}) {
        if (*list == EspeciallyDangerousHeader || *list == DangerousHeader ||
            *list == UnfavourableHeader) {
            *list += NoneSuffix;
        }
    }
    return r;
}

} // namespace app
