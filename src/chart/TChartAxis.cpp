#include "chart/TChartAxis.h"

#include <algorithm>
#include <cmath>

#include "chart/ChartMath.h"
#include "chart/TChartSeries.h"
#include "chart/TCustomAxisPanel.h"
#include "rtl/DateText.h"
#include "rtl/FormatSettings.h"
#include "rtl/NumberText.h"

namespace chart {

using frame::Default;

// --- axis title ---

const frame::TClassInfo* TChartAxisTitle::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TChartAxisTitle>("TChartAxisTitle", TChartFontObject::StaticClass())
            .Property("Angle", &TChartAxisTitle::Angle, &TChartAxisTitle::SetAngle,
                      frame::NoDefault())
            .Property("Caption", &TChartAxisTitle::Caption, &TChartAxisTitle::SetCaption)
            .Build();
    return info.get();
}

void TChartAxisTitle::SetCaption(std::string v) {
    if (v != m_caption) {
        m_caption = std::move(v);
        OnChange(this);
    }
}

void TChartAxisTitle::SetAngle(int32_t v) {
    if (v != m_angle) {
        m_angle = v;
        OnChange(this);
    }
}

void TChartAxisTitle::Assign(const frame::TPersistent* source) {
    if (auto* t = dynamic_cast<const TChartAxisTitle*>(source)) {
        m_caption = t->m_caption;
        m_angle = t->m_angle;
    }
    TChartFontObject::Assign(source);
    OnChange(this);
}

// --- axis ---

const frame::TClassInfo* TChartAxis::StaticClass() {
    using A = TChartAxis;
    static const auto info =
        frame::TClassBuilder<A>("TChartAxis", frame::TPersistent::StaticClass())
            .Property("Automatic", &A::Automatic, &A::SetAutomatic, Default(1))
            .Property("AutomaticMaximum", &A::AutomaticMaximum, &A::SetAutomaticMaximum, Default(1))
            .Property("AutomaticMinimum", &A::AutomaticMinimum, &A::SetAutomaticMinimum, Default(1))
            .Property("Axis", &A::Axis, &A::SetAxis)
            .Property("AxisValuesFormat", &A::AxisValuesFormat, &A::SetAxisValuesFormat)
            .Property("DateTimeFormat", &A::DateTimeFormat, &A::SetDateTimeFormat)
            .Property("ExactDateTime", &A::ExactDateTime, &A::SetExactDateTime, Default(1))
            .Property("Grid", &A::Grid, &A::SetGrid)
            .Property("GridCentered", &A::GridCentered, &A::SetGridCentered, Default(0))
            .Property("Increment", &A::Increment, &A::SetIncrement)
            .Property("Inverted", &A::Inverted, &A::SetInverted, Default(0))
            .Property("Labels", &A::Labels, &A::SetLabels, Default(1))
            .Property("LabelsAngle", &A::LabelsAngle, &A::SetLabelsAngle, Default(0))
            .Property("LabelsFont", &A::LabelsFont, &A::SetLabelsFont)
            .Property("LabelsMultiLine", &A::LabelsMultiLine, &A::SetLabelsMultiLine, Default(0))
            .Property("LabelsOnAxis", &A::LabelsOnAxis, &A::SetLabelsOnAxis, Default(1))
            .Property("LabelsSeparation", &A::LabelsSeparation, &A::SetLabelsSeparation,
                      Default(10))
            .Property("LabelsSize", &A::LabelsSize, &A::SetLabelsSize, Default(0))
            .Property("LabelStyle", &A::LabelStyle, &A::SetLabelStyle, Default(talAuto))
            .Property("Logarithmic", &A::Logarithmic, &A::SetLogarithmic, Default(0))
            .Property("Maximum", &A::Maximum, &A::SetMaximum)
            .Property("Minimum", &A::Minimum, &A::SetMinimum)
            .Property("MinorTickCount", &A::MinorTickCount, &A::SetMinorTickCount, Default(3))
            .Property("MinorTickLength", &A::MinorTickLength, &A::SetMinorTickLength, Default(2))
            .Property("MinorTicks", &A::MinorTicks, &A::SetMinorTicks)
            .Property("RoundFirstLabel", &A::RoundFirstLabel, &A::SetRoundFirstLabel, Default(1))
            .Property("TickInnerLength", &A::TickInnerLength, &A::SetTickInnerLength, Default(0))
            .Property("TickLength", &A::TickLength, &A::SetTickLength, Default(4))
            .Property("TickOnLabelsOnly", &A::TickOnLabelsOnly, &A::SetTickOnLabelsOnly, Default(1))
            .Property("Ticks", &A::Ticks, &A::SetTicks)
            .Property("TicksInner", &A::TicksInner, &A::SetTicksInner)
            .Property("Title", &A::Title, &A::SetTitle)
            .Property("TitleSize", &A::TitleSize, &A::SetTitleSize, Default(0))
            .Property("Visible", &A::Visible, &A::SetVisible, Default(1))
            .Build();
    return info.get();
}

