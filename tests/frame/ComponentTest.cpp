#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <latch>
#include <memory>
#include <string>
#include <thread>

#include <unistd.h>

#include "TestClasses.h"
#include "frame/Fixups.h"
#include "frame/FormText.h"
#include "frame/IdentMaps.h"
#include "frame/NameSpaceLock.h"
#include "frame/StreamClasses.h"
#include "rtl/Exception.h"

using namespace frametest;

TEST(Component, OwnerDeletesOwnedComponentsAndTheyLeaveTheOwner) {
    auto owner = std::make_unique<TComponent>(nullptr);
    auto* a = new TComponent(owner.get());
    auto* b = new TTestControl(owner.get());
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(b->ComponentIndex(), 1);
    delete a;
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(owner->Components(0), b);
    EXPECT_EQ(b->Owner(), owner.get());
}

TEST(Component, NameRulesAndMessages) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName("Button1");
    EXPECT_EQ(owner.FindComponent("BUTTON1"), a);
    try {
        b->SetName("1abc");
        FAIL();
    } catch (const rtl::EComponentError& e) {
        EXPECT_STREQ(e.what(), "''1abc'' is not a valid component name");
    }
    try {
        b->SetName("button1");
        FAIL();
    } catch (const rtl::EComponentError& e) {
        EXPECT_STREQ(e.what(), "A component named button1 already exists");
    }
    a->SetName("BUTTON1"); // a new spelling of its own name is no clash
    EXPECT_EQ(a->Name(), "BUTTON1");
    b->SetName("");
    b->SetName("_x2");
    EXPECT_EQ(b->Name(), "_x2");
    EXPECT_FALSE(IsValidIdent("a-b"));
    EXPECT_FALSE(IsValidIdent("ä"));
}

TEST(Component, NamingBindsThePublishedFieldOfTheOwner) {
    TTestForm form(nullptr);
    auto* c = new TTestControl(&form);
    c->SetName("Button1");
    EXPECT_EQ(form.Button1, c);
    c->SetName("Other");
    EXPECT_EQ(form.Button1, nullptr);
    c->SetName("Edit1");
    EXPECT_EQ(form.Edit1, c);
    delete c;
    EXPECT_EQ(form.Edit1, nullptr);
    // A component of a class the field cannot hold is not bound.
    auto* plain = new TComponent(&form);
    plain->SetName("Button1");
    EXPECT_EQ(form.Button1, nullptr);
}

TEST(Component, RemovalIsNotifiedToOwnedComponentsAndFreeNotifyClients) {
    TComponent owner(nullptr);
    auto* control = new TTestControl(&owner);
    auto* buddy = new TComponent(&owner);
    control->SetBuddy(buddy);
    delete buddy;
    EXPECT_EQ(control->Buddy(), nullptr);

    // Across owners: only the free notification reaches it.
    TComponent otherOwner(nullptr);
    auto* foreign = new TComponent(&otherOwner);
    control->SetBuddy(foreign);
    delete foreign;
    EXPECT_EQ(control->Buddy(), nullptr);
}

TEST(Component, LeftAndTopAreDefinedProperties) {
    TTestForm form(nullptr);
    auto* c = new TComponent(&form);
    c->SetName("Timer1");
    c->SetDesignInfo((20 << 16) | 10);
    std::string bytes = WriteTree(&form);
    EXPECT_NE(bytes.find(std::string("\x04Left\x02\x0A", 7)), std::string::npos);
    EXPECT_NE(bytes.find(std::string("\x03Top\x02\x14", 6)), std::string::npos);
    std::unique_ptr<TTestForm> back(ReadForm(bytes));
    ASSERT_EQ(back->ComponentCount(), 1);
    EXPECT_EQ(back->Components(0)->DesignInfo(), (20 << 16) | 10);
}

TEST(TypeInfo, DeducedDescriptors) {
    const TClassInfo* cls = TTestControl::StaticClass();
    EXPECT_EQ(cls->FindProperty("align")->type->kind, TTypeKind::Enumeration);
    EXPECT_EQ(cls->FindProperty("Align")->type->names.size(), 4u);
    EXPECT_EQ(cls->FindProperty("Small")->type->ordType, TOrdType::SByte);
    EXPECT_EQ(cls->FindProperty("Word")->type->ordType, TOrdType::UWord);
    EXPECT_EQ(cls->FindProperty("Enabled")->type, BooleanType());
    EXPECT_EQ(cls->FindProperty("Ratio")->type->floatType, TFloatType::Double);
    EXPECT_EQ(cls->FindProperty("Scale")->type->floatType, TFloatType::Single);
    EXPECT_EQ(cls->FindProperty("Font")->type->ClassType(), TTestFont::StaticClass());
    EXPECT_EQ(cls->FindProperty("Wide")->type->kind, TTypeKind::Set);
    EXPECT_EQ(cls->FindProperty("OnClick")->type->kind, TTypeKind::Method);
    EXPECT_EQ(cls->FindProperty("Cursor")->type, CursorType());
    EXPECT_EQ(cls->FindProperty("Tag")->type->kind, TTypeKind::Integer); // inherited
    EXPECT_FALSE(cls->FindProperty("ReadOnlyValue")->set);
    EXPECT_EQ(cls->FindProperty("Nothing"), nullptr);
    EXPECT_TRUE(cls->InheritsFrom(TComponent::StaticClass()));
    EXPECT_EQ(TTestForm::StaticClass()->FindFieldClass("ttestcontrol"), cls);
    // The identifier comparison ignores bit 0x20 only.
    EXPECT_TRUE(SameIdent("OnClick", "ONCLICK"));
    EXPECT_FALSE(SameIdent("OnClick", "OnClic"));
}

