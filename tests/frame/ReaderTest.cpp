#include <gtest/gtest.h>

#include <memory>

#include "TestClasses.h"
#include "frame/Fixups.h"
#include "rtl/Exception.h"

using namespace frametest;

namespace {

struct Failure {
    std::string cls;
    std::string message;
};

Failure FailureOf(const std::string& bytes) {
    try {
        delete ReadForm(bytes);
    } catch (const rtl::Exception& e) {
        return {e.ClassName(), e.Message()};
    }
    return {"", ""};
}

// A form "Form1" with one child "Button1" whose property records are `props`.
std::string FormWithButton(const std::string& props) {
    TBytes b;
    b.Sig().Object("TTestForm", "Form1").End();
    b.Object("TTestControl", "Button1").Raw(props).End().End();
    b.End();
    return b.Bytes();
}

std::string Props(const std::function<void(TBytes&)>& fill) {
    TBytes b;
    fill(b);
    return b.Bytes();
}

} // namespace

TEST(Reader, SignedEightAndSixteenBitIntegers) {
    std::string bytes = FormWithButton(Props([](TBytes& b) {
        b.Prop("Font.Height").Byte(stInt8).Byte(0xF5);
        b.Prop("Medium").Byte(stInt16).Byte(0xFF).Byte(0xFF);
        b.Prop("Width").Int32(-100000);
        b.Prop("Small").Int16(300); // truncated to the property's 8 bits
    }));
    std::unique_ptr<TTestForm> form(ReadForm(bytes));
    ASSERT_NE(form->Button1, nullptr);
    EXPECT_EQ(form->Button1->m_font.Height(), -11);
    EXPECT_EQ(form->Button1->m_medium, -1);
    EXPECT_EQ(form->Button1->m_width, -100000);
    EXPECT_EQ(form->Button1->m_small, 44);
}

TEST(Reader, StringsListReplacesTheLinesAndIsCodePage1251) {
    std::string bytes = FormWithButton(Props([](TBytes& b) {
        b.Prop("Items.Strings").Byte(stList);
        b.String("\xDF\xED\xE2\xE0\xF0\xFC"); // "Январь" in 1251
        b.String("B");
        b.End();
    }));
    RegisterTestClasses();
    TTestForm form(nullptr);
    auto* button = new TTestControl(&form);
    button->SetName("Button1");
    button->m_items->Add("old");
    rtl::TMemoryStream stream(bytes);
    // Read into a form whose button exists already: the stored list replaces the old line.
    TBytes b;
    b.Sig().Object("TTestForm", "Form1").End();
    b.Byte(0xF0 | pfInherited).Object("TTestControl", "Button1");
    b.Prop("Items.Strings").Byte(stList).String("\xDF\xED\xE2\xE0\xF0\xFC").String("B").End();
    b.End().End().End();
    rtl::TMemoryStream inherited(b.Bytes());
    TReader reader(inherited);
    reader.ReadRootComponent(&form);
    ASSERT_EQ(button->m_items->Count(), 2);
    EXPECT_EQ(button->m_items->Get(0), "Январь");
    EXPECT_EQ(button->m_items->Get(1), "B");
}

TEST(Reader, EmptySetAndSetOrdinalsAbove31) {
    std::string bytes = FormWithButton(Props([](TBytes& b) {
        b.Prop("Font.Style").Byte(stSet).End();
        b.Prop("Wide").Byte(stSet).Str("e1").Str("E31").Str("e32").Str("e39").End();
    }));
    std::unique_ptr<TTestForm> form(ReadForm(bytes));
    EXPECT_TRUE(form->Button1->m_font.m_style.Empty());
    EXPECT_EQ(form->Button1->m_wide.Mask(), (1u << 1) | (1u << 31));

    std::string bad = FormWithButton(Props([](TBytes& b) {
        b.Prop("Font.Style").Byte(stSet).Str("fsBold").Str("fsNope").Str("fsItalic").End();
    }));
    EXPECT_EQ(FailureOf(bad).message, "Error reading Button1.Font.Style: Invalid property value");
}

