#include "chart/ChartPanelBase.h"

namespace chart {

using frame::Default;

const frame::TClassInfo* TChartPanelBase::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TChartPanelBase>("TChartPanelBase", frame::TComponent::StaticClass())
            .Property("Left", &TChartPanelBase::Left, &TChartPanelBase::SetLeft, Default(0))
            .Property("Top", &TChartPanelBase::Top, &TChartPanelBase::SetTop, Default(0))
            .Property("Width", &TChartPanelBase::Width, &TChartPanelBase::SetWidth, Default(0))
            .Property("Height", &TChartPanelBase::Height, &TChartPanelBase::SetHeight, Default(0))
            .Property("BevelInner", &TChartPanelBase::BevelInner, &TChartPanelBase::SetBevelInner,
                      Default(bvNone))
            .Property("BevelOuter", &TChartPanelBase::BevelOuter, &TChartPanelBase::SetBevelOuter,
                      Default(bvRaised))
            .Property("BevelWidth", &TChartPanelBase::BevelWidth, &TChartPanelBase::SetBevelWidth,
                      Default(1))
            .Property("BorderWidth", &TChartPanelBase::BorderWidth,
                      &TChartPanelBase::SetBorderWidth, Default(0))
            .Property("BorderStyle", &TChartPanelBase::BorderStyle,
                      &TChartPanelBase::SetBorderStyle, Default(bsNone))
            .Property("Color", frame::ColorType(), &TChartPanelBase::Color,
                      &TChartPanelBase::SetColor, Default(frame::clBtnFace))
            .Property("TabOrder", &TChartPanelBase::TabOrder, &TChartPanelBase::SetTabOrder,
                      Default(-1))
            .Property("Visible", &TChartPanelBase::Visible, &TChartPanelBase::SetVisible,
                      Default(1))
            .Build();
    return info.get();
}

TChartPanelBase::TChartPanelBase(frame::TComponent* owner) : frame::TComponent(owner) {}

void TChartPanelBase::ListDefinedProperties(frame::TFiler& filer) {
    // Left and Top are the control's own properties, not a component's design position.
    frame::TPersistent::ListDefinedProperties(filer);
}

void TChartPanelBase::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (left == m_left && top == m_top && width == m_width && height == m_height)
        return;
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    Invalidate();
}

#define PANEL_SETTER(Name, Type, Member)                                                           \
    void TChartPanelBase::Set##Name(Type v) {                                                      \
        if (v == Member)                                                                           \
            return;                                                                                \
        Member = v;                                                                                \
        Invalidate();                                                                              \
    }
PANEL_SETTER(Color, TColor, m_color)
PANEL_SETTER(BevelOuter, TBevelCut, m_bevelOuter)
PANEL_SETTER(BevelInner, TBevelCut, m_bevelInner)
PANEL_SETTER(BevelWidth, int32_t, m_bevelWidth)
PANEL_SETTER(BorderWidth, int32_t, m_borderWidth)
PANEL_SETTER(BorderStyle, TBorderStyle, m_borderStyle)
PANEL_SETTER(Visible, bool, m_visible)
#undef PANEL_SETTER

TRect TChartPanelBase::ClientRect() const {
    int edge = m_borderStyle == bsSingle ? 1 : 0;
    return TRect{0, 0, std::max(0, m_width - 2 * edge), std::max(0, m_height - 2 * edge)};
}

} // namespace chart