TEST(TypeInfo, AccessorsGoThroughGettersAndSetters) {
    TTestControl c(nullptr);
    const TPropInfo* height = TTestFont::StaticClass()->FindProperty("Height");
    height->set(c.m_font, int64_t{-13});
    EXPECT_EQ(c.m_font.Height(), -13);
    EXPECT_EQ(std::get<int64_t>(height->get(c.m_font)), -13);
    const TPropInfo* onClick = TTestControl::StaticClass()->FindProperty("OnClick");
    TTestForm form(nullptr);
    const TMethodInfo* m = TTestForm::StaticClass()->FindMethod("button1click");
    ASSERT_NE(m, nullptr);
    onClick->set(c, TMethod{m->code, &form});
    c.m_onClick(&c);
    EXPECT_EQ(form.clicks, 1);
}

TEST(Registry, StreamClassesAndDuplicateNames) {
    RegisterTestClasses();
    EXPECT_EQ(FindStreamClass("ttestcontrol"), TTestControl::StaticClass());
    EXPECT_EQ(FindStreamClass("TComponent"), TComponent::StaticClass()); // ancestors too
    EXPECT_EQ(FindStreamClass("TPersistent"), TPersistent::StaticClass());
    RegisterTestClasses(); // again: harmless
    static const auto impostor =
        TClassBuilder<TComponent>("TTestControl", TComponent::StaticClass()).Build();
    try {
        RegisterStreamClass(impostor.get());
        FAIL();
    } catch (const rtl::EFilerError& e) {
        EXPECT_STREQ(e.what(), "A class named TTestControl already exists");
    }
    try {
        GetStreamClass("TNoSuch");
        FAIL();
    } catch (const rtl::EClassNotFound& e) {
        EXPECT_STREQ(e.what(), "Class TNoSuch not found");
    }
}

TEST(Registry, IdentifierMaps) {
    int32_t v = 0;
    EXPECT_TRUE(IdentToIntFor(ColorType(), "clBtnFace", v));
    EXPECT_EQ(v, clBtnFace);
    EXPECT_TRUE(IdentToIntFor(FontCharsetType(), "RUSSIAN_CHARSET", v));
    EXPECT_EQ(v, 204);
    EXPECT_TRUE(IdentToIntFor(CursorType(), "crHandPoint", v));
    EXPECT_EQ(v, -21);
    EXPECT_FALSE(IdentToIntFor(CursorType(), "clBtnFace", v)); // only maps of exactly that type
    std::string name;
    EXPECT_TRUE(IntToIdentFor(ColorType(), clWindowText, name));
    EXPECT_EQ(name, "clWindowText");
}

TEST(Persistent, AssignWithoutAKnownPairFails) {
    TTestFont font;
    TStringList list;
    try {
        font.Assign(&list);
        FAIL();
    } catch (const rtl::EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TStringList to a TTestFont");
    }
    list.Add("a");
    TStringList copy;
    copy.Assign(&list);
    EXPECT_EQ(copy.Text(), "a\n");
}

namespace {
// The kernel's state letter of one of this process' threads ('S' while it sleeps in a wait), or
// 0 once the thread has gone.
char ThreadState(pid_t tid) {
    std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    size_t close = text.rfind(')'); // the name in parentheses may hold anything
    return close == std::string::npos || close + 2 >= text.size() ? 0 : text[close + 2];
}
} // namespace

TEST(NameSpaceLock, WriterMayReenterAndReadWhileOthersWait) {
    auto& lock = GlobalNameSpace();
    lock.BeginWrite();
    lock.BeginWrite();
    lock.BeginRead();
    lock.EndRead();
    std::atomic<bool> readerIn{false};
    std::atomic<pid_t> readerTid{0};
    std::latch asking(1);
    std::thread reader([&] {
        readerTid = gettid();
        asking.count_down();
        lock.BeginRead();
        readerIn = true;
        lock.EndRead();
    });
    // The reader has asked; it is then either let in (a broken lock) or put to sleep in its
    // wait. No clock decides which was seen.
    asking.wait();
    while (!readerIn && ThreadState(readerTid) != 'S')
        std::this_thread::yield();
    EXPECT_FALSE(readerIn) << "a reader got in while another thread was writing";
    lock.EndWrite();
    EXPECT_FALSE(readerIn) << "a reader got in while the writer still held its outer lock";
    lock.EndWrite();
    reader.join();
    EXPECT_TRUE(readerIn);
}

TEST(Component, DestroyingAComponentWithPendingReferencesDropsThem) {
    RegisterTestClasses();
    SetFindGlobalRoot([](std::string_view) -> TComponent* { return nullptr; });
    std::unique_ptr<TTestForm> form(
        ReadForm(ObjectTextToBinary("object Form1: TTestForm\n object Button1: TTestControl\n  "
                                    "Related = Other.Edit1\n end\nend")));
    EXPECT_EQ(PendingGlobalFixups(), 1u);
    delete form->Button1; // the instance goes; its pending reference must not outlive it
    EXPECT_EQ(PendingGlobalFixups(), 0u);
    SetFindGlobalRoot(nullptr);
}
