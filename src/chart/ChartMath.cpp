#include "chart/ChartMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/gdi/DeviceContext.h"

namespace chart {

using platform::gdi::MulDiv;

namespace {
constexpr double kMaxLabelQuotient = 2147483647.0;
constexpr double kMaxLabelCount = 10000.0;
} // namespace

int32_t RoundPixel(long double value, int32_t nanValue) {
    if (std::isnan(value))
        return nanValue;
    if (value > kPixelLimit)
        return int32_t(kPixelLimit);
    if (value < -kPixelLimit)
        return -int32_t(kPixelLimit);
    // Ties to even by hand: the library's nearbyint on long double switches the FPU's mode on
    // every call and costs more than the rest of a point's conversion.
    auto t = int64_t(value); // towards zero
    long double frac = value - (long double)t;
    if (frac > 0.5L || (frac == 0.5L && (t & 1)))
        ++t;
    else if (frac < -0.5L || (frac == -0.5L && (t & 1)))
        --t;
    return int32_t(t);
}

double NextStep(double x) {
    if (!(x > 0) || !std::isfinite(x))
        return x;
    if (x < 1)
        return NextStep(10 * x) / 10;
    if (x >= 10)
        return 10 * NextStep(x / 10);
    if (x < 2)
        return 2;
    if (x < 5)
        return 5;
    return 10;
}

double CalcIncrement(double range, double userIncrement, int maxLabels, int labelsSeparation) {
    if (maxLabels <= 0)
        return kMinIncrement;
    double step = userIncrement > 0 ? userIncrement : (std::fabs(range) >= 1 ? 1.0 : kMinIncrement);
    // A subnormal increment would climb the 1-2-5 series for hundreds of steps, and a NaN one
    // never: start from the smallest step we ever return.
    if (!(step >= kMinIncrement))
        step = kMinIncrement;
    if (labelsSeparation > 0 && std::isfinite(range)) {
        for (;;) {
            double d = range / step;
            if (std::fabs(d) < kMaxLabelQuotient && std::nearbyint(d) <= maxLabels)
                break;
            double next = NextStep(step);
            if (!(next > step))
                break;
            step = next;
        }
    }
    return std::max(step, kMinIncrement);
}

int MaxLabelsCount(int axisLength, int labelSize, int labelsSeparation) {
    long double size = labelSize;
    if (labelsSeparation > 0)
        size += std::nearbyint(size * labelsSeparation / 100.0L);
    if (size <= 0)
        return 1;
    return RoundPixel(axisLength / size);
}

double RoundLabelValue(double value, double step) {
    double q = value / step;
    if (!std::isfinite(q) || std::fabs(q) >= kMaxLabelQuotient)
        return value;
    return std::trunc(q) * step;
}

std::vector<double> AxisLabelValues(double iMin, double iMax, double step, bool roundFirstLabel,
                                    bool labelsOnAxis) {
    std::vector<double> values;
    if (!std::isfinite(iMin) || !std::isfinite(iMax) || !std::isfinite(step) || !(step > 0) ||
        iMax < iMin)
        return values;
    if (std::fabs(iMax / step) >= kMaxLabelQuotient ||
        std::fabs((iMax - iMin) / step) >= kMaxLabelCount)
        return values;
    double r = iMax;
    if (iMin != iMax && roundFirstLabel)
        r = std::trunc(iMax / step) * step;
    // The quotient tests above keep r / step below 2^31, so each subtraction moves r; the count
    // bound is a second guard.
    int guard = int(kMaxLabelCount) + 2;
    if (labelsOnAxis) {
        while (r > iMax && guard-- > 0)
            r -= step;
        while (r >= iMin && guard-- > 0) {
            values.push_back(r);
            r -= step;
        }
    } else {
        while (r >= iMax && guard-- > 0)
            r -= step;
        while (r > iMin && guard-- > 0) {
            values.push_back(r);
            r -= step;
        }
    }
    return values;
}

TRect MarginRect(const TRect& bounds, int borderWidth, int left, int top, int right, int bottom) {
    int w = bounds.Width(), h = bounds.Height();
    return TRect{bounds.left + borderWidth + MulDiv(left, w, 100),
                 bounds.top + borderWidth + MulDiv(top, h, 100),
                 bounds.right - borderWidth - MulDiv(right, w, 100),
                 bounds.bottom - borderWidth - MulDiv(bottom, h, 100)};
}

namespace {
int Component(TColor c, int shift) {
    return int((uint32_t(c) >> shift) & 0xFF);
}
TColor BandColor(TColor a, int dR, int dG, int dB, int t, int n) {
    // Each component is computed in a byte, as the bands always were.
    uint32_t r = uint32_t(Component(a, 0) + MulDiv(t, dR, n - 1)) & 0xFF;
    uint32_t g = uint32_t(Component(a, 8) + MulDiv(t, dG, n - 1)) & 0xFF;
    uint32_t b = uint32_t(Component(a, 16) + MulDiv(t, dB, n - 1)) & 0xFF;
    return TColor(r | (g << 8) | (b << 16));
}
} // namespace

std::vector<TGradientBand> GradientBands(const TRect& rect, TColor a, TColor z,
                                         TGradientDirection direction) {
    TRect r{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
            std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)};
    int dR = Component(z, 0) - Component(a, 0);
    int dG = Component(z, 8) - Component(a, 8);
    int dB = Component(z, 16) - Component(a, 16);
    bool vertical = direction == gdLeftRight || direction == gdRightLeft;
    int64_t extent = vertical ? int64_t(r.right) - r.left + 1 : int64_t(r.bottom) - r.top + 1;
    if (extent > INT32_MAX)
        extent = INT32_MAX;
    int s = int(extent);
    int n = std::min(s, 256);
    std::vector<TGradientBand> bands;
    if (n < 2)
        return bands;
    bands.reserve(size_t(n));
    auto place = [&](int from, int to) {
        return vertical ? TRect{r.right - to, r.top, r.right - from, r.bottom}
                        : TRect{r.left, r.bottom - to, r.right, r.bottom - from};
    };
    int covered = 0;
    for (int t = 0; t <= n - 2; ++t) {
        int from = MulDiv(t, s, n), to = MulDiv(t + 1, s, n);
        bands.push_back({place(from, to), BandColor(a, dR, dG, dB, t, n)});
        covered = to;
    }
    // Past 255 pixels the bands stop short of the far edge; the last colour fills the rest.
    int far = vertical ? r.right - r.left : r.bottom - r.top;
    if (covered < far)
        bands.push_back({place(covered, far), bands.back().color});
    return bands;
}

bool ClipSegment(double& x0, double& y0, double& x1, double& y1, const TDoubleRect& r) {
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return false;
    double t0 = 0, t1 = 1;
    double dx = x1 - x0, dy = y1 - y0;
    auto edge = [&](double p, double q) {
        if (p == 0)
            return q >= 0;
        double t = q / p;
        if (p < 0) {
            if (t > t1)
                return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0)
                return false;
            t1 = std::min(t1, t);
        }
        return true;
    };
    if (!edge(-dx, x0 - r.left) || !edge(dx, r.right - x0) || !edge(-dy, y0 - r.top) ||
        !edge(dy, r.bottom - y0))
        return false;
    double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy;
    double nx1 = x0 + t1 * dx, ny1 = y0 + t1 * dy;
    if (t0 == 0) {
        nx0 = x0;
        ny0 = y0;
    }
    if (t1 == 1) {
        nx1 = x1;
        ny1 = y1;
    }
    x0 = nx0;
    y0 = ny0;
    x1 = nx1;
    y1 = ny1;
    return true;
}

} // namespace chart
