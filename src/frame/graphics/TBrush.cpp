#include "frame/graphics/TBrush.h"

namespace frame {

const TClassInfo* TBrush::StaticClass() {
    static const auto info =
        TClassBuilder<TBrush>("TBrush", TPersistent::StaticClass())
            .Property("Color", ColorType(), &TBrush::Color, &TBrush::SetColor, Default(clWhite))
            .Property("Style", &TBrush::Style, &TBrush::SetStyle, Default(bsSolid))
            .Build();
    return info.get();
}

void TBrush::Changed() {
    OnChange(this);
}

void TBrush::SetColor(TColor value) {
    if (value == m_color && m_style != bsClear)
        return;
    m_color = value;
    if (m_style == bsClear)
        m_style = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
    if (value != m_style) {
        m_style = value;
        Changed();
    }
}

void TBrush::SetBitmap(TBitmap* value) {
    if (value != m_bitmap) {
        m_bitmap = value;
        Changed();
    }
}

void TBrush::Assign(const TPersistent* source) {
    if (auto* brush = dynamic_cast<const TBrush*>(source)) {
        if (brush == this)
            return;
        bool differs =
            brush->m_color != m_color || brush->m_style != m_style || brush->m_bitmap != m_bitmap;
        m_color = brush->m_color;
        m_style = brush->m_style;
        m_bitmap = brush->m_bitmap;
        if (differs)
            Changed();
        return;
    }
    TPersistent::Assign(source);
}

platform::gdi::BrushSpec TBrush::Spec() const {
    using platform::gdi::BrushStyle;
    static constexpr BrushStyle styles[] = {BrushStyle::Solid,      BrushStyle::Clear,
                                            BrushStyle::Horizontal, BrushStyle::Vertical,
                                            BrushStyle::FDiagonal,  BrushStyle::BDiagonal,
                                            BrushStyle::Cross,      BrushStyle::DiagCross};
    return platform::gdi::BrushSpec{styles[m_style], ColorToRGB(m_color)};
}

} // namespace frame
