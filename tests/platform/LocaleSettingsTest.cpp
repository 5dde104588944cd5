#include <gtest/gtest.h>

#include "platform/locale/LocaleSettings.h"
#include "rtl/DateText.h"

using namespace platform;

TEST(LocaleSettings, Russian) {
    rtl::TFormatSettings s = ReadLocaleSettings("ru_RU.UTF-8");
    EXPECT_EQ(s.DateSeparator, '.');
    EXPECT_EQ(s.DateOrder, rtl::TDateOrder::DMY);
    EXPECT_EQ(s.ShortDateFormat, "%d.%m.%Y");
    EXPECT_EQ(s.LongTimeFormat, "%H:%M:%S");
    const char* days[] = {"Вс", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(s.ShortDayNames[i], days[i]);
    }
    EXPECT_TRUE(s.Metric);
    EXPECT_EQ(s.DecimalSeparator, ",");
    EXPECT_EQ(rtl::StrToDate("15.3.1980", s, 2026), rtl::EncodeDate(1980, 3, 15));
    rtl::TDateTime stamp = rtl::EncodeDate(2026, 12, 6) + rtl::EncodeTime(20, 31, 37, 0);
    EXPECT_EQ(rtl::DateToStr(stamp, s) + " " + rtl::TimeToStr(stamp, s), "06.12.2026 20:31:37");
}

TEST(LocaleSettings, AmericanEnglish) {
    rtl::TFormatSettings s = ReadLocaleSettings("en_US.UTF-8");
    EXPECT_EQ(s.DateSeparator, '/');
    EXPECT_EQ(s.DateOrder, rtl::TDateOrder::MDY);
    EXPECT_EQ(s.LongTimeFormat, "%I:%M:%S %p");
    EXPECT_EQ(s.ShortDayNames[1], "Mon");
    EXPECT_FALSE(s.Metric);
    EXPECT_EQ(s.ThousandSeparator, ",");
    rtl::TDateTime stamp = rtl::EncodeDate(2026, 12, 6) + rtl::EncodeTime(20, 31, 37, 0);
    EXPECT_EQ(rtl::DateToStr(stamp, s) + " " + rtl::TimeToStr(stamp, s), "12/06/2026 08:31:37 PM");
}

TEST(LocaleSettings, CAndMissingLocales) {
    rtl::TFormatSettings c = ReadLocaleSettings("C");
    EXPECT_EQ(c.DateSeparator, '/');
    EXPECT_EQ(c.DateOrder, rtl::TDateOrder::MDY);
    EXPECT_EQ(c.LongTimeFormat, "%H:%M:%S");
    EXPECT_EQ(c.ShortDayNames[0], "Sun");
    EXPECT_TRUE(c.Metric);
    rtl::TFormatSettings missing = ReadLocaleSettings("xx_NOPE.UTF-8");
    EXPECT_EQ(missing.ShortDateFormat, c.ShortDateFormat);
}

TEST(LocaleSettings, ShortDateFormatParsing) {
    char sep = 0;
    rtl::TDateOrder order{};
    ParseShortDateFormat("%Y-%m-%d", sep, order);
    EXPECT_EQ(sep, '-');
    EXPECT_EQ(order, rtl::TDateOrder::YMD);
    ParseShortDateFormat("%F", sep, order);
    EXPECT_EQ(sep, '-');
    ParseShortDateFormat("%d/%m/%y", sep, order);
    EXPECT_EQ(sep, '/');
    EXPECT_EQ(order, rtl::TDateOrder::DMY);
    ParseShortDateFormat("%e. %m. %Y", sep, order); // blanks around the separator
    EXPECT_EQ(sep, '.');
    EXPECT_EQ(ExpandTimeFormat("%r", "%I:%M:%S %p"), "%I:%M:%S %p");
    EXPECT_EQ(ExpandTimeFormat("%-d.%T", ""), "%d.%H:%M:%S");
}
