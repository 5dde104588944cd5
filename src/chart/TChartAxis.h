#pragma once
// One axis of a chart panel: its working range, value-to-pixel conversion, the label step, the
// room it takes at the edge of the plot rectangle, and its line, ticks, grid and labels.
#include <cmath>
#include <memory>
#include <string>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "chart/TChartObjects.h"
#include "chart/TChartPen.h"

namespace chart {

class TCustomAxisPanel;
class TChartSeries;

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };
ZORVANE_ENUM_TYPE(TAxisLabelStyle, "talAuto", "talNone", "talValue", "talMark", "talText")

class TChartAxisTitle : public TChartFontObject {
public:
    ZORVANE_CLASS(TChartAxisTitle)
    TChartAxisTitle() = default;

    const std::string& Caption() const { return m_caption; }
    void SetCaption(std::string v);
    int32_t Angle() const { return m_angle; }
    void SetAngle(int32_t v);
    void Assign(const frame::TPersistent* source) override;

private:
    std::string m_caption;
    int32_t m_angle = 0;
};

inline int64_t RoundEvenFast(double d) {
#if defined(__SSE2__)
    return _mm_cvtsd_si64(_mm_set_sd(d)); // the default rounding mode: nearest, ties to even
#else
    return int64_t(std::nearbyint(d));
#endif
}

// The value-to-pixel mapping of an axis over the current plot rectangle, taken once per draw:
// pixel = origin + sign × Round(length × (value − min) / range), in extended precision.
struct TAxisScale {
    int64_t origin = 0;
    int sign = 1;
    long double length = 0, min = 0, range = 0;
    int32_t centre = 0;

    bool Flat() const { return range == 0 || range != range; }
    // The unrounded offset from the origin.
    long double Offset(double value) const { return length * ((long double)value - min) / range; }
    long double Exact(double value) const {
        return Flat() ? (long double)centre : origin + sign * Offset(value);
    }
    int32_t Pixel(double value) const;
    // Both at once, from one division.
    void Both(double value, long double& exact, int32_t& pixel) const;

    // The same in double precision for dense series: exact whenever the offset is not within a
    // hair of a rounding tie, where the extended computation decides.
    double dmin = 0, dscale = 0; // dscale is NaN for a flat axis
    void Fast(double value, double& exact, int32_t& pixel) const {
        constexpr double limit = 1e9, hair = 1e-6;
        double d = (value - dmin) * dscale;
        if (d > -limit && d < limit) {
            // Nearest, ties to even, in one instruction; a near tie is left to the exact path,
            // so neither the data nor the rounding can make the branches unpredictable.
            int64_t t = RoundEvenFast(d);
            double f = d - double(t);
            if (f < 0.5 - hair && f > hair - 0.5) {
                exact = double(origin) + sign * d;
                pixel = int32_t(origin + sign * t);
                return;
            }
        }
        long double e;
        Both(value, e, pixel);
        exact = double(e);
    }
};

class TChartAxis : public frame::TPersistent {
public:
    ZORVANE_CLASS(TChartAxis)
    enum TKind { akBottom, akTop, akLeft, akRight, akDepth };
    TChartAxis(TCustomAxisPanel* chart, TKind kind);
    ~TChartAxis() override;

