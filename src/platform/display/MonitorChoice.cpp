#include "platform/display/MonitorChoice.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/gdi/Region.h"

namespace platform {

namespace {

// Squared distance from a point to the nearest pixel of a rectangle (0 inside).
std::int64_t DistanceSquared(const Rect& r, Point p) {
    std::int64_t dx = p.x < r.left ? r.left - p.x : p.x >= r.right ? p.x - (r.right - 1) : 0;
    std::int64_t dy = p.y < r.top ? r.top - p.y : p.y >= r.bottom ? p.y - (r.bottom - 1) : 0;
    return dx * dx + dy * dy;
}

} // namespace

Rect CentringArea(const std::vector<Rect>& monitors, Point pointer,
                  const std::optional<Rect>& workArea, Size screen) {
    Rect whole{0, 0, screen.cx, screen.cy};
    if (monitors.size() < 2)
        return whole;
    const Rect* chosen = nullptr;
    std::int64_t best = std::numeric_limits<std::int64_t>::max();
    for (const Rect& m : monitors) {
        if (m.IsEmpty())
            continue;
        std::int64_t d = DistanceSquared(m, pointer);
        if (d < best) {
            best = d;
            chosen = &m;
        }
    }
    if (!chosen)
        return whole;
    if (workArea) {
        Rect inside = Intersection(*chosen, *workArea);
        if (!inside.IsEmpty())
            return inside;
    }
    return *chosen;
}

} // namespace platform
