#pragma once
// The device scale factor: how many device pixels the host gives each of the windows' logical
// pixels. The window manager, the forms and everything above them work in logical pixels at
// 96 per inch; only the host's edge multiplies — host windows, back buffers, and the drawing on
// them, which is done at the device's resolution (text and lines are drawn sharp, not enlarged
// afterwards) — and divides what the host reports (pointer, geometry, screen). Printing and PDF
// output have their own resolution and never see it.
#include <optional>
#include <string_view>

#include "platform/display/WindowTypes.h"

namespace platform {

constexpr int kMinDeviceScale = 1;
constexpr int kMaxDeviceScale = 4;
// Xft.dpi of a desktop at scale 1.
constexpr double kLogicalDpi = 96.0;

// The scale from the desktop's settings, as a desktop user sets it: ZORVANE_SCALE, else
// GDK_SCALE, else Xft.dpi / 96 from the X resources. A setting is a number (spaces around it
// allowed) rounded to the nearest whole, then kept within 1 to 4; a setting that is no number
// (empty, "auto", "2x") is passed over for the next. With none, 1. Pure: the environment's and
// the resource's texts are the arguments (absent: std::nullopt).
int DeviceScaleFrom(std::optional<std::string_view> zorvaneScale,
                    std::optional<std::string_view> gdkScale,
                    std::optional<std::string_view> xftDpi);

// Between logical and device pixels at `scale`. A device position belongs to the logical pixel
// that covers it (rounded down, negative positions too); a device rectangle becomes the logical
// rectangle that covers it.
inline int ToDevice(int v, int scale) {
    return v * scale;
}
inline Rect ToDevice(const Rect& r, int scale) {
    return Rect{r.left * scale, r.top * scale, r.right * scale, r.bottom * scale};
}
inline int ToLogical(int v, int scale) {
    return v >= 0 ? v / scale : -((-v + scale - 1) / scale);
}
inline Point ToLogical(Point p, int scale) {
    return Point{ToLogical(p.x, scale), ToLogical(p.y, scale)};
}
// The whole logical pixels inside a device rectangle (a monitor, a work area).
inline Rect ToLogicalWithin(const Rect& r, int scale) {
    return Rect{-ToLogical(-r.left, scale), -ToLogical(-r.top, scale), ToLogical(r.right, scale),
                ToLogical(r.bottom, scale)};
}
inline Rect ToLogicalCovering(const Rect& r, int scale) {
    return Rect{ToLogical(r.left, scale), ToLogical(r.top, scale), -ToLogical(-r.right, scale),
                -ToLogical(-r.bottom, scale)};
}

} // namespace platform
