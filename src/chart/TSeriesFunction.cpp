#include "chart/TSeriesFunction.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "chart/TChartSeries.h"

namespace chart {

const frame::TClassInfo* TSeriesFunction::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TSeriesFunction>("TSeriesFunction", frame::TComponent::StaticClass())
            .Property("Period", &TSeriesFunction::Period, &TSeriesFunction::SetPeriod,
                      frame::Default(0))
            .Build();
    return info.get();
}

#define CHART_FUNCTION_INFO(Name)                                                                  \
    const frame::TClassInfo* Name::StaticClass() {                                                 \
        static const auto info =                                                                   \
            frame::TClassBuilder<Name>(#Name, TSeriesFunction::StaticClass()).Build();             \
        return info.get();                                                                         \
    }
CHART_FUNCTION_INFO(TAddFunction)
CHART_FUNCTION_INFO(TSubtractFunction)
CHART_FUNCTION_INFO(TMultiplyFunction)
CHART_FUNCTION_INFO(TDivideFunction)
CHART_FUNCTION_INFO(THighFunction)
CHART_FUNCTION_INFO(TLowFunction)
CHART_FUNCTION_INFO(TAverageFunction)
#undef CHART_FUNCTION_INFO

TSeriesFunction::TSeriesFunction(frame::TComponent* owner) : frame::TComponent(owner) {}

TSeriesFunction::~TSeriesFunction() {
    // Whoever frees the function first (its series or its owner), the series forgets it.
    if (m_parentSeries && m_parentSeries->m_function == this)
        m_parentSeries->m_function = nullptr;
    m_parentSeries = nullptr;
}

void TSeriesFunction::SetPeriod(int32_t value) {
    if (value < 0)
        throw rtl::ChartException(kMsgFunctionPeriod);
    if (value == m_period)
        return;
    m_period = value;
    // The parent would re-read its data source here; a series takes its points from another
    // series only through Assign, so there is nothing to recompute.
}

void TSeriesFunction::SetParentSeries(TChartSeries* series) {
    if (series == m_parentSeries)
        return;
    if (m_parentSeries && m_parentSeries->m_function == this)
        m_parentSeries->m_function = nullptr;
    m_parentSeries = series;
    if (!series)
        return;
    if (TSeriesFunction* old = std::exchange(series->m_function, this); old && old != this) {
        old->m_parentSeries = nullptr;
        delete old;
    }
}

frame::TComponent* TSeriesFunction::GetParentComponent() const {
    return m_parentSeries;
}

void TSeriesFunction::SetParentComponent(frame::TComponent* parent) {
    if (auto* series = frame::As<TChartSeries>(parent))
        SetParentSeries(series);
}

double TSeriesFunction::Calculate(TChartSeries*, int, int) {
    return 0;
}

double TSeriesFunction::CalculateMany(const std::vector<TChartSeries*>&, int) {
    return 0;
}

const std::vector<double>* TSeriesFunction::SourceValues(TChartSeries* source, double& multiplier) {
    if (!source)
        return nullptr;
    multiplier = source->YValues()->Multiplier();
    return &source->YValues()->RawValues();
}

std::vector<double> TSeriesFunction::ValuesAt(const std::vector<TChartSeries*>& sources,
                                              int index) {
    std::vector<double> values;
    for (TChartSeries* s : sources)
        if (s && index >= 0 && index < s->YValues()->Count())
            values.push_back(s->YValues()->Value(index));
    return values;
}

void TSeriesFunction::AddResult(TChartSeries* source, double x, double y) {
    // When the source's X list is its mandatory one the roles of x and y swap.
    if (source->XValues() == source->ValuesLists()[1])
        std::swap(x, y);
    m_parentSeries->AddXY(x, y, "", clAutoColor);
}

void TSeriesFunction::AddPoints(TChartSeries* source) {
    if (!source || !m_parentSeries)
        return;
    TChartValueList* xs = source->XValues();
    const auto& dataSources = m_parentSeries->DataSources();
    if (dataSources.size() > 1) {
        std::vector<TChartSeries*> sources;
        for (frame::TComponent* c : dataSources)
            if (auto* s = frame::As<TChartSeries>(c))
                sources.push_back(s);
        for (int i = 0; i < source->Count(); ++i)
            m_parentSeries->AddXY(xs->Value(i), CalculateMany(sources, i), source->XLabel(i),
                                  clAutoColor);
        return;
    }
    int count = source->Count();
    if (count == 0)
        return;
    m_parentSeries->Reserve(m_parentSeries->Count() + count);
    if (m_moving) {
        for (int t = m_period; t < count; ++t)
            AddResult(source, xs->Value(t), Calculate(source, t - m_period, t));
    } else if (m_period > 0) {
        for (int b = 0; b < count; b += m_period) {
            int64_t c = int64_t(b) + m_period;
            if (c - 1 >= count)
                break; // a last, partial block is dropped
            double x0 = xs->Value(b), x1 = xs->Value(int(c - 1));
            AddResult(source, x0 + (x1 - x0) / 2, Calculate(source, b, int(c - 1)));
        }
    } else {
        double y = Calculate(source, -1, -1);
        // Line series get a horizontal line across the source's range.
        AddResult(source, xs->MinValue(), y);
        AddResult(source, xs->MaxValue(), y);
    }
}

namespace {
// The Y values first … last with the multiplier, clamped to the list; empty for an empty range.
template <typename F> void ForRange(TChartSeries* source, int first, int last, F f) {
    TChartValueList* ys = source->YValues();
    int n = ys->Count();
    if (first < 0) {
        first = 0;
        last = n - 1;
    }
    last = std::min(last, n - 1);
    const auto& raw = ys->RawValues();
    double m = ys->Multiplier();
    for (int i = first; i <= last; ++i)
        f(raw[size_t(i)] * m);
}
int RangeCount(TChartSeries* source, int first, int last) {
    int n = source->YValues()->Count();
    if (first < 0)
        return n;
    return std::max(0, std::min(last, n - 1) - first + 1);
}
} // namespace

double TAddFunction::Calculate(TChartSeries* source, int first, int last) {
    if (!source)
        return 0;
    if (first < 0)
        return source->YValues()->Total();
    double sum = 0;
    ForRange(source, first, last, [&](double v) { sum += v; });
    return sum;
}

double TAddFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int index) {
    double sum = 0;
    for (double v : ValuesAt(sources, index))
        sum += v;
    return sum;
}

