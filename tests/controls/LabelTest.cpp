// The label: measuring (word wrap keeps the width and grows down, otherwise the label grows to
// the right, a right-justified one keeps its right edge, an empty caption keeps one line), not
// measured while read but once after, its accelerator, and how it paints.
#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "controls/TEdit.h"
#include "controls/TLabel.h"
#include "frame/graphics/GraphicsTypes.h"
#include "platform/gdi/DeviceContext.h"

namespace controlstest {
namespace {

using namespace platform;
namespace hl = headless;

const char* kForm = R"(object Host: TTestHost
  object Comments: TLabel
    Left = 8
    Top = 8
    Width = 75
    Height = 13
    Caption = 'Расчет биологических ритмов'
    WordWrap = True
  end
  object Label5: TLabel
    Left = 16
    Top = 200
    Width = 200
    Height = 40
    Caption = 'Опасные дни:'
  end
  object Right1: TLabel
    Left = 100
    Top = 100
    Width = 80
    Height = 13
    Alignment = taRightJustify
    Caption = 'Год'
  end
  object Fixed: TLabel
    Left = 200
    Top = 8
    Width = 150
    Height = 40
    AutoSize = False
    Caption = 'Период'
  end
  object YearLabel: TLabel
    Left = 200
    Top = 60
    Caption = '&Год:'
    FocusControl = Edit1
  end
  object Edit1: TEdit
    Left = 250
    Top = 60
    TabOrder = 1
  end
  object Edit2: TEdit
    Left = 250
    Top = 100
    TabOrder = 0
  end
end
)";

int LineHeight(const TFont& font) {
    auto dc = gdi::DeviceContext::ForMeasure();
    dc->SetFont(font.Spec());
    return dc->GetTextMetrics().height;
}

int TextWidth(const TFont& font, const std::string& text) {
    auto dc = gdi::DeviceContext::ForMeasure();
    dc->SetFont(font.Spec());
    return dc->GetTextExtent(text).cx;
}

class LabelTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        ReadForm(&host, kForm);
        comments = Find("Comments");
        dayList = Find("Label5");
        right = Find("Right1");
        fixed = Find("Fixed");
        line = LineHeight(*host.Font());
    }
    TLabel* Find(const char* name) { return As<TLabel>(host.FindComponent(name)); }
    // The first row of the label's area (in the host) that has a pixel unlike `back`.
    int FirstInkRow(const TLabel* l, gdi::ColorRef back) {
        for (int y = l->Top(); y < l->Top() + l->Height(); ++y)
            for (int x = l->Left(); x < l->Left() + l->Width(); ++x)
                if (hl::Pixel(host.Handle(), TPoint{x, y}) != back)
                    return y - l->Top();
        return -1;
    }
    bool HasColour(const TLabel* l, gdi::ColorRef colour) {
        for (int y = l->Top(); y < l->Top() + l->Height(); ++y)
            for (int x = l->Left(); x < l->Left() + l->Width(); ++x)
                if (hl::Pixel(host.Handle(), TPoint{x, y}) == colour)
                    return true;
        return false;
    }
    TTestHost host{nullptr};
    TLabel *comments = nullptr, *dayList = nullptr, *right = nullptr, *fixed = nullptr;
    int line = 0;
};

TEST_F(LabelTest, WordWrapKeepsTheWidthAndGrowsToThreeLines) {
    EXPECT_TRUE(comments->WordWrap());
    EXPECT_EQ(comments->Width(), 75);
    EXPECT_EQ(comments->Height(), 3 * line);
    EXPECT_EQ(comments->Left(), 8);
}

TEST_F(LabelTest, DayListsWidenToTheRight) {
    const TFont& font = *dayList->Font();
    EXPECT_EQ(dayList->Width(), TextWidth(font, "Опасные дни:")); // measured once read
    EXPECT_EQ(dayList->Height(), line);
    int header = dayList->Width();
    dayList->SetCaption("Опасные дни: нет.");
    EXPECT_GT(dayList->Width(), header);
    EXPECT_EQ(dayList->Left(), 16);
    dayList->SetCaption("Опасные дни: 3, 17, 26.");
    EXPECT_EQ(dayList->Width(), TextWidth(font, "Опасные дни: 3, 17, 26."));
    EXPECT_EQ(dayList->Left(), 16);
    // A right-justified label keeps its right edge.
    EXPECT_EQ(right->Left() + right->Width(), 180);
    right->SetCaption("Расчетный год");
    EXPECT_EQ(right->Left() + right->Width(), 180);
    EXPECT_EQ(right->Width(), TextWidth(font, "Расчетный год"));
    // A label that does not size itself keeps what it was given.
    EXPECT_EQ(fixed->Width(), 150);
    EXPECT_EQ(fixed->Height(), 40);
}