TEST(Reader, EventsBindToPublishedMethodsWhateverTheCase) {
    std::string bytes = FormWithButton(Props([](TBytes& b) {
        b.Prop("OnClick").Ident("BUTTON1CLICK");
        b.Prop("OnKey").Ident("FormKey");
    }));
    std::unique_ptr<TTestForm> form(ReadForm(bytes));
    form->Button1->m_onClick(form->Button1);
    EXPECT_EQ(form->clicks, 1);
    int key = 5;
    form->Button1->m_onKey(form->Button1, key);
    EXPECT_EQ(form->keys, 5);
    EXPECT_EQ(key, 0);

    Failure missing = FailureOf(
        FormWithButton(Props([](TBytes& b) { b.Prop("OnClick").Ident("Button2Click"); })));
    EXPECT_EQ(missing.cls, "EReadError");
    EXPECT_EQ(missing.message, "Error reading Button1.OnClick: Invalid property value");
    // A published method with another parameter list does not fit the event.
    EXPECT_EQ(FailureOf(FormWithButton(Props([](TBytes& b) {
                  b.Prop("OnClick").Ident("FormKey");
              }))).message,
              "Error reading Button1.OnClick: Invalid property value");
    std::unique_ptr<TTestForm> cleared(
        ReadForm(FormWithButton(Props([](TBytes& b) { b.Prop("OnClick").Byte(stNil); }))));
    EXPECT_FALSE(cleared->Button1->m_onClick);
}

TEST(Reader, PropertyFailuresAreWrappedWithNameAndPath) {
    auto message = [](const std::function<void(TBytes&)>& fill) {
        return FailureOf(FormWithButton(Props(fill))).message;
    };
    EXPECT_EQ(message([](TBytes& b) { b.Prop("Colour").Int8(1); }),
              "Error reading Button1.Colour: Property does not exist");
    EXPECT_EQ(message([](TBytes& b) { b.Prop("Nope.Height").Int8(1); }),
              "Error reading Button1.Nope.Height: Property does not exist");
    EXPECT_EQ(message([](TBytes& b) { b.Prop("Width.Height").Int8(1); }),
              "Error reading Button1.Width.Height: Invalid property path");
    EXPECT_EQ(message([](TBytes& b) { b.Prop("Buddy.Tag").Int8(1); }), // holds no object
              "Error reading Button1.Buddy.Tag: Invalid property path");
    EXPECT_EQ(message([](TBytes& b) { b.Prop("ReadOnlyValue").Int8(1); }),
              "Error reading Button1.ReadOnlyValue: Property is read-only");
    EXPECT_EQ(message([](TBytes& b) { b.Prop("Width").String("x"); }),
              "Error reading Button1.Width: Invalid property value");
    EXPECT_EQ(message([](TBytes& b) { b.Prop("Align").Ident("alLeft"); }),
              "Error reading Button1.Align: Invalid property value");
    EXPECT_EQ(message([](TBytes& b) { b.Prop("Font.Color").Ident("clNoSuch"); }),
              "Error reading Button1.Font.Color: Invalid property value");
    EXPECT_EQ(message([](TBytes& b) { b.Prop("Letter").String("ab"); }),
              "Error reading Button1.Letter: Invalid property value");
    EXPECT_EQ(message([](TBytes& b) { b.Prop("Caption").Ident("x"); }),
              "Error reading Button1.Caption: Invalid property value");
    EXPECT_EQ(message([](TBytes& b) { b.Prop("Blob").String("x"); }),
              "Error reading Button1.Blob: Invalid property value");
    EXPECT_EQ(message([](TBytes& b) { b.Prop("Value").Byte(stList).End(); }),
              "Error reading Button1.Value: Stream read error");
    EXPECT_EQ(message([](TBytes& b) { b.Prop("Width").Byte(19); }),
              "Error reading Button1.Width: Invalid property value");
    // Collection items are not components: the class name stands for the instance.
    EXPECT_EQ(
        message([](TBytes& b) {
            b.Prop("Columns").Byte(stCollection).Byte(stList).Prop("Bad").Int8(1).End().End();
        }),
        "Error reading Button1.Columns: Error reading TTestItem.Bad: Property does not exist");
}

