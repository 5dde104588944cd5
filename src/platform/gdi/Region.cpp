#include "platform/gdi/Region.h"

#include <algorithm>

namespace platform {

using gdi::Rect;

Rect Intersection(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return r.IsEmpty() ? Rect{} : r;
}

Rect Offset(const Rect& r, int dx, int dy) {
    return Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

Rect Union(const Rect& a, const Rect& b) {
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

namespace {

// The parts of `r` outside `cut`, at most four rectangles.
void SubtractOne(const Rect& r, const Rect& cut, std::vector<Rect>& out) {
    Rect inter = Intersection(r, cut);
    if (inter.IsEmpty()) {
        out.push_back(r);
        return;
    }
    if (r.top < inter.top)
        out.push_back(Rect{r.left, r.top, r.right, inter.top});
    if (inter.bottom < r.bottom)
        out.push_back(Rect{r.left, inter.bottom, r.right, r.bottom});
    if (r.left < inter.left)
        out.push_back(Rect{r.left, inter.top, inter.left, inter.bottom});
    if (inter.right < r.right)
        out.push_back(Rect{inter.right, inter.top, r.right, inter.bottom});
}

} // namespace

Rect Region::Bounds() const {
    Rect b;
    for (const Rect& r : m_rects)
        b = Union(b, r);
    return b;
}

bool Region::Contains(gdi::Point p) const {
    return std::any_of(m_rects.begin(), m_rects.end(),
                       [&](const Rect& r) { return r.Contains(p); });
}

long long Region::Area() const {
    long long a = 0;
    for (const Rect& r : m_rects)
        a += static_cast<long long>(r.Width()) * r.Height();
    return a;
}

void Region::Add(const Rect& r) {
    if (r.IsEmpty())
        return;
    // Keep the rectangles disjoint: add only the parts of r not yet covered.
    std::vector<Rect> pieces{r};
    for (const Rect& have : m_rects) {
        std::vector<Rect> next;
        for (const Rect& p : pieces)
            SubtractOne(p, have, next);
        pieces.swap(next);
        if (pieces.empty())
            return;
    }
    m_rects.insert(m_rects.end(), pieces.begin(), pieces.end());
    // A region that keeps growing in small pieces (many invalidations) is coarsened to its bounds;
    // repainting a few extra pixels is cheaper than tracking hundreds of rectangles.
    if (m_rects.size() > 64) {
        Rect b = Bounds();
        m_rects.assign(1, b);
    }
}

void Region::Add(const Region& other) {
    for (const Rect& r : other.m_rects)
        Add(r);
}

void Region::Subtract(const Rect& cut) {
    if (cut.IsEmpty())
        return;
    std::vector<Rect> next;
    for (const Rect& r : m_rects)
        SubtractOne(r, cut, next);
    m_rects.swap(next);
}

void Region::Subtract(const Region& other) {
    for (const Rect& r : other.m_rects)
        Subtract(r);
}

void Region::Intersect(const Rect& clip) {
    std::vector<Rect> next;
    for (const Rect& r : m_rects) {
        Rect i = Intersection(r, clip);
        if (!i.IsEmpty())
            next.push_back(i);
    }
    m_rects.swap(next);
}

void Region::Offset(int dx, int dy) {
    for (Rect& r : m_rects)
        r = platform::Offset(r, dx, dy);
}

} // namespace platform
