// The up-down spinner over a year box as the input form has it: limits, steps from a typed
// number, no thousands separator, refused steps, the association rules, and reading it from a
// form without the associate's change handler running while the form is read.
#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "controls/TEdit.h"
#include "controls/TUpDown.h"
#include "rtl/Exception.h"
#include "rtl/FormatSettings.h"

namespace controlstest {
namespace {

using namespace platform;

const char* kForm = R"(object Host: TTestHost
  object Edit1: TEdit
    Left = 128
    Top = 32
    Width = 49
    Height = 21
    MaxLength = 4
    TabOrder = 0
    Text = '1900'
    OnChange = Changed
  end
  object UpDown1: TUpDown
    Left = 177
    Top = 32
    Width = 15
    Height = 21
    Associate = Edit1
    Min = 1900
    Max = 2100
    Position = 1900
    TabOrder = 1
    Thousands = False
    OnChanging = Changing
    OnClick = Stepped
  end
end
)";

class UpDownTest : public ControlsTest {
protected:
    void Load(const char* form = kForm) {
        ReadForm(&host, form);
        edit = As<TEdit>(host.FindComponent("Edit1"));
        upDown = As<TUpDown>(host.FindComponent("UpDown1"));
        ASSERT_TRUE(edit && upDown);
    }
    void Show() {
        host.Show();
        Pump();
        host.log.clear();
    }
    void ClickArrow(bool upper) {
        ClickAt(upDown->Handle(), TPoint{upDown->Width() / 2, upper ? 3 : upDown->Height() - 3});
    }
    void Retype(const std::string& text) {
        edit->SetFocus();
        edit->SelectAll();
        TypeText(text);
        host.log.clear();
    }
    TTestHost host{nullptr};
    TEdit* edit = nullptr;
    TUpDown* upDown = nullptr;
};

TEST_F(UpDownTest, ReadFromTheFormSource) {
    Load();
    EXPECT_EQ(upDown->Associate(), edit);
    EXPECT_EQ(upDown->Min(), 1900);
    EXPECT_EQ(upDown->Max(), 2100);
    EXPECT_EQ(upDown->Position(), 1900);
    EXPECT_FALSE(upDown->Thousands());
    EXPECT_FALSE(upDown->Wrap());
    EXPECT_TRUE(upDown->ArrowKeys());
    EXPECT_FALSE(upDown->TabStop());
    EXPECT_EQ(edit->Text(), "1900");
    EXPECT_EQ(edit->MaxLength(), 4);
    EXPECT_TRUE(host.log.empty()) << host.log.front();
    Show();
    // The window sits at the associate's right edge, as high as it is.
    EXPECT_EQ(upDown->Left(), edit->Left() + edit->Width());
    EXPECT_EQ(upDown->Height(), edit->Height());
    EXPECT_TRUE(reported.empty());
}

TEST_F(UpDownTest, AssociateReadBeforeItsEditIsWrittenOnceTheFormIsRead) {
    // The spinner comes first and the box has no text: the position reaches the box after the
    // form is read, not while the box's change handler could see a half-read form.
    Load(R"(object Host: TTestHost
  object UpDown1: TUpDown
    Associate = Edit1
    Min = 1900
    Max = 2100
    Position = 1950
    Thousands = False
  end
  object Edit1: TEdit
    OnChange = Changed
  end
end
)");
    EXPECT_EQ(upDown->Associate(), edit);
    EXPECT_EQ(edit->Text(), "1950");
    EXPECT_EQ(host.log, (std::vector<std::string>{"change Edit1 1950"}));
}

TEST_F(UpDownTest, ArrowsStepWithinTheLimitsWithoutSeparator) {
    rtl::TFormatSettings saved = rtl::FormatSettings();
    rtl::FormatSettings().ThousandSeparator = "\u202F"; // as the Russian settings give it
    Load();
    Show();
    ClickArrow(true);
    EXPECT_EQ(edit->Text(), "1901");
    EXPECT_EQ(host.log, (std::vector<std::string>{"changing UpDown1 ", "change Edit1 1901",
                                                  "next UpDown1 "}));
    host.log.clear();
    ClickArrow(false);
    ClickArrow(false); // at 1900 the lower arrow changes nothing
    EXPECT_EQ(edit->Text(), "1900");
    EXPECT_EQ(upDown->Position(), 1900);
    EXPECT_EQ(host.log.back(), "prev UpDown1 ");
    EXPECT_EQ(host.log.size(), 3u);
    upDown->SetPosition(2100);
    EXPECT_EQ(edit->Text(), "2100");
    host.log.clear();
    ClickArrow(true); // at 2100 the upper arrow changes nothing
    EXPECT_EQ(edit->Text(), "2100");
    EXPECT_TRUE(host.log.empty());
    // With thousands grouping the separator would appear.
    EXPECT_EQ(upDown->PositionText(1901), "1901");
    upDown->SetThousands(true);
    EXPECT_EQ(upDown->PositionText(1901), "1\u202F901");
    rtl::FormatSettings() = saved;
    EXPECT_TRUE(reported.empty());
}

TEST_F(UpDownTest, ATypedNumberIsWhereTheStepStartsAndOutsideTheRangeComesBackIntoIt) {
    Load();
    Show();
    Retype("2050");
    EXPECT_EQ(upDown->Position(), 2050); // a typed number within the range counts
    ClickArrow(true);
    EXPECT_EQ(edit->Text(), "2051");
    Retype("2500");
    ClickArrow(true);
    EXPECT_EQ(edit->Text(), "2100");
    EXPECT_EQ(host.log.back(), "prev UpDown1 "); // it went down from what the box showed
    Retype("2500");
    ClickArrow(false);
    EXPECT_EQ(edit->Text(), "2100");
    Retype("1800");
    ClickArrow(false);
    EXPECT_EQ(edit->Text(), "1900");
    Retype("1800");
    ClickArrow(true);
    EXPECT_EQ(edit->Text(), "1900");
    Retype("2100");
    ClickArrow(true);
    EXPECT_EQ(edit->Text(), "2100");
    EXPECT_TRUE(host.log.empty());
    // Text that is no number: the step starts from the last position.
    upDown->SetPosition(1990);
    Retype("19x");
    ClickArrow(true);
    EXPECT_EQ(edit->Text(), "1991");
    // The arrow keys in the box step it too.
    edit->SetFocus();
    PressKey(VK_UP);
    EXPECT_EQ(edit->Text(), "1992");
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    EXPECT_EQ(edit->Text(), "1990");
    EXPECT_TRUE(reported.empty());
}

TEST_F(UpDownTest, OnChangingMayRefuseAStep) {
    Load();
    Show();
    host.allowSteps = false;
    ClickArrow(true);
    EXPECT_EQ(edit->Text(), "1900");
    EXPECT_EQ(host.log, (std::vector<std::string>{"changing UpDown1 "}));
}

TEST_F(UpDownTest, PositionWritesTheAssociateWithAndWithoutWindows) {
    Load();
    upDown->SetPosition(1950);
    EXPECT_EQ(edit->Text(), "1950");
    upDown->SetPosition(3000); // kept within the range
    EXPECT_EQ(upDown->Position(), 2100);
    EXPECT_EQ(edit->Text(), "2100");
    EXPECT_EQ(host.log, (std::vector<std::string>{"change Edit1 1950", "change Edit1 2100"}));
    host.log.clear();
    host.Show(); // making the windows changes no text, so no change is reported
    Pump();
    EXPECT_TRUE(host.log.empty());
    upDown->SetPosition(1980);
    EXPECT_EQ(edit->Text(), "1980");
    EXPECT_EQ(host.log, (std::vector<std::string>{"change Edit1 1980"}));
}

TEST_F(UpDownTest, AssociationRules) {
    Load();
    TUpDown second(&host);
    second.SetName("UpDown2");
    second.SetParent(&host);
    try {
        second.SetAssociate(edit);
        FAIL() << "no error";
    } catch (const rtl::EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Edit1 is already associated with UpDown1");
    }
    EXPECT_EQ(second.Associate(), nullptr);
    // Another spinner is no associate, nor is a control on another parent.
    second.SetAssociate(upDown);
    EXPECT_EQ(second.Associate(), nullptr);
    TTestHost other(nullptr);
    TEdit elsewhere(&other);
    elsewhere.SetParent(&other);
    second.SetAssociate(&elsewhere);
    EXPECT_EQ(second.Associate(), nullptr);
    // Associating writes the position into the box.
    TEdit box(&host);
    box.SetParent(&host);
    second.SetPosition(42);
    second.SetAssociate(&box);
    EXPECT_EQ(box.Text(), "42");
    // An associate that goes away is dropped.
    Show();
    delete edit;
    EXPECT_EQ(upDown->Associate(), nullptr);
    ClickArrow(true);
    EXPECT_EQ(upDown->Position(), 1901);
    EXPECT_TRUE(reported.empty());
}

} // namespace
} // namespace controlstest