TEST(Reader, ValuesOfEveryKind) {
    std::string bytes = FormWithButton(Props([](TBytes& b) {
        b.Prop("Align").Ident("ALCLIENT");
        b.Prop("Enabled").Byte(stFalse);
        b.Prop("Caption").Byte(stLString).Raw(std::string("\x03\x00\x00\x00", 4)).Raw("abc");
        b.Prop("Letter").String("Z");
        b.Prop("Ratio")
            .Byte(stExtended)
            .Raw(std::string("\x00\x00\x00\x00\x00\x00\x00\xC0\xFF\x3F", 10));
        b.Prop("Scale").Int8(3);
        b.Prop("Font.Color").Ident("clBtnFace");
        b.Prop("Font.Charset").Ident("RUSSIAN_CHARSET");
        b.Prop("Font.Name").String("Arial");
        b.Prop("Cursor").Ident("crHandPoint");
        b.Prop("Value").Byte(stTrue);
        b.Prop("Tag").Int32(123456);
    }));
    std::unique_ptr<TTestForm> form(ReadForm(bytes));
    TTestControl* c = form->Button1;
    EXPECT_EQ(c->m_align, alClient);
    EXPECT_FALSE(c->m_enabled);
    EXPECT_EQ(c->m_caption, "abc");
    EXPECT_EQ(c->m_letter, 'Z');
    EXPECT_DOUBLE_EQ(c->m_ratio, 1.5);
    EXPECT_FLOAT_EQ(c->m_scale, 3.0f);
    EXPECT_EQ(c->m_font.m_color, clBtnFace);
    EXPECT_EQ(c->m_font.m_charset, 204);
    EXPECT_EQ(c->m_font.m_name, "Arial");
    EXPECT_EQ(c->m_cursor, crHandPoint);
    EXPECT_EQ(c->m_value.vtype, 11);
    EXPECT_EQ(c->m_value.intValue, -1);
    EXPECT_EQ(c->Tag(), 123456);
}

TEST(Reader, VariantTypeCodesByTag) {
    auto read = [](const std::function<void(TBytes&)>& fill) {
        std::unique_ptr<TTestForm> form(ReadForm(FormWithButton(Props([&](TBytes& b) {
            b.Prop("Value");
            fill(b);
        }))));
        return form->Button1->m_value;
    };
    EXPECT_EQ(read([](TBytes& b) { b.Byte(stNull); }).vtype, 1);
    EXPECT_EQ(read([](TBytes& b) { b.Int8(-1); }).vtype, 17);
    EXPECT_EQ(read([](TBytes& b) { b.Int16(-2); }).intValue, -2);
    EXPECT_EQ(read([](TBytes& b) { b.Int16(-2); }).vtype, 2);
    EXPECT_EQ(read([](TBytes& b) { b.Int32(70000); }).vtype, 3);
    EXPECT_EQ(read([](TBytes& b) { b.String("\xC0"); }).textValue, "А");
    EXPECT_EQ(read([](TBytes& b) { b.String("x"); }).vtype, 256);
    EXPECT_EQ(read([](TBytes& b) { b.Byte(stFalse); }).vtype, 11);
    EXPECT_EQ(read([](TBytes& b) { b.Byte(stNil); }).vtype, 0);
    EXPECT_EQ(
        read([](TBytes& b) { b.Byte(stSingle).Raw(std::string("\x00\x00\xC0\x3F", 4)); }).realValue,
        1.5);
    EXPECT_EQ(read([](TBytes& b) {
                  b.Byte(stCurrency).Raw(std::string("\x10\x27\0\0\0\0\0\0", 8));
              }).intValue,
              10000);
    EXPECT_EQ(read([](TBytes& b) { b.Byte(stDate).Raw(std::string(8, '\0')); }).vtype, 7);
    EXPECT_EQ(
        read([](TBytes& b) {
            b.Byte(stWString).Raw(std::string("\x01\0\0\0", 4)).Raw(std::string("\x16\x04", 2));
        }).textValue,
        "Ж");
}

TEST(Reader, ReferencesResolveAfterTheTreeAndDanglingOnesStayEmpty) {
    TBytes b;
    b.Sig().Object("TTestForm", "Form1").End();
    // Button1 refers to Edit1, which comes later in the stream, and to a missing component.
    b.Object("TTestControl", "Button1")
        .Prop("Buddy")
        .Ident("edit1")
        .Prop("Related")
        .Ident("Ghost")
        .End()
        .End();
    b.Object("TTestControl", "Edit1")
        .Prop("Related")
        .Ident("Owner")
        .Prop("Buddy")
        .Ident("Owner")
        .End()
        .End();
    b.End();
    std::unique_ptr<TTestForm> form(ReadForm(b.Bytes()));
    EXPECT_EQ(form->Button1->Buddy(), form->Edit1);
    EXPECT_EQ(form->Button1->m_related, nullptr);
    EXPECT_EQ(form->Edit1->m_related, nullptr); // the root is not a TTestControl
    EXPECT_EQ(form->Edit1->Buddy(), form.get());
}

