// Windows made on demand, painting (windowless children inside the parent's paint, clipped and
// moved), PaintTo, the font handed to standard windows, invalidation rules, re-parenting and
// destruction.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "rtl/Exception.h"

namespace controltest {
namespace {

using namespace platform;
namespace hl = headless;

const char* kForm = R"(object Host: TCoreHost
  Color = clWhite
  object Panel1: TCorePanel
    Left = 10
    Top = 10
    Width = 100
    Height = 60
    Color = clBlue
    object Shape2: TCoreShape
      Left = 80
      Top = 40
      Width = 40
      Height = 40
      ParentColor = False
      Color = clLime
    end
  end
  object Shape1: TCoreShape
    Left = 150
    Top = 20
    ParentColor = False
    Color = clRed
  end
  object Button1: TCoreButton
    Left = 150
    Top = 100
    Caption = 'OK'
  end
  object Hidden: TCoreButton
    Left = 10
    Top = 100
    Visible = False
  end
end
)";

class ControlWindowTest : public ControlTest {
protected:
    void Load() {
        ReadForm(&host, kForm);
        panel = As<TCorePanel>(host.FindComponent("Panel1"));
        shape1 = As<TCoreShape>(host.FindComponent("Shape1"));
        shape2 = As<TCoreShape>(host.FindComponent("Shape2"));
        button = As<TCoreButton>(host.FindComponent("Button1"));
        hidden = As<TCoreButton>(host.FindComponent("Hidden"));
    }
    TCoreHost host{nullptr};
    TCorePanel* panel = nullptr;
    TCoreShape* shape1 = nullptr;
    TCoreShape* shape2 = nullptr;
    TCoreButton* button = nullptr;
    TCoreButton* hidden = nullptr;
};

TEST_F(ControlWindowTest, WindowsAreMadeWhenTheTopLevelShows) {
    Load();
    // Read but not shown: no window anywhere, and invalidation is harmless.
    EXPECT_FALSE(host.HandleAllocated());
    EXPECT_FALSE(button->HandleAllocated());
    shape1->Invalidate();
    button->Invalidate();
    EXPECT_FALSE(host.HandleAllocated());

    host.Show();
    EXPECT_TRUE(host.HandleAllocated());
    EXPECT_TRUE(button->HandleAllocated());
    EXPECT_TRUE(panel->HandleAllocated());
    EXPECT_FALSE(hidden->HandleAllocated()); // invisible: not made yet
    EXPECT_TRUE(IsWindowVisible(button->Handle()));
    EXPECT_EQ(GetClassName(button->Handle()), "BUTTON");
    EXPECT_EQ(GetClassName(panel->Handle()), "TCorePanel");
    EXPECT_EQ(FindControl(button->Handle()), button);
    EXPECT_EQ(GetParent(button->Handle()), host.Handle());
    EXPECT_EQ(GetWindowText(button->Handle()), "OK");
    TRect r;
    GetWindowRect(button->Handle(), r);
    EXPECT_EQ(r, (TRect{250, 200, 325, 225})); // host's client at 100, 100

    hidden->Show();
    EXPECT_TRUE(hidden->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(hidden->Handle()));
    hidden->Hide();
    EXPECT_FALSE(IsWindowVisible(hidden->Handle()));
    // Asking for a handle makes the window of a control (and its parents) on demand.
    TCoreHost other(nullptr);
    auto* b = new TCoreButton(&other);
    b->SetParent(&other);
    EXPECT_NE(b->Handle(), nullptr);
    EXPECT_TRUE(other.HandleAllocated());
    EXPECT_FALSE(IsWindowVisible(b->Handle()));
}

TEST_F(ControlWindowTest, WindowlessChildrenPaintInsideTheirParentClippedAndMoved) {
    Load();
    host.Show();
    Pump();
    HWND top = host.Handle();
    EXPECT_EQ(hl::Pixel(top, TPoint{5, 5}), ColorRef(0xFFFFFF)); // host background
    EXPECT_EQ(hl::Pixel(top, TPoint{151, 21}), ColorRef(0x0000FF));
    EXPECT_EQ(hl::Pixel(top, TPoint{189, 49}), ColorRef(0x0000FF));
    EXPECT_EQ(hl::Pixel(top, TPoint{190, 50}), ColorRef(0xFFFFFF));
    // The shape's own drawing left of it was clipped away.
    EXPECT_EQ(hl::Pixel(top, TPoint{149, 30}), ColorRef(0xFFFFFF));
    // Inside the panel: the shape lies over the panel and is cut at the panel's edge.
    EXPECT_EQ(hl::Pixel(top, TPoint{12, 12}), ColorRef(0xFF0000));
    EXPECT_EQ(hl::Pixel(top, TPoint{95, 55}), ColorRef(0x00FF00));
    EXPECT_EQ(hl::Pixel(top, TPoint{109, 69}), ColorRef(0x00FF00));
    EXPECT_EQ(hl::Pixel(top, TPoint{112, 72}), ColorRef(0xFFFFFF));
    EXPECT_GE(panel->paints, 1);
    EXPECT_EQ(shape1->paints, 1);

    // A change repaints only what it concerns.
    int panelPaints = panel->paints;
    shape1->SetColor(clBlack);
    Pump();
    EXPECT_EQ(hl::Pixel(top, TPoint{151, 21}), ColorRef(0x000000));
    EXPECT_EQ(panel->paints, panelPaints);
    // A hidden windowless control leaves its parent's background.
    shape1->Hide();
    Pump();
    EXPECT_EQ(hl::Pixel(top, TPoint{151, 21}), ColorRef(0xFFFFFF));
}

TEST_F(ControlWindowTest, PaintToDrawsTheTreeWithoutWindows) {
    Load();
    gdi::Bitmap bitmap(300, 200, 0xFF000000);
    auto dc = gdi::DeviceContext::ForBitmap(bitmap);
    host.PaintTo(dc.get(), 0, 0);
    EXPECT_FALSE(host.HandleAllocated());
    auto at = [&](int x, int y) { return dc->GetPixel(x, y); };
    EXPECT_EQ(at(5, 5), ColorRef(0xFFFFFF));
    EXPECT_EQ(at(151, 21), ColorRef(0x0000FF));
    EXPECT_EQ(at(12, 12), ColorRef(0xFF0000));
    EXPECT_EQ(at(95, 55), ColorRef(0x00FF00));
    EXPECT_EQ(at(112, 72), ColorRef(0xFFFFFF));
}

TEST_F(ControlWindowTest, StandardWindowsGetTheControlsFontAndText) {
    Load();
    host.Font()->SetName("Arial");
    host.Font()->SetHeight(-17);
    host.Show();
    auto font = [&] {
        return *reinterpret_cast<const gdi::FontSpec*>(SendMessage(button->Handle(), WM_GETFONT));
    };
    EXPECT_EQ(font().name, "Arial");
    EXPECT_EQ(font().height, -17);
    button->Font()->SetHeight(-9);
    EXPECT_EQ(font().height, -9);
    EXPECT_FALSE(button->ParentFont());
    button->SetCaption("Готово");
    EXPECT_EQ(GetWindowText(button->Handle()), "Готово");
    // Text typed into a window is the control's text.
    SetWindowText(button->Handle(), "Изменено");
    EXPECT_EQ(button->Caption(), "Изменено");
}

TEST_F(ControlWindowTest, BoundsFollowTheWindowBothWays) {
    Load();
    host.Show();
    button->SetBounds(20, 30, 90, 40);
    TRect r;
    GetWindowRect(button->Handle(), r);
    EXPECT_EQ(r, (TRect{120, 130, 210, 170}));
    MoveWindow(button->Handle(), 5, 6, 70, 20);
    EXPECT_EQ(button->BoundsRect(), (TRect{5, 6, 75, 26}));
    host.SetClientWidth(400);
    EXPECT_EQ(host.ClientWidth(), 400);
}

TEST_F(ControlWindowTest, ReparentingRemakesTheWindowUnderTheNewParent) {
    Load();
    host.Show();
    HWND old = button->Handle();
    button->SetParent(panel);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_TRUE(button->HandleAllocated());
    EXPECT_EQ(GetParent(button->Handle()), panel->Handle());
    EXPECT_THROW(panel->SetParent(panel), rtl::EInvalidOperation);
    EXPECT_THROW(host.SetParent(panel), rtl::EInvalidOperation);
}

TEST_F(ControlWindowTest, DestroyingAContainerTakesChildrenAndWindows) {
    Load();
    host.Show();
    HWND panelWindow = panel->Handle();
    int before = host.ComponentCount();
    delete panel;
    EXPECT_FALSE(IsWindow(panelWindow));
    EXPECT_EQ(host.FindComponent("Shape2"), nullptr);
    EXPECT_EQ(host.ComponentCount(), before - 2);
    Pump();
    // A window destroyed under a control leaves the control without one.
    DestroyWindow(button->Handle());
    EXPECT_FALSE(button->HandleAllocated());
    EXPECT_FALSE(button->Showing());
}

} // namespace
} // namespace controltest
