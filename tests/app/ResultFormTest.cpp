// The result form in the started program: the form as read from its resource, "Next" filling it,
// month steps across year ends and back to the birth month, "Next" while it is on screen, the
// hints of the arrow buttons, exit, help, the about box, and the whole form against a reference
// picture.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "ProgramTestSupport.h"
#include "ResultTestSupport.h"
#include "app/BiorhythmModel.h"
#include "app/forms/TReport1.h"
#include "app/forms/TResult.h"
#include "chart/TCustomChart.h"
#include "chart/TFastLineSeries.h"
#include "chart/TSeriesFunction.h"
#include "controls/TBevel.h"
#include "controls/TBitBtn.h"
#include "controls/TCustomPanel.h"
#include "controls/TImage.h"
#include "controls/TLabel.h"
#include "frame/forms/THintWindow.h"
#include "platform/display/WindowApi.h"
#include "platform/help/Help.h"
#include "platform/spool/Destinations.h"
#include "rtl/ScopeExit.h"

namespace apptest {
namespace {

using namespace platform;
namespace hl = platform::headless;

const rtl::TDateTime Today = rtl::EncodeDate(2024, 6, 15);

class ResultFormTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        Start(Today);
        result = app::Result;
        ASSERT_TRUE(result);
    }
    // The birth date on the calendar, the period in the boxes, then a click on "Next".
    void Next(int day, int month, int year, int periodMonth, const std::string& periodYear) {
        intro->MoveCalendar(year, month);
        intro->Calendar->SetDay(day);
        intro->ComboBox2->SetItemIndex(periodMonth - 1);
        intro->Edit2->SetText(periodYear);
        ClickAt(intro->BitBtn1, TPoint{20, 15});
    }
    // The user goes back to the input form (which the result form covers).
    void BackToIntro() {
        SetActiveWindow(intro->Handle());
        intro->BringToFront();
        Pump();
        ASSERT_TRUE(intro->Active());
        ASSERT_EQ(GetTopWindow(nullptr), intro->Handle());
    }
    void Click(TControl* control) { ClickAt(control, TPoint{control->Width() / 2, 15}); }
    std::vector<double> Points(chart::TFastLineSeries* s) {
        std::vector<double> v;
        for (int i = 0; i < s->Count(); ++i) {
            EXPECT_EQ(s->XValue(i), i);
            v.push_back(s->YValue(i));
        }
        return v;
    }
    // The lists as the form shows them, especially dangerous first.
    std::string Lists() {
        return result->Label3->Caption() + "|" + result->Label2->Caption() + "|" +
               result->Label1->Caption();
    }
    // The form shows exactly the month computed for these phases.
    void ExpectShows(const app::TCyclePhases& phases, int monthIndex, int year) {
        app::TMonthResult m = app::ComputeMonth(phases, monthIndex, year);
        EXPECT_EQ(Points(result->Series1), m.Physical);
        EXPECT_EQ(Points(result->Series2), m.Emotional);
        EXPECT_EQ(Points(result->Series3), m.Intellectual);
        EXPECT_EQ(Points(result->Series4), m.Sum);
        EXPECT_EQ(Lists(), m.EspeciallyDangerous + "|" + m.Dangerous + "|" + m.Unfavourable);
    }
    app::TCyclePhases IntroPhases() {
        return {app::Session->DayCount(), app::Session->PhysicalPhase(),
                app::Session->EmotionalPhase(), app::Session->IntellectualPhase()};
    }
    void MoveTo(TWinControl* c) {
        hl::MouseMove(hl::ToScreen(c->Handle(), TPoint{5, 5}));
        Pump();
    }
    std::string ErrorTexts() {
        std::string all;
        for (const TBox& b : boxes)
            all += b.text + "\n";
        return all;
    }

    app::TResult* result = nullptr;
};

