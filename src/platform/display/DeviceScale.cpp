#include "platform/display/DeviceScale.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace platform {

namespace {

// The number a setting holds, or nothing when it holds something else.
std::optional<double> NumberIn(std::optional<std::string_view> text) {
    if (!text)
        return std::nullopt;
    std::string_view s = *text;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    double value = 0;
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || error != std::errc() || end != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

int Kept(double scale) {
    return int(std::clamp(std::lround(scale), long(kMinDeviceScale), long(kMaxDeviceScale)));
}

} // namespace

int DeviceScaleFrom(std::optional<std::string_view> zorvaneScale,
                    std::optional<std::string_view> gdkScale,
                    std::optional<std::string_view> xftDpi) {
    if (auto v = NumberIn(zorvaneScale))
        return Kept(*v);
    if (auto v = NumberIn(gdkScale))
        return Kept(*v);
    if (auto v = NumberIn(xftDpi))
        return Kept(*v / kLogicalDpi);
    return kMinDeviceScale;
}

} // namespace platform
