#pragma once
// One column of point values (the X or the Y of a series). Values are kept raw in one contiguous
// vector; every read applies the multiplier. Ordered lists insert a new value after the equal
// values already present. NaN values sort after every number and take no part in the statistics.
#include <string>
#include <vector>

#include "chart/ChartTypes.h"
#include "frame/TPersistent.h"

namespace chart {

class TChartSeries;

class TChartValueList : public frame::TPersistent {
public:
    ZORVANE_CLASS(TChartValueList)
    TChartValueList(TChartSeries* owner, std::string name);

    const std::string& Name() const { return m_name; }
    void SetName(std::string value) { m_name = std::move(value); }
    TChartListOrder Order() const { return m_order; }
    void SetOrder(TChartListOrder value) { m_order = value; }
    double Multiplier() const { return m_multiplier; }
    void SetMultiplier(double value);
    bool DateTime() const { return m_dateTime; }
    void SetDateTime(bool value) { m_dateTime = value; }
    const std::string& ValueSource() const { return m_valueSource; }
    void SetValueSource(std::string value) { m_valueSource = std::move(value); }

    int Count() const { return int(m_values.size()); }
    // The value times the multiplier; EListError beyond the list.
    double Value(int index) const;
    double operator[](int index) const { return Value(index); }
    // The stored values, without the multiplier (contiguous, for fast loops).
    const std::vector<double>& RawValues() const { return m_values; }

    // True when no stored value is NaN.
    bool NaNFree() const { return m_statCount == Count(); }
    // True while the stored values stand in ascending order (whatever Order says).
    bool Ascending() const { return m_ascending; }

    double MaxValue() const { return m_maxValue; }
    double MinValue() const { return m_minValue; }
    double Total() const { return m_total; }
    double TotalABS() const { return m_totalAbs; }

    // The value being added, set by the series before an insertion.
    double TempValue() const { return m_tempValue; }
    void SetTempValue(double v) { m_tempValue = v; }

    // Inserts in the list's order and returns the index.
    int AddChartValue(double value);
    // Inserts at `index` whatever the order.
    void InsertChartValue(int index, double value);
    void Delete(int index);
    void Clear();
    void Reserve(int count) { m_values.reserve(size_t(count)); }
    // Recomputes the statistics from the values.
    void RecalcStats();

    TChartSeries* Owner() const { return m_owner; }
    frame::TPersistent* GetOwner() const override;
    void Assign(const frame::TPersistent* source) override;

private:
    void AddStats(double raw);

    TChartSeries* m_owner;
    std::string m_name;
    TChartListOrder m_order = loNone;
    double m_multiplier = 1.0;
    bool m_dateTime = false;
    std::string m_valueSource;
    std::vector<double> m_values;
    double m_maxValue = 0, m_minValue = 0, m_total = 0, m_totalAbs = 0;
    int m_statCount = 0; // values that entered the statistics (NaN do not)
    bool m_ascending = true;
    void NoteInsert(int index, double value);
    double m_tempValue = 0;
};

} // namespace chart
