// Lines, shapes, fills and pixels: the one-pixel line stepper and raster operations on image
// targets, cairo for the rest.
#include "platform/gdi/DeviceContext.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/gdi/DeviceContextImpl.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/SysColors.h"

namespace platform::gdi {

namespace {

// Dash patterns of one-pixel pens, in pixels: on, off, on, off ...
const std::vector<int>& DashPattern(PenStyle style) {
    static const std::vector<int> dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6},
        dashDotDot{9, 3, 3, 3, 3, 3}, solid{};
    switch (style) {
    case PenStyle::Dash:
        return dash;
    case PenStyle::Dot:
        return dot;
    case PenStyle::DashDot:
        return dashDot;
    case PenStyle::DashDotDot:
        return dashDotDot;
    default:
        return solid;
    }
}

// Hatch rows of an 8 x 8 cell, top row first: bit 7 - x set = pen pixel at x. The forward
// diagonal runs down from left to right, the backward one up from left to right.
const std::uint8_t* HatchRows(BrushStyle style) {
    static const std::uint8_t horizontal[8] = {0, 0, 0, 0xFF, 0, 0, 0, 0};
    static const std::uint8_t vertical[8] = {8, 8, 8, 8, 8, 8, 8, 8};
    static const std::uint8_t fdiagonal[8] = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
    static const std::uint8_t bdiagonal[8] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
    static const std::uint8_t cross[8] = {8, 8, 8, 0xFF, 8, 8, 8, 8};
    static const std::uint8_t diagcross[8] = {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81};
    switch (style) {
    case BrushStyle::Horizontal:
        return horizontal;
    case BrushStyle::Vertical:
        return vertical;
    case BrushStyle::FDiagonal:
        return fdiagonal;
    case BrushStyle::BDiagonal:
        return bdiagonal;
    case BrushStyle::Cross:
        return cross;
    case BrushStyle::DiagCross:
        return diagcross;
    default:
        return nullptr;
    }
}

// Strokes or fills the current path with the current source. On image targets under a raster
// operation other than copy, the path is rendered alone first and each pixel it covers is then
// combined with the destination, which cairo's own operators cannot express.
void PaintPath(DeviceContext::Impl& d, bool stroke) {
    if (!d.PixelTarget() || d.st.rop2 == R2_COPYPEN) {
        if (stroke)
            cairo_stroke(d.cr);
        else
            cairo_fill(d.cr);
        return;
    }
    // The layer holds the clip's device pixels (a scaled target's matrix is copied with the rest).
    Rect clip = ScaleRect(d.DeviceClip(), d.scale);
    if (clip.IsEmpty()) {
        cairo_new_path(d.cr);
        return;
    }
    cairo_path_t* path = cairo_copy_path(d.cr);
    cairo_new_path(d.cr);
    cairo_surface_t* layer =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, clip.Width(), clip.Height());
    cairo_surface_set_device_offset(layer, -clip.left, -clip.top);
    cairo_t* cr = cairo_create(layer);
    cairo_matrix_t m;
    cairo_get_matrix(d.cr, &m);
    cairo_set_matrix(cr, &m);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_source(cr, cairo_get_source(d.cr));
    cairo_set_fill_rule(cr, cairo_get_fill_rule(d.cr));
    cairo_set_line_width(cr, cairo_get_line_width(d.cr));
    cairo_set_line_cap(cr, cairo_get_line_cap(d.cr));
    cairo_set_line_join(cr, cairo_get_line_join(d.cr));
    std::vector<double> dashes(std::size_t(cairo_get_dash_count(d.cr)));
    double dashOffset = 0;
    if (!dashes.empty())
        cairo_get_dash(d.cr, dashes.data(), &dashOffset);
    cairo_set_dash(cr, dashes.data(), int(dashes.size()), dashOffset);
    cairo_append_path(cr, path);
    if (stroke)
        cairo_stroke(cr);
    else
        cairo_fill(cr);
    cairo_destroy(cr);
    cairo_path_destroy(path);
    cairo_surface_flush(layer);
    const auto* data = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(layer));
    int stride = cairo_image_surface_get_stride(layer) / 4;
    PixelWriter w(d);
    for (int y = 0; y < clip.Height(); ++y)
        for (int x = 0; x < clip.Width(); ++x) {
            std::uint32_t v = data[y * stride + x];
            if ((v >> 24) >= 128)
                w.PutDevice(clip.left + x, clip.top + y, v & 0xFFFFFF, d.st.rop2);
        }
    cairo_surface_destroy(layer);
}