TChartAxis::TChartAxis(TCustomAxisPanel* chart, TKind kind)
    : m_chart(chart), m_kind(kind), m_axisPen(std::make_unique<TChartAxisPen>()),
      m_grid(std::make_unique<TDottedGrayPen>()), m_ticks(std::make_unique<TDarkGrayPen>()),
      m_ticksInner(std::make_unique<TDarkGrayPen>()),
      m_minorTicks(std::make_unique<TDarkGrayPen>()),
      m_labelsFont(std::make_unique<frame::TFont>()), m_title(std::make_unique<TChartAxisTitle>()) {
    SetDefaultChartFont(*m_labelsFont);
    if (kind == akLeft)
        m_title->SetAngle(90);
    else if (kind == akRight)
        m_title->SetAngle(270);
    else if (kind == akDepth)
        m_visible = false;
    auto changed = frame::TNotifyEvent::Of<&TChartAxis::PartChanged>(this);
    m_axisPen->OnChange = changed;
    m_grid->OnChange = changed;
    m_ticks->OnChange = changed;
    m_ticksInner->OnChange = changed;
    m_minorTicks->OnChange = changed;
    m_labelsFont->OnChange = changed;
    m_title->OnChange = changed;
}

TChartAxis::~TChartAxis() = default;

frame::TPersistent* TChartAxis::GetOwner() const {
    return m_chart;
}

void TChartAxis::Changed() {
    if (m_chart)
        m_chart->Invalidate();
}

bool TChartAxis::Loading() const {
    return m_chart && m_chart->HasState(frame::csLoading);
}

// --- setters ---

#define AXIS_SETTER(Name, Type, Member)                                                            \
    void TChartAxis::Set##Name(Type v) {                                                           \
        if (v == Member)                                                                           \
            return;                                                                                \
        Member = std::move(v);                                                                     \
        Changed();                                                                                 \
    }
AXIS_SETTER(GridCentered, bool, m_gridCentered)
AXIS_SETTER(TickLength, int32_t, m_tickLength)
AXIS_SETTER(TickInnerLength, int32_t, m_tickInnerLength)
AXIS_SETTER(MinorTickLength, int32_t, m_minorTickLength)
AXIS_SETTER(MinorTickCount, int32_t, m_minorTickCount)
AXIS_SETTER(TickOnLabelsOnly, bool, m_tickOnLabelsOnly)
AXIS_SETTER(Labels, bool, m_labels)
AXIS_SETTER(LabelsAngle, int32_t, m_labelsAngle)
AXIS_SETTER(LabelsSize, int32_t, m_labelsSize)
AXIS_SETTER(LabelsOnAxis, bool, m_labelsOnAxis)
AXIS_SETTER(LabelsMultiLine, bool, m_labelsMultiLine)
AXIS_SETTER(LabelStyle, TAxisLabelStyle, m_labelStyle)
AXIS_SETTER(AxisValuesFormat, std::string, m_axisValuesFormat)
AXIS_SETTER(DateTimeFormat, std::string, m_dateTimeFormat)
AXIS_SETTER(ExactDateTime, bool, m_exactDateTime)
AXIS_SETTER(RoundFirstLabel, bool, m_roundFirstLabel)
AXIS_SETTER(Inverted, bool, m_inverted)
AXIS_SETTER(TitleSize, int32_t, m_titleSize)
AXIS_SETTER(Visible, bool, m_visible)
#undef AXIS_SETTER

