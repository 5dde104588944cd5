#include <gtest/gtest.h>

#include <memory>

#include "TestClasses.h"
#include "rtl/Exception.h"

using namespace frametest;

TEST(Writer, ExactBytesOfASmallTree) {
    TTestForm form(nullptr);
    form.SetName("Form1");
    auto* b = new TTestControl(&form);
    b->SetName("Button1");
    b->m_small = -11;
    b->m_width = 40000;
    b->m_medium = -300;
    b->m_enabled = false;
    b->m_font.m_style = {fsItalic};
    TBytes expected;
    expected.Sig().Object("TTestForm", "Form1").End();
    expected.Object("TTestControl", "Button1");
    expected.Prop("Small").Int8(-11).Prop("Medium").Int16(-300).Prop("Width").Int32(40000);
    expected.Prop("Enabled").Byte(stFalse);
    expected.Prop("Font.Name").String("MS Sans Serif").Prop("Font.Height").Int8(-11);
    expected.Prop("Font.Style").Byte(stSet).Str("fsItalic").End();
    expected.End().End().End();
    EXPECT_EQ(WriteTree(&form), expected.Bytes());
}

TEST(Writer, StringTagsAndIdentifierTags) {
    rtl::TMemoryStream stream;
    {
        TWriter w(stream);
        w.WriteString(std::string(255, 'a'));
        w.WriteString(std::string(256, 'b'));
        w.WriteIdent("true");
        w.WriteIdent("FALSE");
        w.WriteIdent("Nil");
        w.WriteIdent("clRed");
        w.WriteString("Ж");
    }
    std::string bytes(stream.Bytes());
    EXPECT_EQ(bytes[0], stString);
    EXPECT_EQ(static_cast<uint8_t>(bytes[1]), 255);
    size_t at = 2 + 255;
    EXPECT_EQ(bytes[at], stLString);
    EXPECT_EQ(bytes.substr(at + 1, 4), std::string("\x00\x01\x00\x00", 4));
    at += 5 + 256;
    EXPECT_EQ(bytes.substr(at, 3), std::string("\x09\x08\x0D"));
    EXPECT_EQ(bytes.substr(at + 3, 7), std::string("\x07\x05") + "clRed");
    EXPECT_EQ(bytes.substr(at + 10), std::string("\x06\x01\xC6"));
}

TEST(Writer, RoundTripOfEveryKind) {
    TTestForm form(nullptr);
    form.SetName("Form1");
    auto* a = new TTestControl(&form);
    a->SetName("Button1");
    a->m_align = alBottom;
    a->m_caption = "Печать #1 'quoted'";
    a->m_small = 127;
    a->m_word = 65535;
    a->m_ratio = 0.1;
    a->m_scale = 2.25f;
    a->m_precise = 1.0L / 3.0L;
    a->m_letter = 'q';
    a->m_wide = TSet<TWide>::FromMask(0x80000001u);
    a->m_value.vtype = 256;
    a->m_value.textValue = "вариант";
    a->m_cursor = crHourGlass;
    a->m_font.m_color = clRed;
    a->m_font.m_charset = RUSSIAN_CHARSET;
    a->m_font.m_name = "Arial";
    a->m_items->Add("Январь");
    a->m_items->Add("");
    a->m_blob = std::string("\0\xFF\x10", 3);
    a->SetTag(-5);
    a->m_onClick = TNotifyEvent::Of<&TTestForm::Button1Click>(&form);
    static_cast<TTestItem*>(a->Columns()->Add())->m_width = 3;
    static_cast<TTestItem*>(a->Columns()->Add())->m_caption = "second";
    auto* e = new TTestControl(&form);
    e->SetName("Edit1");
    e->m_related = a;
    e->SetBuddy(&form);
    auto* timer = new TComponent(&form);
    timer->SetName("Timer1");
    timer->SetDesignInfo((300 << 16) | 200);

    std::string bytes = WriteTree(&form);
    std::unique_ptr<TTestForm> back(ReadForm(bytes));
    ASSERT_EQ(back->ComponentCount(), 3);
    TTestControl* b = back->Button1;
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->m_align, alBottom);
    EXPECT_EQ(b->m_caption, a->m_caption);
    EXPECT_EQ(b->m_small, 127);
    EXPECT_EQ(b->m_word, 65535);
    EXPECT_EQ(b->m_ratio, 0.1);
    EXPECT_EQ(b->m_scale, 2.25f);
    EXPECT_EQ(b->m_precise, 1.0L / 3.0L);
    EXPECT_EQ(b->m_letter, 'q');
    EXPECT_EQ(b->m_wide.Mask(), 0x80000001u);
    EXPECT_EQ(b->m_value, a->m_value);
    EXPECT_EQ(b->m_cursor, crHourGlass);
    EXPECT_EQ(b->m_font.m_color, clRed);
    EXPECT_EQ(b->m_font.m_charset, RUSSIAN_CHARSET);
    EXPECT_EQ(b->m_font.m_name, "Arial");
    EXPECT_EQ(b->m_items->Text(), "Январь\n\n");
    EXPECT_EQ(b->m_blob, a->m_blob);
    EXPECT_EQ(b->Tag(), -5);
    ASSERT_EQ(b->Columns()->Count(), 2);
    EXPECT_EQ(static_cast<TTestItem*>(b->Columns()->Items(1))->m_caption, "second");
    b->m_onClick(b);
    EXPECT_EQ(back->clicks, 1);
    EXPECT_EQ(back->Edit1->m_related, b);
    EXPECT_EQ(back->Edit1->Buddy(), back.get());
    EXPECT_EQ(back->FindComponent("Timer1")->DesignInfo(), (300 << 16) | 200);
    // And the copy writes the same bytes again.
    EXPECT_EQ(WriteTree(back.get()), bytes);
}

