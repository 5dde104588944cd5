#include "chart/TChartValueList.h"

#include <cmath>

#include "chart/TChartSeries.h"

namespace chart {

const frame::TClassInfo* TChartValueList::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TChartValueList>("TChartValueList", frame::TPersistent::StaticClass())
            .Property("DateTime", &TChartValueList::DateTime, &TChartValueList::SetDateTime,
                      frame::NoDefault())
            .Property("Name", &TChartValueList::Name, &TChartValueList::SetName)
            .Property("Multiplier", &TChartValueList::Multiplier, &TChartValueList::SetMultiplier)
            .Property("Order", &TChartValueList::Order, &TChartValueList::SetOrder,
                      frame::NoDefault())
            .Property("ValueSource", &TChartValueList::ValueSource,
                      &TChartValueList::SetValueSource)
            .Build();
    return info.get();
}

TChartValueList::TChartValueList(TChartSeries* owner, std::string name)
    : m_owner(owner), m_name(std::move(name)) {}

frame::TPersistent* TChartValueList::GetOwner() const {
    return m_owner;
}

void TChartValueList::SetMultiplier(double value) {
    if (value == m_multiplier)
        return;
    m_multiplier = value;
    RecalcStats();
    if (m_owner)
        m_owner->Repaint();
}

double TChartValueList::Value(int index) const {
    if (index < 0 || index >= Count())
        throw rtl::EListError(kMsgListIndex, index);
    return m_values[size_t(index)] * m_multiplier;
}

namespace {
// The list's order with NaN after every number (an ascending list) or before none (descending
// lists put it last too), so that NaN never stops a scan in the middle of the numbers.
bool GoesAfter(double v, double stored, TChartListOrder order) {
    if (std::isnan(v))
        return true;
    if (std::isnan(stored))
        return false;
    return order == loAscending ? v >= stored : v <= stored;
}
} // namespace

int TChartValueList::AddChartValue(double value) {
    int index = Count();
    if (m_order != loNone && !m_values.empty() && !GoesAfter(value, m_values.back(), m_order)) {
        int t = Count() - 1;
        while (t >= 0 && !GoesAfter(value, m_values[size_t(t)], m_order))
            --t;
        index = t + 1;
    }
    NoteInsert(index, value);
    if (index == Count())
        m_values.push_back(value);
    else
        m_values.insert(m_values.begin() + index, value);
    AddStats(value);
    return index;
}

void TChartValueList::InsertChartValue(int index, double value) {
    if (index < 0 || index > Count())
        throw rtl::EListError(kMsgListIndex, index);
    NoteInsert(index, value);
    if (index == Count())
        m_values.push_back(value);
    else
        m_values.insert(m_values.begin() + index, value);
    AddStats(value);
}

void TChartValueList::NoteInsert(int index, double value) {
    // Before the insertion: the new value must fit between its neighbours.
    if (!m_ascending)
        return;
    if (value != value || (index > 0 && !(m_values[size_t(index - 1)] <= value)) ||
        (index < Count() && !(value <= m_values[size_t(index)])))
        m_ascending = false;
}

void TChartValueList::AddStats(double raw) {
    double m = raw * m_multiplier;
    if (std::isnan(m))
        return;
    m_total += m;
    m_totalAbs += std::fabs(m);
    if (++m_statCount == 1) {
        m_minValue = m_maxValue = m;
    } else {
        if (m < m_minValue)
            m_minValue = m;
        if (m > m_maxValue)
            m_maxValue = m;
    }
}

void TChartValueList::Delete(int index) {
    if (index < 0 || index >= Count())
        throw rtl::EListError(kMsgListIndex, index);
    m_values.erase(m_values.begin() + index);
    RecalcStats();
}

void TChartValueList::Clear() {
    m_values.clear();
    m_ascending = true;
    m_maxValue = m_minValue = m_total = m_totalAbs = 0;
    m_statCount = 0;
}

void TChartValueList::RecalcStats() {
    m_maxValue = m_minValue = m_total = m_totalAbs = 0;
    m_statCount = 0;
    for (double v : m_values)
        AddStats(v);
}

void TChartValueList::Assign(const frame::TPersistent* source) {
    if (auto* s = dynamic_cast<const TChartValueList*>(source)) {
        m_order = s->m_order;
        m_dateTime = s->m_dateTime;
        m_valueSource = s->m_valueSource;
        SetMultiplier(s->m_multiplier);
        return;
    }
    frame::TPersistent::Assign(source);
}

} // namespace chart