double TSubtractFunction::Calculate(TChartSeries*, int, int) {
    return 0;
}

double TSubtractFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int index) {
    std::vector<double> v = ValuesAt(sources, index);
    if (v.empty())
        return 0;
    double r = v[0];
    for (size_t i = 1; i < v.size(); ++i)
        r -= v[i];
    return r;
}

double TMultiplyFunction::Calculate(TChartSeries*, int, int) {
    return 0;
}

double TMultiplyFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int index) {
    std::vector<double> v = ValuesAt(sources, index);
    if (v.empty())
        return 0;
    double r = 1;
    for (double x : v)
        r *= x;
    return r;
}

double TDivideFunction::Calculate(TChartSeries*, int, int) {
    return 0;
}

double TDivideFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int index) {
    // Sources without a point at the index are skipped, as are zero divisors.
    std::vector<double> v = ValuesAt(sources, index);
    if (v.empty())
        return 0;
    double r = v[0];
    for (size_t i = 1; i < v.size(); ++i)
        if (v[i] != 0)
            r /= v[i];
    return r;
}

double THighFunction::Calculate(TChartSeries* source, int first, int last) {
    if (!source || RangeCount(source, first, last) == 0)
        return 0;
    if (first < 0)
        return source->YValues()->MaxValue();
    double r = -std::numeric_limits<double>::infinity();
    bool any = false;
    ForRange(source, first, last, [&](double v) {
        if (v > r) {
            r = v;
            any = true;
        }
    });
    return any ? r : 0;
}

double THighFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int index) {
    std::vector<double> v = ValuesAt(sources, index);
    double r = 0;
    bool any = false;
    for (double x : v)
        if (!std::isnan(x) && (!any || x > r)) {
            r = x;
            any = true;
        }
    return r;
}

double TLowFunction::Calculate(TChartSeries* source, int first, int last) {
    if (!source || RangeCount(source, first, last) == 0)
        return 0;
    if (first < 0)
        return source->YValues()->MinValue();
    double r = std::numeric_limits<double>::infinity();
    bool any = false;
    ForRange(source, first, last, [&](double v) {
        if (v < r) {
            r = v;
            any = true;
        }
    });
    return any ? r : 0;
}

double TLowFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int index) {
    std::vector<double> v = ValuesAt(sources, index);
    double r = 0;
    bool any = false;
    for (double x : v)
        if (!std::isnan(x) && (!any || x < r)) {
            r = x;
            any = true;
        }
    return r;
}

double TAverageFunction::Calculate(TChartSeries* source, int first, int last) {
    if (!source)
        return 0;
    int n = RangeCount(source, first, last);
    if (n == 0)
        return 0;
    if (first < 0)
        return source->YValues()->Total() / n;
    double sum = 0;
    ForRange(source, first, last, [&](double v) { sum += v; });
    return sum / n;
}

double TAverageFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int index) {
    std::vector<double> v = ValuesAt(sources, index);
    if (v.empty())
        return 0;
    double sum = 0;
    for (double x : v)
        sum += x;
    return sum / double(v.size());
}

} // namespace chart
