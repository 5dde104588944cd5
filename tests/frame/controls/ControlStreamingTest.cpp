// Controls read from form text: common properties, the values taken from the parent, tab order,
// events bound to the root's methods, inert properties kept and written back.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "frame/ComponentTree.h"
#include "frame/FormText.h"
#include "frame/TReader.h"
#include "frame/TWriter.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

namespace controltest {
namespace {

const char* kForm = R"(object Host: TCoreHost
  Left = 10
  Top = 20
  Width = 320
  Height = 240
  Caption = 'Окно'
  Color = clWhite
  Font.Charset = RUSSIAN_CHARSET
  Font.Height = -13
  Font.Name = 'Arial'
  ShowHint = True
  object Panel1: TCorePanel
    Left = 8
    Top = 8
    Width = 200
    Height = 100
    Align = alTop
    Anchors = [akLeft, akRight]
    Constraints.MinWidth = 50
    Cursor = crHandPoint
    DragCursor = crNo
    DragKind = dkDock
    DragMode = dmAutomatic
    Hint = 'Панель|Длинная подсказка'
    TabOrder = 1
    object Button1: TCoreButton
      Left = 4
      Top = 4
      Caption = '&Далее'
      Default = True
      TabOrder = 1
      OnClick = Clicked
    end
    object Edit1: TCoreEdit
      Left = 4
      Top = 40
      Text = '1900'
      ParentFont = False
      Font.Height = -20
      TabOrder = 0
      OnEnter = Entered
    end
  end
  object Shape1: TCoreShape
    Left = 220
    Top = 10
    ParentColor = False
    Color = clRed
    ParentShowHint = False
    HelpContext = 5
    Visible = False
  end
  object Button2: TCoreButton
    Left = 8
    Top = 150
    Caption = 'Выход'
    Cancel = True
    TabOrder = 0
  end
end
)";

class ControlStreamingTest : public ControlTest {};

TEST_F(ControlStreamingTest, CommonPropertiesAndParentValues) {
    TCoreHost host(nullptr);
    ReadForm(&host, kForm);
    EXPECT_EQ(host.BoundsRect(), (TRect{10, 20, 330, 260}));
    EXPECT_EQ(host.Caption(), "Окно");
    auto* panel = As<TCorePanel>(host.FindComponent("Panel1"));
    auto* button = As<TCoreButton>(host.FindComponent("Button1"));
    auto* edit = As<TCoreEdit>(host.FindComponent("Edit1"));
    auto* shape = As<TCoreShape>(host.FindComponent("Shape1"));
    ASSERT_TRUE(panel && button && edit && shape);

    EXPECT_EQ(panel->Parent(), &host);
    EXPECT_EQ(button->Parent(), panel);
    EXPECT_EQ(button->Owner(), &host);
    // Colour and font follow the parent unless set.
    EXPECT_TRUE(panel->ParentColor());
    EXPECT_EQ(panel->Color(), clWhite);
    EXPECT_EQ(button->Font()->Name(), "Arial");
    EXPECT_EQ(button->Font()->Height(), -13);
    EXPECT_TRUE(button->ParentFont());
    EXPECT_FALSE(edit->ParentFont());
    EXPECT_EQ(edit->Font()->Height(), -20);
    EXPECT_EQ(edit->Font()->Name(), "Arial"); // the rest still as taken from the parent
    EXPECT_FALSE(shape->ParentColor());
    EXPECT_EQ(shape->Color(), clRed);
    // Hints: ShowHint comes from the parent; turning ParentShowHint off keeps what was taken.
    EXPECT_TRUE(button->ShowHint());
    EXPECT_TRUE(shape->ShowHint());
    EXPECT_FALSE(shape->ParentShowHint());
    host.SetShowHint(false);
    EXPECT_FALSE(button->ShowHint());
    EXPECT_TRUE(shape->ShowHint());
    EXPECT_EQ(GetShortHint(panel->Hint()), "Панель");
    EXPECT_EQ(GetLongHint(panel->Hint()), "Длинная подсказка");
    EXPECT_EQ(shape->HelpContext(), 5);
    EXPECT_FALSE(shape->Visible());
    // Stored without behaviour.
    EXPECT_EQ(panel->Align(), alTop);
    EXPECT_TRUE(panel->Anchors().Contains(akRight));
    EXPECT_FALSE(panel->Anchors().Contains(akTop));
    EXPECT_EQ(panel->Constraints()->MinWidth(), 50);
    EXPECT_EQ(panel->Cursor(), crHandPoint);
    EXPECT_EQ(panel->DragCursor(), crNo);
    EXPECT_EQ(panel->DragKind(), dkDock);
    EXPECT_EQ(panel->DragMode(), dmAutomatic);

    // A later change of the parent's font reaches the children that follow it.
    host.Font()->SetHeight(-16);
    EXPECT_EQ(button->Font()->Height(), -16);
    EXPECT_EQ(edit->Font()->Height(), -20);
    host.SetColor(clYellow);
    EXPECT_EQ(panel->Color(), clYellow);
    EXPECT_EQ(shape->Color(), clRed);
}

TEST_F(ControlStreamingTest, TabOrderIsFixedAfterReadingAndEventsBind) {
    TCoreHost host(nullptr);
    ReadForm(&host, kForm);
    auto* panel = As<TCorePanel>(host.FindComponent("Panel1"));
    auto* button = As<TCoreButton>(host.FindComponent("Button1"));
    auto* edit = As<TCoreEdit>(host.FindComponent("Edit1"));
    auto* button2 = As<TCoreButton>(host.FindComponent("Button2"));
    EXPECT_EQ(edit->TabOrder(), 0);
    EXPECT_EQ(button->TabOrder(), 1);
    EXPECT_EQ(button2->TabOrder(), 0);
    EXPECT_EQ(panel->TabOrder(), 1);
    std::vector<TWinControl*> order;
    host.GetTabOrderList(order);
    std::vector<TWinControl*> want{button2, panel, edit, button};
    EXPECT_EQ(order, want);
    button->SetTabOrder(0);
    EXPECT_EQ(edit->TabOrder(), 1);

    button->OnClick(button);
    EXPECT_EQ(host.clicks, std::vector<std::string>{"Button1"});
    EXPECT_TRUE(edit->OnEnter);
}

TEST_F(ControlStreamingTest, WritesBackWhatDiffersFromDefaults) {
    TCoreHost host(nullptr);
    ReadForm(&host, kForm);
    rtl::TMemoryStream stream;
    {
        TWriter writer(stream);
        writer.WriteRootComponent(&host);
    }
    std::string text = ObjectBinaryToText(std::string(stream.Bytes()));
    // Values taken from the parent are not stored; set ones are, inert ones too.
    auto button1 = text.find("object Button1: TCoreButton");
    auto edit1 = text.find("object Edit1: TCoreEdit");
    ASSERT_NE(button1, std::string::npos);
    std::string buttonText = text.substr(button1, edit1 - button1);
    EXPECT_EQ(buttonText.find("Font."), std::string::npos) << buttonText;
    EXPECT_EQ(buttonText.find("Color"), std::string::npos) << buttonText;
    EXPECT_EQ(buttonText.find("ShowHint"), std::string::npos) << buttonText;
    EXPECT_NE(buttonText.find("Caption = '&Далее'"), std::string::npos) << buttonText;
    EXPECT_NE(text.find("Font.Style = []"), std::string::npos);
    EXPECT_NE(text.find("ShowHint = True"), std::string::npos);
    EXPECT_NE(text.find("Align = alTop"), std::string::npos);
    EXPECT_NE(text.find("Anchors = [akLeft, akRight]"), std::string::npos);
    EXPECT_NE(text.find("Constraints.MinWidth = 50"), std::string::npos);
    EXPECT_NE(text.find("ParentFont = False"), std::string::npos);
    EXPECT_NE(text.find("Color = clRed"), std::string::npos);
    // A property a class declares again replaces the inherited one (TabStop's default).
    EXPECT_EQ(text.find("TabStop"), std::string::npos) << text;

    // And the text reads back into the same tree.
    TCoreHost again(nullptr);
    again.SetName("Other");
    ReadForm(&again, text);
    EXPECT_EQ(DescribeComponentTree(&again), DescribeComponentTree(&host));
}

TEST_F(ControlStreamingTest, UnknownPropertyOfAControlFailsWithItsName) {
    TCoreHost host(nullptr);
    try {
        ReadForm(&host,
                 "object Host: TCoreHost\n  object S: TCoreShape\n    Bogus = 1\n  end\nend\n");
        FAIL() << "no error";
    } catch (const rtl::EReadError& e) {
        EXPECT_EQ(e.Message(), "Error reading S.Bogus: Property does not exist");
    }
}

TEST_F(ControlStreamingTest, AFailedContainerTakesItsRootOwnedChildrenWithoutDanglingEntries) {
    // The panel's controls are owned by the root but destroyed with the panel; nothing may read
    // them afterwards, whether the root was given or made by the reader.
    const std::string text = "object Host: TCoreHost\n  object P: TCorePanel\n"
                             "    object B: TCoreShape\n    end\n    object B: TCoreShape\n"
                             "    end\n  end\nend\n";
    TCoreHost host(nullptr);
    EXPECT_THROW(ReadForm(&host, text), rtl::Exception);
    EXPECT_EQ(host.ComponentCount(), 0);

    std::string bytes = ObjectTextToBinary(text);
    rtl::TBytesStream stream(bytes);
    TReader reader(stream);
    EXPECT_THROW(reader.ReadRootComponent(nullptr), rtl::Exception);
    EXPECT_EQ(reader.Root(), nullptr);
    EXPECT_EQ(reader.Owner(), nullptr);
}

TEST_F(ControlStreamingTest, ScalingMultipliesBoundsAndOwnFonts) {
    TCoreHost host(nullptr);
    ReadForm(&host, kForm);
    auto* panel = As<TCorePanel>(host.FindComponent("Panel1"));
    auto* edit = As<TCoreEdit>(host.FindComponent("Edit1"));
    panel->ChangeScale(3, 2);
    EXPECT_EQ(panel->BoundsRect(), (TRect{12, 12, 312, 162}));
    EXPECT_EQ(edit->BoundsRect(), (TRect{6, 60, 6 + 182, 60 + 32}));
    EXPECT_EQ(edit->Font()->Height(), -30);
}

} // namespace
} // namespace controltest