void TChartAxis::SetAutomatic(bool v) {
    bool changed = v != m_automatic;
    m_automatic = v;
    // While the chart is read the two limits keep their own streamed values.
    if (!Loading()) {
        changed = changed || m_automaticMinimum != v || m_automaticMaximum != v;
        m_automaticMinimum = v;
        m_automaticMaximum = v;
    }
    if (changed)
        Changed();
}

void TChartAxis::SetAutomaticMaximum(bool v) {
    if (v == m_automaticMaximum)
        return;
    m_automaticMaximum = v;
    if (!v)
        m_automatic = false;
    Changed();
}

void TChartAxis::SetAutomaticMinimum(bool v) {
    if (v == m_automaticMinimum)
        return;
    m_automaticMinimum = v;
    if (!v)
        m_automatic = false;
    Changed();
}

void TChartAxis::SetMaximum(double v) {
    if (!Loading() && v < m_minimum)
        throw rtl::AxisException(kMsgAxisMaximum);
    if (v == m_maximum)
        return;
    m_maximum = v;
    Changed();
}

void TChartAxis::SetMinimum(double v) {
    if (!Loading() && v > m_maximum)
        throw rtl::AxisException(kMsgAxisMinimum);
    if (v == m_minimum)
        return;
    m_minimum = v;
    Changed();
}

void TChartAxis::SetMinMax(double minimum, double maximum) {
    if (minimum > maximum)
        throw rtl::AxisException(kMsgAxisMinimum);
    if (minimum == m_minimum && maximum == m_maximum)
        return;
    m_minimum = minimum;
    m_maximum = maximum;
    Changed();
}

void TChartAxis::SetIncrement(double v) {
    if (v < 0)
        throw rtl::AxisException(kMsgAxisIncrement);
    if (v == m_increment)
        return;
    m_increment = v;
    Changed();
}

void TChartAxis::SetLabelsSeparation(int32_t v) {
    if (v < 0)
        throw rtl::AxisException(kMsgLabelsSeparation);
    if (v == m_labelsSeparation)
        return;
    m_labelsSeparation = v;
    Changed();
}

void TChartAxis::SetLogarithmic(bool v) {
    if (v && !Loading()) {
        RefreshIsDateTime();
        if (m_isDateTime)
            throw rtl::AxisException(kMsgAxisLogDateTime);
        if (m_iMinimum < 0 || m_iMaximum < 0)
            throw rtl::AxisException(kMsgAxisLogNegative);
    }
    if (v == m_logarithmic)
        return;
    m_logarithmic = v;
    Changed();
}