TEST(Reader, ReferencesToOtherRootsWaitForThatRoot) {
    RegisterTestClasses();
    TTestForm other(nullptr);
    other.SetName("Other");
    auto* target = new TTestControl(&other);
    target->SetName("Edit1");
    TTestForm* lookupOther = nullptr;
    SetFindGlobalRoot([&](std::string_view name) -> TComponent* {
        return lookupOther && SameText(name, lookupOther->Name()) ? lookupOther : nullptr;
    });
    std::string bytes =
        FormWithButton(Props([](TBytes& b) { b.Prop("Related").Ident("Other.Edit1"); }));
    std::unique_ptr<TTestForm> form(ReadForm(bytes));
    EXPECT_EQ(form->Button1->m_related, nullptr);
    EXPECT_TRUE(form->Button1->HasState(csFixups));
    EXPECT_EQ(PendingGlobalFixups(), 1u);
    lookupOther = &other;
    ResolveGlobalFixups();
    EXPECT_EQ(form->Button1->m_related, target);
    EXPECT_FALSE(form->Button1->HasState(csFixups));
    EXPECT_EQ(PendingGlobalFixups(), 0u);

    // A root destroyed with references pending takes them with it.
    lookupOther = nullptr;
    delete ReadForm(bytes);
    EXPECT_EQ(PendingGlobalFixups(), 0u);
    SetFindGlobalRoot(nullptr);
}

TEST(Reader, SecondRootOfTheSameNameIsRenamed) {
    RegisterTestClasses();
    std::vector<TComponent*> roots;
    SetFindGlobalRoot([&](std::string_view name) -> TComponent* {
        for (TComponent* r : roots) {
            if (SameText(r->Name(), name))
                return r;
        }
        return nullptr;
    });
    std::string bytes = FormWithButton("");
    std::vector<std::unique_ptr<TTestForm>> forms;
    for (int i = 0; i < 3; ++i) {
        forms.emplace_back(new TTestForm(nullptr));
        roots.push_back(forms.back().get());
        rtl::TMemoryStream stream(bytes);
        TReader reader(stream);
        reader.ReadRootComponent(forms.back().get());
    }
    SetFindGlobalRoot(nullptr);
    EXPECT_EQ(forms[0]->Name(), "Form1");
    EXPECT_EQ(forms[1]->Name(), "Form1_1");
    EXPECT_EQ(forms[2]->Name(), "Form1_2");
}

TEST(Reader, CollectionItemsWithAndWithoutIndex) {
    std::string bytes = FormWithButton(Props([](TBytes& b) {
        b.Prop("Columns").Byte(stCollection);
        b.Byte(stList).Prop("Caption").String("a").End();
        b.Int8(5).Byte(stList).Prop("Caption").String("b").Prop("Width").Int16(1000).End();
        b.End();
    }));
    std::unique_ptr<TTestForm> form(ReadForm(bytes));
    TCollection* columns = form->Button1->Columns();
    ASSERT_EQ(columns->Count(), 2);
    EXPECT_EQ(static_cast<TTestItem*>(columns->Items(0))->m_caption, "a");
    EXPECT_EQ(static_cast<TTestItem*>(columns->Items(1))->m_caption, "b");
    EXPECT_EQ(static_cast<TTestItem*>(columns->Items(1))->m_width, 1000);
    EXPECT_EQ(columns->UpdateCount(), 0);
}

TEST(Reader, BadSignatureInAnyByte) {
    std::string good = FormWithButton("");
    for (int i = 0; i < 4; ++i) {
        std::string bad = good;
        bad[i] ^= 0x01;
        Failure f = FailureOf(bad);
        EXPECT_EQ(f.cls, "EReadError");
        EXPECT_EQ(f.message, "Invalid stream format") << "byte " << i;
    }
}

