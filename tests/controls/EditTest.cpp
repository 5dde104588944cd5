// The edit box: when OnChange comes (every change the window reports, none for the text it is
// made with, at once for text set without a window), the length limit before and after the
// window exists, the height that follows the font, and the selection on entering.
#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "controls/TEdit.h"
#include "platform/gdi/DeviceContext.h"

namespace controlstest {
namespace {

using namespace platform;

int LineHeight(const TFont& font) {
    auto dc = gdi::DeviceContext::ForMeasure();
    dc->SetFont(font.Spec());
    return dc->GetTextMetrics().height;
}

class EditTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        ReadForm(&host, R"(object Host: TTestHost
  object Edit1: TEdit
    Left = 128
    Top = 32
    Width = 49
    Height = 21
    TabOrder = 1
    Text = '1900'
    OnChange = Changed
  end
  object Edit2: TEdit
    Left = 8
    Top = 8
    TabOrder = 0
    Text = 'abc'
  end
end
)");
        edit = As<TEdit>(host.FindComponent("Edit1"));
        other = As<TEdit>(host.FindComponent("Edit2"));
        ASSERT_TRUE(edit && other);
    }
    void Show() {
        host.Show();
        Pump();
    }
    TTestHost host{nullptr};
    TEdit* edit = nullptr;
    TEdit* other = nullptr;
};

TEST_F(EditTest, ReadFromTheFormSource) {
    EXPECT_EQ(edit->Text(), "1900");
    EXPECT_EQ(edit->MaxLength(), 0);
    EXPECT_TRUE(edit->AutoSize());
    EXPECT_TRUE(edit->AutoSelect());
    EXPECT_TRUE(edit->HideSelection());
    EXPECT_EQ(edit->BorderStyle(), bsSingle);
    EXPECT_TRUE(edit->TabStop());
    EXPECT_FALSE(edit->ParentColor());
    EXPECT_EQ(edit->Color(), clWindow);
    // The height follows the font: its text height and 8 border heights for the 3-D frame.
    EXPECT_EQ(edit->Height(), LineHeight(*edit->Font()) + 8);
    EXPECT_EQ(other->Height(), edit->Height());
    edit->SetCtl3D(false);
    EXPECT_EQ(edit->Height(), LineHeight(*edit->Font()) + 6);
    edit->Font()->SetHeight(-20);
    EXPECT_EQ(edit->Height(), LineHeight(*edit->Font()) + 6);
    edit->SetAutoSize(false);
    edit->SetHeight(40);
    edit->Font()->SetHeight(-11);
    EXPECT_EQ(edit->Height(), 40);
}

TEST_F(EditTest, ChangeEventsComeExactlyForChanges) {
    EXPECT_TRUE(host.log.empty()); // set while read, before the handler was bound
    edit->SetText("1901");         // no window yet: at once
    edit->SetText("1901");         // the same text is no change
    EXPECT_EQ(host.log, std::vector<std::string>{"change Edit1 1901"});
    host.log.clear();
    Show(); // the window is made with the text: no change
    EXPECT_TRUE(host.log.empty());
    edit->SetText("1902"); // through the window: once
    EXPECT_EQ(host.log, std::vector<std::string>{"change Edit1 1902"});
    host.log.clear();
    edit->SetFocus();
    PressKey(VK_END);
    TypeText("5");
    PressKey(VK_BACK, 0, U'\b');
    EXPECT_EQ(host.log, (std::vector<std::string>{"change Edit1 19025", "change Edit1 1902"}));
    host.log.clear();
    // Emptying the box is a change too (the input form reports it).
    edit->SelectAll();
    PressKey(VK_DELETE);
    EXPECT_EQ(host.log, std::vector<std::string>{"change Edit1 "});
}

TEST_F(EditTest, LengthLimitBeforeAndAfterTheWindow) {
    edit->SetMaxLength(4);
    Show();
    edit->SetFocus();
    edit->SelectAll();
    TypeText("123456");
    EXPECT_EQ(edit->Text(), "1234");
    edit->SetMaxLength(6);
    TypeText("56789");
    EXPECT_EQ(edit->Text(), "123456");
    edit->SetMaxLength(0); // no limit
    TypeText("789");
    EXPECT_EQ(edit->Text(), "123456789");
    // The program's own text is not cut.
    edit->SetMaxLength(2);
    edit->SetText("2024");
    EXPECT_EQ(edit->Text(), "2024");
}

TEST_F(EditTest, EnteringSelectsAllAndTypedTextOutlivesTheWindow) {
    Show();
    EXPECT_TRUE(other->Focused());
    PressKey(VK_TAB);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 4);
    TypeText("1980");
    edit->SetBorderStyle(bsNone); // the window is made again
    EXPECT_EQ(edit->Text(), "1980");
    Pump();
    EXPECT_TRUE(edit->HandleAllocated());
    EXPECT_EQ(GetWindowText(edit->Handle()), "1980");
}

} // namespace
} // namespace controlstest
