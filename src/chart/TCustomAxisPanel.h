#pragma once
// The chart panel with series and axes: the series list, the five axes and the painting
// sequence (background, titles, axis room, walls, axes, series).
#include <memory>
#include <vector>

#include "chart/TChartAxis.h"
#include "chart/TCustomChartPanel.h"

namespace chart {

class TChartSeries;

class TCustomAxisPanel : public TCustomChartPanel {
public:
    ZORVANE_CLASS(TCustomAxisPanel)
    explicit TCustomAxisPanel(frame::TComponent* owner);
    ~TCustomAxisPanel() override;

    TChartAxis* BottomAxis() const { return m_bottomAxis.get(); }
    void SetBottomAxis(TChartAxis* v) { m_bottomAxis->Assign(v); }
    TChartAxis* TopAxis() const { return m_topAxis.get(); }
    void SetTopAxis(TChartAxis* v) { m_topAxis->Assign(v); }
    TChartAxis* LeftAxis() const { return m_leftAxis.get(); }
    void SetLeftAxis(TChartAxis* v) { m_leftAxis->Assign(v); }
    TChartAxis* RightAxis() const { return m_rightAxis.get(); }
    void SetRightAxis(TChartAxis* v) { m_rightAxis->Assign(v); }
    TChartAxis* DepthAxis() const { return m_depthAxis.get(); }
    void SetDepthAxis(TChartAxis* v) { m_depthAxis->Assign(v); }

    bool AxisVisible() const { return m_axisVisible; }
    void SetAxisVisible(bool v);
    int32_t Chart3DPercent() const { return m_chart3DPercent; }
    void SetChart3DPercent(int32_t v);
    bool View3DWalls() const { return m_view3DWalls; }
    void SetView3DWalls(bool v);
    bool ClipPoints() const { return m_clipPoints; }
    void SetClipPoints(bool v);
    int32_t Page() const { return m_page; }
    void SetPage(int32_t v);
    bool ScaleLastPage() const { return m_scaleLastPage; }
    void SetScaleLastPage(bool v);
    int32_t MaxPointsPerPage() const { return m_maxPointsPerPage; }
    void SetMaxPointsPerPage(int32_t v);

    // The series in drawing order.
    int SeriesCount() const { return int(m_series.size()); }
    TChartSeries* Series(int index) const { return m_series.at(size_t(index)); }
    const std::vector<TChartSeries*>& SeriesList() const { return m_series; }
    // Adds a series (it becomes the series' parent chart); RemoveSeries undoes it.
    void AddSeries(TChartSeries* series);
    void RemoveSeries(TChartSeries* series);
    // The active, non-empty series bound to an axis.
    bool IsAxisSeries(const TChartSeries* series, const TChartAxis* axis) const;
    bool AxisHasActiveSeries(const TChartAxis* axis) const;

    void GetChildren(const std::function<void(frame::TComponent*)>& proc,
                     frame::TComponent* root) override;

    frame::TNotifyEvent OnBeforeDrawAxes;
    frame::TNotifyEvent OnBeforeDrawSeries;
    frame::TNotifyEvent OnAfterDraw;

protected:
    void InternalDraw(const TRect& bounds) override;
    // Titles and legend take their room off the plot rectangle.
    virtual void DrawTitlesAndLegend() {}
    virtual void DrawWalls() {}
    void AxisChanged(frame::TObject*) { Invalidate(); }

private:
    void CalcAxisRect();
    void CalcSeriesRect();

    std::vector<TChartSeries*> m_series;
    std::unique_ptr<TChartAxis> m_bottomAxis;
    std::unique_ptr<TChartAxis> m_topAxis;
    std::unique_ptr<TChartAxis> m_leftAxis;
    std::unique_ptr<TChartAxis> m_rightAxis;
    std::unique_ptr<TChartAxis> m_depthAxis;
    bool m_axisVisible = true;
    int32_t m_chart3DPercent = 15;
    bool m_view3DWalls = true;
    bool m_clipPoints = true;
    int32_t m_page = 1;
    bool m_scaleLastPage = true;
    int32_t m_maxPointsPerPage = 0;
};

} // namespace chart