    // --- published properties ---
    bool Automatic() const { return m_automatic; }
    void SetAutomatic(bool v);
    bool AutomaticMaximum() const { return m_automaticMaximum; }
    void SetAutomaticMaximum(bool v);
    bool AutomaticMinimum() const { return m_automaticMinimum; }
    void SetAutomaticMinimum(bool v);
    double Maximum() const { return m_maximum; }
    void SetMaximum(double v);
    double Minimum() const { return m_minimum; }
    void SetMinimum(double v);
    // Both limits at once, checked against each other only.
    void SetMinMax(double minimum, double maximum);
    double Increment() const { return m_increment; }
    void SetIncrement(double v);
    TChartAxisPen* Axis() const { return m_axisPen.get(); }
    void SetAxis(TChartAxisPen* v) { m_axisPen->Assign(v); }
    TDottedGrayPen* Grid() const { return m_grid.get(); }
    void SetGrid(TDottedGrayPen* v) { m_grid->Assign(v); }
    bool GridCentered() const { return m_gridCentered; }
    void SetGridCentered(bool v);
    TDarkGrayPen* Ticks() const { return m_ticks.get(); }
    void SetTicks(TDarkGrayPen* v) { m_ticks->Assign(v); }
    TDarkGrayPen* TicksInner() const { return m_ticksInner.get(); }
    void SetTicksInner(TDarkGrayPen* v) { m_ticksInner->Assign(v); }
    TDarkGrayPen* MinorTicks() const { return m_minorTicks.get(); }
    void SetMinorTicks(TDarkGrayPen* v) { m_minorTicks->Assign(v); }
    int32_t TickLength() const { return m_tickLength; }
    void SetTickLength(int32_t v);
    int32_t TickInnerLength() const { return m_tickInnerLength; }
    void SetTickInnerLength(int32_t v);
    int32_t MinorTickLength() const { return m_minorTickLength; }
    void SetMinorTickLength(int32_t v);
    int32_t MinorTickCount() const { return m_minorTickCount; }
    void SetMinorTickCount(int32_t v);
    bool TickOnLabelsOnly() const { return m_tickOnLabelsOnly; }
    void SetTickOnLabelsOnly(bool v);
    bool Labels() const { return m_labels; }
    void SetLabels(bool v);
    frame::TFont* LabelsFont() const { return m_labelsFont.get(); }
    void SetLabelsFont(frame::TFont* v) { m_labelsFont->Assign(v); }
    int32_t LabelsAngle() const { return m_labelsAngle; }
    void SetLabelsAngle(int32_t v);
    int32_t LabelsSeparation() const { return m_labelsSeparation; }
    void SetLabelsSeparation(int32_t v);
    int32_t LabelsSize() const { return m_labelsSize; }
    void SetLabelsSize(int32_t v);
    bool LabelsOnAxis() const { return m_labelsOnAxis; }
    void SetLabelsOnAxis(bool v);
    bool LabelsMultiLine() const { return m_labelsMultiLine; }
    void SetLabelsMultiLine(bool v);
    TAxisLabelStyle LabelStyle() const { return m_labelStyle; }
    void SetLabelStyle(TAxisLabelStyle v);
    const std::string& AxisValuesFormat() const { return m_axisValuesFormat; }
    void SetAxisValuesFormat(std::string v);
    const std::string& DateTimeFormat() const { return m_dateTimeFormat; }
    void SetDateTimeFormat(std::string v);
    bool ExactDateTime() const { return m_exactDateTime; }
    void SetExactDateTime(bool v);
    bool RoundFirstLabel() const { return m_roundFirstLabel; }
    void SetRoundFirstLabel(bool v);
    bool Logarithmic() const { return m_logarithmic; }
    void SetLogarithmic(bool v);
    bool Inverted() const { return m_inverted; }
    void SetInverted(bool v);
    TChartAxisTitle* Title() const { return m_title.get(); }
    void SetTitle(TChartAxisTitle* v) { m_title->Assign(v); }
    int32_t TitleSize() const { return m_titleSize; }
    void SetTitleSize(int32_t v);
    bool Visible() const { return m_visible; }
    void SetVisible(bool v);

    // --- working state ---
    TKind Kind() const { return m_kind; }
    bool Horizontal() const { return m_kind == akBottom || m_kind == akTop; }
    bool OtherSide() const { return m_kind == akTop || m_kind == akRight; }
    bool IsDepthAxis() const { return m_kind == akDepth; }
    bool IsDateTime() const { return m_isDateTime; }
    double IMinimum() const { return m_iMinimum; }
    double IMaximum() const { return m_iMaximum; }
    double IRange() const { return m_iRange; }
    int32_t PosAxis() const { return m_posAxis; }
    int32_t PosLabels() const { return m_posLabels; }
    TCustomAxisPanel* ParentChart() const { return m_chart; }

