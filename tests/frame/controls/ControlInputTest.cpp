// Mouse and keyboard through the bridge: clicks on windowless children, capture, double clicks,
// notifications reflected to the standard window they concern, focus with OnEnter/OnExit, Tab
// order, Enter for the default button, Escape for cancel, accelerators (Cyrillic too), and the
// guards: exceptions stay on the frame's side, a control may go away inside its own handler.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "rtl/Exception.h"

namespace controltest {
namespace {

using namespace platform;
namespace hl = headless;

const char* kForm = R"(object Host: TCoreHost
  object Shape1: TCoreShape
    Left = 150
    Top = 20
    Width = 40
    Height = 30
    OnClick = Clicked
    OnDblClick = Clicked
  end
  object Edit1: TCoreEdit
    Left = 10
    Top = 10
    TabOrder = 0
    OnEnter = Entered
    OnExit = Exited
    OnKeyDown = KeyDowned
  end
  object Panel1: TCorePanel
    Left = 10
    Top = 40
    Width = 120
    Height = 100
    TabOrder = 1
    object Ok: TCoreButton
      Left = 4
      Top = 4
      Caption = '&Далее'
      Default = True
      TabOrder = 0
      OnClick = Clicked
      OnEnter = Entered
      OnExit = Exited
    end
    object Quit: TCoreButton
      Left = 4
      Top = 34
      Caption = '&Выход'
      Cancel = True
      TabOrder = 1
      OnClick = Clicked
      OnEnter = Entered
      OnExit = Exited
    end
  end
  object Draw: TCoreButton
    Left = 150
    Top = 100
    OwnerDraw = True
    TabStop = False
    OnClick = Clicked
  end
end
)";

class ControlInputTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        ReadForm(&host, kForm);
        shape = As<TCoreShape>(host.FindComponent("Shape1"));
        edit = As<TCoreEdit>(host.FindComponent("Edit1"));
        ok = As<TCoreButton>(host.FindComponent("Ok"));
        quit = As<TCoreButton>(host.FindComponent("Quit"));
        draw = As<TCoreButton>(host.FindComponent("Draw"));
        host.Show();
        Pump();
        host.log.clear();
    }
    TCoreHost host{nullptr};
    TCoreShape* shape = nullptr;
    TCoreEdit* edit = nullptr;
    TCoreButton* ok = nullptr;
    TCoreButton* quit = nullptr;
    TCoreButton* draw = nullptr;
};

TEST_F(ControlInputTest, ActivationFocusesTheFirstControlInTabOrder) {
    EXPECT_EQ(GetFocus(), edit->Handle());
    EXPECT_EQ(host.FocusedControl(), edit);
    EXPECT_TRUE(ok->active); // the Default button holds the role while an edit has the focus
    EXPECT_FALSE(quit->active);
}

TEST_F(ControlInputTest, WindowlessChildGetsClicksInItsOwnCoordinates) {
    ClickAt(host.Handle(), TPoint{155, 25});
    EXPECT_EQ(host.clicks, std::vector<std::string>{"Shape1"});
    EXPECT_EQ(shape->mouse, (std::vector<std::string>{"down 5,5", "up 5,5"}));
}

TEST_F(ControlInputTest, PressInsideReleaseOutsideIsNoClickAndCaptureFollows) {
    TPoint in = hl::ToScreen(host.Handle(), TPoint{160, 30});
    TPoint out = hl::ToScreen(host.Handle(), TPoint{10, 180});
    hl::MouseMove(in);
    hl::MouseDown(in);
    Pump();
    EXPECT_EQ(CaptureControl(), shape);
    EXPECT_EQ(GetCapture(), host.Handle());
    hl::MouseMove(out);
    hl::MouseUp(out);
    Pump();
    EXPECT_TRUE(host.clicks.empty());
    EXPECT_EQ(shape->mouse.back(), "up -140,160"); // the captured release came to the shape
    EXPECT_EQ(CaptureControl(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ControlInputTest, DoubleClickRaisesClickThenDblClick) {
    ClickAt(host.Handle(), TPoint{155, 25}, true);
    EXPECT_EQ(host.clicks, (std::vector<std::string>{"Shape1", "Shape1"}));
    ASSERT_EQ(shape->mouse.size(), 4u);
    EXPECT_EQ(shape->mouse[2], "down 5,5 double");
}

TEST_F(ControlInputTest, StandardWindowNotificationsReachTheirControl) {
    ClickAt(quit->Handle(), TPoint{5, 5});
    EXPECT_EQ(host.clicks, std::vector<std::string>{"Quit"});
    // Owner drawing comes back to the button as CN_DRAWITEM and paints.
    EXPECT_GE(draw->drawItems, 1);
    EXPECT_EQ(hl::Pixel(host.Handle(), TPoint{152, 102}), ColorRef(0x00FF00));
    // Typing into the edit box reports changes to the edit control.
    edit->SetFocus();
    PressKey('7', 0, U'7');
    EXPECT_EQ(edit->Text(), "7");
    EXPECT_EQ(edit->changes, 1);
}

TEST_F(ControlInputTest, TabWalksTheTabOrderWithEnterAndExit) {
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), ok->Handle());
    EXPECT_EQ(host.log, (std::vector<std::string>{"exit Edit1", "enter Ok"}));
    EXPECT_TRUE(ok->active);
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), quit->Handle());
    EXPECT_TRUE(quit->active); // a focused button takes the default role
    EXPECT_FALSE(ok->active);
    PressKey(VK_TAB); // Draw has no tab stop: round to the edit
    EXPECT_EQ(GetFocus(), edit->Handle());
    PressKey(VK_TAB, hl::kShift);
    EXPECT_EQ(GetFocus(), quit->Handle());
    EXPECT_TRUE(host.clicks.empty());
}