bool CosmeticOnImage(const DeviceContext::Impl& d) {
    return d.PixelTarget() && d.st.pen.width <= 1;
}

// `n` copies of `word` from `p`: a few words, then doubling block copies, which the library
// does many words at a time.
void FillWords(std::uint32_t* p, std::size_t n, std::uint32_t word) {
    std::size_t done = std::min<std::size_t>(n, 8);
    std::fill(p, p + done, word);
    while (done < n) {
        std::size_t step = std::min(done, n - done);
        std::memcpy(p + done, p, step * sizeof *p);
        done += step;
    }
}

// A solid straight one-pixel line in copy mode (axes, ticks, grids, frames): the stepper's
// pixels, written as spans of device pixels.
void StraightLine(DeviceContext::Impl& d, const Rect& c, int x0, int y0, int x1, int y1) {
    std::uint32_t word = ColorToWord(d.st.pen.color) | 0xFF000000u;
    int s = d.scale;
    if (y0 == y1) {
        int from = x0 < x1 ? x0 : x1 + 1, to = x0 < x1 ? x1 : x0 + 1; // end point left out
        from = std::max(from, c.left);
        to = std::min(to, c.right);
        if (y0 >= c.top && y0 < c.bottom && from < to)
            for (int k = 0; k < s; ++k)
                FillWords(d.bitmap->Row(y0 * s + k) + from * s, std::size_t(to - from) * s, word);
        return;
    }
    int from = y0 < y1 ? y0 : y1 + 1, to = y0 < y1 ? y1 : y0 + 1;
    from = std::max(from, c.top);
    to = std::min(to, c.bottom);
    if (x0 < c.left || x0 >= c.right)
        return;
    for (int y = from * s; y < to * s; ++y)
        std::fill_n(d.bitmap->Row(y) + x0 * s, s, word);
}