    void AdjustMaxMin();
    // Widens the working range so that the given pixel margins fit inside the plot rectangle.
    void AdjustMaxMinRect(int lowMargin, int highMargin);
    // Pixel of a value; guarded against any value (NaN lies at the centre, huge values clamp).
    int32_t CalcPosValue(double value) const;
    int32_t CalcXPosValue(double value) const;
    int32_t CalcYPosValue(double value) const;
    // The unrounded position (may be huge or not finite) for clipping in floating point.
    long double CalcPosValueExact(double value) const;
    TAxisScale Scale() const;
    double CalcPosPoint(int32_t pixel) const;
    double CalcIncrement(int maxLabels) const;
    double CalcLabelsIncrement();
    std::string LabelValue(double value) const;
    TAxisLabelStyle CalcLabelStyle() const;
    // Reserves the axis' room inside `rect` (a copy of the plot rectangle).
    void CalcRect(TRect& rect);
    void Draw(bool calcPosAxis);
    // True when the axis takes part in the axis step (visible, with an active series on it).
    bool IsActive() const;
    void RefreshIsDateTime();

    frame::TPersistent* GetOwner() const override;
    void Assign(const frame::TPersistent* source) override;

private:
    void Changed();
    void PartChanged(frame::TObject*) { Changed(); }
    bool Loading() const;
    int AxisLength() const;
    int MaxLabelWidth();
    int LabelSizeForStep();
    // The strokes of the ticks and the grid, gathered a pen at a time.
    struct TStrokes {
        std::vector<std::pair<TPoint, TPoint>> ticks, grid, inner, minor;
    };
    void DrawLabelsAndGrid(double step);
    void AddTicksAndGrid(int p, double value, TStrokes& strokes);
    void DrawStrokes(const TStrokes& strokes);
    void DrawLabelText(int p, const std::string& text);
    void DrawTitle();
    void SetChartPen(const TChartPen* pen, TColor autoColor);

    TCustomAxisPanel* m_chart;
    TKind m_kind;
    bool m_automatic = true, m_automaticMaximum = true, m_automaticMinimum = true;
    double m_maximum = 0, m_minimum = 0, m_increment = 0;
    std::unique_ptr<TChartAxisPen> m_axisPen;
    std::unique_ptr<TDottedGrayPen> m_grid;
    bool m_gridCentered = false;
    std::unique_ptr<TDarkGrayPen> m_ticks;
    std::unique_ptr<TDarkGrayPen> m_ticksInner;
    std::unique_ptr<TDarkGrayPen> m_minorTicks;
    int32_t m_tickLength = 4, m_tickInnerLength = 0, m_minorTickLength = 2, m_minorTickCount = 3;
    bool m_tickOnLabelsOnly = true;
    bool m_labels = true;
    std::unique_ptr<frame::TFont> m_labelsFont;
    int32_t m_labelsAngle = 0, m_labelsSeparation = 10, m_labelsSize = 0;
    bool m_labelsOnAxis = true, m_labelsMultiLine = false;
    TAxisLabelStyle m_labelStyle = talAuto;
    std::string m_axisValuesFormat = "#,##0.###";
    std::string m_dateTimeFormat;
    bool m_exactDateTime = true, m_roundFirstLabel = true, m_logarithmic = false,
         m_inverted = false;
    std::unique_ptr<TChartAxisTitle> m_title;
    int32_t m_titleSize = 0;
    bool m_visible = true;

    bool m_isDateTime = false;
    double m_iMinimum = 0, m_iMaximum = 0, m_iRange = 0;
    int32_t m_posAxis = 0, m_posLabels = 0;
    bool m_hasPrevLabel = false;
    int32_t m_prevLabelPos = 0;
};

} // namespace chart
