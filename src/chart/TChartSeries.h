#pragma once
// A series: the points of one curve (X and Y value lists with a colour and an optional label per
// point), its parent chart and axes, an optional series function, and the draw of its visible
// points.
#include <memory>
#include <string>
#include <vector>

#include "chart/TChartValueList.h"
#include "chart/TSeriesMarks.h"
#include "frame/TComponent.h"
#include "frame/TEvent.h"

namespace chart {

class TCustomAxisPanel;
class TChartAxis;
class TSeriesFunction;

enum THorizAxis { aTopAxis, aBottomAxis };
ZORVANE_ENUM_TYPE(THorizAxis, "aTopAxis", "aBottomAxis")
enum TVertAxis { aLeftAxis, aRightAxis };
ZORVANE_ENUM_TYPE(TVertAxis, "aLeftAxis", "aRightAxis")

class TChartSeries : public frame::TComponent {
public:
    ZORVANE_CLASS(TChartSeries)
    explicit TChartSeries(frame::TComponent* owner);
    ~TChartSeries() override;

    // --- points ---
    TChartValueList* XValues() const { return m_xValues.get(); }
    void SetXValues(TChartValueList* v) { m_xValues->Assign(v); }
    TChartValueList* YValues() const { return m_yValues.get(); }
    void SetYValues(TChartValueList* v) { m_yValues->Assign(v); }
    const std::vector<TChartValueList*>& ValuesLists() const { return m_valuesLists; }
    int Count() const { return m_xValues->Count(); }
    double XValue(int index) const { return m_xValues->Value(index); }
    double YValue(int index) const { return m_yValues->Value(index); }
    // The point's colour (see the colour rules); beyond the colour list the series colour.
    TColor ValueColor(int index) const;
    // The point's label, empty for none.
    std::string XLabel(int index) const;
    bool HasLabels() const { return !m_labels.empty(); }

    // Adds one point and returns its index (-1 when OnBeforeAdd refuses it).
    int AddXY(double x, double y, const std::string& label = "", TColor color = clAutoColor);
    void Delete(int index);
    void Clear();
    // Makes room for `count` points without reallocating while they are added.
    void Reserve(int count);
    void Assign(const frame::TPersistent* source) override;
    // Replaces the points by those of `source`, through the series function when there is one.
    void AssignValues(TChartSeries* source);
    void Repaint();

    // --- settings ---
    TColor SeriesColor() const { return m_seriesColor; }
    virtual void SetSeriesColor(TColor v);
    bool ColorEachPoint() const { return m_colorEachPoint; }
    void SetColorEachPoint(bool v);
    bool Active() const { return m_active; }
    void SetActive(bool v);
    TSeriesMarks* Marks() const { return m_marks.get(); }
    void SetMarks(TSeriesMarks* v) { m_marks->Assign(v); }
    THorizAxis HorizAxis() const { return m_horizAxis; }
    void SetHorizAxis(THorizAxis v);
    TVertAxis VertAxis() const { return m_vertAxis; }
    void SetVertAxis(TVertAxis v);
    const std::string& Title() const { return m_title; }
    void SetTitle(std::string v);
    bool ShowInLegend() const { return m_showInLegend; }
    void SetShowInLegend(bool v);
    frame::TCursor Cursor() const { return m_cursor; }
    void SetCursor(frame::TCursor v) { m_cursor = v; }
    const std::string& ValueFormat() const { return m_valueFormat; }
    void SetValueFormat(std::string v);
    const std::string& PercentFormat() const { return m_percentFormat; }
    void SetPercentFormat(std::string v);
    const std::string& XLabelsSource() const { return m_xLabelsSource; }
    void SetXLabelsSource(std::string v) { m_xLabelsSource = std::move(v); }
    const std::string& ColorSource() const { return m_colorSource; }
    void SetColorSource(std::string v) { m_colorSource = std::move(v); }
    frame::TComponent* DataSource() const {
        return m_dataSources.empty() ? nullptr : m_dataSources[0];
    }
    void SetDataSource(frame::TComponent* v);
    const std::vector<frame::TComponent*>& DataSources() const { return m_dataSources; }