// One line of a one-pixel pen on an image target, end point excluded. On a scaled target the
// line is stepped at the device's resolution, each step a run of `scale` device pixels across
// the line's main direction: a slanted line is as smooth as the device allows and a logical
// pixel thick, it stops where the end point's logical pixel begins, and each device pixel is
// put once (as a raster operation such as not-xor needs).
void PixelLine(DeviceContext::Impl& d, PixelWriter& w, int x0, int y0, int x1, int y1) {
    const auto& pattern = DashPattern(d.st.pen.style);
    int period = 0;
    for (int v : pattern)
        period += v;
    if (period == 0 && d.st.rop2 == R2_COPYPEN && (x0 == x1 || y0 == y1)) {
        StraightLine(d, w.Clip(), x0, y0, x1, y1);
        return;
    }
    const int s = d.scale;
    std::uint32_t pen = ColorToWord(d.st.pen.color);
    std::uint32_t bk = ColorToWord(d.st.bkColor);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    // From the corner of the start's square the line leaves by, to that corner of the end's.
    int ox = sx < 0 ? s - 1 : 0, oy = sy < 0 ? s - 1 : 0;
    x0 = x0 * s + ox, y0 = y0 * s + oy, x1 = x1 * s + ox, y1 = y1 * s + oy;
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int err = dx + dy;
    int steps = std::max(dx, -dy);
    bool across = dx >= -dy; // runs go across the columns (else across the rows)
    int x = x0, y = y0;
    for (int i = 0; i < steps; ++i) {
        bool on = true;
        if (period > 0) {
            int p = d.stylePos % (period * s);
            for (std::size_t k = 0; k < pattern.size(); ++k) {
                if (p < pattern[k] * s) {
                    on = (k % 2) == 0;
                    break;
                }
                p -= pattern[k] * s;
            }
            ++d.stylePos;
        }
        if (on || d.st.bkMode == OPAQUE)
            for (int k = 0; k < s; ++k)
                w.PutDevice(across ? x : x + k * sx, across ? y + k * sy : y, on ? pen : bk,
                            d.st.rop2);
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

// Sets up cairo for stroking with the current pen; false when the pen draws nothing.
bool PreparePen(DeviceContext::Impl& d, double& offset) {
    const PenSpec& pen = d.st.pen;
    if (pen.style == PenStyle::Clear)
        return false;
    int width = std::max(1, pen.width);
    cairo_set_line_width(d.cr, width);
    offset = (width % 2) ? 0.5 : 0.0;
    bool wide = width > 1;
    cairo_set_line_cap(d.cr, wide ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(d.cr, wide ? CAIRO_LINE_JOIN_ROUND : CAIRO_LINE_JOIN_MITER);
    const auto& pattern = DashPattern(pen.style);
    if (pattern.empty() || wide) {
        cairo_set_dash(d.cr, nullptr, 0, 0);
    } else {
        std::vector<double> dashes(pattern.begin(), pattern.end());
        cairo_set_dash(d.cr, dashes.data(), int(dashes.size()), 0);
    }
    SetSourceColor(d.cr, pen.color);
    return true;
}

// Adds a line from `a` to `b` (device points) to the path as the current pen strokes a two-point
// line, `o` being PreparePen's offset; false, adding nothing, when there is nothing to draw.
bool AddLinePath(DeviceContext::Impl& d, Point a, Point b, double o) {
    if (d.st.pen.width <= 1) {
        // Leave the end point's pixel unpainted: stop half a pixel short of its centre.
        double x0 = a.x + 0.5, y0 = a.y + 0.5, x1 = b.x + 0.5, y1 = b.y + 0.5;
        double len = std::hypot(x1 - x0, y1 - y0);
        if (len == 0)
            return false;
        double ux = (x1 - x0) / len * 0.5, uy = (y1 - y0) / len * 0.5;
        cairo_move_to(d.cr, x0 - ux, y0 - uy);
        cairo_line_to(d.cr, x1 - ux, y1 - uy);
        return true;
    }
    cairo_move_to(d.cr, a.x + o, a.y + o);
    cairo_line_to(d.cr, b.x + o, b.y + o);
    return true;
}

// Strokes a path of device points with the current pen. A one-pixel pen on an image target is
// drawn pixel by pixel so its ends and raster operation are exact.
void StrokePoints(DeviceContext::Impl& d, const std::vector<Point>& pts, bool closed) {
    if (pts.size() < 2 || d.st.pen.style == PenStyle::Clear)
        return;
    if (CosmeticOnImage(d)) {
        PixelWriter w(d);
        for (std::size_t i = 0; i + 1 < pts.size(); ++i)
            PixelLine(d, w, pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y);
        if (closed)
            PixelLine(d, w, pts.back().x, pts.back().y, pts.front().x, pts.front().y);
        return;
    }
    double o = 0;
    if (!PreparePen(d, o))
        return;
    cairo_new_path(d.cr);
    if (!closed && pts.size() == 2) {
        if (!AddLinePath(d, pts[0], pts[1], o))
            return;
    } else {
        cairo_move_to(d.cr, pts[0].x + o, pts[0].y + o);
        for (std::size_t i = 1; i < pts.size(); ++i)
            cairo_line_to(d.cr, pts[i].x + o, pts[i].y + o);
        if (closed)
            cairo_close_path(d.cr);
    }
    PaintPath(d, true);
}

// Sets the cairo source to a brush; false for a clear brush.
bool PrepareBrush(DeviceContext::Impl& d, const BrushSpec& brush, const Bitmap* pattern) {
    if (pattern && !pattern->Empty()) {
        cairo_surface_t* s = SurfaceOver(*pattern);
        cairo_pattern_t* p = cairo_pattern_create_for_surface(s);
        cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
        cairo_pattern_set_filter(p, CAIRO_FILTER_NEAREST); // a scaled target: still a pattern
        cairo_matrix_t m;
        cairo_matrix_init_translate(&m, -d.st.brushOrg.x, -d.st.brushOrg.y);
        cairo_pattern_set_matrix(p, &m);
        cairo_set_source(d.cr, p);
        cairo_pattern_destroy(p);
        cairo_surface_destroy(s);
        return true;
    }
    if (brush.style == BrushStyle::Clear)
        return false;
    const std::uint8_t* rows = HatchRows(brush.style);
    if (!rows) {
        SetSourceColor(d.cr, brush.color);
        return true;
    }
    bool opaque = d.st.bkMode == OPAQUE;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
    auto* data = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(s));
    int stride = cairo_image_surface_get_stride(s) / 4;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool on = (rows[y] >> (7 - x)) & 1;
            std::uint32_t v = on       ? (ColorToWord(brush.color) | 0xFF000000u)
                              : opaque ? (ColorToWord(d.st.bkColor) | 0xFF000000u)
                                       : 0u;
            data[y * stride + x] = v;
        }
    cairo_surface_mark_dirty(s);
    cairo_pattern_t* p = cairo_pattern_create_for_surface(s);
    cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(p, CAIRO_FILTER_NEAREST);
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, -d.st.brushOrg.x, -d.st.brushOrg.y);
    cairo_pattern_set_matrix(p, &m);
    cairo_set_source(d.cr, p);
    cairo_pattern_destroy(p);
    cairo_surface_destroy(s);
    return true;
}

