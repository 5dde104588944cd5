// The input form as a user drives it: the start-up, the worked examples of "Next" entered with
// the mouse and the keyboard, the error box, and the faults mended (activation, impossible days,
// the order of "Next", handlers while reading, the visible result form).
#include "ProgramTestSupport.h"
#include "app/forms/TReport1.h"

#include "app/forms/TResult.h"
#include "controls/TBitBtn.h"
#include "controls/TCustomPanel.h"
#include "controls/TImage.h"
#include "controls/TUpDown.h"
#include "frame/FormText.h"
#include "platform/display/WindowApi.h"
#include "platform/help/Help.h"
#include "rtl/DateTime.h"
#include "rtl/TMemoryStream.h"

namespace apptest {
namespace {

using namespace platform;

const rtl::TDateTime June15 = rtl::EncodeDate(2024, 6, 15);

// The date the calendar holds, as "D.M.Y".
std::string Held(const controls::TCalendar* c) {
    return std::to_string(c->Day()) + "." + std::to_string(c->Month()) + "." +
           std::to_string(c->Year());
}

// Replaces the first `from` in `text` by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

TResultStandIn* MakeStandIn() {
    std::string bytes = ObjectTextToBinary("object StandIn: TResultStandIn\n"
                                           "  Left = 10\n  Top = 10\n"
                                           "  Width = 200\n  Height = 100\n"
                                           "  Caption = 'Stand-in'\n"
                                           "  OnShow = Shown\n"
                                           "end\n");
    rtl::TBytesStream stream(bytes);
    return CreateForm<TResultStandIn>(Application, &stream);
}

TResultStandIn* MakeResultStandIn() {
    TResultStandIn* standIn = MakeStandIn();
    app::Session->SetObserver(standIn);
    return standIn;
}

TEST_F(ProgramTest, StartsWithTheInputFormSetUpForTheCurrentPeriod) {
    Start(June15);
    ASSERT_TRUE(intro);
    EXPECT_EQ(Application->PrimaryForm(), intro);
    EXPECT_EQ(Application->AppTitle(), "Zorvane");
    EXPECT_EQ(Application->AppHelpFile(), "Zorvane.hlp");
    ASSERT_TRUE(app::AboutBox);
    ASSERT_TRUE(app::Result);
    ASSERT_TRUE(app::Report1);
    EXPECT_EQ(app::Report1->Owner(), Application);
    // The forms in the order they were made; only the input form shows.
    EXPECT_TRUE(intro->Visible());
    EXPECT_FALSE(app::Result->Visible());
    EXPECT_FALSE(app::AboutBox->Visible());
    EXPECT_EQ(intro->Caption(), "Zorvane");
    EXPECT_EQ(intro->ClientWidth(), 313);
    EXPECT_EQ(intro->ClientHeight(), 225);
    const headless::HostRecord* host = headless::Host(intro->Handle());
    ASSERT_TRUE(host);
    EXPECT_EQ(host->rect.left, (1280 - host->rect.Width()) / 2);
    EXPECT_EQ(host->rect.top, (1024 - host->rect.Height()) / 2);
    // The first activation: January of the year box's 1900, today's day kept; the period is the
    // current month and year. The cycle state is all zero.
    EXPECT_EQ(intro->ComboBox1->ItemIndex(), 0);
    EXPECT_EQ(intro->ComboBox1->Text(), "Январь");
    // (The calendar was read holding the clock's today.)
    EXPECT_EQ(Held(intro->Calendar), std::to_string(rtl::DecodeDate(rtl::Date()).day) + ".1.1900");
    EXPECT_EQ(intro->ComboBox2->Text(), "Июнь");
    EXPECT_EQ(intro->Edit2->Text(), "2024");
    EXPECT_EQ(app::Session->DayCount(), 0);
    EXPECT_EQ(app::Session->BirthDate(), 0);
    EXPECT_FALSE(app::Session->NextPressed());
    EXPECT_TRUE(boxes.empty());
}

struct TWorkedExample {
    int day, month;
    const char* year;
    int periodMonth;
    const char* periodYear;
    double birth, period;
    int c, p23, p28, p33;
};

class WorkedExampleTest : public ProgramTest,
                          public ::testing::WithParamInterface<TWorkedExample> {};

TEST_P(WorkedExampleTest, NextComputesTheCycleStateAndShowsTheResult) {
    const TWorkedExample& w = GetParam();
    Start(June15);
    TResultStandIn* result = MakeResultStandIn();
    EnterAndNext(w.day, w.month, w.year, w.periodMonth, w.periodYear);
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
    EXPECT_EQ(app::Session->BirthDate(), w.birth);
    EXPECT_EQ(app::Session->PeriodStart(), w.period);
    EXPECT_EQ(app::Session->DayCount(), w.c);
    EXPECT_EQ(app::Session->PhysicalPhase(), w.p23);
    EXPECT_EQ(app::Session->EmotionalPhase(), w.p28);
    EXPECT_EQ(app::Session->IntellectualPhase(), w.p33);
    EXPECT_TRUE(app::Session->NextPressed());
    EXPECT_TRUE(result->Visible());
    EXPECT_EQ(result->fills, 1);
}

INSTANTIATE_TEST_SUITE_P(
    TwoExamples, WorkedExampleTest,
    ::testing::Values(TWorkedExample{15, 3, "1980", 3, "2000", 29295, 36586, 7291, 23, 17, 2},
                      TWorkedExample{1, 1, "1970", 2, "2024", 25569, 45323, 19754, 3, 14, 13}));

TEST_F(ProgramTest, UpDownArrowsStepTheYearAndTheCalendar) {
    Start(June15);
    ClickArrow(intro->UpDown1, true);
    EXPECT_EQ(intro->Edit1->Text(), "1901");
    EXPECT_EQ(intro->Calendar->Year(), 1901);
    ClickArrow(intro->UpDown1, false);
    ClickArrow(intro->UpDown1, false); // stops at 1900
    EXPECT_EQ(intro->Edit1->Text(), "1900");
    EXPECT_EQ(intro->Calendar->Year(), 1900);
    ClickArrow(intro->UpDown2, true);
    EXPECT_EQ(intro->Edit2->Text(), "2025"); // from the year the form wrote
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ProgramTest, AnEmptiedYearBoxIsReportedOnce) {
    Start(June15);
    TypeInto(intro->Edit1, "1980");
    intro->Edit1->SetFocus();
    Pump();
    Key('A', headless::kCtrl);
    Key(VK_DELETE);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "'' is not a valid integer value.");
    EXPECT_EQ(boxes[0].caption, "Zorvane");
    EXPECT_EQ(boxes[0].flags, unsigned(MB_ICONSTOP | MB_OK));
    EXPECT_EQ(intro->Calendar->Year(), 1980); // the calendar keeps the last good year
    ClickAt(intro->Edit1, TPoint{10, 8});     // (the fake box takes no focus to give back)
    Type("1981");
    EXPECT_EQ(intro->Edit1->Text(), "1981");
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(intro->Calendar->Year(), 1981);
}

TEST_F(ProgramTest, NoPositiveDayCountShowsNothing) {
    Start(June15);
    TResultStandIn* result = MakeResultStandIn();
    EnterAndNext(1, 3, "2000", 3, "2000"); // c = 0
    EXPECT_EQ(app::Session->DayCount(), 0);
    EXPECT_EQ(app::Session->PhysicalPhase(), 23);
    EnterAndNext(2, 3, "2000", 3, "2000"); // c = -1
    EXPECT_EQ(app::Session->DayCount(), -1);
    EXPECT_FALSE(result->Visible());
    EXPECT_EQ(result->fills, 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(app::Session->NextPressed());
}

TEST_F(ProgramTest, OnlyTheFirstActivationSetsTheFormUp) {
    Start(June15);
    PickByMouse(intro->ComboBox1, 3); // "Апрель"
    TypeInto(intro->Edit1, "1980");
    ClickDay(intro->Calendar, 30);
    PickByKeys(intro->ComboBox2, 2);
    TypeInto(intro->Edit2, "2000");
    // Away to the about box and back, then away to a window of another kind and back.
    ClickAt(intro->Image1, TPoint{20, 20});
    ASSERT_TRUE(app::AboutBox->Visible());
    EXPECT_FALSE(intro->Active());
    Key(VK_RETURN);
    EXPECT_FALSE(app::AboutBox->Visible());
    SetActiveWindow(intro->Handle());
    Pump();
    EXPECT_TRUE(intro->Active());
    TResultStandIn* other = MakeStandIn();
    other->ShowForm();
    Pump();
    SetActiveWindow(intro->Handle());
    Pump();
    EXPECT_EQ(intro->ComboBox1->Text(), "Апрель");
    EXPECT_EQ(Held(intro->Calendar), "30.4.1980");
    EXPECT_EQ(intro->ComboBox2->Text(), "Март");
    EXPECT_EQ(intro->Edit2->Text(), "2000");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ProgramTest, AMonthOrYearWithoutTheDayMovesToItsLastDay) {
    Start(June15);
    TypeInto(intro->Edit1, "1980");
    ClickDay(intro->Calendar, 31); // 31 January 1980
    PickByMouse(intro->ComboBox1, 1);
    EXPECT_EQ(Held(intro->Calendar), "29.2.1980");
    PickByKeys(intro->ComboBox1, 3); // through March to April
    EXPECT_EQ(Held(intro->Calendar), "29.4.1980");
    // 29 February 1904, then 1905 from the spinner.
    TypeInto(intro->Edit1, "1904");
    PickByMouse(intro->ComboBox1, 1);
    ClickDay(intro->Calendar, 29);
    EXPECT_EQ(Held(intro->Calendar), "29.2.1904");
    ClickArrow(intro->UpDown1, true);
    EXPECT_EQ(Held(intro->Calendar), "28.2.1905");
    EXPECT_TRUE(boxes.empty());
    // "Next" computes with the date the calendar and the lists show.
    ClickAt(intro->BitBtn1, TPoint{20, 15});
    EXPECT_EQ(app::Session->BirthDate(), rtl::EncodeDate(1905, 2, 28));
    // The calendar itself keeps its refusal.
    intro->Calendar->SetMonth(3);
    intro->Calendar->SetDay(31);
    EXPECT_THROW(intro->Calendar->SetMonth(4), rtl::EConvertError);
    EXPECT_EQ(Held(intro->Calendar), "31.3.1905");
}

TEST_F(ProgramTest, AStartUpOnTheTwentyNinthOfFebruary) {
    // The calendar holds today when it is read: a hidden input form, set to 29 February, then
    // shown for its first activation.
    intro = MakeIntroFrom(Replaced(IntroText(), "Visible = True", "Visible = False"));
    intro->Calendar->SetDay(1);
    intro->Calendar->SetYear(2024);
    intro->Calendar->SetMonth(2);
    intro->Calendar->SetDay(29);
    app::TIntro::Clock() = [] { return rtl::EncodeDate(2024, 2, 29) + 0.25; };
    intro->ShowForm();
    Pump();
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
    EXPECT_EQ(Held(intro->Calendar), "29.1.1900");
    EXPECT_EQ(intro->ComboBox2->Text(), "Февраль");
    EXPECT_EQ(intro->Edit2->Text(), "2024");
}

TEST_F(ProgramTest, NextConvertsBothTextsBeforeStoringAny) {
    Start(June15);
    // A first "Next" that cannot convert its period is no "Next" at all.
    TypeInto(intro->Edit2, "20x0");
    ClickAt(intro->BitBtn1, TPoint{20, 15});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(app::Session->NextPressed());
    EXPECT_EQ(app::Session->BirthDate(), 0);
    boxes.clear();
    EnterAndNext(15, 3, "1980", 3, "2000");
    ASSERT_EQ(app::Session->DayCount(), 7291);
    // The result form covers the input form: the user closes it first.
    app::Result->CloseForm();
    Pump();
    // A new birth date with a period year that is no number.
    PickByMouse(intro->ComboBox1, 0);
    ClickDay(intro->Calendar, 1);
    TypeInto(intro->Edit2, "20x0");
    ClickAt(intro->BitBtn1, TPoint{20, 15});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "'1.3.20x0' is not a valid date.");
    EXPECT_EQ(app::Session->BirthDate(), 29295);
    EXPECT_EQ(app::Session->PeriodStart(), 36586);
    EXPECT_EQ(app::Session->DayCount(), 7291);
    EXPECT_EQ(app::Session->PhysicalPhase(), 23);
    EXPECT_EQ(app::Session->EmotionalPhase(), 17);
    EXPECT_EQ(app::Session->IntellectualPhase(), 2);
}

TEST_F(ProgramTest, ChangeHandlersWaitUntilTheFormIsRead) {
    // A year box whose text is set after its change event is bound and then rewritten by its
    // spinner as the form is read: the handler would report '' and move the calendar.
    std::string text = IntroText();
    text = Replaced(text, "      Text = '1900'\n      OnChange = Edit1Change\n",
                    "      OnChange = Edit1Change\n      Text = ''\n");
    text = Replaced(text, "Visible = True", "Visible = False");
    intro = MakeIntroFrom(text);
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
    EXPECT_EQ(intro->Edit1->Text(), "1900");
    EXPECT_EQ(intro->Calendar->Year(), rtl::DecodeDate(rtl::Date()).year);
    // Once read, the handlers work.
    intro->ShowForm();
    Pump();
    EXPECT_EQ(intro->Calendar->Year(), 1900);
    ClickArrow(intro->UpDown1, true);
    EXPECT_EQ(intro->Calendar->Year(), 1901);
}

TEST_F(ProgramTest, NextRefillsAVisibleResultFormAndBringsItToTheFront) {
    Start(June15);
    TResultStandIn* result = MakeResultStandIn();
    EnterAndNext(15, 3, "1980", 3, "2000");
    ASSERT_TRUE(result->Visible());
    EXPECT_EQ(result->fills, 1);
    // Back on the input form (the result stays on screen), another period and "Next".
    SetActiveWindow(intro->Handle());
    Pump();
    ASSERT_TRUE(intro->Active());
    PickByKeys(intro->ComboBox2, 1);
    TypeInto(intro->Edit2, "2024");
    ClickAt(intro->BitBtn1, TPoint{20, 15});
    EXPECT_EQ(result->fills, 2);
    // In front of the input form.
    HWND first = nullptr;
    for (HWND w = GetTopWindow(nullptr); w && !first; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == result->Handle() || w == intro->Handle())
            first = w;
    }
    EXPECT_EQ(first, result->Handle());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ProgramTest, TheAboutBoxShowsAndHides) {
    Start(June15);
    app::TAboutBox* about = app::AboutBox;
    ClickAt(intro->Image1, TPoint{20, 20});
    ASSERT_TRUE(about->Visible());
    EXPECT_EQ(about->Caption(), "О программе...");
    EXPECT_EQ(about->ClientWidth(), 298);
    EXPECT_EQ(about->ClientHeight(), 213);
    const headless::HostRecord* host = headless::Host(about->Handle());
    ASSERT_TRUE(host);
    EXPECT_EQ(host->rect.left, (1280 - host->rect.Width()) / 2);
    EXPECT_EQ(host->rect.top, (1024 - host->rect.Height()) / 2);
    // Enter presses "OK".
    Key(VK_RETURN);
    EXPECT_FALSE(about->Visible());
    EXPECT_TRUE(intro->Visible());
    // The close box hides it too; the program goes on.
    ClickAt(intro->Image1, TPoint{20, 20});
    ASSERT_TRUE(about->Visible());
    SendMessage(about->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_FALSE(about->Visible());
    EXPECT_FALSE(Application->StopRequested());
    // And a click on "OK".
    ClickAt(intro->Image1, TPoint{20, 20});
    ClickAt(about->OKButton, TPoint{30, 12});
    EXPECT_FALSE(about->Visible());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ProgramTest, HelpOpensTheFormsHelpFileAtContextThree) {
    Start(June15);
    ClickAt(intro->BitBtn2, TPoint{20, 15});
    ASSERT_EQ(helpCalls.size(), 1u);
    EXPECT_EQ(helpCalls[0].file, "zorvane.hlp");
    EXPECT_EQ(helpCalls[0].command, unsigned(platform::help::HELP_CONTEXT));
    EXPECT_EQ(helpCalls[0].data, 3u);
    EXPECT_EQ(helpCalls[0].owner, intro->Handle());
}

TEST_F(ProgramTest, ExitEndsTheProgram) {
    Start(June15);
    ClickAt(app::Intro->BitBtn3, TPoint{20, 15});
    EXPECT_TRUE(Application->StopRequested());
    EXPECT_TRUE(boxes.empty());
}

} // namespace
} // namespace apptest
