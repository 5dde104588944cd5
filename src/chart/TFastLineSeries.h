#pragma once
// The fast line: one pen, one colour, a polyline through the visible points. Segments are
// clipped in floating point to the plot widened by the pen, and runs of points that fall in one
// pixel column are reduced to their first, lowest, highest and last point, so a million points
// cost about one segment per pixel column.
#include <memory>
#include <vector>

#include "chart/ChartMath.h"
#include "chart/TChartAxis.h"
#include "chart/TChartPen.h"
#include "chart/TChartSeries.h"

namespace chart {

// Builds the polylines of a fast line from pixel positions: consecutive equal pixels are dropped
// and each pixel column's run is reduced to first, extremes (in the order met) and last, which
// paints the same pixels as every segment would.
class TPolylineReducer {
public:
    explicit TPolylineReducer(bool reduce) : m_reduce(reduce) {}
    // Starts a new polyline at p.
    void MoveTo(TPoint p);
    void LineTo(TPoint p);
    // The finished polylines (each of at least two points).
    std::vector<std::vector<TPoint>>& Finish();
    bool Reducing() const { return m_reduce; }

private:
    void FlushColumn(bool final);
    void Emit(TPoint p);
    void EndRun();

    bool m_reduce;
    bool m_open = false;
    std::vector<TPoint> m_run;
    std::vector<std::vector<TPoint>> m_lines;
    // The column being collected: x, first, extremes with the order they were met, last.
    bool m_column = false;
    int m_x = 0;
    int m_first = 0, m_min = 0, m_max = 0, m_last = 0;
    long m_minAt = 0, m_maxAt = 0, m_lastAt = 0, m_count = 0;
};

class TFastLineSeries : public TChartSeries {
public:
    ZORVANE_CLASS(TFastLineSeries)
    explicit TFastLineSeries(frame::TComponent* owner);
    ~TFastLineSeries() override;

    TChartPen* LinePen() const { return m_linePen.get(); }
    // Assigns the pen and takes its colour as the series colour.
    void SetLinePen(TChartPen* v);
    bool AutoRepaint() const { return m_autoRepaint; }
    void SetAutoRepaint(bool v) { m_autoRepaint = v; }
    void SetSeriesColor(TColor v) override;
    // Runs of points in one pixel column are reduced (the default); off, every segment is drawn
    // (the same pixels, slower).
    bool ReduceDensePoints() const { return m_reduceDensePoints; }
    void SetReduceDensePoints(bool v) { m_reduceDensePoints = v; }

protected:
    void DrawAllValues() override;
    void AddedValue(int index) override;

private:
    void PenChanged(frame::TObject*);
    // Dense data, all inside the plot: each pixel column's extremes are found among the values
    // and only first, lowest, highest and last are converted. False when the points do not
    // qualify (the point-by-point draw then runs).
    bool DrawColumns(TPolylineReducer& lines, const TAxisScale& hs, const TAxisScale& vs,
                     const TDoubleRect& box, int start, int last) const;
    bool ColumnsApply(const TAxisScale& hs, const TAxisScale& vs, const TDoubleRect& box, int start,
                      int last) const;

    std::unique_ptr<TChartPen> m_linePen;
    bool m_autoRepaint = true;
    bool m_reduceDensePoints = true;
};

} // namespace chart