TEST_F(ResultFormTest, TheFormAsReadFromItsResource) {
    // The form: hidden, centred when shown, unscaled, its own help file and hint.
    EXPECT_FALSE(result->Visible());
    EXPECT_EQ(result->Caption(), "Zorvane");
    EXPECT_EQ(result->ClientWidth(), 649);
    EXPECT_EQ(result->ClientHeight(), 489);
    EXPECT_EQ(result->Position(), poScreenCenter);
    EXPECT_FALSE(result->Scaled());
    EXPECT_EQ(result->HelpFile(), "zorvane.hlp");
    EXPECT_EQ(result->Hint(), "Предыдущий месяц");
    EXPECT_FALSE(result->ShowHint());
    EXPECT_EQ(result->BorderStyle(), bsSingle);
    EXPECT_EQ(result->Color(), clBtnFace);
    EXPECT_TRUE(bool(result->OnShow));
    EXPECT_FALSE(result->Icon()->Empty());
    // The charts.
    const char* titles[] = {"Физический цикл", "Эмоциональный цикл", "Интеллектуальный цикл",
                            "Суммирующий график"};
    controls::TPanel* zeroLines[] = {result->Panel2, result->Panel3, result->Panel4,
                                     result->Panel5};
    chart::TAddFunction* functions[] = {result->SeriesFunction1, result->AddFunction1,
                                        result->AddFunction2, result->AddFunction3};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        chart::TChart* c = result->Charts()[size_t(i)];
        ASSERT_TRUE(c);
        EXPECT_EQ(c->Parent(), result);
        EXPECT_EQ(c->BoundsRect(), (TRect{8, 8 + 80 * i, 641, 8 + 80 * i + (i == 3 ? 137 : 73)}));
        EXPECT_EQ(c->TabOrder(), 2 + i);
        ASSERT_EQ(c->Title()->Text()->Count(), 1);
        EXPECT_EQ(c->Title()->Text()->Get(0), titles[i]);
        EXPECT_EQ(c->BevelOuter(), controls::bvNone);
        EXPECT_EQ(c->BorderStyle(), controls::bsSingle);
        EXPECT_EQ(c->Color(), clWhite);
        EXPECT_TRUE(c->Gradient()->Visible());
        EXPECT_EQ(c->Gradient()->EndColor(), TColor(8454143));
        EXPECT_EQ(c->BackWall()->Brush()->Style(), bsClear);
        EXPECT_EQ(c->BackWall()->Pen()->Color(), clGray);
        EXPECT_FALSE(c->BackWall()->Pen()->Visible());
        EXPECT_FALSE(c->Legend()->Visible());
        EXPECT_FALSE(c->View3D());
        EXPECT_FALSE(c->View3DWalls());
        EXPECT_FALSE(c->ScaleLastPage());
        chart::TChartAxis* left = c->LeftAxis();
        EXPECT_FALSE(left->Automatic());
        EXPECT_FALSE(left->AutomaticMinimum());
        EXPECT_FALSE(left->AutomaticMaximum());
        double limit = i == 3 ? 3.1 : 1.1;
        EXPECT_EQ(left->Minimum(), -limit);
        EXPECT_EQ(left->Maximum(), limit);
        EXPECT_EQ(left->Axis()->Color(), clBlue);
        EXPECT_EQ(left->Grid()->Color(), clBlue);
        EXPECT_EQ(left->Grid()->Style(), psSolid);
        EXPECT_FALSE(left->ExactDateTime());
        chart::TChartAxis* bottom = c->BottomAxis();
        EXPECT_FALSE(bottom->Automatic());
        EXPECT_TRUE(bottom->AutomaticMinimum());
        EXPECT_TRUE(bottom->AutomaticMaximum());
        EXPECT_EQ(bottom->Axis()->Width(), 1);
        EXPECT_FALSE(bottom->Axis()->Visible());
        EXPECT_FALSE(bottom->ExactDateTime());
        // Its one series and the series' add function.
        ASSERT_EQ(c->SeriesCount(), 1);
        chart::TFastLineSeries* s = result->CycleSeries()[size_t(i)];
        EXPECT_EQ(c->Series(0), s);
        EXPECT_EQ(s->LinePen()->Width(), 2);
        EXPECT_EQ(s->SeriesColor(), clBlack);
        EXPECT_FALSE(s->Marks()->Visible());
        EXPECT_EQ(s->Marks()->ArrowLength(), 8);
        EXPECT_EQ(s->XValues()->Name(), "X");
        EXPECT_EQ(s->XValues()->Order(), chart::loAscending);
        EXPECT_EQ(s->XValues()->Multiplier(), 1);
        EXPECT_EQ(s->YValues()->Name(), "Y");
        EXPECT_EQ(s->YValues()->Order(), chart::loNone);
        EXPECT_EQ(s->YValues()->Multiplier(), 1);
        EXPECT_EQ(s->Count(), 0);
        ASSERT_TRUE(functions[i]);
        EXPECT_EQ(s->FunctionType(), functions[i]);
        EXPECT_EQ(functions[i]->Tag(), 1);
        EXPECT_EQ(functions[i]->Period(), 1);
        // The zero line: a raised three-pixel panel inside the chart.
        ASSERT_TRUE(zeroLines[i]);
        EXPECT_EQ(zeroLines[i]->Parent(), c);
        EXPECT_EQ(zeroLines[i]->BoundsRect(),
                  (TRect{40, i == 3 ? 66 : 34, 609, (i == 3 ? 66 : 34) + 3}));
        EXPECT_EQ(zeroLines[i]->BevelOuter(), controls::bvRaised);
        EXPECT_EQ(zeroLines[i]->Caption(), "");
    }
    // The lists.
    controls::TLabel* labels[] = {result->Label1, result->Label2, result->Label3};
    const char* headers[] = {"Неблагоприятные дни:", "Опасные дни:", "Особо опасные дни:"};
    TColor colours[] = {clBlack, clBlack, clWindowText};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(labels[i]->Caption(), headers[i]);
        EXPECT_EQ(labels[i]->Left(), 8);
        EXPECT_EQ(labels[i]->Top(), 392 + 16 * i);
        EXPECT_EQ(labels[i]->Font()->Name(), "MS Sans Serif");
        EXPECT_EQ(labels[i]->Font()->Height(), -13);
        EXPECT_TRUE(labels[i]->Font()->Style().Contains(fsBold));
        EXPECT_EQ(labels[i]->Font()->Color(), colours[i]);
    }
    EXPECT_EQ(result->Label2->Color(), clBtnFace);
    // Picture, bevel and buttons.
    EXPECT_EQ(result->Bevel1->BoundsRect(), (TRect{448, 400, 521, 473}));
    EXPECT_EQ(result->Image1->BoundsRect(), (TRect{456, 408, 513, 465}));
    EXPECT_TRUE(result->Image1->Stretch());
    EXPECT_EQ(result->Image1->Picture()->Width(), 144);
    EXPECT_EQ(result->Image1->Picture()->Height(), 144);
    EXPECT_EQ(result->Panel1->BoundsRect(), (TRect{528, 392, 641, 481}));
    EXPECT_EQ(result->Panel1->BevelOuter(), controls::bvLowered);
    EXPECT_EQ(result->BitBtn1->Parent(), result->Panel1);
    EXPECT_EQ(result->BitBtn1->Caption(), "&Печать");
    EXPECT_EQ(result->BitBtn1->NumGlyphs(), 2);
    EXPECT_EQ(result->BitBtn2->Parent(), result->Panel1);
    EXPECT_EQ(result->BitBtn2->Kind(), controls::bkClose);
    EXPECT_EQ(result->BitBtn2->Caption(), "&Выход");
    EXPECT_EQ(result->BitBtn3->Kind(), controls::bkHelp);
    EXPECT_EQ(result->BitBtn3->Caption(), "&Справка");
    EXPECT_EQ(result->BitBtn3->TabOrder(), 1);
    for (controls::TBitBtn* arrow : {result->BitBtn4, result->BitBtn5}) {
        EXPECT_EQ(arrow->Caption(), "");
        EXPECT_TRUE(arrow->ShowHint());
        EXPECT_FALSE(arrow->ParentShowHint());
        EXPECT_EQ(arrow->Glyph()->Width(), 32);
        EXPECT_EQ(arrow->NumGlyphs(), 2);
    }
    EXPECT_EQ(result->BitBtn4->Hint(), "");
    EXPECT_EQ(result->BitBtn5->Hint(), "Следующий месяц");
    EXPECT_EQ(result->BitBtn4->TabOrder(), 6);
    EXPECT_EQ(result->BitBtn5->TabOrder(), 7);
}