TEST(Reader, ComponentFailures) {
    TBytes unknown;
    unknown.Sig().Object("TTestForm", "Form1").End().Object("TNoSuch", "X").End().End().End();
    Failure f = FailureOf(unknown.Bytes());
    EXPECT_EQ(f.cls, "EClassNotFound");
    EXPECT_EQ(f.message, "Class TNoSuch not found");

    TBytes dup;
    dup.Sig().Object("TTestForm", "Form1").End();
    dup.Object("TTestControl", "A").End().End().Object("TTestControl", "a").End().End().End();
    f = FailureOf(dup.Bytes());
    EXPECT_EQ(f.cls, "EComponentError");
    EXPECT_EQ(f.message, "A component named a already exists");

    TBytes badName;
    badName.Sig().Object("TTestForm", "Form1").End().Object("TTestControl", "9x").End().End().End();
    EXPECT_EQ(FailureOf(badName.Bytes()).message, "''9x'' is not a valid component name");

    TBytes ancestor;
    ancestor.Sig().Object("TTestForm", "Form1").End();
    ancestor.Byte(0xF1).Object("TTestControl", "Gone").End().End().End();
    f = FailureOf(ancestor.Bytes());
    EXPECT_EQ(f.cls, "EReadError");
    EXPECT_EQ(f.message, "Ancestor for 'Gone' not found");
}

TEST(Reader, ErrorHookSkipsTheFailedPropertyOrObject) {
    RegisterTestClasses();
    TBytes b;
    b.Sig().Object("TTestForm", "Form1").End();
    b.Object("TNoSuch", "X")
        .Prop("A")
        .Int8(1)
        .End()
        .Object("TTestControl", "Inner")
        .End()
        .End()
        .End();
    b.Object("TTestControl", "Button1")
        .Prop("Colour")
        .Byte(stList)
        .Int8(1)
        .End()
        .Prop("Width")
        .Int8(9)
        .End()
        .End();
    b.End();
    TTestForm form(nullptr);
    rtl::TMemoryStream stream(b.Bytes());
    TReader reader(stream);
    std::vector<std::string> errors;
    reader.OnError = [&](TReader&, const std::string& message, bool& handled) {
        errors.push_back(message);
        handled = true;
    };
    reader.ReadRootComponent(&form);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0], "Class TNoSuch not found");
    EXPECT_EQ(errors[1], "Error reading Button1.Colour: Property does not exist");
    ASSERT_NE(form.Button1, nullptr);
    EXPECT_EQ(form.Button1->m_width, 9);
    EXPECT_EQ(form.ComponentCount(), 1);
}

TEST(Reader, LoadingStatesAndAfterLoadInReadingOrder) {
    std::unique_ptr<TTestForm> form(ReadForm(FormWithButton("")));
    EXPECT_FALSE(form->HasState(csLoading));
    EXPECT_FALSE(form->Button1->HasState(csLoading));
    EXPECT_FALSE(form->Button1->HasState(csReading));
    EXPECT_EQ(form->Button1->m_log, std::vector<std::string>{"AfterLoad"});

    // Inside a loading batch, AfterLoad waits for the end of the batch.
    RegisterTestClasses();
    TTestForm batchForm(nullptr);
    BeginLoadingBatch();
    std::string bytes = FormWithButton("");
    rtl::TMemoryStream stream(bytes);
    TReader reader(stream);
    reader.ReadRootComponent(&batchForm);
    EXPECT_TRUE(batchForm.Button1->m_log.empty());
    EXPECT_TRUE(batchForm.Button1->HasState(csLoading));
    EndLoadingBatch(false);
    EXPECT_EQ(batchForm.Button1->m_log.size(), 1u);
}

TEST(Reader, RootCreatedFromItsClassWhenNoneIsGiven) {
    RegisterTestClasses();
    std::string bytes = FormWithButton("");
    rtl::TMemoryStream stream(bytes);
    TReader reader(stream);
    std::unique_ptr<TComponent> root(reader.ReadRootComponent(nullptr));
    auto* form = As<TTestForm>(root.get());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Name(), "Form1");
    EXPECT_NE(form->Button1, nullptr);
}

TEST(Reader, ChildPositionPrefix) {
    TBytes b;
    b.Sig().Object("TTestForm", "Form1").End();
    b.Object("TTestControl", "Button1").End().End();
    b.Byte(0xF2).Int8(0).Object("TTestControl", "Edit1").End().End();
    b.End();
    std::unique_ptr<TTestForm> form(ReadForm(b.Bytes()));
    EXPECT_EQ(form->Components(0), form->Edit1);
}

