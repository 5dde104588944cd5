#include "chart/TCustomAxisPanel.h"

#include <algorithm>

#include "chart/TChartSeries.h"
#include "platform/gdi/GdiTypes.h"

namespace chart {

using frame::Default;

const frame::TClassInfo* TCustomAxisPanel::StaticClass() {
    using P = TCustomAxisPanel;
    static const auto info =
        frame::TClassBuilder<P>("TCustomAxisPanel", TCustomChartPanel::StaticClass())
            .Property("AxisVisible", &P::AxisVisible, &P::SetAxisVisible, Default(1))
            .Property("BottomAxis", &P::BottomAxis, &P::SetBottomAxis)
            .Property("Chart3DPercent", &P::Chart3DPercent, &P::SetChart3DPercent, Default(15))
            .Property("ClipPoints", &P::ClipPoints, &P::SetClipPoints, Default(1))
            .Property("DepthAxis", &P::DepthAxis, &P::SetDepthAxis)
            .Property("LeftAxis", &P::LeftAxis, &P::SetLeftAxis)
            .Property("MaxPointsPerPage", &P::MaxPointsPerPage, &P::SetMaxPointsPerPage, Default(0))
            .Property("Page", &P::Page, &P::SetPage, Default(1))
            .Property("RightAxis", &P::RightAxis, &P::SetRightAxis)
            .Property("ScaleLastPage", &P::ScaleLastPage, &P::SetScaleLastPage, Default(1))
            .Property("TopAxis", &P::TopAxis, &P::SetTopAxis)
            .Property("View3DWalls", &P::View3DWalls, &P::SetView3DWalls, Default(1))
            .Build();
    return info.get();
}

TCustomAxisPanel::TCustomAxisPanel(frame::TComponent* owner)
    : TCustomChartPanel(owner),
      m_bottomAxis(std::make_unique<TChartAxis>(this, TChartAxis::akBottom)),
      m_topAxis(std::make_unique<TChartAxis>(this, TChartAxis::akTop)),
      m_leftAxis(std::make_unique<TChartAxis>(this, TChartAxis::akLeft)),
      m_rightAxis(std::make_unique<TChartAxis>(this, TChartAxis::akRight)),
      m_depthAxis(std::make_unique<TChartAxis>(this, TChartAxis::akDepth)) {
    SetBounds(Left(), Top(), 400, 250);
}

TCustomAxisPanel::~TCustomAxisPanel() {
    SetStateFlag(frame::csDestroying, true);
    // The series belong to the form: they only lose their chart.
    for (TChartSeries* s : m_series)
        s->m_parentChart = nullptr;
    m_series.clear();
}

void TCustomAxisPanel::SetAxisVisible(bool v) {
    if (v != m_axisVisible) {
        m_axisVisible = v;
        Invalidate();
    }
}

void TCustomAxisPanel::SetChart3DPercent(int32_t v) {
    if (v < k3DPercentMin || v > k3DPercentMax)
        throw rtl::ChartException(kMsg3DPercent, k3DPercentMin, k3DPercentMax);
    SetInt(m_chart3DPercent, v);
}

void TCustomAxisPanel::SetView3DWalls(bool v) {
    if (v != m_view3DWalls) {
        m_view3DWalls = v;
        Invalidate();
    }
}

void TCustomAxisPanel::SetClipPoints(bool v) {
    if (v != m_clipPoints) {
        m_clipPoints = v;
        Invalidate();
    }
}

void TCustomAxisPanel::SetPage(int32_t v) {
    SetInt(m_page, std::max(1, v));
}

void TCustomAxisPanel::SetScaleLastPage(bool v) {
    if (v != m_scaleLastPage) {
        m_scaleLastPage = v;
        Invalidate();
    }
}

void TCustomAxisPanel::SetMaxPointsPerPage(int32_t v) {
    if (v < 0)
        throw rtl::ChartException(kMsgMaxPointsPerPage);
    SetInt(m_maxPointsPerPage, v);
}

void TCustomAxisPanel::AddSeries(TChartSeries* series) {
    if (!series || std::find(m_series.begin(), m_series.end(), series) != m_series.end())
        return;
    if (series->m_parentChart && series->m_parentChart != this)
        series->m_parentChart->RemoveSeries(series);
    m_series.push_back(series);
    series->m_parentChart = this;
    if (series->SeriesColor() == clAutoColor)
        series->SetSeriesColor(ChartPaletteColor(int(m_series.size()) - 1));
    Invalidate();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* series) {
    auto it = std::find(m_series.begin(), m_series.end(), series);
    if (it == m_series.end())
        return;
    m_series.erase(it);
    series->m_parentChart = nullptr;
    if (!HasState(frame::csDestroying))
        Invalidate();
}

bool TCustomAxisPanel::IsAxisSeries(const TChartSeries* s, const TChartAxis* axis) const {
    if (!s->Active() || s->Count() == 0)
        return false;
    if (axis->Horizontal())
        return s->GetHorizAxis() == axis;
    return !axis->IsDepthAxis() && s->GetVertAxis() == axis;
}

bool TCustomAxisPanel::AxisHasActiveSeries(const TChartAxis* axis) const {
    for (TChartSeries* s : m_series) {
        if (!s->Active())
            continue;
        if (axis->Horizontal() ? s->GetHorizAxis() == axis
                               : (!axis->IsDepthAxis() && s->GetVertAxis() == axis))
            return true;
    }
    return false;
}

void TCustomAxisPanel::GetChildren(const std::function<void(frame::TComponent*)>& proc,
                                   frame::TComponent* root) {
    for (TChartSeries* s : m_series)
        if (s->Owner() == root)
            proc(s);
    // Then the child controls (the result form's zero-line panels).
    TCustomChartPanel::GetChildren(proc, root);
}

void TCustomAxisPanel::CalcAxisRect() {
    TChartAxis* order[] = {m_leftAxis.get(), m_rightAxis.get(), m_topAxis.get(), m_bottomAxis.get(),
                           m_depthAxis.get()};
    for (TChartAxis* a : order)
        a->AdjustMaxMin();
    // Every axis measures against the plot rectangle left by the titles; the reductions are
    // combined only when all are done.
    TRect result = ChartRect();
    for (TChartAxis* a : order) {
        if (a->IsDepthAxis() || !a->IsActive())
            continue;
        TRect r = ChartRect();
        a->CalcRect(r);
        result = platform::gdi::IntersectRect(result, r);
    }
    SetChartRect(result);
    RecalcWidthHeight();
}

void TCustomAxisPanel::CalcSeriesRect() {
    // Margins the series ask for widen the axes' ranges over the final plot rectangle.
    for (TChartAxis* axis :
         {m_bottomAxis.get(), m_topAxis.get(), m_leftAxis.get(), m_rightAxis.get()}) {
        int low = 0, high = 0;
        for (TChartSeries* s : m_series) {
            if (!IsAxisSeries(s, axis))
                continue;
            int a = 0, b = 0;
            if (axis->Horizontal())
                s->CalcHorizMargins(a, b);
            else
                s->CalcVerticalMargins(b, a); // top margin is the high end
            low = std::max(low, a);
            high = std::max(high, b);
        }
        axis->AdjustMaxMinRect(low, high);
    }
}

void TCustomAxisPanel::InternalDraw(const TRect& bounds) {
    PanelPaint(bounds);
    for (TChartSeries* s : m_series)
        if (s->Active())
            s->PrepareForDraw();
    DrawTitlesAndLegend();
    CalcAxisRect();
    CalcSeriesRect();
    OnBeforeDrawAxes(this);
    DrawWalls();
    if (m_axisVisible) {
        for (TChartAxis* a :
             {m_topAxis.get(), m_bottomAxis.get(), m_leftAxis.get(), m_rightAxis.get()})
            if (a->IsActive())
                a->Draw(true);
    }
    OnBeforeDrawSeries(this);
    for (TChartSeries* s : m_series)
        if (s->Active())
            s->DrawSeries();
    Canvas3D()->ResetState();
    OnAfterDraw(this);
}

} // namespace chart
