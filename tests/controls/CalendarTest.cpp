// The month calendar: layouts of known months, the refusal rules of Day, Month and Year, when
// OnChange comes, cell geometry, keyboard and mouse moves, and reading it from a form.
#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "controls/TCalendar.h"
#include "rtl/FormatSettings.h"

namespace controlstest {
namespace {

using namespace platform;

class TTestCalendar : public TCalendar {
public:
    using TCalendar::TCalendar;
    using TCustomGrid::MoveCurrent;
};

void SetDate(TCalendar& c, int year, int month, int day) {
    c.SetDay(1); // every month has it, so the year and month can change freely
    c.SetYear(year);
    c.SetMonth(month);
    c.SetDay(day);
}

// The day numbers of a week row as text, "." for an empty cell.
std::string WeekRow(const TCalendar& c, int row) {
    std::string out;
    for (int col = 0; col < 7; ++col) {
        std::string t = c.DayCellText(col, row);
        if (col)
            out += ' ';
        out += t.empty() ? std::string(".") : t;
    }
    return out;
}

TEST(CalendarLayout, KnownMonths) {
    TCalendar c(nullptr);
    c.SetStartOfWeek(1);
    SetDate(c, 1900, 1, 1); // a Monday
    EXPECT_EQ(c.MonthOffset(), 1);
    EXPECT_EQ(WeekRow(c, 1), "1 2 3 4 5 6 7");
    EXPECT_EQ(c.Col(), 0);
    EXPECT_EQ(c.Row(), 1);

    SetDate(c, 1900, 4, 30); // 1 April 1900 is a Sunday: the day before the start of the week
    EXPECT_EQ(c.MonthOffset(), -5);
    EXPECT_EQ(WeekRow(c, 1), ". . . . . . 1");
    EXPECT_EQ(WeekRow(c, 6), "30 . . . . . .");
    EXPECT_EQ(c.Col(), 0);
    EXPECT_EQ(c.Row(), 6);

    SetDate(c, 2024, 6, 15); // 1 June 2024 is a Saturday
    EXPECT_EQ(c.MonthOffset(), -4);
    EXPECT_EQ(WeekRow(c, 1), ". . . . . 1 2");
    EXPECT_EQ(c.Col(), 5);
    EXPECT_EQ(c.Row(), 3);

    SetDate(c, 1900, 12, 31); // 1 December 1900 is a Saturday; a 31-day month ending late
    EXPECT_EQ(WeekRow(c, 6), "31 . . . . . .");

    // Sunday first moves every day one column right.
    c.SetStartOfWeek(0);
    SetDate(c, 2024, 6, 15);
    EXPECT_EQ(c.MonthOffset(), -5);
    EXPECT_EQ(WeekRow(c, 1), ". . . . . . 1");
    EXPECT_EQ(c.Col(), 6);
    EXPECT_EQ(c.Row(), 3);
}

TEST(CalendarLayout, HeaderRowUsesTheLocaleDayNames) {
    rtl::TFormatSettings saved = rtl::FormatSettings();
    rtl::FormatSettings().ShortDayNames = {"Вс", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб"};
    TCalendar c(nullptr);
    c.SetStartOfWeek(1);
    EXPECT_EQ(c.DayCellText(0, 0), "Пн");
    EXPECT_EQ(c.DayCellText(6, 0), "Вс");
    rtl::FormatSettings() = saved;
    EXPECT_THROW(c.SetStartOfWeek(7), rtl::EInvalidOperation);
    EXPECT_EQ(c.StartOfWeek(), 1);
}

struct ChangeCounter : TObject {
    int changes = 0;
    void Changed(TObject*) { ++changes; }
};

TEST(CalendarDate, RefusalsLeaveTheDateAndRaiseNothing) {
    TCalendar c(nullptr);
    SetDate(c, 2024, 4, 15);
    ChangeCounter counter;
    c.OnChange = TNotifyEvent::Of<&ChangeCounter::Changed>(&counter);
    double held = c.CalendarDate();
    c.SetDay(31); // April has 30
    c.SetMonth(13);
    c.SetYear(0);
    c.SetDay(-3);
    c.SetDay(15); // the value held
    c.SetMonth(4);
    c.SetYear(2024);
    EXPECT_EQ(c.CalendarDate(), held);
    EXPECT_EQ(counter.changes, 0);

    c.SetDay(30);
    EXPECT_EQ(counter.changes, 1);
    EXPECT_EQ(c.Day(), 30);

    // The day is kept across a month change, so a day the month lacks fails and changes nothing.
    SetDate(c, 2024, 1, 31);
    counter.changes = 0;
    held = c.CalendarDate();
    try {
        c.SetMonth(2);
        FAIL() << "no error";
    } catch (const rtl::EConvertError& e) {
        EXPECT_EQ(e.Message(), "Invalid argument to date encode");
    }
    EXPECT_EQ(c.CalendarDate(), held);
    EXPECT_EQ(c.Month(), 1);
    SetDate(c, 2000, 2, 29);
    counter.changes = 0;
    EXPECT_THROW(c.SetYear(1900), rtl::EConvertError);
    EXPECT_THROW(c.SetYear(10000), rtl::EConvertError);
    EXPECT_EQ(c.Year(), 2000);
    EXPECT_EQ(counter.changes, 0);
    c.OnChange = TNotifyEvent();
}

TEST(CalendarDate, UseCurrentDateAndStartOfWeekRaiseNoChange) {
    TCalendar c(nullptr);
    EXPECT_TRUE(c.UseCurrentDate());
    EXPECT_EQ(c.CalendarDate(), rtl::Date());
    ChangeCounter counter;
    c.OnChange = TNotifyEvent::Of<&ChangeCounter::Changed>(&counter);
    SetDate(c, 1980, 4, 30);
    EXPECT_FALSE(c.UseCurrentDate()); // a date was chosen
    counter.changes = 0;
    c.SetStartOfWeek(3);
    c.SetUseCurrentDate(true);
    EXPECT_EQ(c.CalendarDate(), rtl::Date());
    EXPECT_EQ(counter.changes, 0);
    c.OnChange = TNotifyEvent();
    EXPECT_TRUE(c.IsLeap(2000));
    EXPECT_FALSE(c.IsLeap(1900));
    EXPECT_EQ(c.DaysInMonth(1904, 2), 29);
}

TEST(CalendarGrid, GeometryFollowsTheClientSize) {
    TTestCalendar c(nullptr);
    c.SetBorderStyle(bsNone);
    c.SetBounds(15, 60, 175, 105);
    EXPECT_EQ(c.DefaultColWidth(), 24);
    EXPECT_EQ(c.DefaultRowHeight(), 14);
    EXPECT_EQ(c.CellRect(6, 6), (TRect{150, 90, 174, 104}));
    EXPECT_EQ(c.MouseCoord(30, 20).x, 1);
    EXPECT_EQ(c.MouseCoord(24, 20).x, -1); // on a line
    c.SetBorderStyle(bsSingle);            // a sunken edge of 2 pixels on each side
    EXPECT_EQ(c.DefaultColWidth(), 23);
    EXPECT_EQ(c.DefaultRowHeight(), 13);
    c.SetGridLineWidth(2);
    EXPECT_EQ(c.DefaultColWidth(), 22);
    try {
        c.MoveCurrent(7, 0, true);
        FAIL() << "no error";
    } catch (const EInvalidGridOperation& e) {
        EXPECT_EQ(e.Message(), "Grid index out of range");
    }
    EXPECT_THROW(c.MoveCurrent(0, -1, true), EInvalidGridOperation);
}

// --- Through the window ---

const char* kForm = R"(object Host: TTestHost
  object Calendar: TCalendar
    Left = 15
    Top = 60
    Width = 175
    Height = 105
    BorderStyle = bsNone
    StartOfWeek = 1
    TabOrder = 0
    OnChange = Changed
    OnClick = Clicked
  end
end
)";

class CalendarWindowTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        ReadForm(&host, kForm);
        calendar = As<TCalendar>(host.FindComponent("Calendar"));
        ASSERT_TRUE(calendar);
        SetDate(*calendar, 2024, 6, 15);
        host.Show();
        Pump();
        calendar->SetFocus();
        Pump();
        host.log.clear();
    }
    void ClickCell(int c, int r) {
        TRect cell = calendar->CellRect(c, r);
        ClickAt(calendar->Handle(), TPoint{cell.left + 5, cell.top + 5});
    }
    TTestHost host{nullptr};
    TCalendar* calendar = nullptr;
};

