#include "chart/TChartSeries.h"

#include <algorithm>

#include "chart/TCustomAxisPanel.h"
#include "chart/TSeriesFunction.h"
#include "rtl/ScopeExit.h"

namespace chart {

using frame::Default;

const frame::TClassInfo* TChartSeries::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TChartSeries>("TChartSeries", frame::TComponent::StaticClass())
            .Property("Active", &TChartSeries::Active, &TChartSeries::SetActive, Default(1))
            .Property("ColorEachPoint", &TChartSeries::ColorEachPoint,
                      &TChartSeries::SetColorEachPoint, Default(0))
            .Property("ColorSource", &TChartSeries::ColorSource, &TChartSeries::SetColorSource)
            .Property("Cursor", frame::CursorType(), &TChartSeries::Cursor,
                      &TChartSeries::SetCursor, Default(0))
            .Property("DataSource", &TChartSeries::DataSource, &TChartSeries::SetDataSource)
            .Property("HorizAxis", &TChartSeries::HorizAxis, &TChartSeries::SetHorizAxis,
                      Default(aBottomAxis))
            .Property("Marks", &TChartSeries::Marks, &TChartSeries::SetMarks)
            .Property("PercentFormat", &TChartSeries::PercentFormat,
                      &TChartSeries::SetPercentFormat)
            .Property("SeriesColor", frame::ColorType(), &TChartSeries::SeriesColor,
                      &TChartSeries::SetSeriesColor, Default(clAutoColor))
            .Property("ShowInLegend", &TChartSeries::ShowInLegend, &TChartSeries::SetShowInLegend,
                      Default(1))
            .Property("Title", &TChartSeries::Title, &TChartSeries::SetTitle)
            .Property("ValueFormat", &TChartSeries::ValueFormat, &TChartSeries::SetValueFormat)
            .Property("VertAxis", &TChartSeries::VertAxis, &TChartSeries::SetVertAxis,
                      Default(aLeftAxis))
            .Property("XLabelsSource", &TChartSeries::XLabelsSource,
                      &TChartSeries::SetXLabelsSource)
            .Property("XValues", &TChartSeries::XValues, &TChartSeries::SetXValues)
            .Property("YValues", &TChartSeries::YValues, &TChartSeries::SetYValues)
            .Build();
    return info.get();
}

TChartSeries::TChartSeries(frame::TComponent* owner)
    : frame::TComponent(owner), m_xValues(std::make_unique<TChartValueList>(this, kXValuesName)),
      m_yValues(std::make_unique<TChartValueList>(this, kYValuesName)),
      m_marks(std::make_unique<TSeriesMarks>()) {
    m_xValues->SetOrder(loAscending);
    m_valuesLists = {m_xValues.get(), m_yValues.get()};
    m_marks->OnChange = frame::TNotifyEvent::Of<&TChartSeries::PartChanged>(this);
}

TChartSeries::~TChartSeries() {
    SetStateFlag(frame::csDestroying, true);
    if (m_parentChart)
        m_parentChart->RemoveSeries(this);
    if (TSeriesFunction* f = std::exchange(m_function, nullptr)) {
        f->m_parentSeries = nullptr;
        delete f; // leaves its owner's list on the way
    }
    for (frame::TComponent* source : m_dataSources)
        RemoveFreeNotification(source);
}

TColor TChartSeries::ValueColor(int index) const {
    if (index < 0 || size_t(index) >= m_colors.size())
        return m_seriesColor;
    TColor c = m_colors[size_t(index)];
    if (c != clAutoColor)
        return c;
    return m_colorEachPoint ? ChartPaletteColor(index) : m_seriesColor;
}

std::string TChartSeries::XLabel(int index) const {
    if (index < 0 || size_t(index) >= m_labels.size())
        return {};
    return m_labels[size_t(index)];
}

int TChartSeries::AddXY(double x, double y, const std::string& label, TColor color) {
    m_xValues->SetTempValue(x);
    m_yValues->SetTempValue(y);
    if (OnBeforeAdd) {
        bool accept = true;
        OnBeforeAdd(this, accept);
        if (!accept)
            return -1;
    }
    int index = m_xValues->AddChartValue(x);
    m_yValues->InsertChartValue(index, y);
    for (size_t i = 2; i < m_valuesLists.size(); ++i)
        m_valuesLists[i]->InsertChartValue(index, m_valuesLists[i]->TempValue());
    TColor stored = color == clDefault ? clAutoColor : color;
    if (size_t(index) == m_colors.size())
        m_colors.push_back(stored);
    else
        m_colors.insert(m_colors.begin() + index, stored);
    if (!label.empty() || !m_labels.empty()) {
        // Labels are kept only once a point has one.
        m_labels.resize(size_t(Count() - 1));
        m_labels.insert(m_labels.begin() + index, label);
    }
    AddedValue(index);
    return index;
}

void TChartSeries::AddedValue(int index) {
    OnAfterAdd(this, index);
    if (m_active)
        Repaint();
}