void TChartAxis::Assign(const frame::TPersistent* source) {
    auto* a = dynamic_cast<const TChartAxis*>(source);
    if (!a) {
        frame::TPersistent::Assign(source);
        return;
    }
    m_automatic = a->m_automatic;
    m_automaticMaximum = a->m_automaticMaximum;
    m_automaticMinimum = a->m_automaticMinimum;
    m_maximum = a->m_maximum;
    m_minimum = a->m_minimum;
    m_increment = a->m_increment;
    m_axisPen->Assign(a->m_axisPen.get());
    m_grid->Assign(a->m_grid.get());
    m_gridCentered = a->m_gridCentered;
    m_ticks->Assign(a->m_ticks.get());
    m_ticksInner->Assign(a->m_ticksInner.get());
    m_minorTicks->Assign(a->m_minorTicks.get());
    m_tickLength = a->m_tickLength;
    m_tickInnerLength = a->m_tickInnerLength;
    m_minorTickLength = a->m_minorTickLength;
    m_minorTickCount = a->m_minorTickCount;
    m_tickOnLabelsOnly = a->m_tickOnLabelsOnly;
    m_labels = a->m_labels;
    m_labelsFont->Assign(a->m_labelsFont.get());
    m_labelsAngle = a->m_labelsAngle;
    m_labelsSeparation = a->m_labelsSeparation;
    m_labelsSize = a->m_labelsSize;
    m_labelsOnAxis = a->m_labelsOnAxis;
    m_labelsMultiLine = a->m_labelsMultiLine;
    m_labelStyle = a->m_labelStyle;
    m_axisValuesFormat = a->m_axisValuesFormat;
    m_dateTimeFormat = a->m_dateTimeFormat;
    m_exactDateTime = a->m_exactDateTime;
    m_roundFirstLabel = a->m_roundFirstLabel;
    m_logarithmic = a->m_logarithmic;
    m_inverted = a->m_inverted;
    m_title->Assign(a->m_title.get());
    m_titleSize = a->m_titleSize;
    m_visible = a->m_visible;
    Changed();
}

// --- range and positions ---

bool TChartAxis::IsActive() const {
    return m_chart && m_chart->AxisVisible() && m_visible && m_chart->AxisHasActiveSeries(this);
}

void TChartAxis::RefreshIsDateTime() {
    m_isDateTime = false;
    if (!m_chart)
        return;
    for (TChartSeries* s : m_chart->SeriesList()) {
        if (!s->Active())
            continue;
        if (Horizontal() && s->GetHorizAxis() == this && s->XValues()->DateTime())
            m_isDateTime = true;
        if (!Horizontal() && !IsDepthAxis() && s->GetVertAxis() == this && s->YValues()->DateTime())
            m_isDateTime = true;
    }
}

void TChartAxis::AdjustMaxMin() {
    bool autoMax = m_automatic || m_automaticMaximum;
    bool autoMin = m_automatic || m_automaticMinimum;
    if ((autoMax || autoMin) && m_chart) {
        bool any = false;
        double lo = 0, hi = 0;
        for (TChartSeries* s : m_chart->SeriesList()) {
            if (!m_chart->IsAxisSeries(s, this))
                continue;
            TChartValueList* list = Horizontal() ? s->XValues() : s->YValues();
            if (!any) {
                lo = list->MinValue();
                hi = list->MaxValue();
                any = true;
            } else {
                lo = std::min(lo, list->MinValue());
                hi = std::max(hi, list->MaxValue());
            }
        }
        if (autoMax)
            m_maximum = any ? hi : 0;
        if (autoMin)
            m_minimum = any ? lo : 0;
    }
    m_iMaximum = m_maximum;
    m_iMinimum = m_minimum;
    m_iRange = m_iMaximum - m_iMinimum;
}

void TChartAxis::AdjustMaxMinRect(int lowMargin, int highMargin) {
    if ((lowMargin == 0 && highMargin == 0) || !m_chart)
        return;
    TRect r = m_chart->ChartRect();
    long double lo, hi;
    if (Horizontal()) {
        long double w = (long double)r.Width() - lowMargin - highMargin;
        if (w < 1)
            return;
        long double left = (long double)r.left + lowMargin;
        lo = m_iMinimum + m_iRange * (r.left - left) / w;
        hi = m_iMinimum + m_iRange * (r.right - left) / w;
    } else {
        long double h = (long double)r.Height() - lowMargin - highMargin;
        if (h < 1)
            return;
        long double top = (long double)r.top + highMargin;
        hi = m_iMaximum - m_iRange * (r.top - top) / h;
        lo = m_iMaximum - m_iRange * (r.bottom - top) / h;
    }
    if (lo > hi)
        std::swap(lo, hi);
    m_iMinimum = double(lo);
    m_iMaximum = double(hi);
    m_iRange = m_iMaximum - m_iMinimum;
}

