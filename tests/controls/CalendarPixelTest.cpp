// The calendar as the input form shows it (175 x 105, no border, Monday first, the Russian day
// names), June 2024 with the 15th chosen, compared with its reference image.
#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "controls/TCalendar.h"
#include "rtl/FormatSettings.h"

namespace controlstest {
namespace {

namespace hl = platform::headless;

class CalendarPixelTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        saved = rtl::FormatSettings();
        rtl::FormatSettings().ShortDayNames = {"Вс", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб"};
    }
    void TearDown() override {
        rtl::FormatSettings() = saved;
        ControlsTest::TearDown();
    }
    rtl::TFormatSettings saved;
};

TEST_F(CalendarPixelTest, InputFormCalendar) {
    TTestHost host(nullptr);
    ReadForm(&host, R"(object Host: TTestHost
  Width = 220
  Height = 140
  object Edit1: TEdit
    Left = 0
    Top = 0
    TabOrder = 0
  end
  object Calendar: TCalendar
    Left = 15
    Top = 30
    Width = 175
    Height = 105
    BorderStyle = bsNone
    StartOfWeek = 1
    TabOrder = 1
  end
end
)");
    auto* calendar = As<TCalendar>(host.FindComponent("Calendar"));
    calendar->SetDay(1);
    calendar->SetYear(2024);
    calendar->SetMonth(6);
    calendar->SetDay(15);
    host.Show();
    Pump();
    platform::gdi::Bitmap shot(175, 105);
    for (int y = 0; y < 105; ++y)
        for (int x = 0; x < 175; ++x)
            shot.Row(y)[x] =
                platform::gdi::ColorToWord(hl::Pixel(calendar->Handle(), TPoint{x, y}));
    // Text may be smoothed a little differently; lines, cells and colours may not.
    ctlhost::ExpectMatchesReference(shot, "calendar-june-2024", 48, 0.003);
    // The cell geometry itself, exactly: lines after each 24 x 14 cell, the 15th highlighted.
    auto pixel = [&](int x, int y) { return hl::Pixel(calendar->Handle(), TPoint{x, y}); };
    EXPECT_EQ(pixel(24, 50), ColorToRGB(clSilver));
    EXPECT_EQ(pixel(100, 14), ColorToRGB(clSilver));
    TRect fifteenth = calendar->CellRect(5, 3);
    EXPECT_EQ(fifteenth, (TRect{125, 45, 149, 59}));
    EXPECT_EQ(pixel(fifteenth.left + 1, fifteenth.top + 1), ColorToRGB(clHighlight));
    EXPECT_EQ(pixel(1, 20), ColorToRGB(clWindow));
    // The header row: button face inside a raised edge.
    EXPECT_EQ(pixel(2, 2), ColorToRGB(clBtnFace));
    EXPECT_EQ(pixel(0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(pixel(23, 13), ColorToRGB(clBtnShadow));
}

} // namespace
} // namespace controlstest