void TChartSeries::Delete(int index) {
    for (TChartValueList* list : m_valuesLists)
        list->Delete(index);
    if (size_t(index) < m_colors.size())
        m_colors.erase(m_colors.begin() + index);
    if (size_t(index) < m_labels.size())
        m_labels.erase(m_labels.begin() + index);
    Repaint();
}

void TChartSeries::Clear() {
    for (TChartValueList* list : m_valuesLists)
        list->Clear();
    m_colors.clear();
    m_labels.clear();
    OnClearValues(this);
    if (m_parentChart && !m_parentChart->HasState(frame::csDestroying))
        Repaint();
}

void TChartSeries::Reserve(int count) {
    for (TChartValueList* list : m_valuesLists)
        list->Reserve(count);
    m_colors.reserve(size_t(count));
}

void TChartSeries::Repaint() {
    if (m_parentChart)
        m_parentChart->Invalidate();
}

void TChartSeries::SetDataSource(frame::TComponent* v) {
    for (frame::TComponent* source : m_dataSources)
        RemoveFreeNotification(source);
    m_dataSources.clear();
    if (v && v != this) {
        m_dataSources.push_back(v);
        FreeNotification(v);
    }
}

void TChartSeries::Notification(frame::TComponent* component, frame::TOperation operation) {
    frame::TComponent::Notification(component, operation);
    if (operation == frame::opRemove && component != this)
        std::erase(m_dataSources, component);
}

void TChartSeries::SetFunction(TSeriesFunction* function) {
    if (function)
        function->SetParentSeries(this);
    else if (m_function)
        m_function->SetParentSeries(nullptr);
}

void TChartSeries::Assign(const frame::TPersistent* source) {
    auto* src = dynamic_cast<const TChartSeries*>(source);
    if (!src) {
        frame::TComponent::Assign(source);
        return;
    }
    if (src == this)
        return;
    auto* s = const_cast<TChartSeries*>(src);
    SetTag(s->Tag());
    SetDataSource(nullptr);
    for (size_t i = 0; i < m_valuesLists.size() && i < s->m_valuesLists.size(); ++i)
        m_valuesLists[i]->Assign(s->m_valuesLists[i]);
    m_xLabelsSource = s->m_xLabelsSource;
    m_colorSource = s->m_colorSource;
    // The function moves over when this series has none; the source is left without one.
    if (s->m_function && !m_function)
        s->m_function->SetParentSeries(this);
    if (!s->m_dataSources.empty()) {
        for (frame::TComponent* d : s->m_dataSources)
            if (d != this) {
                m_dataSources.push_back(d);
                FreeNotification(d);
            }
    } else {
        m_colors = s->m_colors;
        m_labels = s->m_labels;
        AssignValues(s);
    }
    m_marks->Assign(s->m_marks.get());
    m_seriesColor = s->m_seriesColor;
    m_colorEachPoint = s->m_colorEachPoint;
    m_title = s->m_title;
    m_valueFormat = s->m_valueFormat;
    m_percentFormat = s->m_percentFormat;
    m_active = s->m_active;
    m_horizAxis = s->m_horizAxis;
    m_vertAxis = s->m_vertAxis;
    m_cursor = s->m_cursor;
    m_showInLegend = s->m_showInLegend;
    m_calcVisiblePoints = s->m_calcVisiblePoints;
    Repaint();
}

void TChartSeries::AssignValues(TChartSeries* source) {
    if (!source || source == this)
        return;
    Clear();
    if (m_function) {
        m_xValues->SetDateTime(source->m_xValues->DateTime());
        m_yValues->SetDateTime(source->m_yValues->DateTime());
        m_function->AddPoints(source);
        return;
    }
    int n = source->Count();
    Reserve(n);
    const auto& xs = source->m_xValues->RawValues();
    const auto& ys = source->m_yValues->RawValues();
    for (int i = 0; i < n; ++i) {
        int index = m_xValues->AddChartValue(xs[size_t(i)]);
        m_yValues->InsertChartValue(index, ys[size_t(i)]);
        for (size_t l = 2; l < m_valuesLists.size(); ++l) {
            double v = l < source->m_valuesLists.size() && i < source->m_valuesLists[l]->Count()
                           ? source->m_valuesLists[l]->RawValues()[size_t(i)]
                           : 0.0;
            m_valuesLists[l]->InsertChartValue(index, v);
        }
        TColor c = size_t(i) < source->m_colors.size() ? source->m_colors[size_t(i)] : clAutoColor;
        m_colors.insert(m_colors.begin() + index, c);
        if (source->HasLabels() || !m_labels.empty()) {
            m_labels.resize(size_t(Count() - 1));
            m_labels.insert(m_labels.begin() + index, source->XLabel(i));
        }
        AddedValue(index);
    }
}

#define SERIES_SETTER(Name, Type, Member)                                                          \
    void TChartSeries::Set##Name(Type v) {                                                         \
        if (v == Member)                                                                           \
            return;                                                                                \
        Member = v;                                                                                \
        Repaint();                                                                                 \
    }
