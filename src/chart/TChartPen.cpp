#include "chart/TChartPen.h"

namespace chart {

const frame::TClassInfo* TChartPen::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TChartPen>("TChartPen", frame::TPen::StaticClass())
            .Property("Visible", &TChartPen::Visible, &TChartPen::SetVisible, frame::Default(1))
            .Build();
    return info.get();
}

const frame::TClassInfo* TChartHiddenPen::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TChartHiddenPen>("TChartHiddenPen", TChartPen::StaticClass()).Build();
    return info.get();
}

const frame::TClassInfo* TChartAxisPen::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TChartAxisPen>("TChartAxisPen", TChartPen::StaticClass()).Build();
    return info.get();
}

const frame::TClassInfo* TDottedGrayPen::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TDottedGrayPen>("TDottedGrayPen", TChartPen::StaticClass()).Build();
    return info.get();
}

const frame::TClassInfo* TDarkGrayPen::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TDarkGrayPen>("TDarkGrayPen", TChartPen::StaticClass()).Build();
    return info.get();
}

const frame::TClassInfo* TChartBrush::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TChartBrush>("TChartBrush", frame::TBrush::StaticClass()).Build();
    return info.get();
}

void TChartPen::SetVisible(bool value) {
    if (value == m_visible)
        return;
    m_visible = value;
    Changed();
}

void TChartPen::Assign(const frame::TPersistent* source) {
    auto* p = dynamic_cast<const TChartPen*>(source);
    bool visibility = p && p->m_visible != m_visible;
    if (p)
        m_visible = p->m_visible;
    frame::TPen::Assign(source);
    if (visibility)
        Changed();
}

} // namespace chart
