#include <gtest/gtest.h>

#include "rtl/DateText.h"
#include "rtl/Exception.h"

using namespace rtl;

namespace {
TFormatSettings Settings(char separator, TDateOrder order) {
    TFormatSettings s;
    s.DateSeparator = separator;
    s.DateOrder = order;
    return s;
}
const TFormatSettings Russian = Settings('.', TDateOrder::DMY);
const TFormatSettings American = Settings('/', TDateOrder::MDY);
const TFormatSettings Iso = Settings('-', TDateOrder::YMD);

std::string Refusal(std::string_view text, const TFormatSettings& s) {
    try {
        StrToDate(text, s, 2026);
    } catch (const EConvertError& e) {
        return e.Message();
    }
    return "accepted";
}
} // namespace

TEST(StrToDate, ReadsThreeNumbersInTheSettingsOrder) {
    EXPECT_EQ(StrToDate("15.3.1980", Russian, 2026), EncodeDate(1980, 3, 15));
    EXPECT_EQ(StrToDate("3/15/1980", American, 2026), EncodeDate(1980, 3, 15));
    EXPECT_EQ(StrToDate("1980-3-15", Iso, 2026), EncodeDate(1980, 3, 15));
    EXPECT_EQ(StrToDate("05.03.0980", Russian, 2026), EncodeDate(980, 3, 5));
    // A month-first order takes the program's day-first text the other way round.
    EXPECT_EQ(StrToDate("1.3.2000", Settings('.', TDateOrder::MDY), 2026), EncodeDate(2000, 1, 3));
}

TEST(StrToDate, TwoNumbersTakeTheCurrentYear) {
    EXPECT_EQ(StrToDate("15.3", Russian, 2026), EncodeDate(2026, 3, 15));
    EXPECT_EQ(StrToDate("3/15", American, 2030), EncodeDate(2030, 3, 15));
    // Year-first formats read the two-number form as month and day.
    EXPECT_EQ(StrToDate("3-15", Iso, 2026), EncodeDate(2026, 3, 15));
    EXPECT_EQ(Refusal("29.2", Russian), "'29.2' is not a valid date"); // 2026 is not leap
}

TEST(StrToDate, ShortYearsFallInTheCurrentCentury) {
    EXPECT_EQ(StrToDate("15.3.80", Russian, 2026), EncodeDate(2080, 3, 15));
    EXPECT_EQ(StrToDate("15.3.5", Russian, 2026), EncodeDate(2005, 3, 15));
    EXPECT_EQ(StrToDate("15.3.05", Russian, 1999), EncodeDate(1905, 3, 15));
    EXPECT_EQ(StrToDate("15.3.0", Russian, 2026), EncodeDate(2000, 3, 15));
    // Three digits are a year of their own.
    EXPECT_EQ(StrToDate("15.3.100", Russian, 2026), EncodeDate(100, 3, 15));
    EXPECT_EQ(StrToDate("80-3-15", Iso, 2026), EncodeDate(2080, 3, 15));
}

TEST(StrToDate, BlanksAndATrailingSeparator) {
    EXPECT_EQ(StrToDate("  15 . 3 . 1980", Russian, 2026), EncodeDate(1980, 3, 15));
    EXPECT_EQ(StrToDate("15.3.1980.", Russian, 2026), EncodeDate(1980, 3, 15));
    EXPECT_EQ(StrToDate("15.3.1980.  ", Russian, 2026), EncodeDate(1980, 3, 15));
    // A second separator asks for the third number.
    EXPECT_EQ(Refusal("15.3.", Russian), "'15.3.' is not a valid date");
    EXPECT_EQ(Refusal("15.3.1980..", Russian), "'15.3.1980..' is not a valid date");
    EXPECT_EQ(Refusal("15.3.1980x", Russian), "'15.3.1980x' is not a valid date");
    EXPECT_EQ(Refusal("15.3.1980\t", Russian), "'15.3.1980\t' is not a valid date");
}

TEST(StrToDate, DigitsAreReadOnlyWhileBelowOneThousand) {
    // 12345 stops after 1234, leaving a digit over.
    EXPECT_EQ(Refusal("1.1.12345", Russian), "'1.1.12345' is not a valid date");
    EXPECT_EQ(StrToDate("1.1.9999", Russian, 2026), EncodeDate(9999, 1, 1));
    // Leading zeros count as digits: 0001 is year 1 with four digits, not the century rule.
    EXPECT_EQ(StrToDate("1.1.0001", Russian, 2026), EncodeDate(1, 1, 1));
    // Zeros keep the value below 1000, so they never stop the reading.
    EXPECT_EQ(StrToDate("1.1.00001", Russian, 2026), EncodeDate(1, 1, 1));
}

TEST(StrToDate, Refusals) {
    for (const char* text : {"", " ", "15", "15.", ".3.1980", "15..1980", "a.3.1980", "15.3.x",
                             "32.1.1980", "0.1.1980", "15.13.1980", "15.0.1980", "29.2.1900",
                             "31.4.2000", "+1.1.2000", "-1.1.2000", "1,1,2000"}) {
        EXPECT_EQ(Refusal(text, Russian), std::string("'") + text + "' is not a valid date")
            << text;
    }
    // With another separator every one of the program's texts is refused.
    EXPECT_EQ(Refusal("15.3.1980", American), "'15.3.1980' is not a valid date");
    EXPECT_FALSE(TryStrToDate("15.3.1980", American, 2026).has_value());
    EXPECT_EQ(StrToDate("29.2.2000", Russian, 2026), EncodeDate(2000, 2, 29));
}

TEST(FormatDateTime, ShortDateAndLongTime) {
    TFormatSettings ru = Russian;
    ru.ShortDateFormat = "%d.%m.%Y";
    ru.LongTimeFormat = "%H:%M:%S";
    TDateTime stamp = EncodeDate(2026, 12, 6) + EncodeTime(20, 31, 37, 0);
    EXPECT_EQ(DateToStr(stamp, ru) + " " + TimeToStr(stamp, ru), "06.12.2026 20:31:37");

    TFormatSettings us = American;
    us.ShortDateFormat = "%m/%d/%Y";
    us.LongTimeFormat = "%I:%M:%S %p";
    EXPECT_EQ(DateToStr(stamp, us) + " " + TimeToStr(stamp, us), "12/06/2026 08:31:37 PM");
    EXPECT_EQ(TimeToStr(EncodeTime(0, 5, 0, 0), us), "12:05:00 AM");
    EXPECT_EQ(FormatDateTime("%e/%y %T %% %q", EncodeDate(2005, 3, 7), us), "7/05 00:00:00 % %q");
}
