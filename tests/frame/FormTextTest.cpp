#include <gtest/gtest.h>

#include <memory>

#include "TestClasses.h"
#include "frame/ComponentTree.h"
#include "frame/FormText.h"
#include "rtl/Exception.h"

using namespace frametest;

namespace {
std::string ParseError(std::string_view text) {
    try {
        ObjectTextToBinary(text);
    } catch (const rtl::EParserError& e) {
        return e.Message();
    }
    return "";
}

const char* const kRichForm = R"(object Form1: TTestForm
  Tag = 7
  object Button1: TTestControl
    Align = alClient
    Caption = 'Кнопка ''1'''#13#10'next' +
      ' more'
    Small = -11
    Medium = -300
    Width = 70000
    Ratio = 0.1
    Scale = 2.5s
    Precise = 1e-300
    Letter = 'x'
    Enabled = False
    Wide = [e0, e31, e39]
    Ratio = 1.5c
    Cursor = crHandPoint
    Font.Color = clBtnFace
    Font.Style = []
    Items.Strings = (
      'Январь'
      '')
    Value = 'Ω'
    Columns = <
      item
        Caption = 'a'
      end
      item [3]
        Width = 4
      end>
    Blob = {
      00FF10ab}
    OnClick = Button1Click
    Buddy = Edit1
  end
  inline Edit1: TTestControl [0]
    Related = Button1
  end
end
)";
} // namespace

TEST(FormText, CompilesToTheExpectedBytes) {
    std::string bytes = ObjectTextToBinary("object F: TTestForm\n"
                                           "  Caption = 'a'#13'b'\n"
                                           "  Style = [fsBold, fsItalic]\n"
                                           "  Big = $7FFFFFFF\n"
                                           "  Neg = -129\n"
                                           "  Name = 'Ж'\n"
                                           "end\n");
    TBytes expected;
    expected.Sig().Object("TTestForm", "F");
    expected.Prop("Caption").String("a\rb");
    expected.Prop("Style").Byte(stSet).Str("fsBold").Str("fsItalic").End();
    expected.Prop("Big").Int32(0x7FFFFFFF);
    expected.Prop("Neg").Int16(-129);
    expected.Prop("Name").String("\xC6");
    expected.End().End();
    EXPECT_EQ(bytes, expected.Bytes());
    // Characters 1251 lacks make a wide string.
    std::string wide = ObjectTextToBinary("object F: T\n X = 'Ω'\nend");
    EXPECT_NE(wide.find(std::string("\x01X\x12\x01\x00\x00\x00\xA9\x03", 9)), std::string::npos);
}

TEST(FormText, RoundTripGivesTheSameBytes) {
    std::string bytes = ObjectTextToBinary(kRichForm);
    std::string text = ObjectBinaryToText(bytes);
    EXPECT_EQ(ObjectTextToBinary(text), bytes) << text;
    // And the stream reads as a tree with the values of the text.
    std::unique_ptr<TTestForm> form(ReadForm(bytes));
    ASSERT_NE(form->Button1, nullptr);
    EXPECT_EQ(form->Button1->m_caption, "Кнопка '1'\r\nnext more");
    EXPECT_EQ(form->Button1->m_scale, 2.5f);
    EXPECT_EQ(form->Button1->m_precise, 1e-300L);
    EXPECT_EQ(form->Button1->m_items->Text(), "Январь\n\n");
    EXPECT_EQ(form->Button1->m_value.vtype, 8);
    EXPECT_EQ(form->Button1->m_blob, std::string("\x00\xFF\x10\xAB", 4));
    EXPECT_EQ(form->Button1->Columns()->Count(), 2);
    EXPECT_EQ(form->Button1->Buddy(), form->Edit1);
    EXPECT_EQ(form->Edit1->m_related, form->Button1);
    EXPECT_EQ(form->Components(0), form->Edit1);
}

TEST(FormText, WriterOutputSurvivesDecompileAndCompile) {
    TTestForm form(nullptr);
    form.SetName("Form1");
    auto* b = new TTestControl(&form);
    b->SetName("Button1");
    b->m_caption = std::string(300, 'x') + "\x01";
    b->m_ratio = 1.0 / 3.0;
    b->m_precise = 2.0L / 3.0L;
    b->m_value.vtype = 7;
    b->m_value.realValue = 45000.25;
    b->m_items->Add("a'b");
    b->m_blob = std::string(100, '\x7F');
    std::string bytes = WriteTree(&form);
    EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(bytes)), bytes);
}