TEST_F(ResultFormTest, NextFillsTheMonthAsTheUserEntersIt) {
    EnterAndNext(15, 3, "1980", 3, "2000");
    EXPECT_EQ(ErrorTexts(), "");
    ASSERT_TRUE(result->Visible());
    EXPECT_EQ(result->Caption(), "Zorvane: Март 2000 г.");
    EXPECT_EQ(result->Label1->Caption(), "Неблагоприятные дни: 1 3 4 13 18 20 24");
    EXPECT_EQ(result->Label2->Caption(), "Опасные дни: нет.");
    EXPECT_EQ(result->Label3->Caption(), "Особо опасные дни: нет.");
    for (chart::TFastLineSeries* s : result->CycleSeries())
        EXPECT_EQ(s->Count(), 32);
    ExpectShows(app::TCyclePhases{7291, 23, 17, 2}, 2, 2000);
    EXPECT_NEAR(result->Series1->YValue(0), -0.269797, 5e-7);
    EXPECT_NEAR(result->Series4->YValue(1), 0.251827, 5e-7);
    // The month recorded for the report.
    const app::TShownMonth& shown = app::Session->Shown();
    EXPECT_TRUE(shown.Filled);
    EXPECT_EQ(shown.BirthDateText(), "15.3.1980");
    EXPECT_EQ(shown.PeriodText, "Март 2000");
    EXPECT_EQ(shown.PeriodStart, 36586);
    // Centred on the screen.
    const hl::HostRecord* host = hl::Host(result->Handle());
    ASSERT_TRUE(host);
    EXPECT_NEAR((host->rect.left + host->rect.right) / 2, 640, 1);
}