// Fills a device rectangle with a brush under the current raster operation.
void FillDeviceRect(DeviceContext::Impl& d, const Rect& r, const BrushSpec& brush,
                    const Bitmap* pattern) {
    if (r.IsEmpty())
        return;
    int rop = d.st.rop2;
    if (d.PixelTarget() && !pattern && brush.style == BrushStyle::Solid) {
        // Solid fills are written straight into the pixels: what cairo would write (an opaque
        // word, whole pixels), without a path and a composite per rectangle (a gradient is
        // hundreds of them).
        PixelWriter w(d);
        Rect c = IntersectRect(r, w.Clip());
        std::uint32_t word = ColorToWord(brush.color);
        if (rop == R2_COPYPEN) {
            Region pieces(c);
            pieces.Subtract(d.paintedOver);
            for (const Rect& piece : pieces.Rects()) {
                Rect p = ScaleRect(piece, d.scale);
                std::size_t n = std::size_t(p.Width());
                std::uint32_t* first = d.bitmap->Row(p.top) + p.left;
                FillWords(first, n, word | 0xFF000000u);
                for (int y = p.top + 1; y < p.bottom; ++y)
                    std::memcpy(d.bitmap->Row(y) + p.left, first, n * sizeof *first);
            }
            return;
        }
        for (int y = c.top; y < c.bottom; ++y)
            for (int x = c.left; x < c.right; ++x)
                w.Put(x, y, word, rop);
        return;
    }
    if (!PrepareBrush(d, brush, pattern))
        return;
    cairo_new_path(d.cr);
    cairo_rectangle(d.cr, r.left, r.top, r.Width(), r.Height());
    PaintPath(d, false);
}

} // namespace

void DeviceContext::MoveTo(int x, int y) {
    m_impl->st.position = Point{x, y};
    m_impl->stylePos = 0;
}

void DeviceContext::LineTo(int x, int y) {
    Impl& d = Live();
    Point o = d.st.origin;
    Point from = d.st.position;
    StrokePoints(d, {{from.x + o.x, from.y + o.y}, {x + o.x, y + o.y}}, false);
    d.st.position = Point{x, y};
}