TEST(Writer, ExtendedRealsConvertExactly) {
    for (long double v : {0.0L, -0.0L, 1.0L, -2.5L, 1e-4950L, 1e4930L, 3.14159265358979323846L}) {
        uint8_t bytes[10];
        EncodeExtended(v, bytes);
        EXPECT_EQ(DecodeExtended(bytes), v);
    }
    const uint8_t one[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
    EXPECT_EQ(DecodeExtended(one), 1.0L);
}

TEST(Writer, DescendentStoresOnlyWhatDiffersFromTheAncestor) {
    auto makeForm = [] {
        auto form = std::make_unique<TTestForm>(nullptr);
        form->SetName("Form1");
        auto* b = new TTestControl(form.get());
        b->SetName("Button1");
        b->m_caption = "Base";
        b->m_width = 10;
        b->m_font.m_name = "Arial";
        b->m_onClick = TNotifyEvent::Of<&TTestForm::Button1Click>(form.get());
        return form;
    };
    auto ancestor = makeForm();
    auto descendant = makeForm();
    descendant->Button1->m_width = 20;
    auto* extra = new TTestControl(descendant.get());
    extra->SetName("Edit1");
    extra->m_caption = "New";

    rtl::TMemoryStream stream;
    {
        TWriter writer(stream);
        writer.WriteDescendent(descendant.get(), ancestor.get());
    }
    TBytes expected;
    expected.Sig().Byte(0xF0 | pfInherited).Object("TTestForm", "Form1").End();
    expected.Byte(0xF0 | pfInherited)
        .Object("TTestControl", "Button1")
        .Prop("Width")
        .Int8(20)
        .End()
        .End();
    expected.Object("TTestControl", "Edit1").Prop("Caption").String("New");
    expected.Prop("Font.Name").String("MS Sans Serif").Prop("Font.Height").Int8(-11).End().End();
    expected.End();
    EXPECT_EQ(std::string(stream.Bytes()), expected.Bytes());

    // Read over a copy of the ancestor, it gives the descendant.
    auto target = makeForm();
    rtl::TMemoryStream in(std::string(stream.Bytes()));
    TReader reader(in);
    reader.ReadRootComponent(target.get());
    EXPECT_EQ(target->Button1->m_width, 20);
    EXPECT_EQ(target->Button1->m_caption, "Base");
    ASSERT_NE(target->Edit1, nullptr);
    EXPECT_EQ(target->Edit1->m_caption, "New");
}
