// The combo box as the input form's month lists use it: a pick by mouse or keys raises OnClick and
// OnChange once, after the field shows the item; typing raises OnChange and selects only an
// exact item; ItemIndex set by the program raises nothing and sends the selection only when it
// differs; items kept before the window exists and across a new window.
#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "controls/TComboBox.h"

namespace controlstest {
namespace {

using namespace platform;

const char* kForm = R"(object Host: TTestHost
  object ComboBox1: TComboBox
    Left = 16
    Top = 32
    Width = 105
    Height = 21
    DropDownCount = 12
    ItemHeight = 13
    Items.Strings = (
      'Январь'
      'Февраль'
      'Март'
      'Апрель'
      'Май'
      'Июнь'
      'Июль'
      'Август'
      'Сентябрь'
      'Октябрь'
      'Ноябрь'
      'Декабрь')
    TabOrder = 0
    OnChange = Changed
    OnClick = Clicked
    OnDropDown = DroppedDown
  end
end
)";

class ComboBoxTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        ReadForm(&host, kForm);
        combo = As<TComboBox>(host.FindComponent("ComboBox1"));
        ASSERT_TRUE(combo);
        host.Show();
        Pump();
        host.log.clear();
    }
    TTestHost host{nullptr};
    TComboBox* combo = nullptr;
};

TEST_F(ComboBoxTest, ReadFromTheFormSource) {
    EXPECT_EQ(combo->Style(), csDropDown);
    EXPECT_EQ(combo->Items()->Count(), 12);
    EXPECT_EQ(combo->Items()->Get(2), "Март");
    EXPECT_EQ(combo->DropDownCount(), 12);
    EXPECT_EQ(combo->ItemHeight(), 13);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");
    EXPECT_TRUE(combo->TabStop());
    // The window holds them.
    EXPECT_EQ(SendMessage(combo->Handle(), CB_GETCOUNT), 12);
    EXPECT_EQ(SendMessage(combo->Handle(), CB_GETITEMHEIGHT), 13);
    EXPECT_EQ(SendMessage(combo->Handle(), CB_GETMINVISIBLE), 12);
}

TEST_F(ComboBoxTest, MousePickRaisesClickAndChangeOnceAfterTheText) {
    combo->SetItemIndex(0);
    TRect r = combo->ClientRect();
    ClickAt(combo->Handle(), TPoint{r.right - 6, r.Height() / 2}); // the button drops the list
    EXPECT_TRUE(combo->DroppedDown());
    EXPECT_EQ(host.log, std::vector<std::string>{"dropdown ComboBox1 Январь"});
    host.log.clear();
    // The third item of the list below the box.
    HWND list = HWND(nullptr);
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (GetClassName(w) == WC_COMBOLBOX && IsWindowVisible(w))
            list = w;
    }
    ASSERT_TRUE(list);
    ClickAt(list, TPoint{10, 2 * 13 + 6});
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(host.log,
              (std::vector<std::string>{"click ComboBox1 Март", "change ComboBox1 Март"}));
    EXPECT_TRUE(reported.empty());
}

TEST_F(ComboBoxTest, KeyPickAndTyping) {
    combo->SetFocus();
    Pump();
    PressKey(VK_DOWN);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(host.log,
              (std::vector<std::string>{"click ComboBox1 Январь", "change ComboBox1 Январь"}));
    host.log.clear();
    SendMessage(combo->Handle(), CB_SETEDITSEL, 0, MAKELPARAM(0, 0xFFFF));
    TypeText("Май");
    EXPECT_EQ(host.log, (std::vector<std::string>{"change ComboBox1 М", "change ComboBox1 Ма",
                                                  "change ComboBox1 Май"}));
    EXPECT_EQ(combo->ItemIndex(), 4); // the text names an item
    TypeText("ка");
    EXPECT_EQ(combo->Text(), "Майка");
    EXPECT_EQ(combo->ItemIndex(), -1); // and now none
}

TEST_F(ComboBoxTest, ItemIndexSetByTheProgramRaisesNothing) {
    TComboBox box(&host);
    box.SetParent(&host);
    box.Items()->Assign(combo->Items());
    box.OnChange = TNotifyEvent::Of<&TTestHost::Changed>(&host);
    box.OnClick = TNotifyEvent::Of<&TTestHost::Clicked>(&host);
    Pump();
    ASSERT_TRUE(box.HandleAllocated());
    box.SetItemIndex(3);
    EXPECT_EQ(box.Text(), "Апрель");
    // The current one again: nothing reaches the window, so the field keeps the caret placed
    // since (a selection sent would show the item afresh, all of it selected).
    SendMessage(box.Handle(), CB_SETEDITSEL, 0, MAKELPARAM(2, 2));
    box.SetItemIndex(3);
    int start = -1, end = -1;
    SendMessage(box.Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 2);
    box.SetItemIndex(-1);
    EXPECT_EQ(box.Text(), "");
    EXPECT_EQ(box.ItemIndex(), -1);
    box.SetItemIndex(99); // no such item: none
    EXPECT_EQ(box.ItemIndex(), -1);
    box.SetText("Что-то");
    EXPECT_TRUE(host.log.empty());
}

TEST_F(ComboBoxTest, ItemsBeforeTheWindowAndAcrossANewOne) {
    TComboBox box(&host);
    box.Items()->Add("b");
    box.Items()->Add("a");
    box.SetItemIndex(1);
    EXPECT_EQ(box.Text(), "a");
    box.Items()->Insert(0, "c"); // the selection moves with its item
    EXPECT_EQ(box.ItemIndex(), 2);
    box.SetParent(&host);
    Pump();
    ASSERT_TRUE(box.HandleAllocated());
    EXPECT_EQ(SendMessage(box.Handle(), CB_GETCOUNT), 3);
    EXPECT_EQ(box.ItemIndex(), 2);
    EXPECT_EQ(box.Text(), "a");
    // Sorting makes the window again with the items in order, the selection kept.
    box.SetSorted(true);
    Pump();
    EXPECT_EQ(box.Items()->Get(0), "a");
    EXPECT_EQ(box.ItemIndex(), 0);
    box.Items()->Add("b2");
    EXPECT_EQ(box.Items()->Get(2), "b2");
    std::string second;
    SendMessage(box.Handle(), CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(&second));
    EXPECT_EQ(second, "b2");
    // A list without an edit field; the owner-drawn kinds show as one.
    box.SetStyle(csOwnerDrawFixed);
    Pump();
    EXPECT_EQ(GetWindowLongPtr(box.Handle(), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(box.Text(), "a");
    box.SetText("c");
    EXPECT_EQ(box.ItemIndex(), 3);
    EXPECT_EQ(box.Items()->Count(), 4);
}

TEST_F(ComboBoxTest, LengthLimitAndTypedTextKept) {
    combo->SetMaxLength(3);
    combo->SetFocus();
    TypeText("Апрель");
    EXPECT_EQ(combo->Text(), "Апр");
    combo->SetStyle(csSimple);
    Pump();
    EXPECT_EQ(combo->Text(), "Апр");
}

} // namespace
} // namespace controlstest
