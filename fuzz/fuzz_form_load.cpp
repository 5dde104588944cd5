// Feeds arbitrary bytes through formtool load's path (the reader creating a root and its tree,
// then the tree description) and through the decompiler. Besides the program's classes, a class
// with a property of every kind is registered so that the assignment rules are reached.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "app/ProgramClasses.h"
#include "frame/ClassBuilder.h"
#include "frame/ComponentTree.h"
#include "frame/FormText.h"
#include "frame/StandardIdents.h"
#include "frame/StreamClasses.h"
#include "frame/TCollection.h"
#include "frame/TComponent.h"
#include "frame/TReader.h"
#include "frame/TStrings.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

namespace {

using namespace frame;

enum TFuzzAlign { faNone, faTop, faBottom };
ZORVANE_ENUM_TYPE(TFuzzAlign, "faNone", "faTop", "faBottom")

class TFuzzItem : public TCollectionItem {
public:
    ZORVANE_CLASS(TFuzzItem)
    std::string m_text;
    int32_t m_value = 0;
    TComponent* m_ref = nullptr;
};

class TFuzzControl : public TComponent {
public:
    ZORVANE_CLASS(TFuzzControl)
    explicit TFuzzControl(TComponent* owner)
        : TComponent(owner), m_items(TFuzzItem::StaticClass(), this) {}
    ~TFuzzControl() override { DestroyComponents(); }
    TStrings* Lines() const { return const_cast<TStringList*>(&m_lines); }
    void SetLines(TStrings* s) { m_lines.Assign(s); }
    TCollection* Items() const { return const_cast<TCollection*>(&m_items); }
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == opRemove && c == m_ref)
            m_ref = nullptr;
    }
    void ListDefinedProperties(TFiler& filer) override {
        TComponent::ListDefinedProperties(filer);
        filer.DefineStreamProperty(
            "Data", [this](rtl::TStream& s) { m_data = std::to_string(s.Size()); }, nullptr, false);
    }
    void Click(TObject*) {}

    TStringList m_lines;
    TCollection m_items;
    TComponent* m_ref = nullptr;
    TFuzzAlign m_align = faNone;
    TSet<TFuzzAlign> m_anchors;
    std::string m_caption, m_data;
    int8_t m_small = 0;
    char m_letter = 0;
    double m_ratio = 0;
    float m_scale = 0;
    TColor m_color = clBtnFace;
    TVariant m_value;
    TNotifyEvent m_onClick;
};

const TClassInfo* TFuzzItem::StaticClass() {
    static const auto info = TClassBuilder<TFuzzItem>("TFuzzItem", TCollectionItem::StaticClass())
                                 .Property("Text", &TFuzzItem::m_text)
                                 .Property("Value", &TFuzzItem::m_value)
                                 .Property("Ref", &TFuzzItem::m_ref)
                                 .Build();
    return info.get();
}

const TClassInfo* TFuzzControl::StaticClass() {
    using C = TFuzzControl;
    static const auto info = TClassBuilder<C>("TFuzzControl", TComponent::StaticClass())
                                 .Property("Lines", &C::Lines, &C::SetLines)
                                 .Property("Items", &C::Items, nullptr)
                                 .Property("Ref", &C::m_ref)
                                 .Property("Align", &C::m_align)
                                 .Property("Anchors", &C::m_anchors)
                                 .Property("Caption", &C::m_caption)
                                 .Property("Small", &C::m_small)
                                 .Property("Letter", &C::m_letter)
                                 .Property("Ratio", &C::m_ratio)
                                 .Property("Scale", &C::m_scale)
                                 .Property("Color", ColorType(), &C::m_color, &C::m_color)
                                 .Property("Value", &C::m_value)
                                 .Property("OnClick", &C::m_onClick)
                                 .Method<&C::Click>("Click")
                                 .Build();
    return info.get();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = [] {
        app::RegisterProgramClasses();
        RegisterStreamClass(TFuzzControl::StaticClass());
        return true;
    }();
    (void)registered;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        rtl::TBytesStream stream(bytes);
        TReader reader(stream);
        std::unique_ptr<TComponent> root(reader.ReadRootComponent(nullptr));
        DescribeComponentTree(root.get());
    } catch (const rtl::Exception&) {
    }
    try {
        ObjectBinaryToText(bytes);
    } catch (const rtl::Exception&) {
    }
    return 0;
}