TEST_F(ResultFormTest, StepsAcrossYearEndsAndIntoALeapFebruary) {
    Next(15, 3, 1980, 12, "1999");
    ASSERT_TRUE(result->Visible());
    EXPECT_EQ(result->Caption(), "Zorvane: Декабрь 1999 г.");
    Click(result->BitBtn5);
    EXPECT_EQ(intro->ComboBox2->Text(), "Январь");
    EXPECT_EQ(intro->Edit2->Text(), "2000");
    EXPECT_EQ(result->Caption(), "Zorvane: Январь 2000 г.");
    EXPECT_EQ(app::Session->PeriodStart(), rtl::EncodeDate(2000, 1, 1));
    EXPECT_EQ(app::Session->BirthDate(), rtl::EncodeDate(1980, 3, 15));
    ExpectShows(IntroPhases(), 0, 2000);
    Click(result->BitBtn4);
    EXPECT_EQ(intro->ComboBox2->Text(), "Декабрь");
    EXPECT_EQ(intro->Edit2->Text(), "1999");
    EXPECT_EQ(result->Caption(), "Zorvane: Декабрь 1999 г.");
    ExpectShows(IntroPhases(), 11, 1999);
    // On to February 2000, a leap year: 29 days and 30 points.
    Click(result->BitBtn5);
    Click(result->BitBtn5);
    EXPECT_EQ(result->Caption(), "Zorvane: Февраль 2000 г.");
    EXPECT_EQ(result->Series1->Count(), 30);
    EXPECT_EQ(result->Series1->XValue(29), 29);
    ExpectShows(IntroPhases(), 1, 2000);
    EXPECT_EQ(app::Session->Shown().PeriodText, "Февраль 2000");
    // The birth date stays the one taken at "Next", whatever the calendar shows now.
    intro->Calendar->SetDay(1);
    Click(result->BitBtn5);
    EXPECT_EQ(app::Session->BirthDate(), rtl::EncodeDate(1980, 3, 15));
    EXPECT_EQ(app::Session->Shown().BirthDateText(), "15.3.1980");
    EXPECT_EQ(ErrorTexts(), "");
}

TEST_F(ResultFormTest, SteppingToTheBirthMonthDrawsNothingAndKeepsTheShownMonth) {
    // Birth 15.3.1980, period April 1980: 17 days.
    Next(15, 3, 1980, 4, "1980");
    ASSERT_TRUE(result->Visible());
    app::TCyclePhases april = IntroPhases();
    ASSERT_EQ(april.DayCount, 17);
    // Back to March 1980: the period controls and the cycle state move, nothing is redrawn.
    Click(result->BitBtn4);
    EXPECT_EQ(intro->ComboBox2->Text(), "Март");
    EXPECT_EQ(intro->Edit2->Text(), "1980");
    EXPECT_EQ(app::Session->DayCount(), -14);
    EXPECT_EQ(result->Caption(), "Zorvane: Апрель 1980 г.");
    EXPECT_EQ(result->Series1->Count(), 31);
    ExpectShows(april, 3, 1980);
    EXPECT_EQ(app::Session->Shown().PeriodText, "Апрель 1980");
    EXPECT_EQ(app::Session->Shown().PeriodStart, rtl::EncodeDate(1980, 4, 1));
    EXPECT_EQ(app::Session->Shown().Phases.DayCount, 17);
    // And forward again: April is drawn from the stepped state.
    Click(result->BitBtn5);
    EXPECT_EQ(result->Caption(), "Zorvane: Апрель 1980 г.");
    ExpectShows(april, 3, 1980);
    EXPECT_EQ(ErrorTexts(), "");
}