TAxisScale TChartAxis::Scale() const {
    TAxisScale scale;
    TRect r = m_chart->ChartRect();
    scale.min = m_iMinimum;
    scale.range = m_iRange;
    if (Horizontal()) {
        scale.length = m_chart->ChartWidth();
        scale.origin = m_inverted ? r.right : r.left;
        scale.sign = m_inverted ? -1 : 1;
        scale.centre = m_chart->ChartXCenter();
    } else {
        scale.length = m_chart->ChartHeight();
        scale.origin = m_inverted ? r.top : r.bottom;
        scale.sign = m_inverted ? 1 : -1;
        scale.centre = m_chart->ChartYCenter();
    }
    scale.dmin = m_iMinimum;
    scale.dscale = scale.Flat() ? std::nan("") : double(scale.length / scale.range);
    return scale;
}

int32_t TAxisScale::Pixel(double value) const {
    if (Flat() || value != value)
        return centre;
    const auto limit = int64_t(kPixelLimit);
    return int32_t(std::clamp(origin + sign * int64_t(RoundPixel(Offset(value))), -limit, limit));
}

void TAxisScale::Both(double value, long double& exact, int32_t& pixel) const {
    if (Flat() || value != value) {
        exact = value != value && !Flat() ? value : (long double)centre;
        pixel = centre;
        return;
    }
    long double d = Offset(value);
    exact = origin + sign * d;
    const auto limit = int64_t(kPixelLimit);
    pixel = int32_t(std::clamp(origin + sign * int64_t(RoundPixel(d)), -limit, limit));
}

long double TChartAxis::CalcPosValueExact(double value) const {
    return Scale().Exact(value);
}

int32_t TChartAxis::CalcPosValue(double value) const {
    return Scale().Pixel(value);
}

int32_t TChartAxis::CalcXPosValue(double value) const {
    return CalcPosValue(value);
}

int32_t TChartAxis::CalcYPosValue(double value) const {
    return CalcPosValue(value);
}

double TChartAxis::CalcPosPoint(int32_t pixel) const {
    TRect r = m_chart->ChartRect();
    if (Horizontal()) {
        int w = m_chart->ChartWidth();
        if (w < 1)
            return 0;
        long double p = m_inverted ? (long double)r.right - pixel : (long double)pixel - r.left;
        return double(m_iMinimum + m_iRange * p / w);
    }
    int h = m_chart->ChartHeight();
    if (h < 1)
        return 0;
    long double p = m_inverted ? (long double)r.bottom - pixel : (long double)pixel - r.top;
    return double(m_iMaximum - m_iRange * p / h);
}

// --- labels ---

TAxisLabelStyle TChartAxis::CalcLabelStyle() const {
    if (m_labelStyle != talAuto)
        return m_labelStyle;
    if (!m_chart)
        return talNone;
    bool any = false;
    for (TChartSeries* s : m_chart->SeriesList()) {
        bool bound = Horizontal() ? s->GetHorizAxis() == this : s->GetVertAxis() == this;
        if (!bound || !s->Active())
            continue;
        any = true;
        if (Horizontal() && s->Count() > 0 && !s->XLabel(0).empty())
            return talText;
    }
    return any ? talValue : talNone;
}

