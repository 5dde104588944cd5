#include <gtest/gtest.h>

#include "rtl/DateTime.h"
#include "rtl/Exception.h"

using namespace rtl;

TEST(DateTime, EncodesKnownDays) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1899, 12, 31), 1);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(1980, 3, 15), 29295);
    EXPECT_EQ(EncodeDate(2000, 3, 1), 36586);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
}

TEST(DateTime, LeapYearsAndMonthLengths) {
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(2023));
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 4), 30);
    EXPECT_EQ(DaysInMonth(2023, 13), 0);
    // 1 March follows 28 or 29 February directly.
    EXPECT_EQ(EncodeDate(1900, 3, 1) - EncodeDate(1900, 2, 28), 1);
    EXPECT_EQ(EncodeDate(2000, 3, 1) - EncodeDate(2000, 2, 29), 1);
}

TEST(DateTime, RefusesInvalidTriples) {
    const int bad[][3] = {{0, 1, 1},     {10000, 1, 1}, {2000, 0, 1},  {2000, 13, 1}, {2000, 1, 0},
                          {2000, 1, 32}, {1900, 2, 29}, {2023, 2, 29}, {2023, 4, 31}, {-5, 1, 1}};
    for (const auto& d : bad) {
        try {
            EncodeDate(d[0], d[1], d[2]);
            ADD_FAILURE() << d[0] << "-" << d[1] << "-" << d[2] << " accepted";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "Invalid argument to date encode");
        }
    }
}

TEST(DateTime, DecodeInvertsEncodeOverTheWholeRange) {
    // Every day of a few spans that cross century and leap-year boundaries, and the range ends.
    for (int start : {1, 1600, 1899, 1999, 9998}) {
        for (int year = start; year < start + 2; ++year) {
            for (int month = 1; month <= 12; ++month) {
                for (int day = 1; day <= DaysInMonth(year, month); ++day) {
                    DateParts p = DecodeDate(EncodeDate(year, month, day));
                    ASSERT_EQ(p.year, year);
                    ASSERT_EQ(p.month, month);
                    ASSERT_EQ(p.day, day);
                }
            }
        }
    }
    // Out of range values decode to zeros rather than garbage.
    EXPECT_EQ(DecodeDate(-700000).year, 0);
    EXPECT_EQ(DecodeDate(3e6).year, 0);
    EXPECT_EQ(DecodeDate(1.0 / 0.0).year, 0);
}

TEST(DateTime, DayOfWeekAndTime) {
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7); // Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 7)), 2);  // Monday
    EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2);      // Monday, proleptic
    TimeParts t = DecodeTime(EncodeDate(2026, 12, 6) + EncodeTime(20, 31, 37, 0));
    EXPECT_EQ(t.hour, 20);
    EXPECT_EQ(t.minute, 31);
    EXPECT_EQ(t.second, 37);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_GE(CurrentYear(), 2024);
}