SERIES_SETTER(SeriesColor, TColor, m_seriesColor)
SERIES_SETTER(ColorEachPoint, bool, m_colorEachPoint)
SERIES_SETTER(HorizAxis, THorizAxis, m_horizAxis)
SERIES_SETTER(VertAxis, TVertAxis, m_vertAxis)
SERIES_SETTER(Title, std::string, m_title)
SERIES_SETTER(ShowInLegend, bool, m_showInLegend)
SERIES_SETTER(ValueFormat, std::string, m_valueFormat)
SERIES_SETTER(PercentFormat, std::string, m_percentFormat)
#undef SERIES_SETTER

void TChartSeries::SetActive(bool v) {
    if (v == m_active)
        return;
    m_active = v;
    if (m_parentChart)
        m_parentChart->Invalidate();
}

void TChartSeries::SetParentChart(TCustomAxisPanel* chart) {
    if (chart == m_parentChart)
        return;
    if (m_parentChart)
        m_parentChart->RemoveSeries(this);
    if (chart)
        chart->AddSeries(this);
}

TChartAxis* TChartSeries::GetHorizAxis() const {
    if (!m_parentChart)
        return nullptr;
    return m_horizAxis == aTopAxis ? m_parentChart->TopAxis() : m_parentChart->BottomAxis();
}

TChartAxis* TChartSeries::GetVertAxis() const {
    if (!m_parentChart)
        return nullptr;
    return m_vertAxis == aRightAxis ? m_parentChart->RightAxis() : m_parentChart->LeftAxis();
}

frame::TComponent* TChartSeries::GetParentComponent() const {
    return m_parentChart;
}

void TChartSeries::SetParentComponent(frame::TComponent* parent) {
    SetParentChart(frame::As<TCustomAxisPanel>(parent));
}

void TChartSeries::GetChildren(const std::function<void(frame::TComponent*)>& proc,
                               frame::TComponent* root) {
    if (m_function && m_function->Owner() == root)
        proc(m_function);
}

bool TChartSeries::ChartPrinting() const {
    // A metafile is a recording, not a print: its pens are drawn as they are.
    return m_parentChart && m_parentChart->Printing();
}

void TChartSeries::CalcFirstLastVisibleIndex() {
    m_firstValueIndex = m_lastValueIndex = -1;
    int n = Count();
    if (n == 0)
        return;
    TChartAxis* axis = GetHorizAxis();
    if (!m_calcVisiblePoints || m_xValues->Order() != loAscending || !axis || !m_parentChart) {
        m_firstValueIndex = 0;
        m_lastValueIndex = n - 1;
        return;
    }
    TRect r = m_parentChart->ChartRect();
    double xl = axis->CalcPosPoint(r.left), xr = axis->CalcPosPoint(r.right);
    if (axis->Inverted())
        std::swap(xl, xr);
    const std::vector<double>& xs = m_xValues->RawValues();
    double m = m_xValues->Multiplier();
    // The first index whose value reaches `limit`, from `from` on (the list is ascending; NaN
    // values sit at its end and count as reaching nothing).
    auto firstReaching = [&](int from, double limit) {
        auto it = std::partition_point(xs.begin() + from, xs.end(),
                                       [&](double v) { return !(v * m >= limit) && v == v; });
        while (it != xs.end() && !(*it * m >= limit))
            ++it;
        return int(it - xs.begin());
    };
    int first = firstReaching(0, xl);
    if (first >= n)
        return;
    m_firstValueIndex = first;
    double lastX = xs[size_t(n - 1)] * m;
    if (lastX > xr) {
        int last = firstReaching(first, xr);
        if (last >= n)
            last = n - 1;
        else if (!m_drawBetweenPoints)
            last -= 1;
        m_lastValueIndex = last;
    } else {
        m_lastValueIndex = n - 1;
    }
}

void TChartSeries::DrawSeries() {
    if (!m_parentChart)
        return;
    CalcFirstLastVisibleIndex();
    if (m_firstValueIndex < 0 || m_lastValueIndex < m_firstValueIndex)
        return;
    BeforeDrawValues(this);
    TChartCanvas3D* surface = m_parentChart->Canvas3D();
    bool clip = m_parentChart->ClipPoints();
    TRect r = m_parentChart->ChartRect();
    {
        if (clip)
            surface->ClipRectangle(TRect{r.left + 1, r.top + 1, r.right, r.bottom - 1});
        // The clip goes on every path, before the after-draw notification.
        rtl::ScopeExit unclip([surface, clip] {
            if (clip)
                surface->UnClipRectangle();
        });
        DrawAllValues();
    }
    AfterDrawValues(this);
}

void TChartSeries::DrawAllValues() {
    for (int i = m_firstValueIndex; i <= m_lastValueIndex; ++i)
        DrawValue(i);
}

} // namespace chart
