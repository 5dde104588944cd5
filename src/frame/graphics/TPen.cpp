#include "frame/graphics/TPen.h"

namespace frame {

const TClassInfo* TPen::StaticClass() {
    static const auto info =
        TClassBuilder<TPen>("TPen", TPersistent::StaticClass())
            .Property("Color", ColorType(), &TPen::Color, &TPen::SetColor, Default(clBlack))
            .Property("Mode", &TPen::Mode, &TPen::SetMode, Default(pmCopy))
            .Property("Style", &TPen::Style, &TPen::SetStyle, Default(psSolid))
            .Property("Width", &TPen::Width, &TPen::SetWidth, Default(1))
            .Build();
    return info.get();
}

void TPen::Changed() {
    OnChange(this);
}

void TPen::SetColor(TColor value) {
    if (value != m_color) {
        m_color = value;
        Changed();
    }
}

void TPen::SetMode(TPenMode value) {
    if (value != m_mode) {
        m_mode = value;
        Changed();
    }
}

void TPen::SetStyle(TPenStyle value) {
    if (value != m_style) {
        m_style = value;
        Changed();
    }
}

void TPen::SetWidth(int32_t value) {
    if (value < 0)
        value = 0;
    if (value != m_width) {
        m_width = value;
        Changed();
    }
}

void TPen::Assign(const TPersistent* source) {
    if (auto* pen = dynamic_cast<const TPen*>(source)) {
        if (pen == this)
            return;
        bool differs = pen->m_color != m_color || pen->m_mode != m_mode ||
                       pen->m_style != m_style || pen->m_width != m_width;
        m_color = pen->m_color;
        m_mode = pen->m_mode;
        m_style = pen->m_style;
        m_width = pen->m_width;
        if (differs)
            Changed();
        return;
    }
    TPersistent::Assign(source);
}

platform::gdi::PenSpec TPen::Spec() const {
    using platform::gdi::PenStyle;
    static constexpr PenStyle styles[] = {
        PenStyle::Solid,      PenStyle::Dash,  PenStyle::Dot,        PenStyle::DashDot,
        PenStyle::DashDotDot, PenStyle::Clear, PenStyle::InsideFrame};
    return platform::gdi::PenSpec{styles[m_style], m_width, ColorToRGB(m_color)};
}

int TPen::Rop2() const {
    using namespace platform::gdi;
    static constexpr int rops[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                                   R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                                   R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                                   R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
    return rops[m_mode];
}

} // namespace frame
