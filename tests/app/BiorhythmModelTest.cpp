#include <gtest/gtest.h>

#include <cmath>

#include "app/BiorhythmModel.h"
#include "rtl/Exception.h"
#include "rtl/FormatSettings.h"

using namespace app;

namespace {
TMonthResult Month(const char* birth, int monthIndex, int year, TCyclePhases* phasesOut = nullptr) {
    TCyclePhases phases =
        ComputePhases(DateFromProgramText(birth),
                      DateFromProgramText(PeriodStartText(monthIndex, std::to_string(year))));
    if (phasesOut) {
        *phasesOut = phases;
    }
    return ComputeMonth(phases, monthIndex, year);
}
} // namespace

TEST(BiorhythmModel, March2000ForABirthIn1980) {
    EXPECT_EQ(BirthDateText(15, 3, 1980), "15.3.1980");
    EXPECT_EQ(PeriodStartText(2, "2000"), "1.3.2000");
    EXPECT_EQ(DateFromProgramText("15.3.1980"), 29295);
    EXPECT_EQ(DateFromProgramText("1.3.2000"), 36586);
    TCyclePhases p;
    TMonthResult r = Month("15.3.1980", 2, 2000, &p);
    EXPECT_EQ(p.DayCount, 7291);
    EXPECT_EQ(p.PhysicalPhase, 23); // remainder 0 gives the full length, never 0
    EXPECT_EQ(p.EmotionalPhase, 17);
    EXPECT_EQ(p.IntellectualPhase, 2);
    EXPECT_EQ(r.Days, 31);
    ASSERT_EQ(r.Physical.size(), 32u);
    ASSERT_EQ(r.Sum.size(), 32u);
    EXPECT_NEAR(r.Physical[0], -0.269797, 5e-7);
    EXPECT_NEAR(r.Emotional[0], 0.781831, 5e-7);
    EXPECT_NEAR(r.Intellectual[0], -0.540641, 5e-7);
    EXPECT_NEAR(r.Sum[0], -0.028606, 5e-7);
    EXPECT_NEAR(r.Physical[1], 0.0, 5e-7);
    EXPECT_NEAR(r.Emotional[1], 0.623490, 5e-7);
    EXPECT_NEAR(r.Intellectual[1], -0.371662, 5e-7);
    EXPECT_NEAR(r.Sum[1], 0.251827, 5e-7);
    EXPECT_EQ(r.EspeciallyDangerous, "Особо опасные дни: нет.");
    EXPECT_EQ(r.Dangerous, "Опасные дни: нет.");
    EXPECT_EQ(r.Unfavourable, "Неблагоприятные дни: 1 3 4 13 18 20 24");
}

TEST(BiorhythmModel, LeapFebruary2024ForABirthIn1970) {
    TCyclePhases p;
    TMonthResult r = Month("1.1.1970", 1, 2024, &p);
    EXPECT_EQ(p.DayCount, 19754);
    EXPECT_EQ(p.PhysicalPhase, 3);
    EXPECT_EQ(p.EmotionalPhase, 14);
    EXPECT_EQ(p.IntellectualPhase, 13);
    EXPECT_EQ(r.Days, 29);
    EXPECT_EQ(r.Physical.size(), 30u);
    EXPECT_NEAR(r.Physical[0], -0.887885, 5e-7);
    EXPECT_NEAR(r.Emotional[0], 0.222521, 5e-7);
    EXPECT_NEAR(r.Intellectual[0], -0.458227, 5e-7);
    EXPECT_NEAR(r.Sum[0], -1.123591, 5e-7);
    EXPECT_EQ(r.EspeciallyDangerous, "Особо опасные дни: нет.");
    EXPECT_EQ(r.Dangerous, "Опасные дни: 16");
    EXPECT_EQ(r.Unfavourable, "Неблагоприятные дни: 1 4 14 15 27 29");
}

TEST(BiorhythmModel, CurvesAreSinesOfTheDaysSinceBirth) {
    TCyclePhases p;
    TMonthResult r = Month("7.11.1961", 6, 1999, &p);
    for (int x = 0; x <= r.Days; ++x) {
        double d = p.DayCount + x; // days from birth to day x + 1
        EXPECT_NEAR(r.Physical[x], std::sin(2 * M_PI * (d - 1) / 23), 1e-12);
        EXPECT_NEAR(r.Emotional[x], std::sin(2 * M_PI * (d - 1) / 28), 1e-12);
        EXPECT_NEAR(r.Intellectual[x], std::sin(2 * M_PI * (d - 1) / 33), 1e-12);
        EXPECT_EQ(r.Sum[x], r.Physical[x] + r.Emotional[x] + r.Intellectual[x]);
    }
}

TEST(BiorhythmModel, FebruaryLengths) {
    EXPECT_EQ(MonthLength(1, 1900), 28);
    EXPECT_EQ(MonthLength(1, 2000), 29);
    EXPECT_EQ(MonthLength(1, 2023), 28);
    EXPECT_EQ(MonthLength(0, 2024), 31);
    EXPECT_EQ(Month("1.1.1800", 1, 1900).Physical.size(), 29u);
    EXPECT_EQ(Month("1.1.1800", 1, 2000).Physical.size(), 30u);
}

