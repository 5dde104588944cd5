#pragma once
// Small streamable classes exercising every kind of published property, for the frame tests.
#include <string>

#include "frame/ClassBuilder.h"
#include "frame/StandardIdents.h"
#include "frame/TCollection.h"
#include "frame/TComponent.h"
#include "frame/TFiler.h"
#include "frame/TReader.h"
#include "frame/TStrings.h"
#include "frame/TWriter.h"
#include "rtl/TMemoryStream.h"

namespace frametest {

using namespace frame;

enum TTestAlign { alNone, alTop, alBottom, alClient };
ZORVANE_ENUM_TYPE(TTestAlign, "alNone", "alTop", "alBottom", "alClient")

enum TTestStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
ZORVANE_ENUM_TYPE(TTestStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
using TTestStyles = TSet<TTestStyle>;

// An enumeration with 40 values e0 .. e39, for set elements above 31.
enum TWide : int {};
inline const TTypeInfo* TypeInfoOf(const TWide*) {
    static const TTypeInfo info = [] {
        std::vector<std::string> names;
        for (int i = 0; i < 40; ++i)
            names.push_back(std::string("e").append(std::to_string(i)));
        return MakeEnumType("TWide", names);
    }();
    return &info;
}

class TTestFont : public TPersistent {
public:
    ZORVANE_CLASS(TTestFont)
    int32_t Height() const { return m_height; }
    void SetHeight(int32_t v) { m_height = v; }
    std::string m_name = "MS Sans Serif";
    int32_t m_height = -11;
    TTestStyles m_style;
    TColor m_color = clWindowText;
    TFontCharset m_charset = DEFAULT_CHARSET;
    void Assign(const TPersistent* source) override {
        if (auto* f = dynamic_cast<const TTestFont*>(source)) {
            m_name = f->m_name;
            m_height = f->m_height;
            m_style = f->m_style;
            m_color = f->m_color;
            m_charset = f->m_charset;
            return;
        }
        TPersistent::Assign(source);
    }
};

class TTestItem : public TCollectionItem {
public:
    ZORVANE_CLASS(TTestItem)
    std::string m_caption;
    int32_t m_width = 0;
    TComponent* m_link = nullptr;
};

class TTestControl : public TComponent {
public:
    ZORVANE_CLASS(TTestControl)
    explicit TTestControl(TComponent* owner)
        : TComponent(owner), m_items(new TStringList), m_columns(TTestItem::StaticClass(), this) {}
    ~TTestControl() override {
        delete m_items;
        if (m_buddy)
            m_buddy->RemoveFreeNotification(this);
    }

    TTestFont* Font() const { return const_cast<TTestFont*>(&m_font); }
    void SetFont(TTestFont* f) { m_font.Assign(f); }
    TStrings* Items() const { return m_items; }
    void SetItems(TStrings* s) { m_items->Assign(s); }
    TCollection* Columns() const { return const_cast<TCollection*>(&m_columns); }
    TComponent* Buddy() const { return m_buddy; }
    void SetBuddy(TComponent* b) {
        if (m_buddy)
            m_buddy->RemoveFreeNotification(this);
        m_buddy = b;
        if (b)
            b->FreeNotification(this);
    }
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == opRemove && c == m_buddy)
            m_buddy = nullptr;
    }
    int32_t ReadOnlyValue() const { return 7; }

    // The binary defined property "Blob".
    std::string m_blob;
    void ListDefinedProperties(TFiler& filer) override {
        TComponent::ListDefinedProperties(filer);
        filer.DefineStreamProperty(
            "Blob",
            [this](rtl::TStream& s) {
                m_blob.resize(static_cast<size_t>(s.Size()));
                s.ReadBuffer(m_blob.data(), m_blob.size());
            },
            [this](rtl::TStream& s) { s.WriteBuffer(m_blob.data(), m_blob.size()); },
            !m_blob.empty());
    }

    std::vector<std::string> m_log; // AfterLoad calls and states seen
    void AfterLoad() override {
        m_log.push_back("AfterLoad");
        TComponent::AfterLoad();
    }

    TTestFont m_font;
    TStringList* m_items;
    TCollection m_columns;
    TComponent* m_buddy = nullptr;
    TTestControl* m_related = nullptr;
    TTestAlign m_align = alNone;
    std::string m_caption;
    int8_t m_small = 0;
    int16_t m_medium = 0;
    uint16_t m_word = 0;
    int32_t m_width = 0;
    double m_ratio = 0;
    float m_scale = 0;
    long double m_precise = 0;
    char m_letter = 0;
    bool m_enabled = true;
    TSet<TWide> m_wide;
    TVariant m_value;
    TCursor m_cursor = crDefault;
    TNotifyEvent m_onClick;
    TEvent<TObject*, int&> m_onKey;
};

class TTestForm : public TComponent {
public:
    ZORVANE_CLASS(TTestForm)
    explicit TTestForm(TComponent* owner) : TComponent(owner) {}
    ~TTestForm() override { DestroyComponents(); }

    TTestControl* Button1 = nullptr;
    TTestControl* Edit1 = nullptr;
    int clicks = 0;
    int keys = 0;
    void Button1Click(TObject*) { ++clicks; }
    void FormKey(TObject*, int& key) {
        keys += key;
        key = 0;
    }
};

// Registers the test classes once.
void RegisterTestClasses();

// Builds streams byte by byte.
class TBytes {
public:
    TBytes& Sig() { return Raw("TPF0"); }
    TBytes& Byte(int b) {
        m_bytes.push_back(static_cast<char>(b));
        return *this;
    }
    TBytes& Raw(std::string_view s) {
        m_bytes.append(s);
        return *this;
    }
    TBytes& Str(std::string_view s) { return Byte(static_cast<int>(s.size())).Raw(s); }
    TBytes& Int8(int v) { return Byte(stInt8).Byte(v & 0xFF); }
    TBytes& Int16(int v) { return Byte(stInt16).Byte(v & 0xFF).Byte((v >> 8) & 0xFF); }
    TBytes& Int32(int64_t v) {
        Byte(stInt32);
        for (int i = 0; i < 4; ++i)
            Byte(static_cast<int>((v >> (8 * i)) & 0xFF));
        return *this;
    }
    TBytes& String(std::string_view s) { return Byte(stString).Str(s); }
    TBytes& Ident(std::string_view s) { return Byte(stIdent).Str(s); }
    TBytes& Prop(std::string_view name) { return Str(name); }
    TBytes& End() { return Byte(0); }
    // An object header without prefix.
    TBytes& Object(std::string_view cls, std::string_view name) { return Str(cls).Str(name); }
    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

// Reads `bytes` into a new TTestForm owned by nothing; the caller deletes it.
TTestForm* ReadForm(const std::string& bytes);
// Writes the tree of `root` and returns the bytes.
std::string WriteTree(TComponent* root);

} // namespace frametest
