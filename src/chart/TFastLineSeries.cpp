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

namespace {

// The first index after `i` whose pixel column differs from i's, or last + 1: gallop, then halve
// (the column only grows with the index).
template <class Column> int ColumnEnd(const Column& column, int i, int last) {
    int col = column(i);
    int lo = i, step = 1;
    while (lo + step <= last && column(lo + step) == col) {
        lo += step;
        step *= 2;
    }
    int hi = std::min(lo + step, last + 1); // column(hi) differs, or hi is past the end
    while (hi - lo > 1) {
        int mid = lo + (hi - lo) / 2;
        if (column(mid) == col)
            lo = mid;
        else
            hi = mid;
    }
    return hi;
}

// The indexes of the lowest and of the highest value in ys[i, end), each its first.
std::pair<int, int> Extremes(const std::vector<double>& ys, int i, int end) {
    int lowAt = i, highAt = i;
    double low = ys[size_t(i)], high = low;
    for (int k = i + 1; k < end; ++k) {
        double y = ys[size_t(k)];
        if (y < low) {
            low = y;
            lowAt = k;
        } else if (y > high) {
            high = y;
            highAt = k;
        }
    }
    return {lowAt, highAt};
}

} // namespace

// Only for points that are all finite and inside the widened plot, with ascending x and positive
// multipliers: then the pixel column of a point only grows with its index, and the lowest and
// highest value of a column are its lowest and highest pixel.
bool TFastLineSeries::ColumnsApply(const TAxisScale& hs, const TAxisScale& vs,
                                   const TDoubleRect& box, int start, int last) const {
    const TChartValueList* xl = XValues();
    const TChartValueList* yl = YValues();
    double mx = xl->Multiplier(), my = yl->Multiplier();
    if (!(mx > 0) || !(my > 0) || !xl->Ascending() || !xl->NaNFree() || !yl->NaNFree() ||
        last - start < 64)
        return false;
    const std::vector<double>& xs = xl->RawValues();
    double e;
    int pixel;
    auto insideX = [&](double x) {
        hs.Fast(x, e, pixel);
        return e >= box.left && e <= box.right;
    };
    auto insideY = [&](double y) {
        vs.Fast(y, e, pixel);
        return e >= box.top && e <= box.bottom;
    };
    return insideX(xs[size_t(start)] * mx) && insideX(xs[size_t(last)] * mx) &&
           insideY(yl->MinValue()) && insideY(yl->MaxValue());
}

bool TFastLineSeries::DrawColumns(TPolylineReducer& lines, const TAxisScale& hs,
                                  const TAxisScale& vs, const TDoubleRect& box, int start,
                                  int last) const {
    if (!ColumnsApply(hs, vs, box, start, last))
        return false;
    const std::vector<double>& xs = XValues()->RawValues();
    const std::vector<double>& ys = YValues()->RawValues();
    double mx = XValues()->Multiplier(), my = YValues()->Multiplier();
    auto column = [&](int i) {
        double e;
        int px;
        hs.Fast(xs[size_t(i)] * mx, e, px);
        return px;
    };
    auto point = [&](int i) {
        double e;
        int x, y;
        hs.Fast(xs[size_t(i)] * mx, e, x);
        vs.Fast(ys[size_t(i)] * my, e, y);
        return TPoint{x, y};
    };
    lines.MoveTo(point(start));
    for (int i = start; i <= last;) {
        int end = ColumnEnd(column, i, last); // first index of the next column
        if (end > last) {
            // The last column ends the polyline: every point, for the end-point rule.
            for (int k = std::max(i, start + 1); k <= last; ++k)
                lines.LineTo(point(k));
            break;
        }
        auto [lowAt, highAt] = Extremes(ys, i, end);
        int a = std::min(lowAt, highAt), b = std::max(lowAt, highAt);
        for (int k : {i, a, b, end - 1})
            if (k > start)
                lines.LineTo(point(k));
        i = end;
    }
    return true;
}

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
    : TChartSeries(owner), m_linePen(std::make_unique<TChartPen>()) {
    SetDrawBetweenPoints(true);
    m_linePen->OnChange = frame::TNotifyEvent::Of<&TFastLineSeries::PenChanged>(this);
}

TFastLineSeries::~TFastLineSeries() = default;

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
    // Without auto-repaint only the new segment is drawn, at once, on the control.
    OnAfterAdd(this, index);
    TCustomAxisPanel* chart = ParentChart();
    frame::TCanvas* canvas = chart->Canvas();
    TChartAxis* h = GetHorizAxis();
    TChartAxis* v = GetVertAxis();
    if (!canvas || !h || !v)
        return;
    frame::TPen* pen = canvas->Pen();
    pen->SetColor(SeriesColor());
    pen->SetWidth(m_linePen->Width());
    pen->SetStyle(m_linePen->Visible() ? m_linePen->Style() : frame::psClear);
    double x1 = double(h->CalcPosValueExact(XValue(index)));
    double y1 = double(v->CalcPosValueExact(YValue(index)));
    if (index == 0) {
        canvas->MoveTo(RoundPixel(x1), RoundPixel(y1));
        return;
    }
    double x0 = double(h->CalcPosValueExact(XValue(index - 1)));
    double y0 = double(v->CalcPosValueExact(YValue(index - 1)));
    TRect r = chart->ChartRect();
    double pad = std::max(1, m_linePen->Width()) + 1.0;
    if (!ClipSegment(x0, y0, x1, y1,
                     TDoubleRect{r.left - pad, r.top - pad, r.right + pad, r.bottom + pad}))
        return;
    canvas->MoveTo(RoundPixel(x0), RoundPixel(y0));
    canvas->LineTo(RoundPixel(x1), RoundPixel(y1));
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
    TPolylineReducer lines(m_reduceDensePoints &&
                           (m_linePen->Style() == frame::psSolid || !m_linePen->Visible()));

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
    if (lines.Reducing() && DrawColumns(lines, hs, vs, box, start, last)) {
        for (const std::vector<TPoint>& line : lines.Finish())
            surface->Polyline(line);
        return;
    }
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