TEST_F(CalendarWindowTest, ReadFromTheFormSource) {
    EXPECT_EQ(calendar->BoundsRect(), (TRect{15, 60, 190, 165}));
    EXPECT_EQ(calendar->BorderStyle(), bsNone);
    EXPECT_EQ(calendar->StartOfWeek(), 1);
    EXPECT_EQ(calendar->DefaultColWidth(), 24);
    EXPECT_EQ(calendar->DefaultRowHeight(), 14);
    EXPECT_TRUE(calendar->TabStop());
    EXPECT_FALSE(calendar->ParentColor());
    EXPECT_EQ(calendar->Color(), clWindow);
    EXPECT_TRUE(calendar->Focused());
}

TEST_F(CalendarWindowTest, ClickOnADayChoosesItAndOnAnEmptyCellNothing) {
    ClickCell(0, 1); // before the 1st of June 2024
    EXPECT_EQ(calendar->Day(), 15);
    EXPECT_EQ(host.log, (std::vector<std::string>{"click Calendar "}));
    host.log.clear();
    ClickCell(3, 2); // Thursday the 6th
    EXPECT_EQ(calendar->Day(), 6);
    EXPECT_EQ(host.log, (std::vector<std::string>{"click Calendar ", "change Calendar "}));
    host.log.clear();
    ClickCell(3, 2); // the day held: no change
    EXPECT_EQ(host.log, (std::vector<std::string>{"click Calendar "}));
    ClickCell(3, 0); // the header row
    EXPECT_EQ(calendar->Day(), 6);
    calendar->SetReadOnly(true);
    ClickCell(4, 2);
    EXPECT_EQ(calendar->Day(), 6);
    EXPECT_TRUE(reported.empty());
}

