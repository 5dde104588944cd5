#include <gtest/gtest.h>

#include "rtl/Exception.h"
#include "rtl/Format.h"
#include "rtl/NumberText.h"

using namespace rtl;

namespace {

// Settings with the given separators. They are moved in rather than assigned from literals:
// assigning a literal to a string member here trips a false -Wrestrict of GCC 12 at -O3.
TFormatSettings WithSeparators(std::string decimal, std::string thousands) {
    TFormatSettings s;
    s.DecimalSeparator = std::move(decimal);
    s.ThousandSeparator = std::move(thousands);
    return s;
}

} // namespace

TEST(StrToInt, AcceptsDecimalAndHexadecimal) {
    EXPECT_EQ(StrToInt("1980"), 1980);
    EXPECT_EQ(StrToInt("  -42"), -42);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt(IntToStr(-123456)), -123456);
}

TEST(StrToInt, RefusesWithTheTextQuoted) {
    for (const char* text : {"", " ", "-", "12a", "1 2", "1980 ", "2147483648", "-2147483649", "$",
                             "0x", "$100000000", "1.5", "١٢"}) {
        try {
            StrToInt(text);
            ADD_FAILURE() << text << " accepted";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + text + "' is not a valid integer value");
        }
    }
}

TEST(FormatAxisFloat, GroupsThousandsAndKeepsUpToThreeDecimals) {
    TFormatSettings en = WithSeparators(".", ",");
    EXPECT_EQ(FormatAxisFloat(0, en), "0");
    EXPECT_EQ(FormatAxisFloat(1, en), "1");
    EXPECT_EQ(FormatAxisFloat(-1.5, en), "-1.5");
    EXPECT_EQ(FormatAxisFloat(0.25, en), "0.25");
    EXPECT_EQ(FormatAxisFloat(1234567.891, en), "1,234,567.891");
    EXPECT_EQ(FormatAxisFloat(999.9996, en), "1,000");
    EXPECT_EQ(FormatAxisFloat(0.1 + 0.2, en), "0.3");
    EXPECT_EQ(FormatAxisFloat(-0.0004, en), "0");
    EXPECT_EQ(FormatAxisFloat(-0.0005, en), "-0.001");
    EXPECT_EQ(FormatAxisFloat(2.0005, en), "2.001");
    EXPECT_EQ(FormatAxisFloat(100, en), "100");
    EXPECT_EQ(FormatAxisFloat(1e-9, en), "0");
    EXPECT_EQ(FormatAxisFloat(1e20, en), "100,000,000,000,000,000,000");
    EXPECT_EQ(FormatAxisFloat(0.0 / 0.0, en), "NAN");
    // The ends of the range: the smallest subnormal, and the largest value taken to its 15
    // significant digits with 294 zeros after them.
    EXPECT_EQ(FormatAxisFloat(5e-324, en), "0");
    std::string largest = FormatAxisFloat(1.7976931348623157e308, en);
    EXPECT_EQ(largest.substr(0, 20), "179,769,313,486,232,");
    EXPECT_EQ(largest.size(), 309u + 102u);
    EXPECT_EQ(largest.find_first_not_of("0,", 20), std::string::npos);

    TFormatSettings ru = WithSeparators(",", "\u202F");
    EXPECT_EQ(FormatAxisFloat(-12345.5, ru), "-12\u202F345,5");
    TFormatSettings c; // the C locale groups nothing
    c.ThousandSeparator = "";
    EXPECT_EQ(FormatAxisFloat(12345.5, c), "12345.5");
}

TEST(Format, FillsPlaceholdersInOrder) {
    EXPECT_EQ(Format("Error reading %s%s%s: %s", "Form1", ".", "Width", "oops"),
              "Error reading Form1.Width: oops");
    EXPECT_EQ(Format("%s_%d", "Button", 2), "Button_2");
    EXPECT_EQ(Format("JPEG error #%d", 42), "JPEG error #42");
    EXPECT_EQ(Format("100%% %x", 255), "100% ff");
    EXPECT_EQ(Format("missing %s and %d"), "missing  and ");
    EReadError e("Property %s does not exist", "Foo");
    EXPECT_EQ(e.Message(), "Property Foo does not exist");
    EXPECT_STREQ(e.ClassName(), "EReadError");
    const EFilerError& base = e;
    EXPECT_STREQ(base.ClassName(), "EReadError");
}