std::string TChartAxis::LabelValue(double value) const {
    std::string text;
    const rtl::TFormatSettings& settings = rtl::FormatSettings();
    if (m_isDateTime) {
        if (value >= 0)
            text = rtl::FormatDateTime(m_dateTimeFormat.empty() ? settings.ShortDateFormat
                                                                : m_dateTimeFormat,
                                       value, settings);
    } else {
        // Only the engine's own format is written; other stored formats read the same way.
        text = rtl::FormatAxisFloat(value, settings);
    }
    if (m_labelsMultiLine)
        std::replace(text.begin(), text.end(), ' ', '\r');
    return text;
}

int TChartAxis::AxisLength() const {
    return Horizontal() ? m_chart->ChartWidth() : m_chart->ChartHeight();
}

int TChartAxis::LabelSizeForStep() {
    TChartCanvas3D* surface = m_chart->Canvas3D();
    surface->Font()->Assign(m_labelsFont.get());
    bool straight = m_labelsAngle == 0 || m_labelsAngle == 180;
    bool widths = Horizontal() == straight;
    if (widths)
        return std::max(surface->TextWidth(LabelValue(m_iMaximum)),
                        surface->TextWidth(LabelValue(m_iMinimum)));
    return surface->FontHeight();
}

double TChartAxis::CalcIncrement(int maxLabels) const {
    return chart::CalcIncrement(m_iRange, m_increment, maxLabels, m_labelsSeparation);
}

double TChartAxis::CalcLabelsIncrement() {
    int size = LabelSizeForStep();
    return CalcIncrement(MaxLabelsCount(AxisLength(), size, m_labelsSeparation));
}

int TChartAxis::MaxLabelWidth() {
    double step = CalcLabelsIncrement();
    double first = m_iMinimum, last = m_iMaximum;
    if (m_roundFirstLabel || (m_isDateTime && m_exactDateTime)) {
        first = RoundLabelValue(m_iMinimum, step);
        last = RoundLabelValue(m_iMaximum, step);
    }
    TChartCanvas3D* surface = m_chart->Canvas3D();
    surface->Font()->Assign(m_labelsFont.get());
    return std::max(surface->TextWidth(LabelValue(first)), surface->TextWidth(LabelValue(last))) +
           surface->TextWidth(" ");
}

void TChartAxis::CalcRect(TRect& rect) {
    RefreshIsDateTime();
    TChartCanvas3D* surface = m_chart->Canvas3D();
    // Moves the edge on the axis' side inwards by `amount`.
    auto take = [&](int amount) {
        switch (m_kind) {
        case akBottom:
            rect.bottom -= amount;
            return rect.bottom;
        case akTop:
            rect.top += amount;
            return rect.top;
        case akLeft:
            rect.left += amount;
            return rect.left;
        case akRight:
            rect.right -= amount;
            return rect.right;
        case akDepth:
            break;
        }
        return 0;
    };
    if (!m_title->Caption().empty()) {
        int size = m_titleSize;
        if (size == 0) {
            surface->Font()->Assign(m_title->Font());
            size = surface->FontHeight();
        }
        take(size);
    }
    if (m_labels) {
        int size = m_labelsSize;
        if (size == 0) {
            surface->Font()->Assign(m_labelsFont.get());
            // Labels along the axis take one line's height, labels across it their widest text.
            bool straight = m_labelsAngle == 0 || m_labelsAngle == 180;
            size = Horizontal() == straight ? surface->FontHeight() : MaxLabelWidth();
        }
        m_posLabels = take(size);
    }
    int ticks =
        (m_axisPen->Visible() ? m_axisPen->Width() : 0) + (m_ticks->Visible() ? m_tickLength : 0);
    if (m_minorTicks->Visible())
        ticks = std::max(ticks, m_minorTickLength);
    if (ticks > 0)
        take(ticks);
}

// --- drawing ---

void TChartAxis::SetChartPen(const TChartPen* pen, TColor autoColor) {
    TColor c = pen->Color() == clAutoColor ? autoColor : pen->Color();
    m_chart->Canvas3D()->AssignPen(*pen, c, m_chart->Printing());
}