TEST(BiorhythmModel, ClassificationRules) {
    // Find day numbers with given remainders by search rather than by hand.
    auto find = [](int a, int b, int e) {
        for (int64_t c = 1; c < 23 * 14 * 33 * 2; ++c) {
            if (c % 23 == a && c % 14 == b && c % 33 == e) {
                return c;
            }
        }
        return int64_t(-1);
    };
    EXPECT_EQ(CriticalCycles(find(5, 1, 5)), 0);  // E1 alone counts for nothing
    EXPECT_EQ(CriticalCycles(find(12, 1, 5)), 2); // E1 with P12 is a second cycle
    EXPECT_EQ(CriticalCycles(find(0, 1, 5)), 1);  // P0 does not lift E1
    EXPECT_EQ(CriticalCycles(find(5, 1, 17)), 2); // E1 with I17
    EXPECT_EQ(CriticalCycles(find(5, 1, 0)), 1);  // I0 does not lift E1
    EXPECT_EQ(CriticalCycles(find(0, 1, 0)), 2);  // only P0 and I0 count
    EXPECT_EQ(CriticalCycles(find(0, 1, 17)), 3);
    EXPECT_EQ(CriticalCycles(find(12, 0, 17)), 3);
    EXPECT_EQ(CriticalCycles(find(12, 0, 5)), 2);
    EXPECT_EQ(CriticalCycles(find(5, 0, 5)), 1);
    EXPECT_EQ(CriticalCycles(find(5, 7, 5)), 0);
}

TEST(BiorhythmModel, ListsHoldEachDayOnceAndNeverTheLastPoint) {
    // Over many months every listed day appears on exactly one list, in increasing order, and
    // the extra point (first day of the next month) is never listed even when it qualifies.
    bool sawQualifyingLastPoint = false;
    for (int month = 0; month < 12 * 40; ++month) {
        int year = 1990 + month / 12, index = month % 12;
        TCyclePhases p;
        TMonthResult r = Month("3.8.1985", index, year, &p);
        std::string all = r.EspeciallyDangerous + r.Dangerous + r.Unfavourable;
        int listed = 0;
        for (int n = 1; n <= r.Days; ++n) {
            int k = CriticalCycles(int64_t(p.DayCount) + n - 1);
            listed += k > 0;
        }
        int words = 0;
        for (const std::string* list : {&r.EspeciallyDangerous, &r.Dangerous, &r.Unfavourable}) {
            int previous = 0;
            size_t colon = list->find(':');
            std::string rest = list->substr(colon + 1);
            if (rest == " нет.") {
                continue;
            }
            for (size_t pos = 0; pos < rest.size();) {
                size_t next = rest.find(' ', pos + 1);
                int n = std::stoi(rest.substr(pos + 1, next - pos - 1));
                EXPECT_GT(n, previous);
                EXPECT_LE(n, r.Days);
                previous = n;
                ++words;
                pos = next == std::string::npos ? rest.size() : next;
            }
        }
        EXPECT_EQ(words, listed);
        sawQualifyingLastPoint |= CriticalCycles(int64_t(p.DayCount) + r.Days) > 0;
    }
    EXPECT_TRUE(sawQualifyingLastPoint);
}

TEST(BiorhythmModel, NonPositiveDayCount) {
    TCyclePhases same =
        ComputePhases(DateFromProgramText("1.3.2000"), DateFromProgramText("1.3.2000"));
    EXPECT_EQ(same.DayCount, 0);
    EXPECT_EQ(same.PhysicalPhase, 23);
    TCyclePhases later =
        ComputePhases(DateFromProgramText("15.3.2000"), DateFromProgramText("1.3.2000"));
    EXPECT_EQ(later.DayCount, -14);
    // Truncating remainder keeps the dividend's sign: 23 - (-14 % 23) = 37.
    EXPECT_EQ(later.PhysicalPhase, 37);
    EXPECT_EQ(later.EmotionalPhase, 42);
    EXPECT_EQ(later.IntellectualPhase, 47);
    TMonthResult r = ComputeMonth(later, 2, 2000);
    EXPECT_EQ(r.Unfavourable, "Неблагоприятные дни: нет.");
    EXPECT_EQ(r.Dangerous, "Опасные дни: нет.");
}

TEST(BiorhythmModel, ProgramTextsReadTheSameUnderEveryLocale) {
    // The program's own texts are day-first with "." whatever the user's settings say.
    rtl::TFormatSettings saved = rtl::FormatSettings();
    rtl::FormatSettings().DateSeparator = '/';
    rtl::FormatSettings().DateOrder = rtl::TDateOrder::MDY;
    EXPECT_EQ(DateFromProgramText("1.3.2000"), rtl::EncodeDate(2000, 3, 1));
    rtl::FormatSettings() = saved;
    try {
        DateFromProgramText("31.2.2000");
        ADD_FAILURE();
    } catch (const rtl::EConvertError& e) {
        EXPECT_EQ(e.Message(), "'31.2.2000' is not a valid date");
    }
    EXPECT_THROW(DateFromProgramText(PeriodStartText(2, "20x0")), rtl::EConvertError);
}
