#pragma once
// Series functions: components that compute their parent series' points from source series.
// The parent series owns its attached function; a detached function is owned by its owner only.
// Either way exactly one party frees it: a function going away detaches itself from its series,
// and a series going away frees its function, which then leaves its owner's list.
#include <vector>

#include "chart/ChartTypes.h"
#include "frame/TComponent.h"

namespace chart {

class TChartSeries;

class TSeriesFunction : public frame::TComponent {
public:
    ZORVANE_CLASS(TSeriesFunction)
    explicit TSeriesFunction(frame::TComponent* owner);
    ~TSeriesFunction() override;

    int32_t Period() const { return m_period; }
    // Raises ChartException "Function Period should be >= 0" for a negative period.
    void SetPeriod(int32_t value);
    TChartSeries* ParentSeries() const { return m_parentSeries; }
    // Attaches to `series` (null detaches): the old parent loses its function, the new one frees
    // any function it had.
    void SetParentSeries(TChartSeries* series);
    bool Moving() const { return m_moving; }
    void BeginUpdate() { m_updating = true; }
    void EndUpdate() { m_updating = false; }

    // One result from the Y values first … last of `source` (first = -1: all points).
    virtual double Calculate(TChartSeries* source, int first, int last);
    // One result from the point at `index` of several sources.
    virtual double CalculateMany(const std::vector<TChartSeries*>& sources, int index);
    // Fills the parent series from `source` (the parent has just been cleared).
    virtual void AddPoints(TChartSeries* source);

    bool HasParent() const override { return true; }
    frame::TComponent* GetParentComponent() const override;
    void SetParentComponent(frame::TComponent* parent) override;

protected:
    void SetMoving(bool v) { m_moving = v; }
    // The Y values of `source` (with their multiplier), or null.
    static const std::vector<double>* SourceValues(TChartSeries* source, double& multiplier);
    // The sources that have a point at `index`, with that point's Y value.
    static std::vector<double> ValuesAt(const std::vector<TChartSeries*>& sources, int index);

private:
    friend class TChartSeries;
    void AddResult(TChartSeries* source, double x, double y);

    int32_t m_period = 0;
    TChartSeries* m_parentSeries = nullptr;
    bool m_updating = false;
    bool m_moving = false;
};

#define CHART_FUNCTION_CLASS(Name)                                                                 \
    class Name : public TSeriesFunction {                                                          \
    public:                                                                                        \
        ZORVANE_CLASS(Name)                                                                        \
        explicit Name(frame::TComponent* owner) : TSeriesFunction(owner) {}                        \
        double Calculate(TChartSeries* source, int first, int last) override;                      \
        double CalculateMany(const std::vector<TChartSeries*>& sources, int index) override;       \
    };

CHART_FUNCTION_CLASS(TAddFunction)
CHART_FUNCTION_CLASS(TSubtractFunction)
CHART_FUNCTION_CLASS(TMultiplyFunction)
CHART_FUNCTION_CLASS(TDivideFunction)
CHART_FUNCTION_CLASS(THighFunction)
CHART_FUNCTION_CLASS(TLowFunction)
CHART_FUNCTION_CLASS(TAverageFunction)
#undef CHART_FUNCTION_CLASS

} // namespace chart