void TChartAxis::Draw(bool /*calcPosAxis*/) {
    RefreshIsDateTime();
    TChartCanvas3D* surface = m_chart->Canvas3D();
    double step = CalcLabelsIncrement();
    TRect r = m_chart->ChartRect();
    switch (m_kind) {
    case akBottom:
        m_posAxis = r.bottom;
        break;
    case akTop:
        m_posAxis = r.top;
        break;
    case akLeft:
        m_posAxis = r.left;
        break;
    case akRight:
        m_posAxis = r.right;
        break;
    case akDepth:
        return;
    }
    if (!m_title->Caption().empty())
        DrawTitle();
    if (step > 0 && m_iMaximum >= m_iMinimum && CalcLabelStyle() != talNone)
        DrawLabelsAndGrid(step);
    if (m_axisPen->Visible()) {
        SetChartPen(m_axisPen.get(), frame::clBlack);
        if (Horizontal())
            surface->Line(r.left, m_posAxis, r.right, m_posAxis);
        else
            surface->Line(m_posAxis, r.top, m_posAxis, r.bottom);
    }
}

void TChartAxis::DrawTitle() {
    TChartCanvas3D* surface = m_chart->Canvas3D();
    surface->Font()->Assign(m_title->Font());
    surface->ClearBrush();
    const std::string& text = m_title->Caption();
    int w = surface->TextWidth(text), h = surface->FontHeight();
    TRect bounds = m_chart->ChartBounds();
    TRect r = m_chart->ChartRect();
    // Titles stand at the outer edge of the axis' room, written horizontally.
    switch (m_kind) {
    case akBottom:
        surface->TextOut(m_chart->ChartXCenter() - w / 2, m_posLabels + h, text);
        break;
    case akTop:
        surface->TextOut(m_chart->ChartXCenter() - w / 2, m_posLabels - 2 * h, text);
        break;
    case akLeft:
        surface->TextOut(std::max(bounds.left, r.left - w - h - 4), m_chart->ChartYCenter() - h / 2,
                         text);
        break;
    case akRight:
        surface->TextOut(r.right + h + 4, m_chart->ChartYCenter() - h / 2, text);
        break;
    case akDepth:
        break;
    }
}

// Ticks, grid lines and labels are gathered first and drawn a kind at a time: the same pixels
// as drawing them label by label (ticks and labels lie outside the plot, the grid inside, inner
// ticks still over the grid), but each kind of stroke is one shape on a page or in a metafile
// rather than a shape per stroke.
void TChartAxis::DrawLabelsAndGrid(double step) {
    std::vector<double> values =
        AxisLabelValues(m_iMinimum, m_iMaximum, step, m_roundFirstLabel, m_labelsOnAxis);
    m_hasPrevLabel = false;
    TStrokes strokes;
    std::vector<std::pair<int, std::string>> labels;
    for (double value : values) {
        int p = CalcPosValue(value);
        if (!m_tickOnLabelsOnly)
            AddTicksAndGrid(p, value, strokes);
        if (m_labels) {
            std::string text = LabelValue(value);
            if (m_tickOnLabelsOnly)
                AddTicksAndGrid(p, value, strokes);
            labels.emplace_back(p, std::move(text));
        }
    }
    DrawStrokes(strokes);
    for (const auto& [p, text] : labels)
        DrawLabelText(p, text);
}