TEST(Reader, NestingBeyondTheLimitFailsCleanly) {
    TBytes b;
    b.Sig().Object("TTestForm", "Form1").End();
    const int depth = 5000;
    for (int i = 0; i < depth; ++i)
        b.Object("TTestControl", "").End();
    // Never reached: the reader stops long before.
    Failure f = FailureOf(b.Bytes());
    EXPECT_EQ(f.cls, "EReadError");
    EXPECT_EQ(f.message, "Stream nesting too deep");

    TBytes lists;
    lists.Sig().Object("TTestForm", "Form1").End().Object("TTestControl", "Button1").Prop("Value");
    for (int i = 0; i < depth; ++i)
        lists.Byte(stList);
    EXPECT_NE(FailureOf(lists.Bytes()).message.find("Stream"), std::string::npos);
}

TEST(Reader, TruncationAtEveryByteFailsWithAStreamError) {
    TTestForm source(nullptr);
    source.SetName("Form1");
    auto* button = new TTestControl(&source);
    button->SetName("Button1");
    button->m_caption = "Кнопка";
    button->m_items->Add("one");
    button->m_blob = "\x01\x02\x03";
    button->m_width = 70000;
    button->m_ratio = 2.5;
    button->m_font.m_style = {fsBold};
    static_cast<TTestItem*>(button->Columns()->Add())->m_caption = "c";
    auto* edit = new TTestControl(&source);
    edit->SetName("Edit1");
    edit->SetBuddy(button);
    std::string bytes = WriteTree(&source);
    delete ReadForm(bytes); // whole: fine
    for (size_t n = 0; n < bytes.size(); ++n) {
        Failure f = FailureOf(bytes.substr(0, n));
        EXPECT_EQ(f.cls, "EReadError") << n;
        EXPECT_TRUE(f.message == "Stream read error" || f.message.ends_with(": Stream read error"))
            << n << ": " << f.message;
    }
}

TEST(Reader, ResourcesOfAClassChainLoadEachComponentOnce) {
    // The ancestor's resource creates Button1; the descendant's names it again as inherited.
    TBytes ancestor;
    ancestor.Sig().Object("TTestForm", "Form1").End();
    ancestor.Object("TTestControl", "Button1").End().End().End();
    TBytes descendant;
    descendant.Sig().Byte(0xF0 | pfInherited).Object("TTestForm", "Form1").End();
    descendant.Byte(0xF0 | pfInherited).Object("TTestControl", "Button1");
    descendant.Prop("Caption").String("x").End().End().End();
    RegisterTestClasses();
    TTestForm form(nullptr);
    BeginLoadingBatch();
    for (const TBytes* b : {&ancestor, &descendant}) {
        rtl::TMemoryStream stream(b->Bytes());
        TReader reader(stream);
        reader.ReadRootComponent(&form);
    }
    EndLoadingBatch(false);
    ASSERT_NE(form.Button1, nullptr);
    EXPECT_EQ(form.Button1->m_caption, "x");
    EXPECT_EQ(form.Button1->m_log, std::vector<std::string>{"AfterLoad"});
}

TEST(Reader, ReferencesOfCollectionItemsReplacedLaterAreDropped) {
    // The second value of Columns frees the items the first one made, with their references
    // to this root and to another one still pending.
    std::string bytes = FormWithButton(Props([](TBytes& b) {
        b.Prop("Columns").Byte(stCollection);
        b.Byte(stList).Prop("Link").Ident("Edit1").End();
        b.Byte(stList).Prop("Link").Ident("Other.Edit1").End();
        b.End();
        b.Prop("Columns").Byte(stCollection).Byte(stList).End().End();
    }));
    std::unique_ptr<TTestForm> form(ReadForm(bytes));
    TCollection* columns = form->Button1->Columns();
    ASSERT_EQ(columns->Count(), 1);
    EXPECT_EQ(static_cast<TTestItem*>(columns->Items(0))->m_link, nullptr);
    EXPECT_EQ(PendingGlobalFixups(), 0u);
}

TEST(Reader, PathEndingInADotNamesNoProperty) {
    std::string bytes = FormWithButton(Props([](TBytes& b) {
        b.Prop("Font.").Int16(1000);
        b.Prop("Width").Int8(9);
    }));
    EXPECT_EQ(FailureOf(bytes).message, "Error reading Button1.Font.: Property does not exist");
    // Its value is skipped: with the error excused, the next property reads as stored.
    RegisterTestClasses();
    TTestForm form(nullptr);
    rtl::TMemoryStream stream(bytes);
    TReader reader(stream);
    reader.OnError = [](TReader&, const std::string&, bool& handled) { handled = true; };
    reader.ReadRootComponent(&form);
    ASSERT_NE(form.Button1, nullptr);
    EXPECT_EQ(form.Button1->m_width, 9);
}