TEST_F(CalendarWindowTest, KeysMoveTheDayWithinTheWeekRows) {
    PressKey(VK_RIGHT);
    EXPECT_EQ(calendar->Day(), 16);
    PressKey(VK_RIGHT); // column 6 is the last: the key changes nothing
    EXPECT_EQ(calendar->Day(), 16);
    PressKey(VK_DOWN);
    EXPECT_EQ(calendar->Day(), 23);
    PressKey(VK_HOME);
    EXPECT_EQ(calendar->Day(), 17);
    PressKey(VK_END);
    EXPECT_EQ(calendar->Day(), 23);
    PressKey(VK_NEXT); // a page of six rows, held at row 6, which June 2024 leaves empty
    EXPECT_EQ(calendar->Day(), 23);
    PressKey(VK_PRIOR); // to row 1, column 6
    EXPECT_EQ(calendar->Day(), 2);
    PressKey(VK_LEFT, headless::kCtrl); // an arrow with Ctrl still moves one cell
    EXPECT_EQ(calendar->Day(), 1);
    PressKey(VK_LEFT); // column 4 of row 1 is empty: refused
    EXPECT_EQ(calendar->Day(), 1);
    PressKey(VK_END, headless::kCtrl); // the last cell is empty in June 2024
    EXPECT_EQ(calendar->Day(), 1);
    calendar->SetDay(10);
    PressKey(VK_HOME, headless::kCtrl); // the first cell too
    EXPECT_EQ(calendar->Day(), 10);
    PressKey(VK_UP);
    EXPECT_EQ(calendar->Day(), 3);
    EXPECT_EQ(calendar->Row(), 2);
    EXPECT_TRUE(reported.empty());
}

TEST_F(CalendarWindowTest, KeyMovesRaiseClickThenChange) {
    PressKey(VK_LEFT);
    EXPECT_EQ(host.log, (std::vector<std::string>{"click Calendar ", "change Calendar "}));
    // The focus leaves with Tab only: arrows stay in the calendar.
    EXPECT_TRUE(calendar->Focused());
}

} // namespace
} // namespace controlstest
