#include "chart/TLineSeries.h"

#include <cmath>

#include "chart/ChartMath.h"
#include "chart/TCustomAxisPanel.h"

namespace chart {

using frame::Default;

const frame::TClassInfo* TSeriesPointer::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TSeriesPointer>("TSeriesPointer", frame::TPersistent::StaticClass())
            .Property("Brush", &TSeriesPointer::Brush, &TSeriesPointer::SetBrush)
            .Property("Dark3D", &TSeriesPointer::Dark3D, &TSeriesPointer::SetDark3D, Default(1))
            .Property("Draw3D", &TSeriesPointer::Draw3D, &TSeriesPointer::SetDraw3D, Default(1))
            .Property("HorizSize", &TSeriesPointer::HorizSize, &TSeriesPointer::SetHorizSize,
                      Default(4))
            .Property("InflateMargins", &TSeriesPointer::InflateMargins,
                      &TSeriesPointer::SetInflateMargins, frame::NoDefault())
            .Property("Pen", &TSeriesPointer::Pen, &TSeriesPointer::SetPen)
            .Property("Style", &TSeriesPointer::Style, &TSeriesPointer::SetStyle,
                      frame::NoDefault())
            .Property("VertSize", &TSeriesPointer::VertSize, &TSeriesPointer::SetVertSize,
                      Default(4))
            .Property("Visible", &TSeriesPointer::Visible, &TSeriesPointer::SetVisible,
                      frame::NoDefault())
            .Build();
    return info.get();
}

TSeriesPointer::TSeriesPointer()
    : m_brush(std::make_unique<TChartBrush>()), m_pen(std::make_unique<TChartPen>()) {
    m_brush->OnChange = frame::TNotifyEvent::Of<&TSeriesPointer::PartChanged>(this);
    m_pen->OnChange = frame::TNotifyEvent::Of<&TSeriesPointer::PartChanged>(this);
}

TSeriesPointer::~TSeriesPointer() = default;

void TSeriesPointer::Assign(const frame::TPersistent* source) {
    if (auto* p = dynamic_cast<const TSeriesPointer*>(source)) {
        m_brush->Assign(p->m_brush.get());
        m_pen->Assign(p->m_pen.get());
        m_dark3D = p->m_dark3D;
        m_draw3D = p->m_draw3D;
        m_horizSize = p->m_horizSize;
        m_vertSize = p->m_vertSize;
        m_inflateMargins = p->m_inflateMargins;
        m_style = p->m_style;
        m_visible = p->m_visible;
        OnChange(this);
        return;
    }
    frame::TPersistent::Assign(source);
}

const frame::TClassInfo* TCustomSeries::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TCustomSeries>("TCustomSeries", TChartSeries::StaticClass())
            .Property("AreaBrush", &TCustomSeries::AreaBrush, &TCustomSeries::SetAreaBrush,
                      Default(frame::bsSolid))
            .Property("AreaColor", frame::ColorType(), &TCustomSeries::AreaColor,
                      &TCustomSeries::SetAreaColor, Default(clAutoColor))
            .Property("AreaLinesPen", &TCustomSeries::AreaLinesPen, &TCustomSeries::SetAreaLinesPen)
            .Property("Dark3D", &TCustomSeries::Dark3D, &TCustomSeries::SetDark3D, Default(1))
            .Property("InvertedStairs", &TCustomSeries::InvertedStairs,
                      &TCustomSeries::SetInvertedStairs, Default(0))
            .Property("LineBrush", &TCustomSeries::LineBrush, &TCustomSeries::SetLineBrush,
                      Default(frame::bsSolid))
            .Property("LinePen", &TCustomSeries::LinePen, &TCustomSeries::SetLinePen)
            .Property("Pointer", &TCustomSeries::Pointer, &TCustomSeries::SetPointer)
            .Property("Stairs", &TCustomSeries::Stairs, &TCustomSeries::SetStairs, Default(0))
            .Build();
    return info.get();
}

TCustomSeries::TCustomSeries(frame::TComponent* owner)
    : TChartSeries(owner), m_pointer(std::make_unique<TSeriesPointer>()),
      m_linePen(std::make_unique<TChartPen>()), m_areaLinesPen(std::make_unique<TChartPen>()) {
    SetDrawBetweenPoints(true);
    m_pointer->OnChange = frame::TNotifyEvent::Of<&TCustomSeries::PartChanged>(this);
    m_linePen->OnChange = frame::TNotifyEvent::Of<&TCustomSeries::PartChanged>(this);
    m_areaLinesPen->OnChange = frame::TNotifyEvent::Of<&TCustomSeries::PartChanged>(this);
}

TCustomSeries::~TCustomSeries() = default;

#define CUSTOM_SETTER(Name, Type, Member)                                                          \
    void TCustomSeries::Set##Name(Type v) {                                                        \
        if (v == Member)                                                                           \
            return;                                                                                \
        Member = v;                                                                                \
        Repaint();                                                                                 \
    }
CUSTOM_SETTER(LineBrush, frame::TBrushStyle, m_lineBrush)
CUSTOM_SETTER(AreaBrush, frame::TBrushStyle, m_areaBrush)
CUSTOM_SETTER(AreaColor, TColor, m_areaColor)
CUSTOM_SETTER(Stairs, bool, m_stairs)
CUSTOM_SETTER(InvertedStairs, bool, m_invertedStairs)
CUSTOM_SETTER(Dark3D, bool, m_dark3D)
#undef CUSTOM_SETTER