TEST(FormText, SyntaxErrorsNameTheLine) {
    EXPECT_EQ(ParseError("object A: B\n  X = ,\nend"), "Line 2: value expected");
    EXPECT_EQ(ParseError("object A: B\n  X = 'abc\nend"), "Line 2: unterminated string");
    EXPECT_EQ(ParseError("object A: B\n  X = 1\n"), "Line 3: 'end' expected");
    EXPECT_EQ(ParseError("thing A: B end"), "Line 1: 'object' expected");
    EXPECT_EQ(ParseError("object A: B\n X = 99999999999\nend"), "Line 2: integer out of range");
    EXPECT_EQ(ParseError("object A: B\n X = {ABC}\nend"),
              "Line 2: odd number of hexadecimal digits");
    EXPECT_EQ(ParseError("object A: B\n X = #1114112\nend"), "Line 2: invalid character code");
    EXPECT_EQ(ParseError("object A: B\nend\nextra"), "Line 3: end of text expected");
    std::string deep = "object A: B\n X = ";
    for (int i = 0; i < 5000; ++i)
        deep += "(";
    EXPECT_EQ(ParseError(deep), "Line 2: nesting too deep");
}

TEST(FormText, DecompileFailuresAreReadErrors) {
    EXPECT_THROW(ObjectBinaryToText("TPF1"), rtl::EReadError);
    std::string bytes = ObjectTextToBinary(kRichForm);
    for (size_t n = 0; n < bytes.size(); n += 7)
        EXPECT_THROW(ObjectBinaryToText(bytes.substr(0, n)), rtl::EReadError) << n;
}

TEST(ComponentTree, ListsComponentsAndNonDefaultProperties) {
    std::unique_ptr<TTestForm> form(ReadForm(ObjectTextToBinary(R"(object Form1: TTestForm
  Tag = 7
  object Button1: TTestControl
    Align = alClient
    Caption = 'Да'
    Font.Color = clRed
    Font.Style = [fsBold, fsUnderline]
    Columns = <
      item
        Width = 4
      end>
    OnClick = Button1Click
    Buddy = Owner
  end
end
)")));
    EXPECT_EQ(DescribeComponentTree(form.get()), "TTestForm Form1 owner=nil\n"
                                                 "  Tag = 7\n"
                                                 "  TTestControl Button1 owner=Form1\n"
                                                 "    Align = alClient\n"
                                                 "    Caption = 'Да'\n"
                                                 "    Font.Name = 'MS Sans Serif'\n"
                                                 "    Font.Height = -11\n"
                                                 "    Font.Style = [fsBold, fsUnderline]\n"
                                                 "    Font.Color = clRed\n"
                                                 "    Columns[0].Width = 4\n"
                                                 "    Buddy = Owner\n"
                                                 "    OnClick = Button1Click\n");
}

TEST(FormText, DeepNestingDecompilesToTextOfBoundedSize) {
    // Each nesting level is one byte of stream; its text must not grow with the depth.
    TBytes b;
    b.Sig().Object("TComponent", "A");
    for (int k = 0; k < 10; ++k) {
        b.Prop("P");
        for (int i = 0; i < 900; ++i)
            b.Byte(stList);
        for (int i = 0; i < 900; ++i)
            b.End();
    }
    b.End().End();
    std::string text = ObjectBinaryToText(b.Bytes());
    EXPECT_LT(text.size(), 100 * b.Bytes().size());
    EXPECT_EQ(ObjectTextToBinary(text), b.Bytes());
}

TEST(FormText, CurrencyAtTheLimitsOfSixtyFourBits) {
    for (const char* value : {"-922337203685477.5808c", "922337203685477.5807c", "-0.0001c"}) {
        std::string text = std::string("object A: B\n  X = ") + value + "\nend\n";
        std::string bytes = ObjectTextToBinary(text);
        EXPECT_NE(ObjectBinaryToText(bytes).find(value), std::string::npos) << value;
    }
    EXPECT_EQ(ParseError("object A: B\n X = 922337203685477.5808c\nend"),
              "Line 2: invalid currency value");
    EXPECT_EQ(ParseError("object A: B\n X = -999999999999999.9999c\nend"),
              "Line 2: invalid currency value");
}

TEST(FormText, ByteOrderMarkIsSkipped) {
    EXPECT_EQ(ObjectTextToBinary("\xEF\xBB\xBFobject A: B\nend\n"),
              ObjectTextToBinary("object A: B\nend\n"));
}
