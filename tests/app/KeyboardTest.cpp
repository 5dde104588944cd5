// The whole program from the keyboard alone: Tab, arrows, Enter, Space and the Alt+letter
// accelerators through the input form, "Next", the month steps, help, the about box (Alt+О, the
// keyboard's way to the picture's click) and exit; and the faults that once stopped a keyboard
// user: a visible result form raised by "Next" without the keyboard.
#include "ProgramTestSupport.h"

#include "app/forms/TResult.h"
#include "controls/TBitBtn.h"
#include "controls/TButtonControl.h"
#include "frame/forms/TScreen.h"
#include "platform/display/WindowApi.h"
#include "platform/help/Help.h"
#include "rtl/DateTime.h"

namespace apptest {
namespace {

using namespace platform;
namespace hl = platform::headless;

// The input form's today (the calendar itself starts on the real today's day).
const rtl::TDateTime June15 = rtl::EncodeDate(2024, 6, 10);

class KeyboardTest : public ProgramTest {
protected:
    // Alt with a letter of the Russian layout: the key's Latin code and the character it types.
    void Alt(int vk, char32_t ch) { Key(vk, hl::kAlt, ch); }
    void Next() { Alt('L', U'д'); }
    void Help() { Alt('C', U'с'); }
    void Exit() { Alt('D', U'в'); }
    void About() { Alt('J', U'о'); }
    void Keys(int vk, int times, unsigned modifiers = 0) {
        for (int i = 0; i < times; ++i)
            Key(vk, modifiers);
    }
    // The keyboard is in the control (a combo box holds it in its edit field).
    bool HasFocus(TWinControl* control) const {
        HWND focus = GetFocus();
        return control->HandleAllocated() && focus &&
               (focus == control->Handle() || IsChild(control->Handle(), focus)) &&
               Screen->ActiveControl() == control;
    }
    bool IsActive(TCustomForm* form) const {
        return form->HandleAllocated() && GetActiveWindow() == form->Handle();
    }
    // Moves the calendar to a day of its month with the arrows: a week at a time into the day's
    // row, then a day at a time (the calendar starts on today's day of the month).
    void DayByKeys(int day) {
        controls::TCalendar* c = intro->Calendar;
        auto row = [c](int d) { return (d - c->MonthOffset()) / 7; };
        for (int i = 0; i < 6 && row(c->Day()) != row(day); ++i)
            Key(row(c->Day()) > row(day) ? VK_UP : VK_DOWN);
        for (int i = 0; i < 6 && c->Day() != day; ++i)
            Key(c->Day() > day ? VK_LEFT : VK_RIGHT);
    }
    // The birth date 15.3.1980 and the period March 2000, entered with the keys alone.
    void EnterByKeys() {
        ASSERT_TRUE(HasFocus(intro->BitBtn1)) << "the input form starts on \"Next\"";
        Keys(VK_TAB, 3);
        ASSERT_TRUE(HasFocus(intro->ComboBox1));
        Keys(VK_DOWN, 2);
        Key(VK_TAB);
        ASSERT_TRUE(HasFocus(intro->Calendar));
        DayByKeys(15);
        Key(VK_TAB);
        ASSERT_TRUE(HasFocus(intro->Edit1));
        Type("1980"); // over the text the Tab selected
        Key(VK_TAB);
        ASSERT_TRUE(HasFocus(intro->Edit2));
        Type("2000");
        Key(VK_TAB);
        ASSERT_TRUE(HasFocus(intro->ComboBox2));
        Keys(VK_UP, 11);
        Keys(VK_DOWN, 2);
        EXPECT_EQ(intro->Calendar->Day(), 15);
        EXPECT_EQ(intro->Calendar->Month(), 3);
        EXPECT_EQ(intro->Calendar->Year(), 1980);
    }
};

TEST_F(KeyboardTest, TheWholePathWithTheKeysAlone) {
    Start(June15);
    TCustomForm* result = app::Result;
    ASSERT_TRUE(result);
    EnterByKeys();

    Next();
    ASSERT_TRUE(result->Visible());
    EXPECT_EQ(result->Caption(), "Zorvane: Март 2000 г.");
    EXPECT_TRUE(IsActive(result));
    auto* r = static_cast<app::TResult*>(result);
    EXPECT_TRUE(HasFocus(r->BitBtn1)) << "the result form starts on \"Print\"";

    // The month buttons are reached by Tab and pressed with Space or Enter.
    Keys(VK_TAB, 4);
    ASSERT_TRUE(HasFocus(r->BitBtn5));
    Key(VK_SPACE);
    EXPECT_EQ(result->Caption(), "Zorvane: Апрель 2000 г.");
    Key(VK_RETURN);
    EXPECT_EQ(result->Caption(), "Zorvane: Май 2000 г.");
    Key(VK_TAB, hl::kShift);
    ASSERT_TRUE(HasFocus(r->BitBtn4));
    Key(VK_SPACE);
    Key(VK_RETURN);
    EXPECT_EQ(result->Caption(), "Zorvane: Март 2000 г.");

    Help();
    ASSERT_EQ(helpCalls.size(), 1u);
    EXPECT_EQ(helpCalls[0].data, std::uintptr_t(app::ResultHelpContext));

    // The about box from the keyboard; Enter closes it and the result form has the keys again.
    About();
    app::TAboutBox* about = app::AboutBox;
    ASSERT_TRUE(about->Visible());
    EXPECT_TRUE(IsActive(about));
    EXPECT_TRUE(HasFocus(about->OKButton));
    Key(VK_RETURN);
    EXPECT_FALSE(about->Visible());
    EXPECT_TRUE(IsActive(result));

    // "Exit" hides the result form and the input form takes the keys back.
    Exit();
    EXPECT_FALSE(result->Visible());
    EXPECT_TRUE(IsActive(intro));
    About();
    ASSERT_TRUE(about->Visible());
    Key(VK_RETURN);
    EXPECT_TRUE(IsActive(intro));
    Help();
    ASSERT_EQ(helpCalls.size(), 2u);
    EXPECT_EQ(helpCalls[1].data, std::uintptr_t(app::IntroHelpContext));
    Exit();
    EXPECT_TRUE(Application->StopRequested());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(KeyboardTest, NextOnAVisibleResultFormGivesItTheKeyboard) {
    Start(June15);
    TCustomForm* result = app::Result;
    EnterByKeys();
    Next();
    ASSERT_TRUE(IsActive(result));
    // Back to the input form with the result on screen (a window manager's Alt+Tab).
    SetActiveWindow(intro->Handle());
    Pump();
    ASSERT_TRUE(IsActive(intro));
    Key(VK_UP); // the period list still has the focus: February
    Next();
    EXPECT_EQ(result->Caption(), "Zorvane: Февраль 2000 г.");
    EXPECT_TRUE(IsActive(result));
    EXPECT_EQ(Screen->ActiveForm(), result);
    // The keys now reach it: Tab moves its focus, Alt+В closes it.
    auto* r = static_cast<app::TResult*>(result);
    Key(VK_TAB);
    EXPECT_TRUE(HasFocus(r->BitBtn2));
    Exit();
    EXPECT_FALSE(result->Visible());
    EXPECT_FALSE(Application->StopRequested());
}

TEST_F(KeyboardTest, TheAboutKeyComesAfterTheControlsAccelerators) {
    Start(June15);
    // A plain letter while a button has the focus works as with the buttons' own letters.
    ASSERT_TRUE(HasFocus(intro->BitBtn1));
    Key('J', 0, U'о');
    ASSERT_TRUE(app::AboutBox->Visible());
    Key(VK_RETURN);
    EXPECT_FALSE(app::AboutBox->Visible());
    // In a box that takes characters the letter is text, not the about box.
    Key(VK_TAB, hl::kShift);
    Key(VK_TAB, hl::kShift); // back past the period list and its year box
    ASSERT_TRUE(HasFocus(intro->Edit2));
    Key('J', 0, U'о');
    EXPECT_FALSE(app::AboutBox->Visible());
    // The button letters still go to their buttons: Alt+С is help, not the about box.
    Help();
    EXPECT_EQ(helpCalls.size(), 1u);
    EXPECT_FALSE(app::AboutBox->Visible());
}

} // namespace
} // namespace apptest
