#include "TestClasses.h"

#include <memory>

#include "frame/StreamClasses.h"

namespace frametest {

const TClassInfo* TTestFont::StaticClass() {
    static const auto info =
        TClassBuilder<TTestFont>("TTestFont", TPersistent::StaticClass())
            .Property("Name", &TTestFont::m_name)
            .Property("Height", &TTestFont::Height, &TTestFont::SetHeight, NoDefault())
            .Property("Style", &TTestFont::m_style)
            .Property("Color", ColorType(), &TTestFont::m_color, &TTestFont::m_color,
                      Default(clWindowText))
            .Property("Charset", FontCharsetType(), &TTestFont::m_charset, &TTestFont::m_charset,
                      Default(DEFAULT_CHARSET))
            .Build();
    return info.get();
}

const TClassInfo* TTestItem::StaticClass() {
    static const auto info = TClassBuilder<TTestItem>("TTestItem", TCollectionItem::StaticClass())
                                 .Property("Caption", &TTestItem::m_caption)
                                 .Property("Width", &TTestItem::m_width)
                                 .Property("Link", &TTestItem::m_link)
                                 .Build();
    return info.get();
}

const TClassInfo* TTestControl::StaticClass() {
    using C = TTestControl;
    static const auto info = TClassBuilder<C>("TTestControl", TComponent::StaticClass())
                                 .Property("Align", &C::m_align)
                                 .Property("Caption", &C::m_caption)
                                 .Property("Small", &C::m_small)
                                 .Property("Medium", &C::m_medium)
                                 .Property("Word", &C::m_word)
                                 .Property("Width", &C::m_width)
                                 .Property("Ratio", &C::m_ratio)
                                 .Property("Scale", &C::m_scale)
                                 .Property("Precise", &C::m_precise)
                                 .Property("Letter", &C::m_letter)
                                 .Property("Enabled", &C::m_enabled, &C::m_enabled, Default(1))
                                 .Property("Wide", &C::m_wide)
                                 .Property("Value", &C::m_value)
                                 .Property("Cursor", CursorType(), &C::m_cursor, &C::m_cursor)
                                 .Property("Font", &C::Font, &C::SetFont)
                                 .Property("Items", &C::Items, &C::SetItems)
                                 .Property("Columns", &C::Columns, nullptr)
                                 .Property("Buddy", &C::Buddy, &C::SetBuddy)
                                 .Property("Related", &C::m_related)
                                 .Property("ReadOnlyValue", &C::ReadOnlyValue, nullptr)
                                 .Property("OnClick", &C::m_onClick)
                                 .Property("OnKey", &C::m_onKey)
                                 .Build();
    return info.get();
}

const TClassInfo* TTestForm::StaticClass() {
    static const auto info = TClassBuilder<TTestForm>("TTestForm", TComponent::StaticClass())
                                 .Field("Button1", &TTestForm::Button1)
                                 .Field("Edit1", &TTestForm::Edit1)
                                 .Method<&TTestForm::Button1Click>("Button1Click")
                                 .Method<&TTestForm::FormKey>("FormKey")
                                 .Build();
    return info.get();
}

void RegisterTestClasses() {
    RegisterStreamClasses({TTestControl::StaticClass(), TTestForm::StaticClass()});
}

TTestForm* ReadForm(const std::string& bytes) {
    RegisterTestClasses();
    auto form = std::make_unique<TTestForm>(nullptr);
    rtl::TMemoryStream stream(bytes);
    TReader reader(stream);
    reader.ReadRootComponent(form.get());
    return form.release();
}

std::string WriteTree(TComponent* root) {
    rtl::TMemoryStream stream;
    {
        TWriter writer(stream);
        writer.WriteRootComponent(root);
    }
    return std::string(stream.Bytes());
}

} // namespace frametest
