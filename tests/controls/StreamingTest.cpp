// Every control of the layer read from a form source and written back: published properties
// with their defaults (only what differs is stored), the progress bar's range and position.
#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "controls/TCalendar.h"
#include "controls/TComboBox.h"
#include "controls/TEdit.h"
#include "controls/TLabel.h"
#include "controls/TProgressBar.h"
#include "frame/ComponentTree.h"
#include "frame/FormText.h"
#include "frame/TWriter.h"
#include "rtl/TMemoryStream.h"

namespace controlstest {
namespace {

const char* kForm = R"(object Host: TTestHost
  object Label1: TLabel
    Left = 16
    Top = 16
    Caption = 'Дата рождения:'
    Layout = tlCenter
    Transparent = True
  end
  object ComboBox1: TComboBox
    Left = 16
    Top = 32
    Width = 105
    Height = 21
    Style = csDropDownList
    DropDownCount = 12
    ItemHeight = 13
    Sorted = True
    MaxLength = 9
    Items.Strings = (
      'Март'
      'Апрель')
    ItemIndex = 1
    TabOrder = 0
  end
  object Edit1: TEdit
    Left = 128
    Top = 32
    Width = 49
    Height = 21
    MaxLength = 4
    AutoSelect = False
    ReadOnly = True
    TabOrder = 1
    Text = '1900'
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
    Increment = 5
    Orientation = udHorizontal
    AlignButton = udLeft
    Wrap = True
    ArrowKeys = False
    Thousands = False
    TabOrder = 2
  end
  object Calendar: TCalendar
    Left = 15
    Top = 60
    Width = 175
    Height = 105
    BorderStyle = bsNone
    GridLineWidth = 2
    ReadOnly = True
    StartOfWeek = 1
    UseCurrentDate = False
    TabOrder = 3
  end
  object ProgressBar1: TProgressBar
    Left = 8
    Top = 180
    Min = 10
    Max = 20
    Position = 15
    Step = 2
  end
end
)";

std::string WriteText(TComponent* root) {
    rtl::TMemoryStream stream;
    {
        TWriter writer(stream);
        writer.WriteRootComponent(root);
    }
    return ObjectBinaryToText(std::string(stream.Bytes()));
}

class StreamingTest : public ControlsTest {};

TEST_F(StreamingTest, EveryControlReadsItsProperties) {
    TTestHost host(nullptr);
    ReadForm(&host, kForm);
    auto* label = As<TLabel>(host.FindComponent("Label1"));
    auto* combo = As<TComboBox>(host.FindComponent("ComboBox1"));
    auto* edit = As<TEdit>(host.FindComponent("Edit1"));
    auto* upDown = As<TUpDown>(host.FindComponent("UpDown1"));
    auto* calendar = As<TCalendar>(host.FindComponent("Calendar"));
    auto* progress = As<TProgressBar>(host.FindComponent("ProgressBar1"));
    ASSERT_TRUE(label && combo && edit && upDown && calendar && progress);
    EXPECT_EQ(label->Caption(), "Дата рождения:");
    EXPECT_EQ(label->Layout(), tlCenter);
    EXPECT_TRUE(label->Transparent());
    EXPECT_TRUE(label->AutoSize());
    EXPECT_EQ(combo->Style(), csDropDownList);
    EXPECT_TRUE(combo->Sorted());
    EXPECT_EQ(combo->MaxLength(), 9);
    EXPECT_EQ(combo->Items()->Get(0), "Апрель"); // sorted
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "Март");
    EXPECT_FALSE(edit->AutoSelect());
    EXPECT_TRUE(edit->ReadOnly());
    EXPECT_EQ(upDown->Increment(), 5);
    EXPECT_EQ(upDown->Orientation(), udHorizontal);
    EXPECT_EQ(upDown->AlignButton(), udLeft);
    EXPECT_TRUE(upDown->Wrap());
    EXPECT_FALSE(upDown->ArrowKeys());
    EXPECT_EQ(calendar->GridLineWidth(), 2);
    EXPECT_TRUE(calendar->ReadOnly());
    EXPECT_FALSE(calendar->UseCurrentDate());
    EXPECT_EQ(calendar->DefaultColWidth(), (175 - 12) / 7);
    EXPECT_EQ(progress->Min(), 10);
    EXPECT_EQ(progress->Max(), 20);
    EXPECT_EQ(progress->Position(), 15);
    EXPECT_EQ(progress->Step(), 2);

    // The windows take the values over.
    host.Show();
    Pump();
    using namespace platform;
    EXPECT_EQ(SendMessage(combo->Handle(), CB_GETCURSEL), 1);
    EXPECT_EQ(SendMessage(progress->Handle(), PBM_GETPOS), 15);
    progress->StepIt();
    progress->StepIt();
    progress->StepIt();
    EXPECT_EQ(progress->Position(), 11); // past Max it starts again from Min
    progress->SetPosition(99);
    EXPECT_EQ(progress->Position(), 20);
    EXPECT_TRUE(reported.empty());
}

TEST_F(StreamingTest, WritesWhatDiffersAndReadsBackTheSame) {
    TTestHost host(nullptr);
    ReadForm(&host, kForm);
    std::string text = WriteText(&host);
    // Defaults are not stored, nor are the calendar's date elements.
    EXPECT_EQ(text.find("AutoSize"), std::string::npos) << text;
    EXPECT_EQ(text.find("Day ="), std::string::npos) << text;
    EXPECT_EQ(text.find("Year ="), std::string::npos) << text;
    EXPECT_EQ(text.find("    ParentColor"), std::string::npos) << text;
    EXPECT_EQ(text.find("    Color ="), std::string::npos) << text; // the controls' own
    EXPECT_NE(text.find("StartOfWeek = 1"), std::string::npos) << text;
    EXPECT_NE(text.find("Associate = Edit1"), std::string::npos) << text;
    EXPECT_NE(text.find("Thousands = False"), std::string::npos) << text;
    EXPECT_NE(text.find("ItemIndex = 1"), std::string::npos) << text;
    TTestHost again(nullptr);
    again.SetName("Other");
    ReadForm(&again, text);
    EXPECT_EQ(DescribeComponentTree(&again), DescribeComponentTree(&host));

    // Fresh controls store no more than their class and bounds.
    TTestHost bare(nullptr);
    int n = 0;
    for (TControl* c : std::initializer_list<TControl*>{
             new TLabel(&bare), new TEdit(&bare), new TComboBox(&bare), new TUpDown(&bare),
             new TCalendar(&bare), new TProgressBar(&bare)}) {
        c->SetName(std::string("C").append(std::to_string(++n)));
        c->SetParent(&bare);
    }
    std::string plain = WriteText(&bare);
    for (const char* name : {"Caption", "Text", "Style", "Min", "Max", "Position", "BorderStyle",
                             "TabStop", "Color", "Items", "ItemIndex", "Thousands"})
        EXPECT_EQ(plain.find(std::string("    ") + name + " ="), std::string::npos) << name << "\n"
                                                                                    << plain;
}

} // namespace
} // namespace controlstest