void TCustomSeries::Assign(const frame::TPersistent* source) {
    if (auto* s = dynamic_cast<const TCustomSeries*>(source)) {
        m_stairs = s->m_stairs;
        m_invertedStairs = s->m_invertedStairs;
        m_drawArea = s->m_drawArea;
        m_drawLines = s->m_drawLines;
        m_pointer->Assign(s->m_pointer.get());
        m_areaLinesPen->Assign(s->m_areaLinesPen.get());
        m_linePen->Assign(s->m_linePen.get());
        m_areaColor = s->m_areaColor;
        m_lineBrush = s->m_lineBrush;
        m_areaBrush = s->m_areaBrush;
        m_dark3D = s->m_dark3D;
    }
    TChartSeries::Assign(source);
}

void TCustomSeries::CalcHorizMargins(int& left, int& right) const {
    left = right = 0;
    if (m_pointer->Visible() && m_pointer->InflateMargins())
        left = right = m_pointer->HorizSize() + 1;
}

void TCustomSeries::CalcVerticalMargins(int& top, int& bottom) const {
    top = bottom = 0;
    if (m_pointer->Visible() && m_pointer->InflateMargins())
        top = bottom = m_pointer->VertSize() + 1;
}

void TCustomSeries::DrawAllValues() {
    TCustomAxisPanel* chart = ParentChart();
    TChartAxis* h = GetHorizAxis();
    TChartAxis* v = GetVertAxis();
    if (!chart || !h || !v)
        return;
    TChartCanvas3D* surface = chart->Canvas3D();
    bool printing = ChartPrinting();
    TRect r = chart->ChartRect();
    double pad = std::max(1, m_linePen->Width()) + 1.0;
    TDoubleRect box{r.left - pad, r.top - pad, r.right + pad, r.bottom + pad};
    int first = FirstValueIndex(), last = LastValueIndex();
    auto exact = [&](int i, double& x, double& y) {
        x = double(h->CalcPosValueExact(XValue(i)));
        y = double(v->CalcPosValueExact(YValue(i)));
        return std::isfinite(x) && std::isfinite(y);
    };
    surface->ClearBrush();
    TColor penColor = clNone;
    auto segment = [&](int from, int to, TColor c) {
        double x0, y0, x1, y1;
        if (!exact(from, x0, y0) || !exact(to, x1, y1))
            return;
        int px0 = h->CalcPosValue(XValue(from)), py0 = v->CalcPosValue(YValue(from));
        int px1 = h->CalcPosValue(XValue(to)), py1 = v->CalcPosValue(YValue(to));
        if (px0 == px1 && py0 == py1)
            return;
        double cx0 = x0, cy0 = y0, cx1 = x1, cy1 = y1;
        // Cut in floating point, so that a far point keeps its segment (only the part inside
        // is drawn) instead of overflowing the drawing layer or being dropped.
        if (!ClipSegment(cx0, cy0, cx1, cy1, box))
            return;
        TPoint a =
            (cx0 == x0 && cy0 == y0) ? TPoint{px0, py0} : TPoint{RoundPixel(cx0), RoundPixel(cy0)};
        TPoint b =
            (cx1 == x1 && cy1 == y1) ? TPoint{px1, py1} : TPoint{RoundPixel(cx1), RoundPixel(cy1)};
        if (c != penColor) {
            surface->AssignPen(*m_linePen, c, printing);
            penColor = c;
        }
        surface->Line(a.x, a.y, b.x, b.y);
    };
    if (m_drawLines) {
        if (first > 0 && ValueColor(first - 1) != clNone)
            segment(first - 1, first, ValueColor(first));
        for (int i = first + 1; i <= last; ++i) {
            TColor c = ValueColor(i);
            if (c != clNone)
                segment(i - 1, i, c);
        }
    }
    if (m_pointer->Visible()) {
        for (int i = first; i <= last; ++i) {
            TColor c = ValueColor(i);
            if (c == clNone)
                continue;
            int x = h->CalcPosValue(XValue(i)), y = v->CalcPosValue(YValue(i));
            surface->AssignPen(*m_pointer->Pen(), m_pointer->Pen()->Color(), printing);
            surface->Brush()->SetColor(c);
            surface->Brush()->SetStyle(frame::bsSolid);
            int hs = m_pointer->HorizSize(), vs = m_pointer->VertSize();
            TRect box2{x - hs, y - vs, x + hs + 1, y + vs + 1};
            if (m_pointer->Style() == psCircle)
                surface->Canvas()->Ellipse(box2.left, box2.top, box2.right, box2.bottom);
            else
                surface->Rectangle(box2);
        }
    }
}

const frame::TClassInfo* TLineSeries::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TLineSeries>("TLineSeries", TCustomSeries::StaticClass()).Build();
    return info.get();
}

TLineSeries::TLineSeries(frame::TComponent* owner) : TCustomSeries(owner) {
    Pointer()->SetVisible(false);
}

void TLineSeries::Assign(const frame::TPersistent* source) {
    TCustomSeries::Assign(source);
    Pointer()->SetVisible(false);
    SetDrawArea(false);
    SetDrawLines(true);
}

} // namespace chart