    TCustomAxisPanel* ParentChart() const { return m_parentChart; }
    void SetParentChart(TCustomAxisPanel* chart);
    TChartAxis* GetHorizAxis() const;
    TChartAxis* GetVertAxis() const;

    // The attached function (owned by this series while attached), or null.
    TSeriesFunction* FunctionType() const { return m_function; }
    void SetFunction(TSeriesFunction* function);

    // --- drawing ---
    int FirstValueIndex() const { return m_firstValueIndex; }
    int LastValueIndex() const { return m_lastValueIndex; }
    bool CalcVisiblePoints() const { return m_calcVisiblePoints; }
    void SetCalcVisiblePoints(bool v) { m_calcVisiblePoints = v; }
    bool DrawBetweenPoints() const { return m_drawBetweenPoints; }
    void CalcFirstLastVisibleIndex();
    // Draws the visible points in the chart's series step.
    void DrawSeries();
    // Extra margins (pixels) the series asks for on each side of the axes.
    virtual void CalcHorizMargins(int& left, int& right) const { left = right = 0; }
    virtual void CalcVerticalMargins(int& top, int& bottom) const { top = bottom = 0; }
    // Called once per paint before the titles.
    virtual void PrepareForDraw() {}

    frame::TEvent<frame::TObject*, bool&> OnBeforeAdd;
    frame::TEvent<frame::TObject*, int> OnAfterAdd;
    frame::TNotifyEvent OnClearValues;
    frame::TNotifyEvent BeforeDrawValues;
    frame::TNotifyEvent AfterDrawValues;

    // --- streaming ---
    bool HasParent() const override { return true; }
    frame::TComponent* GetParentComponent() const override;
    void SetParentComponent(frame::TComponent* parent) override;
    void GetChildren(const std::function<void(frame::TComponent*)>& proc,
                     frame::TComponent* root) override;
    void Notification(frame::TComponent* component, frame::TOperation operation) override;

protected:
    // Draws the points from First to Last.
    virtual void DrawAllValues();
    virtual void DrawValue(int /*index*/) {}
    // After a point was added (OnAfterAdd, dependents, repaint).
    virtual void AddedValue(int index);
    void SetDrawBetweenPoints(bool v) { m_drawBetweenPoints = v; }
    bool ChartPrinting() const;
    void PartChanged(frame::TObject*) { Repaint(); }

private:
    friend class TSeriesFunction;
    friend class TCustomAxisPanel;
    void AddValueList(std::unique_ptr<TChartValueList> list) {
        m_valuesLists.push_back(list.get());
        m_extraValueLists.push_back(std::move(list));
    }

    std::unique_ptr<TChartValueList> m_xValues;
    std::unique_ptr<TChartValueList> m_yValues;
    std::vector<TChartValueList*> m_valuesLists; // X, Y, then the extra lists
    std::vector<std::unique_ptr<TChartValueList>> m_extraValueLists;
    std::vector<TColor> m_colors;
    std::vector<std::string> m_labels; // empty until the first point with a label
    TColor m_seriesColor = clAutoColor;
    bool m_colorEachPoint = false;
    bool m_active = true;
    std::unique_ptr<TSeriesMarks> m_marks;
    THorizAxis m_horizAxis = aBottomAxis;
    TVertAxis m_vertAxis = aLeftAxis;
    std::string m_title;
    bool m_showInLegend = true;
    frame::TCursor m_cursor = 0;
    std::string m_valueFormat = "#,##0.###";
    std::string m_percentFormat = "##0.## %";
    std::string m_xLabelsSource, m_colorSource;
    std::vector<frame::TComponent*> m_dataSources;
    TCustomAxisPanel* m_parentChart = nullptr;
    TSeriesFunction* m_function = nullptr;
    int m_firstValueIndex = -1, m_lastValueIndex = -1;
    bool m_calcVisiblePoints = true;
    bool m_drawBetweenPoints = false;
};

} // namespace chart