TEST_F(ResultFormTest, AStepThatCannotBeTakenChangesNothing) {
    Next(15, 3, 1980, 12, "2000");
    ASSERT_TRUE(result->Visible());
    struct Case {
        const char* year;
        controls::TBitBtn* button;
        const char* message;
    } cases[] = {
        {"abc", result->BitBtn5, "'abc' is not a valid integer value."},
        {"abc", result->BitBtn4, "'1.11.abc' is not a valid date."},
        // The largest year a box can hold steps to one beyond the calendar, not to an overflow.
        {"2147483647", result->BitBtn5, "'1.1.2147483648' is not a valid date."},
        {"9999", result->BitBtn5, "'1.1.10000' is not a valid date."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.year);
        boxes.clear();
        intro->Edit2->SetText(c.year);
        Click(c.button);
        EXPECT_EQ(ErrorTexts(), std::string(c.message) + "\n");
        EXPECT_EQ(intro->ComboBox2->ItemIndex(), 11);
        EXPECT_EQ(intro->Edit2->Text(), c.year);
        EXPECT_EQ(app::Session->PeriodStart(), rtl::EncodeDate(2000, 12, 1));
        EXPECT_EQ(result->Caption(), "Zorvane: Декабрь 2000 г.");
        EXPECT_EQ(result->Series1->Count(), 32);
    }
    // No month selected (the period month typed): no month to step from, either way.
    intro->Edit2->SetText("2000");
    intro->ComboBox2->SetItemIndex(-1);
    for (controls::TBitBtn* button : {result->BitBtn4, result->BitBtn5}) {
        boxes.clear();
        Click(button);
        EXPECT_EQ(ErrorTexts(), "'1.0.2000' is not a valid date.\n");
        EXPECT_EQ(intro->ComboBox2->ItemIndex(), -1);
        EXPECT_EQ(intro->Edit2->Text(), "2000");
        EXPECT_EQ(app::Session->PeriodStart(), rtl::EncodeDate(2000, 12, 1));
        EXPECT_EQ(result->Caption(), "Zorvane: Декабрь 2000 г.");
    }
}

TEST_F(ResultFormTest, AYearTextTheDateReaderAcceptsFillsTheWholeMonth) {
    // "2000." converts as a date but is no whole number: the month is the one computed.
    Next(15, 3, 1980, 2, "2000.");
    EXPECT_EQ(ErrorTexts(), "");
    ASSERT_TRUE(result->Visible());
    EXPECT_EQ(result->Caption(), "Zorvane: Февраль 2000. г.");
    EXPECT_EQ(result->Series4->Count(), 30);
    ExpectShows(IntroPhases(), 1, 2000);
}

TEST_F(ResultFormTest, NextWhileTheFormIsOnScreenRefillsItAndBringsItToTheFront) {
    Next(15, 3, 1980, 3, "2000");
    ASSERT_TRUE(result->Visible());
    BackToIntro();
    // Another birth date and period, "Next" again.
    Next(1, 1, 1970, 2, "2024");
    EXPECT_EQ(result->Caption(), "Zorvane: Февраль 2024 г.");
    EXPECT_EQ(Lists(), "Особо опасные дни: нет.|Опасные дни: 16|"
                       "Неблагоприятные дни: 1 4 14 15 27 29");
    EXPECT_EQ(result->Series2->Count(), 30);
    ExpectShows(app::TCyclePhases{19754, 3, 14, 13}, 1, 2024);
    EXPECT_EQ(app::Session->Shown().BirthDateText(), "1.1.1970");
    EXPECT_EQ(app::Session->Shown().PeriodText, "Февраль 2024");
    EXPECT_EQ(GetTopWindow(nullptr), result->Handle());
    // "Next" with a birth date on the first of the period month draws nothing.
    BackToIntro();
    Next(1, 2, 2024, 2, "2024");
    EXPECT_EQ(app::Session->DayCount(), 0);
    EXPECT_EQ(result->Caption(), "Zorvane: Февраль 2024 г.");
    EXPECT_EQ(app::Session->Shown().BirthDateText(), "1.1.1970");
    EXPECT_EQ(ErrorTexts(), "");
}