void DeviceContext::LineSegments(const std::vector<std::pair<Point, Point>>& segments) {
    Impl& d = Live();
    if (segments.empty())
        return;
    if (d.PixelTarget()) {
        for (const auto& [from, to] : segments) {
            MoveTo(from.x, from.y);
            LineTo(to.x, to.y);
        }
        return;
    }
    // One path of all of them, each as its own two-point stroke lays it (a dash pattern starts
    // again with each, as it does with each MoveTo).
    d.st.position = segments.back().second;
    d.stylePos = 0;
    double o = 0;
    if (d.st.pen.style == PenStyle::Clear || !PreparePen(d, o))
        return;
    const Point origin = d.st.origin;
    cairo_new_path(d.cr);
    bool any = false;
    for (const auto& [from, to] : segments)
        any |= AddLinePath(d, Point{from.x + origin.x, from.y + origin.y},
                           Point{to.x + origin.x, to.y + origin.y}, o);
    if (any)
        PaintPath(d, true);
}

Point DeviceContext::GetCurrentPosition() const {
    return m_impl->st.position;
}

void DeviceContext::Polyline(const std::vector<Point>& points) {
    Impl& d = Live();
    Point o = d.st.origin;
    std::vector<Point> pts;
    pts.reserve(points.size());
    for (Point p : points)
        pts.push_back(Point{p.x + o.x, p.y + o.y});
    d.stylePos = 0;
    if (pts.size() == 2 || CosmeticOnImage(d)) {
        StrokePoints(d, pts, false);
        return;
    }
    // Wide or vector pens: one joined path; the last point's pixel may be touched by the pen's
    // width, as with any wide pen.
    double off = 0;
    if (pts.size() < 2 || !PreparePen(d, off))
        return;
    cairo_new_path(d.cr);
    cairo_move_to(d.cr, pts[0].x + off, pts[0].y + off);
    for (std::size_t i = 1; i < pts.size(); ++i)
        cairo_line_to(d.cr, pts[i].x + off, pts[i].y + off);
    PaintPath(d, true);
}

void DeviceContext::Rectangle(const Rect& rect) {
    Impl& d = Live();
    Rect r = OffsetRect(Normalized(rect), d.st.origin.x, d.st.origin.y);
    if (r.IsEmpty())
        return;
    bool pen = d.st.pen.style != PenStyle::Clear;
    Rect inner = r;
    int w = std::max(1, d.st.pen.width);
    if (pen && d.st.pen.style == PenStyle::InsideFrame && w > 1) {
        // The whole frame stays inside the rectangle.
        Rect in{r.left + w, r.top + w, r.right - w, r.bottom - w};
        FillDeviceRect(d, in, d.st.brush, d.st.patternBrush.get());
        BrushSpec frame{BrushStyle::Solid, d.st.pen.color};
        FillDeviceRect(d, Rect{r.left, r.top, r.right, r.top + w}, frame, nullptr);
        FillDeviceRect(d, Rect{r.left, r.bottom - w, r.right, r.bottom}, frame, nullptr);
        FillDeviceRect(d, Rect{r.left, r.top + w, r.left + w, r.bottom - w}, frame, nullptr);
        FillDeviceRect(d, Rect{r.right - w, r.top + w, r.right, r.bottom - w}, frame, nullptr);
        return;
    }
    if (pen)
        inner = Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    FillDeviceRect(d, inner, d.st.brush, d.st.patternBrush.get());
    if (!pen)
        return;
    std::vector<Point> pts{
        {r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}};
    d.stylePos = 0;
    if (r.Width() == 1 || r.Height() == 1) {
        FillDeviceRect(d, r, BrushSpec{BrushStyle::Solid, d.st.pen.color}, nullptr);
        return;
    }
    StrokePoints(d, pts, true);
}

