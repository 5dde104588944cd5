#pragma once
// A set of pixels as a list of non-overlapping rectangles: the update region of a window and the
// visible part of a window that a paint may touch, the part a fill may skip. Small by nature (a
// few rectangles), so plain lists beat a banded structure here.
#include <vector>

#include "platform/gdi/GdiTypes.h"

namespace platform {

class Region {
public:
    Region() = default;
    explicit Region(const gdi::Rect& r) { Add(r); }

    bool IsEmpty() const { return m_rects.empty(); }
    const std::vector<gdi::Rect>& Rects() const { return m_rects; }
    // The smallest rectangle holding every pixel (empty rectangle when the region is empty).
    gdi::Rect Bounds() const;
    bool Contains(gdi::Point p) const;
    long long Area() const;

    void Clear() { m_rects.clear(); }
    void Add(const gdi::Rect& r);
    void Add(const Region& other);
    void Subtract(const gdi::Rect& r);
    void Subtract(const Region& other);
    void Intersect(const gdi::Rect& r);
    void Offset(int dx, int dy);

private:
    std::vector<gdi::Rect> m_rects;
};

// Rectangle helpers that every part of the window manager needs.
gdi::Rect Intersection(const gdi::Rect& a, const gdi::Rect& b);
gdi::Rect Offset(const gdi::Rect& r, int dx, int dy);
gdi::Rect Union(const gdi::Rect& a, const gdi::Rect& b);

} // namespace platform