TEST_F(ResultFormTest, TheArrowsShowTheirHintsTheFormItselfNone) {
    Next(15, 3, 1980, 3, "2000");
    ASSERT_TRUE(result->Visible());
    THintWindow* hint = Application->HintWindow();
    ASSERT_TRUE(hint);
    MoveTo(result->BitBtn5);
    hl::Advance(Application->HintDelay());
    Pump();
    ASSERT_TRUE(hint->IsHintShowing());
    EXPECT_EQ(hint->Caption(), "Следующий месяц");
    // The previous-month arrow has no hint of its own: the form's shows.
    MoveTo(result->BitBtn4);
    ASSERT_TRUE(hint->IsHintShowing());
    EXPECT_EQ(hint->Caption(), "Предыдущий месяц");
    // Nothing else on the form shows a hint.
    for (TWinControl* other :
         {static_cast<TWinControl*>(result->Chart1), static_cast<TWinControl*>(result->BitBtn3)}) {
        MoveTo(other);
        hl::Advance(Application->HintDelay());
        Pump();
        EXPECT_FALSE(hint->IsHintShowing());
    }
}

TEST_F(ResultFormTest, ExitHidesTheFormAndTheProgramGoesOn) {
    Next(15, 3, 1980, 3, "2000");
    ASSERT_TRUE(result->Visible());
    Click(result->BitBtn2);
    EXPECT_FALSE(result->Visible());
    EXPECT_TRUE(intro->Visible());
    EXPECT_FALSE(Application->StopRequested());
    // Shown again by "Next", it fills itself again.
    Next(15, 3, 1980, 4, "2000");
    ASSERT_TRUE(result->Visible());
    EXPECT_EQ(result->Caption(), "Zorvane: Апрель 2000 г.");
    EXPECT_EQ(result->Series3->Count(), 31);
}

TEST_F(ResultFormTest, HelpAboutAndPrint) {
    Next(15, 3, 1980, 3, "2000");
    ASSERT_TRUE(result->Visible());
    Click(result->BitBtn3);
    ASSERT_EQ(helpCalls.size(), 1u);
    EXPECT_EQ(helpCalls[0].file, "zorvane.hlp");
    EXPECT_EQ(helpCalls[0].command, unsigned(platform::help::HELP_CONTEXT));
    EXPECT_EQ(helpCalls[0].data, 5u);
    EXPECT_EQ(helpCalls[0].owner, result->Handle());
    // The picture opens the about box.
    ClickAt(result->Image1, TPoint{20, 20});
    ASSERT_TRUE(app::AboutBox);
    EXPECT_TRUE(app::AboutBox->Visible());
    app::AboutBox->CloseForm();
    Pump();
    // "Print" goes to the report form while there is one, and does nothing without it.
    std::string pdf =
        ::testing::TempDir() + "result-form-print-" + std::to_string(getpid()) + ".pdf";
    platform::spool::RouteToFile(pdf);
    rtl::ScopeExit unroute([&pdf] {
        platform::spool::RouteToFile("");
        std::filesystem::remove(pdf);
    });
    Click(result->BitBtn1);
    EXPECT_TRUE(std::filesystem::exists(pdf));
    std::filesystem::remove(pdf);
    delete app::Report1;
    EXPECT_EQ(app::Report1, nullptr);
    Click(result->BitBtn1);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_EQ(ErrorTexts(), "");
}

TEST_F(ResultFormTest, TheFormLooksAsItsReference) {
    Next(15, 3, 1980, 3, "2000");
    ASSERT_TRUE(result->Visible());
    Pump();
    const gdi::Bitmap* shown = hl::Buffer(result->Handle());
    ASSERT_TRUE(shown);
    ASSERT_EQ(shown->Width(), 649);
    ASSERT_EQ(shown->Height(), 489);
    ExpectMatchesAppReference(*shown, "result_form");
}

} // namespace
} // namespace apptest
