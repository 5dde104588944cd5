// Hints: the pause before the first, at once between hinted controls while one is up, hidden
// after a while, the walk to the first control that shows hints and to the first hint text, the
// messages that end a hint, and a hint timer that outlives its form.
#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "frame/forms/THintWindow.h"
#include "platform/display/WindowApi.h"

namespace formtest {
namespace {

using namespace platform;
namespace hl = headless;

const char* kForm = R"(object F: TStreamForm
  Left = 100
  Top = 100
  ClientHeight = 200
  ClientWidth = 300
  Hint = 'Предыдущий месяц'
  object Next: TCoreButton
    Left = 10
    Top = 10
    Hint = 'Следующий месяц|Перейти к следующему месяцу'
    ParentShowHint = False
    ShowHint = True
  end
  object Prev: TCoreButton
    Left = 100
    Top = 10
    ParentShowHint = False
    ShowHint = True
  end
  object Plain: TCoreButton
    Left = 200
    Top = 10
  end
end
)";

class HintTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        form = StreamForm(kForm);
        form->ShowForm();
        next = As<TCoreButton>(form->FindComponent("Next"));
        prev = As<TCoreButton>(form->FindComponent("Prev"));
        plain = As<TCoreButton>(form->FindComponent("Plain"));
        Pump();
    }
    void MoveTo(TWinControl* c, TPoint p = TPoint{5, 5}) {
        hl::MouseMove(hl::ToScreen(c->Handle(), p));
        Pump();
    }
    bool HintShown() { return Application->HintWindow()->IsHintShowing(); }
    std::string HintText() { return Application->HintWindow()->Caption(); }
    TStreamForm* form = nullptr;
    TCoreButton* next = nullptr;
    TCoreButton* prev = nullptr;
    TCoreButton* plain = nullptr;
};

TEST_F(HintTest, ShowsAfterTheDelayBelowTheCursorAndHidesLater) {
    MoveTo(next);
    hl::Advance(499);
    EXPECT_FALSE(HintShown());
    hl::Advance(1);
    ASSERT_TRUE(HintShown());
    EXPECT_EQ(HintText(), "Следующий месяц");
    EXPECT_TRUE(Application->HintActive());
    TRect r;
    GetWindowRect(Application->HintWindow()->Handle(), r);
    TPoint cursor = hl::ToScreen(next->Handle(), TPoint{5, 5});
    EXPECT_EQ(r.left, cursor.x);
    EXPECT_EQ(r.top, cursor.y + GetSystemMetrics(SM_CYCURSOR));
    EXPECT_TRUE(hl::Host(Application->HintWindow()->Handle())->exStyle & WS_EX_TOPMOST);
    // Moving inside the same control changes nothing.
    MoveTo(next, TPoint{8, 8});
    EXPECT_TRUE(HintShown());
    hl::Advance(2499);
    EXPECT_TRUE(HintShown());
    hl::Advance(1);
    EXPECT_FALSE(HintShown());
    EXPECT_EQ(Application->HintControl(), next); // hidden, the control kept
}

TEST_F(HintTest, WhileAHintIsUpTheNextHintedControlShowsAtOnce) {
    MoveTo(next);
    hl::Advance(500);
    ASSERT_TRUE(HintShown());
    // The text of a control without one comes from its parent.
    MoveTo(prev);
    EXPECT_TRUE(HintShown());
    EXPECT_EQ(HintText(), "Предыдущий месяц");
    EXPECT_EQ(Application->HintControl(), prev);
    // A control that does not show hints, on a form that does not either, ends it.
    MoveTo(plain);
    EXPECT_FALSE(HintShown());
    EXPECT_EQ(Application->HintControl(), nullptr);
    EXPECT_FALSE(Application->HintActive());
}

TEST_F(HintTest, KeysAndClicksEndAShowingHint) {
    MoveTo(next);
    hl::Advance(500);
    ASSERT_TRUE(HintShown());
    hl::KeyDown(VK_SHIFT);
    hl::KeyUp(VK_SHIFT);
    Pump();
    EXPECT_FALSE(HintShown());
    EXPECT_EQ(Application->HintControl(), nullptr);
}

TEST_F(HintTest, AHintTimerThatOutlivesItsFormTouchesNothing) {
    MoveTo(next);
    EXPECT_EQ(Application->HintControl(), next);
    form->ReleaseForm();
    Pump();
    EXPECT_EQ(Screen->FormCount(), 0);
    EXPECT_EQ(Application->HintControl(), nullptr);
    hl::Advance(600);
    EXPECT_FALSE(HintShown());
}

TEST_F(HintTest, AHintWaitingWhenAnErrorBoxComesNeverShows) {
    MoveTo(next);
    Application->AppMessageBox("Ошибка", "Zorvane", MB_OK);
    EXPECT_EQ(Application->HintControl(), nullptr);
    hl::Advance(600);
    EXPECT_FALSE(HintShown());
}

TEST_F(HintTest, AControlMayChangeThePauseOrVetoTheHint) {
    Application->SetHintDelay(800);
    MoveTo(next);
    hl::Advance(500);
    EXPECT_FALSE(HintShown());
    hl::Advance(300);
    EXPECT_TRUE(HintShown());
    std::string changed;
    Application->OnShowHint = [&](std::string& text, bool& canShow, THintInfo&) {
        changed = text;
        canShow = false;
    };
    MoveTo(plain);
    MoveTo(prev);
    hl::Advance(800);
    EXPECT_EQ(changed, "Предыдущий месяц");
    EXPECT_FALSE(HintShown());
}

} // namespace
} // namespace formtest