void DeviceContext::Ellipse(const Rect& rect) {
    Impl& d = Live();
    Rect r = OffsetRect(Normalized(rect), d.st.origin.x, d.st.origin.y);
    if (r.IsEmpty())
        return;
    auto path = [&](double inset) {
        cairo_new_path(d.cr);
        cairo_save(d.cr);
        double w = r.Width() - 2 * inset, h = r.Height() - 2 * inset;
        cairo_translate(d.cr, r.left + inset + w / 2, r.top + inset + h / 2);
        cairo_scale(d.cr, std::max(w, 0.01) / 2, std::max(h, 0.01) / 2);
        cairo_arc(d.cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(d.cr);
    };
    if (PrepareBrush(d, d.st.brush, d.st.patternBrush.get())) {
        path(0.5);
        PaintPath(d, false);
    }
    double o = 0;
    if (PreparePen(d, o)) {
        path(0.5);
        PaintPath(d, true);
    }
}

void DeviceContext::Polygon(const std::vector<Point>& points) {
    Impl& d = Live();
    if (points.size() < 2)
        return;
    std::vector<Point> pts;
    for (Point p : points)
        pts.push_back(Point{p.x + d.st.origin.x, p.y + d.st.origin.y});
    if (PrepareBrush(d, d.st.brush, d.st.patternBrush.get())) {
        cairo_new_path(d.cr);
        cairo_set_fill_rule(d.cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_move_to(d.cr, pts[0].x + 0.5, pts[0].y + 0.5);
        for (std::size_t i = 1; i < pts.size(); ++i)
            cairo_line_to(d.cr, pts[i].x + 0.5, pts[i].y + 0.5);
        cairo_close_path(d.cr);
        PaintPath(d, false);
    }
    d.stylePos = 0;
    StrokePoints(d, pts, true);
}

void DeviceContext::FillRect(const Rect& rect, const BrushSpec& brush) {
    Impl& d = Live();
    int rop = std::exchange(d.st.rop2, int(R2_COPYPEN));
    FillDeviceRect(d, OffsetRect(Normalized(rect), d.st.origin.x, d.st.origin.y), brush, nullptr);
    d.st.rop2 = rop;
}

void DeviceContext::FrameRect(const Rect& rect, const BrushSpec& brush) {
    Rect r = Normalized(rect);
    if (r.IsEmpty())
        return;
    FillRect(Rect{r.left, r.top, r.right, r.top + 1}, brush);
    FillRect(Rect{r.left, r.bottom - 1, r.right, r.bottom}, brush);
    FillRect(Rect{r.left, r.top + 1, r.left + 1, r.bottom - 1}, brush);
    FillRect(Rect{r.right - 1, r.top + 1, r.right, r.bottom - 1}, brush);
}

void DeviceContext::InvertRect(const Rect& rect) {
    PatBlt(rect, DSTINVERT);
}

void DeviceContext::PatBlt(const Rect& rect, std::uint32_t rop) {
    Impl& d = Live();
    Rect r = OffsetRect(Normalized(rect), d.st.origin.x, d.st.origin.y);
    if (rop == PATCOPY) {
        int saved = std::exchange(d.st.rop2, int(R2_COPYPEN));
        FillDeviceRect(d, r, d.st.brush, d.st.patternBrush.get());
        d.st.rop2 = saved;
        return;
    }
    if (rop == BLACKNESS || rop == WHITENESS) {
        int saved = std::exchange(d.st.rop2, int(R2_COPYPEN));
        FillDeviceRect(d, r, BrushSpec{BrushStyle::Solid, rop == BLACKNESS ? 0u : 0xFFFFFFu},
                       nullptr);
        d.st.rop2 = saved;
        return;
    }
    if (!d.PixelTarget())
        return; // inverting operations have no meaning on a page or a recording
    int saved = std::exchange(d.st.rop2, rop == DSTINVERT ? int(R2_NOT) : int(R2_XORPEN));
    FillDeviceRect(d, r, rop == DSTINVERT ? BrushSpec{BrushStyle::Solid, 0} : d.st.brush, nullptr);
    d.st.rop2 = saved;
}

void DeviceContext::DrawFocusRect(const Rect& rect) {
    Impl& d = Live();
    if (!d.PixelTarget())
        return;
    Rect r = OffsetRect(Normalized(rect), d.st.origin.x, d.st.origin.y);
    if (r.IsEmpty())
        return;
    PixelWriter w(d);
    auto put = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            w.Put(x, y, 0xFFFFFF, R2_XORPEN);
    };
    for (int x = r.left; x < r.right; ++x) {
        put(x, r.top);
        if (r.bottom - 1 != r.top)
            put(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        put(r.left, y);
        if (r.right - 1 != r.left)
            put(r.right - 1, y);
    }
}

void DeviceContext::DrawEdge(const Rect& rect, unsigned edge, unsigned flags) {
    Rect r = Normalized(rect);
    auto line = [&](ColorRef c, const Rect& band) {
        FillRect(band, BrushSpec{BrushStyle::Solid, c});
    };
    auto ring = [&](ColorRef topLeft, ColorRef bottomRight) {
        if (r.IsEmpty())
            return;
        if (flags & BF_TOP)
            line(topLeft, Rect{r.left, r.top, r.right - 1, r.top + 1});
        if (flags & BF_LEFT)
            line(topLeft, Rect{r.left, r.top, r.left + 1, r.bottom - 1});
        if (flags & BF_BOTTOM)
            line(bottomRight, Rect{r.left, r.bottom - 1, r.right, r.bottom});
        if (flags & BF_RIGHT)
            line(bottomRight, Rect{r.right - 1, r.top, r.right, r.bottom});
        if (flags & BF_LEFT)
            ++r.left;
        if (flags & BF_TOP)
            ++r.top;
        if (flags & BF_RIGHT)
            --r.right;
        if (flags & BF_BOTTOM)
            --r.bottom;
    };
    ColorRef light = GetSysColor(COLOR_3DLIGHT), hilite = GetSysColor(COLOR_BTNHIGHLIGHT),
             shadow = GetSysColor(COLOR_BTNSHADOW), dark = GetSysColor(COLOR_3DDKSHADOW);
    if (flags & BF_MONO) {
        ring(GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME));
    } else if (flags & BF_FLAT) {
        ring(shadow, shadow);
        if (edge & (BDR_RAISEDINNER | BDR_SUNKENINNER))
            ring(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
    } else {
        if (edge & BDR_RAISEDOUTER)
            ring(light, dark);
        else if (edge & BDR_SUNKENOUTER)
            ring(shadow, hilite);
        if (edge & BDR_RAISEDINNER)
            ring(hilite, shadow);
        else if (edge & BDR_SUNKENINNER)
            ring(dark, light);
    }
    if (flags & BF_MIDDLE)
        FillRect(r, BrushSpec{BrushStyle::Solid, GetSysColor(COLOR_BTNFACE)});
}

ColorRef DeviceContext::GetPixel(int x, int y) const {
    Impl& d = Live();
    Point p{x + d.st.origin.x, y + d.st.origin.y};
    if (!d.PixelTarget() || !Rect{0, 0, d.size.cx, d.size.cy}.Contains(p))
        return 0xFFFFFFFFu;
    cairo_surface_flush(d.surface);
    return d.bitmap->GetPixel(p.x * d.scale, p.y * d.scale);
}

void DeviceContext::SetPixel(int x, int y, ColorRef color) {
    Impl& d = Live();
    x += d.st.origin.x;
    y += d.st.origin.y;
    if (d.PixelTarget()) {
        PixelWriter w(d);
        w.Put(x, y, ColorToWord(color), R2_COPYPEN);
        return;
    }
    SetSourceColor(d.cr, color);
    cairo_new_path(d.cr);
    cairo_rectangle(d.cr, x, y, 1, 1);
    cairo_fill(d.cr);
}

} // namespace platform::gdi
