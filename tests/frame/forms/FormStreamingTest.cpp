// The published properties form sources carry, read and written back.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "FormTestSupport.h"
#include "frame/ComponentTree.h"
#include "frame/FormText.h"
#include "frame/TWriter.h"
#include "rtl/TMemoryStream.h"

namespace formtest {
namespace {

const char* kForm = R"(object Intro: TStreamForm
  Left = 192
  Top = 107
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSingle
  Caption = 'Биоритмы'
  ClientHeight = 353
  ClientWidth = 536
  Color = clBtnFace
  Font.Charset = RUSSIAN_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  FormStyle = fsStayOnTop
  HelpFile = 'zorvane.hlp'
  Hint = 'Подсказка формы'
  HorzScrollBar.Visible = False
  KeyPreview = True
  OldCreateOrder = True
  Position = poScreenCenter
  Scaled = False
  ShowHint = True
  VertScrollBar.Visible = False
  WindowState = wsNormal
  OnActivate = FormActivate
  OnClose = FormClose
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnDeactivate = FormDeactivate
  OnDestroy = FormDestroy
  OnHide = FormHide
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object Button1: TCoreButton
    Left = 8
    Top = 8
    OnClick = ButtonClick
  end
end
)";

class FormStreamingTest : public FormTest {};

TEST_F(FormStreamingTest, FormPropertiesReadAndWriteBack) {
    TStreamForm* form = StreamForm(kForm);
    EXPECT_EQ(form->Caption(), "Биоритмы");
    EXPECT_EQ(form->BorderStyle(), bsSingle);
    EXPECT_FALSE(form->BorderIcons().Contains(biMaximize));
    EXPECT_EQ(form->ClientWidth(), 536);
    EXPECT_EQ(form->ClientHeight(), 353);
    EXPECT_EQ(form->FormStyle(), fsStayOnTop);
    EXPECT_EQ(form->HelpFile(), "zorvane.hlp");
    EXPECT_FALSE(form->HorzScrollBar()->Visible());
    EXPECT_FALSE(form->VertScrollBar()->Visible());
    EXPECT_TRUE(form->KeyPreview());
    EXPECT_TRUE(form->ShowHint());
    EXPECT_FALSE(form->Scaled());
    EXPECT_EQ(form->Position(), poScreenCenter);
    EXPECT_EQ(form->Font()->Charset(), RUSSIAN_CHARSET);
    EXPECT_EQ(form->log, std::vector<std::string>{"create"});
    EXPECT_TRUE(form->OnActivate && form->OnClose && form->OnCloseQuery && form->OnDestroy &&
                form->OnHide && form->OnShow && form->OnDeactivate);

    // The window it makes: a single border, no maximise box, on top of the others.
    platform::HWND h = form->Handle();
    auto style = platform::GetWindowLongPtr(h, platform::GWL_STYLE);
    EXPECT_FALSE(style & platform::WS_THICKFRAME);
    EXPECT_FALSE(style & platform::WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & platform::WS_MINIMIZEBOX);
    EXPECT_TRUE(platform::GetWindowLongPtr(h, platform::GWL_EXSTYLE) & platform::WS_EX_TOPMOST);

    // The icon's data goes out and comes back with the rest.
    std::ifstream in(std::string(ZORVANE_SOURCE_DIR) + "/resources/images/zorvane.ico",
                     std::ios::binary);
    std::string ico((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    rtl::TBytesStream icoStream(ico);
    form->Icon()->LoadFromStream(icoStream);
    rtl::TMemoryStream out;
    {
        TWriter writer(out);
        writer.WriteRootComponent(form);
    }
    std::string text = ObjectBinaryToText(std::string(out.Bytes()));
    EXPECT_NE(text.find("Icon.Data = {"), std::string::npos);
    EXPECT_NE(text.find("TextHeight = "), std::string::npos);
    TStreamForm* again = StreamForm(text);
    EXPECT_EQ(again->Name(), "Intro_1"); // a second form of the name gets a number
    EXPECT_EQ(again->Icon()->Data(), form->Icon()->Data());
    std::string first = DescribeComponentTree(form);
    std::string second = DescribeComponentTree(again);
    for (size_t at; (at = second.find("Intro_1")) != std::string::npos;)
        second.replace(at, 7, "Intro");
    EXPECT_EQ(second, first);
}

} // namespace
} // namespace formtest
