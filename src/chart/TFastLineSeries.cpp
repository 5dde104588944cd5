#include "chart/TFastLineSeries.h"

#include <cmath>

#include "chart/ChartMath.h"
#include "chart/TCustomAxisPanel.h"

namespace chart {

// --- reducer ---

void TPolylineReducer::MoveTo(TPoint p) {
    EndRun();
    m_open = true;
    m_column = true;
    m_x = p.x;
    m_first = m_min = m_max = m_last = p.y;
    m_count = 0;
    m_minAt = m_maxAt = m_lastAt = 0;
}

void TPolylineReducer::LineTo(TPoint p) {
    if (!m_open) {
        MoveTo(p);
        return;
    }
    if (m_reduce && p.x == m_x) {
        ++m_count;
        if (p.y < m_min) {
            m_min = p.y;
            m_minAt = m_count;
        }
        if (p.y > m_max) {
            m_max = p.y;
            m_maxAt = m_count;
        }
        m_last = p.y;
        m_lastAt = m_count;
        return;
    }
    FlushColumn(false);
    m_x = p.x;
    m_first = m_min = m_max = m_last = p.y;
    m_count = m_minAt = m_maxAt = m_lastAt = 0;
    if (!m_reduce)
        Emit(p);
}

void TPolylineReducer::Emit(TPoint p) {
    if (!m_run.empty() && m_run.back() == p)
        return;
    m_run.push_back(p);
}

void TPolylineReducer::FlushColumn(bool final) {
    if (!m_column)
        return;
    if (!m_reduce) {
        if (m_run.empty())
            Emit(TPoint{m_x, m_first});
        return;
    }
    Emit(TPoint{m_x, m_first});
    // The extremes in the order they were met, then the last point.
    int a = m_min, b = m_max;
    long aAt = m_minAt, bAt = m_maxAt;
    if (bAt < aAt) {
        std::swap(a, b);
        std::swap(aAt, bAt);
    }
    Emit(TPoint{m_x, a});
    Emit(TPoint{m_x, b});
    // The end point of a polyline is not painted. Where the run ends on the second extreme after
    // having left it, every segment painted that pixel: step back one pixel and return.
    if (final && m_last == b && bAt < m_lastAt && a != b)
        Emit(TPoint{m_x, b + (a < b ? -1 : 1)});
    Emit(TPoint{m_x, m_last});
}

void TPolylineReducer::EndRun() {
    if (!m_open)
        return;
    FlushColumn(true);
    if (m_run.size() >= 2)
        m_lines.push_back(std::move(m_run));
    m_run.clear();
    m_open = false;
    m_column = false;
}

std::vector<std::vector<TPoint>>& TPolylineReducer::Finish() {
    EndRun();
    return m_lines;
}

// --- series ---

const frame::TClassInfo* TFastLineSeries::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TFastLineSeries>("TFastLineSeries", TChartSeries::StaticClass())
            .Property("AutoRepaint", &TFastLineSeries::AutoRepaint,
                      &TFastLineSeries::SetAutoRepaint, frame::Default(1))
            .Property("LinePen", &TFastLineSeries::LinePen, &TFastLineSeries::SetLinePen)
            .Build();
    return info.get();
}

TFastLineSeries::TFastLineSeries(frame::TComponent* owner)
    : TChartSeries(owner), m_linePen(new TChartPen) {
    SetDrawBetweenPoints(true);
    m_linePen->OnChange = frame::TNotifyEvent::Of<&TFastLineSeries::PenChanged>(this);
}

TFastLineSeries::~TFastLineSeries() {
    delete m_linePen;
}

void TFastLineSeries::PenChanged(frame::TObject*) {
    Repaint();
}

void TFastLineSeries::SetLinePen(TChartPen* v) {
    m_linePen->Assign(v);
    SetSeriesColor(m_linePen->Color());
}

void TFastLineSeries::SetSeriesColor(TColor v) {
    TChartSeries::SetSeriesColor(v);
    m_linePen->SetColor(v);
}