TEST_F(ControlInputTest, EnterClicksTheDefaultAndEscapeTheCancelButton) {
    PressKey(VK_RETURN);
    EXPECT_EQ(host.clicks, std::vector<std::string>{"Ok"});
    PressKey(VK_ESCAPE);
    EXPECT_EQ(host.clicks, (std::vector<std::string>{"Ok", "Quit"}));
    // With a modifier held Enter does nothing.
    PressKey(VK_RETURN, hl::kCtrl);
    EXPECT_EQ(host.clicks.size(), 2u);
    // Enter on a focused button clicks that button, not the default one.
    quit->SetFocus();
    PressKey(VK_RETURN);
    EXPECT_EQ(host.clicks.back(), "Quit");
    // A disabled default button is not clicked.
    edit->SetFocus();
    ok->SetEnabled(false);
    host.clicks.clear();
    PressKey(VK_RETURN);
    EXPECT_TRUE(host.clicks.empty());
}

TEST_F(ControlInputTest, AcceleratorsMatchCyrillicLettersWithoutRegardToCase) {
    PressKey('D', hl::kAlt, U'в'); // Alt+в in a Russian layout
    EXPECT_EQ(host.clicks, std::vector<std::string>{"Quit"});
    PressKey('L', hl::kAlt | hl::kShift, U'Д');
    EXPECT_EQ(host.clicks, (std::vector<std::string>{"Quit", "Ok"}));
    // A plain letter goes to the edit box that has the focus...
    PressKey('D', 0, U'в');
    EXPECT_EQ(edit->Text(), "в");
    EXPECT_EQ(host.clicks.size(), 2u);
    // ...but is an accelerator when a button has the focus.
    ok->SetFocus();
    PressKey('D', 0, U'в');
    EXPECT_EQ(host.clicks.back(), "Quit");
    EXPECT_FALSE(IsAccel(U'x', "&&x"));
    EXPECT_TRUE(IsAccel(U'ё', "&Ёлка"));
}

TEST_F(ControlInputTest, KeyEventsAndPreviewAndTheHelpKey) {
    PressKey('A', 0, U'a');
    EXPECT_EQ(host.log, std::vector<std::string>{"key Edit1 65"});
    // A key preview takes keys before the control.
    host.keyPreview = true;
    host.OnKeyDown = TKeyEvent::Of<&TCoreHost::KeyDowned>(&host);
    THandlers handlers;
    edit->OnKeyDown = TKeyEvent::Of<&THandlers::SwallowKey>(&handlers);
    PressKey('B', 0, U'b');
    EXPECT_EQ(host.log.back(), "key Host 66");
    EXPECT_EQ(edit->Text(), "ab");
    edit->OnKeyDown = TKeyEvent();
    PressKey(VK_F1);
    EXPECT_EQ(host.helpRequests, 1);
    EXPECT_EQ(host.helpItem, edit->Handle());
}

TEST_F(ControlInputTest, ExceptionsFromHandlersAreReportedNotThrown) {
    THandlers handlers;
    handlers.click = [](TObject*) { throw rtl::EConvertError("'x' is not a valid date"); };
    ok->OnClick = TNotifyEvent::Of<&THandlers::Click>(&handlers);
    PressKey(VK_RETURN);
    ClickAt(ok->Handle(), TPoint{5, 5});
    EXPECT_EQ(reported, (std::vector<std::string>{"EConvertError: 'x' is not a valid date",
                                                  "EConvertError: 'x' is not a valid date"}));
    // Focus moves on after the failure.
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), quit->Handle());
}

TEST_F(ControlInputTest, AControlMayDestroyItselfInItsOwnHandler) {
    THandlers handlers;
    handlers.click = [this](TObject*) { delete quit; };
    quit->OnClick = TNotifyEvent::Of<&THandlers::Click>(&handlers);
    ClickAt(quit->Handle(), TPoint{5, 5});
    EXPECT_EQ(host.FindComponent("Quit"), nullptr);
    PressKey(VK_ESCAPE); // nothing left to cancel with
    PressKey(VK_TAB);
    EXPECT_TRUE(reported.empty());
    // A focused control that goes away leaves no stale focus behind.
    ok->SetFocus();
    delete ok;
    EXPECT_EQ(host.FocusedControl(), nullptr);
    EXPECT_EQ(host.ActiveControl(), nullptr);
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), edit->Handle());
}

TEST_F(ControlInputTest, FindControlAtPosFindsWindowlessAndDisabledControls) {
    TPoint shapeAt = hl::ToScreen(host.Handle(), TPoint{160, 30});
    EXPECT_EQ(FindControlAtPos(shapeAt, false), shape);
    EXPECT_EQ(FindControlAtPos(hl::ToScreen(ok->Handle(), TPoint{3, 3}), false), ok);
    ok->SetEnabled(false);
    EXPECT_EQ(FindControlAtPos(hl::ToScreen(ok->Handle(), TPoint{3, 3}), true), ok);
    EXPECT_NE(FindControlAtPos(hl::ToScreen(ok->Handle(), TPoint{3, 3}), false), ok);
    shape->SetEnabled(false);
    EXPECT_EQ(FindControlAtPos(shapeAt, false), &host);
    EXPECT_EQ(FindControlAtPos(TPoint{5, 5}, true), nullptr);
}

} // namespace
} // namespace controltest
