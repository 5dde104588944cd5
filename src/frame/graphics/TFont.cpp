#include "frame/graphics/TFont.h"

#include "platform/gdi/DeviceContext.h"

namespace frame {

const TClassInfo* TFont::StaticClass() {
    static const auto info =
        TClassBuilder<TFont>("TFont", TPersistent::StaticClass())
            .Property("Charset", FontCharsetType(), &TFont::Charset, &TFont::SetCharset,
                      NoDefault())
            .Property("Color", ColorType(), &TFont::Color, &TFont::SetColor, NoDefault())
            .Property("Height", &TFont::Height, &TFont::SetHeight, NoDefault())
            .Property("Name", &TFont::Name, &TFont::SetName)
            .Property("Pitch", &TFont::Pitch, &TFont::SetPitch, Default(fpDefault))
            .Property("Size", &TFont::Size, &TFont::SetSize, NotStored())
            .Property("Style", &TFont::Style, &TFont::SetStyle, NoDefault())
            .Build();
    return info.get();
}

void TFont::Changed() {
    OnChange(this);
}

void TFont::SetCharset(TFontCharset value) {
    if (value != m_charset) {
        m_charset = value;
        Changed();
    }
}

void TFont::SetColor(TColor value) {
    if (value != m_color) {
        m_color = value;
        Changed();
    }
}

void TFont::SetHeight(int32_t value) {
    if (value != m_height) {
        m_height = value;
        Changed();
    }
}

void TFont::SetName(std::string value) {
    if (!value.empty() && value != m_name) {
        m_name = std::move(value);
        Changed();
    }
}

void TFont::SetPitch(TFontPitch value) {
    if (value != m_pitch) {
        m_pitch = value;
        Changed();
    }
}

int32_t TFont::Size() const {
    return -platform::gdi::MulDiv(m_height, 72, m_pixelsPerInch);
}

void TFont::SetSize(int32_t value) {
    SetHeight(-platform::gdi::MulDiv(value, m_pixelsPerInch, 72));
}

void TFont::SetStyle(TFontStyles value) {
    if (!(value == m_style)) {
        m_style = value;
        Changed();
    }
}

void TFont::Assign(const TPersistent* source) {
    if (auto* font = dynamic_cast<const TFont*>(source)) {
        if (font == this)
            return;
        // Sizes carry over in points when the resolutions differ.
        int32_t height = font->m_height;
        if (font->m_pixelsPerInch != m_pixelsPerInch)
            height = -platform::gdi::MulDiv(font->Size(), m_pixelsPerInch, 72);
        bool differs = font->m_charset != m_charset || font->m_color != m_color ||
                       height != m_height || font->m_name != m_name || font->m_pitch != m_pitch ||
                       !(font->m_style == m_style);
        m_charset = font->m_charset;
        m_color = font->m_color;
        m_height = height;
        m_name = font->m_name;
        m_pitch = font->m_pitch;
        m_style = font->m_style;
        if (differs)
            Changed();
        return;
    }
    TPersistent::Assign(source);
}

platform::gdi::FontSpec TFont::Spec() const {
    platform::gdi::FontSpec spec;
    spec.name = m_name;
    spec.height = m_height;
    spec.bold = m_style.Contains(fsBold);
    spec.italic = m_style.Contains(fsItalic);
    spec.underline = m_style.Contains(fsUnderline);
    spec.strikeOut = m_style.Contains(fsStrikeOut);
    spec.charset = m_charset;
    return spec;
}

} // namespace frame