TEST_F(LabelTest, EmptyCaptionKeepsOneLine) {
    dayList->SetCaption("");
    EXPECT_EQ(dayList->Height(), line);
    int blank = dayList->Width();
    EXPECT_EQ(blank, TextWidth(*dayList->Font(), " "));
    dayList->SetCaption("&");
    EXPECT_EQ(dayList->Width(), blank);
    dayList->SetShowAccelChar(false);
    dayList->SetCaption("&&");
    EXPECT_EQ(dayList->Width(), TextWidth(*dayList->Font(), "&&"));
    // Line breaks start new lines, wrapping or not.
    dayList->SetCaption("a\r\nb");
    EXPECT_EQ(dayList->Height(), 2 * line);
    // Font changes measure again.
    dayList->Font()->SetHeight(-20);
    EXPECT_EQ(dayList->Height(), 2 * LineHeight(*dayList->Font()));
}

TEST_F(LabelTest, AcceleratorFocusesTheFocusControl) {
    host.Show();
    Pump();
    auto* edit1 = As<TEdit>(host.FindComponent("Edit1"));
    auto* edit2 = As<TEdit>(host.FindComponent("Edit2"));
    ASSERT_TRUE(edit2->Focused());
    PressKey('U', hl::kAlt, U'г'); // the key of "г" in a Russian layout
    EXPECT_TRUE(edit1->Focused());
    edit2->SetFocus();
    Find("YearLabel")->SetEnabled(false);
    PressKey('U', hl::kAlt, U'г');
    EXPECT_TRUE(edit2->Focused());
    delete edit1; // the reference goes with it
    EXPECT_EQ(Find("YearLabel")->FocusControl(), nullptr);
}

// A day list that gets shorter leaves nothing of its longer text behind: the area it gave up is
// the parent's background again.
TEST_F(LabelTest, AShorterCaptionLeavesNoInkBehind) {
    dayList->SetCaption("Опасные дни: 3, 17, 26.");
    host.Show();
    Pump();
    int longRight = dayList->Left() + dayList->Width();
    dayList->SetCaption("Опасные дни: 9");
    Pump();
    gdi::ColorRef face = ColorToRGB(clBtnFace);
    int ink = 0;
    for (int y = dayList->Top(); y < dayList->Top() + dayList->Height(); ++y)
        for (int x = dayList->Left() + dayList->Width(); x < longRight; ++x)
            ink += hl::Pixel(host.Handle(), TPoint{x, y}) != face;
    EXPECT_EQ(ink, 0);
}

TEST_F(LabelTest, Painting) {
    gdi::ColorRef face = ColorToRGB(clBtnFace);
    fixed->SetParentColor(false);
    fixed->SetColor(clWhite);
    fixed->SetLayout(tlBottom);
    host.Show();
    Pump();
    EXPECT_EQ(hl::Pixel(host.Handle(), TPoint{fixed->Left() + 140, fixed->Top() + 1}),
              ColorToRGB(clWhite));
    EXPECT_GE(FirstInkRow(fixed, ColorToRGB(clWhite)), fixed->Height() - line);
    fixed->SetLayout(tlCenter);
    Pump();
    int centre = FirstInkRow(fixed, ColorToRGB(clWhite));
    EXPECT_GE(centre, (fixed->Height() - line) / 2);
    EXPECT_LT(centre, fixed->Height() - line);
    // Transparent: the parent's colour shows through.
    fixed->SetTransparent(true);
    Pump();
    EXPECT_EQ(hl::Pixel(host.Handle(), TPoint{fixed->Left() + 140, fixed->Top() + 1}), face);
    // Disabled: an embossed caption in the highlight and shadow colours, no black.
    EXPECT_TRUE(HasColour(dayList, ColorToRGB(clBlack)));
    EXPECT_FALSE(HasColour(dayList, ColorToRGB(clBtnHighlight)));
    dayList->SetEnabled(false);
    Pump();
    EXPECT_FALSE(HasColour(dayList, ColorToRGB(clBlack)));
    EXPECT_TRUE(HasColour(dayList, ColorToRGB(clBtnShadow)));
    EXPECT_TRUE(HasColour(dayList, ColorToRGB(clBtnHighlight)));
}

} // namespace
} // namespace controlstest
