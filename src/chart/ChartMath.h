#pragma once
// The chart engine's arithmetic as pure functions: pixel rounding with guards, label steps and
// label values, gradient bands, plot margins and segment clipping. Nothing here draws.
#include <cstdint>
#include <vector>

#include "chart/ChartTypes.h"

namespace chart {

// Pixels never leave this range: values beyond it (and infinities) are clamped to it, so that
// no conversion to an integer can overflow.
constexpr double kPixelLimit = 1073741823.0;

// Round to nearest, ties to even, in extended precision, clamped to ±kPixelLimit; NaN gives
// `nanValue`.
int32_t RoundPixel(long double value, int32_t nanValue = 0);

// The next value of the 1-2-5 series above x (x > 0). Non-finite or non-positive x is returned
// unchanged: callers stop when the step does not grow.
double NextStep(double x);

// The smallest step the label search starts from and ever returns.
constexpr double kMinIncrement = 1e-12;

// The label step for a value axis: starts at the user increment (at least kMinIncrement) or at
// 1 (|range| >= 1) or kMinIncrement, and climbs the 1-2-5 series until range / step rounds to
// at most maxLabels. Ends on a non-finite range and when the step stops growing.
double CalcIncrement(double range, double userIncrement, int maxLabels, int labelsSeparation);

// The largest label count that fits: the label size grows by the separation percent, then
// axisLength / size rounded; 1 when the size is not positive.
int MaxLabelsCount(int axisLength, int labelSize, int labelsSeparation);

// The values labelled on an axis, from the top (right) down by repeated subtraction. Empty for a
// non-finite range or step, a non-positive step, or 10000 labels or more.
std::vector<double> AxisLabelValues(double iMin, double iMax, double step, bool roundFirstLabel,
                                    bool labelsOnAxis);

// Trunc(v / step) * step, guarded: values whose quotient does not fit 32 bits are returned as is.
double RoundLabelValue(double value, double step);

// Margins in percent of the bounds, the panel's border inside them.
TRect MarginRect(const TRect& bounds, int borderWidth, int left, int top, int right, int bottom);

enum TGradientDirection {
    gdTopBottom,
    gdBottomTop,
    gdLeftRight,
    gdRightLeft,
    gdFromCenter,
    gdFromTopLeft,
    gdFromBottomLeft
};
ZORVANE_ENUM_TYPE(TGradientDirection, "gdTopBottom", "gdBottomTop", "gdLeftRight", "gdRightLeft",
                  "gdFromCenter", "gdFromTopLeft", "gdFromBottomLeft")

struct TGradientBand {
    TRect rect;
    TColor color;
    friend bool operator==(const TGradientBand&, const TGradientBand&) = default;
};

// The solid bands that fill `rect` shading from colour `a` (bottom or right edge) towards `z`:
// at most 255 bands. When the rectangle is more than 255 pixels across, one more band of the last
// colour fills the strip the bands leave at the top (left) edge. The centre and corner directions
// are filled as top-bottom.
std::vector<TGradientBand> GradientBands(const TRect& rect, TColor a, TColor z,
                                         TGradientDirection direction);

struct TDoubleRect {
    double left, top, right, bottom;
};

// Clips the segment (x0, y0)–(x1, y1) to `r` (Liang–Barsky). False when nothing is left or a
// coordinate is not finite.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, const TDoubleRect& r);

} // namespace chart