void TFastLineSeries::AddedValue(int index) {
    if (m_autoRepaint || !ParentChart()) {
        TChartSeries::AddedValue(index);
        return;
    }
    // Without auto-repaint only the new segment is drawn, at once.
    OnAfterAdd(this, index);
    TChartAxis* h = GetHorizAxis();
    TChartAxis* v = GetVertAxis();
    TChartCanvas3D* surface = ParentChart()->Canvas3D();
    surface->AssignPen(*m_linePen, SeriesColor(), ChartPrinting());
    int x = h->CalcPosValue(XValue(index)), y = v->CalcPosValue(YValue(index));
    if (index > 0) {
        surface->MoveTo(h->CalcPosValue(XValue(index - 1)), v->CalcPosValue(YValue(index - 1)));
        surface->LineTo(x, y);
    } else {
        surface->MoveTo(x, y);
    }
}

void TFastLineSeries::DrawAllValues() {
    TCustomAxisPanel* chart = ParentChart();
    TChartAxis* h = GetHorizAxis();
    TChartAxis* v = GetVertAxis();
    if (!chart || !h || !v)
        return;
    TChartCanvas3D* surface = chart->Canvas3D();
    surface->AssignPen(*m_linePen, SeriesColor(), ChartPrinting());
    surface->ClearBrush();

    int first = FirstValueIndex(), last = LastValueIndex();
    // Segments are cut in floating point to the plot widened by the pen, so a point far outside
    // the range never hands the drawing layer a segment billions of pixels long.
    TRect r = chart->ChartRect();
    double pad = std::max(1, m_linePen->Width()) + 1.0;
    TDoubleRect box{r.left - pad, r.top - pad, r.right + pad, r.bottom + pad};
    TPolylineReducer lines(m_linePen->Style() == frame::psSolid || !m_linePen->Visible());

    const std::vector<double>& xs = XValues()->RawValues();
    const std::vector<double>& ys = YValues()->RawValues();
    double mx = XValues()->Multiplier(), my = YValues()->Multiplier();
    struct TPos {
        double x, y;
        int px, py;
        bool inside;
    };
    const TAxisScale hs = h->Scale(), vs = v->Scale();
    auto position = [&](int i) {
        TPos p;
        hs.Fast(xs[size_t(i)] * mx, p.x, p.px);
        vs.Fast(ys[size_t(i)] * my, p.y, p.py);
        p.inside = p.x >= box.left && p.x <= box.right && p.y >= box.top && p.y <= box.bottom;
        return p;
    };
    // The entering segment comes from the point before the first visible one.
    int start = first > 0 ? first - 1 : first;
    TPos prev = position(start);
    bool havePrev = true;
    if (prev.inside)
        lines.MoveTo(TPoint{prev.px, prev.py});
    bool penDown = prev.inside;
    for (int i = start + 1; i <= last; ++i) {
        TPos p = position(i);
        if (havePrev && prev.inside && p.inside) {
            if (!penDown)
                lines.MoveTo(TPoint{prev.px, prev.py});
            lines.LineTo(TPoint{p.px, p.py});
            penDown = true;
        } else if (havePrev) {
            double x0 = double(prev.x), y0 = double(prev.y), x1 = double(p.x), y1 = double(p.y);
            if (ClipSegment(x0, y0, x1, y1, box)) {
                TPoint a =
                    prev.inside ? TPoint{prev.px, prev.py} : TPoint{RoundPixel(x0), RoundPixel(y0)};
                TPoint b = p.inside ? TPoint{p.px, p.py} : TPoint{RoundPixel(x1), RoundPixel(y1)};
                if (!penDown || !prev.inside)
                    lines.MoveTo(a);
                lines.LineTo(b);
                penDown = p.inside;
            } else {
                penDown = false;
            }
        }
        prev = p;
        havePrev = std::isfinite(double(p.x)) && std::isfinite(double(p.y));
        if (!havePrev)
            penDown = false;
    }
    for (const std::vector<TPoint>& line : lines.Finish())
        surface->Polyline(line);
}

} // namespace chart