void TChartAxis::AddTicksAndGrid(int p, double value, TStrokes& strokes) {
    TRect r = m_chart->ChartRect();
    // A stroke at p: `outward` away from the plot, of `length`, starting one pixel off the axis.
    auto stroke = [&](std::vector<std::pair<TPoint, TPoint>>& into, int at, int length,
                      bool outward) {
        int sign = (m_kind == akBottom || m_kind == akRight) ? 1 : -1;
        if (!outward)
            sign = -sign;
        int from = m_posAxis + sign;
        int to = from + sign * length;
        if (Horizontal())
            into.push_back({TPoint{at, from}, TPoint{at, to}});
        else
            into.push_back({TPoint{from, at}, TPoint{to, at}});
    };
    if (m_ticks->Visible())
        stroke(strokes.ticks, p, m_tickLength, true);
    if (m_grid->Visible() && value != m_iMaximum && value != m_iMinimum) {
        int at = p;
        bool draw = true;
        if (m_gridCentered) {
            draw = m_hasPrevLabel;
            at = int((int64_t(p) + m_prevLabelPos) / 2);
        }
        if (draw) {
            switch (m_kind) {
            case akBottom:
                strokes.grid.push_back({TPoint{at, m_posAxis - 1}, TPoint{at, r.top}});
                break;
            case akTop:
                strokes.grid.push_back({TPoint{at, m_posAxis + 1}, TPoint{at, r.bottom}});
                break;
            case akLeft:
                strokes.grid.push_back({TPoint{m_posAxis + 1, at}, TPoint{r.right, at}});
                break;
            case akRight:
                strokes.grid.push_back({TPoint{m_posAxis - 1, at}, TPoint{r.left, at}});
                break;
            case akDepth:
                break;
            }
        }
    }
    if (m_ticksInner->Visible() && m_tickInnerLength > 0)
        stroke(strokes.inner, p, m_tickInnerLength, false);
    if (m_minorTicks->Visible() && m_hasPrevLabel && m_minorTickCount > 0) {
        long double gap = (long double)(int64_t(p) - m_prevLabelPos) / (m_minorTickCount + 1);
        for (int i = 1; i <= m_minorTickCount; ++i)
            stroke(strokes.minor, p - RoundPixel(gap * i), m_minorTickLength, true);
    }
    m_prevLabelPos = p;
    m_hasPrevLabel = true;
}

void TChartAxis::DrawStrokes(const TStrokes& strokes) {
    TChartCanvas3D* surface = m_chart->Canvas3D();
    if (!strokes.ticks.empty()) {
        SetChartPen(m_ticks.get(), frame::clGray);
        surface->Lines(strokes.ticks);
    }
    if (!strokes.grid.empty()) {
        SetChartPen(m_grid.get(), frame::clGray);
        surface->ClearBrush();
        surface->Lines(strokes.grid);
    }
    if (!strokes.inner.empty()) {
        SetChartPen(m_ticksInner.get(), frame::clGray);
        surface->Lines(strokes.inner);
    }
    if (!strokes.minor.empty()) {
        SetChartPen(m_minorTicks.get(), frame::clGray);
        surface->Lines(strokes.minor);
    }
}

void TChartAxis::DrawLabelText(int p, const std::string& text) {
    TChartCanvas3D* surface = m_chart->Canvas3D();
    frame::TFont* font = surface->Font();
    font->Assign(m_labelsFont.get());
    if (m_chart->Printing() && font->Color() == frame::clWhite)
        font->SetColor(frame::clBlack);
    surface->ClearBrush();
    int h = surface->FontHeight();
    // Multi-line labels split at carriage returns and stack one font height apart.
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i)
        if (i == text.size() || text[i] == '\r') {
            lines.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    int n = int(lines.size());
    for (int k = 0; k < n; ++k) {
        const std::string& line = lines[size_t(k)];
        int w = surface->TextWidth(line);
        switch (m_kind) {
        case akBottom:
            surface->TextOut(p - w / 2, m_posLabels + k * h, line);
            break;
        case akTop:
            surface->TextOut(p - w / 2, m_posLabels - (n - k) * h, line);
            break;
        case akLeft:
            surface->TextOut(m_posLabels - w, p - h / 2 + k * h, line);
            break;
        case akRight:
            surface->TextOut(m_posLabels, p - h / 2 + k * h, line);
            break;
        case akDepth:
            break;
        }
    }
}

} // namespace chart
