#include "platform/gdi/DeviceContext.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "platform/gdi/DeviceContextImpl.h"
#include "platform/gdi/FontNames.h"
#include "platform/gdi/SysColors.h"

namespace platform::gdi {

void LinkLeakSuppressions();

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

// The binary raster operations are a truth table over (pen, destination) bits: bit
// (pen * 2 + destination) of rop - 1 gives the result bit.
std::uint32_t ApplyRop2(int rop, std::uint32_t pen, std::uint32_t dst) {
    unsigned t = unsigned(rop - 1) & 0xF;
    std::uint32_t r = 0;
    if (t & 1)
        r |= ~pen & ~dst;
    if (t & 2)
        r |= ~pen & dst;
    if (t & 4)
        r |= pen & ~dst;
    if (t & 8)
        r |= pen & dst;
    return (r & 0xFFFFFF) | 0xFF000000u;
}

std::uint32_t ApplyRop3(std::uint32_t rop, std::uint32_t src, std::uint32_t dst) {
    std::uint32_t r;
    switch (rop) {
    case SRCPAINT:
        r = src | dst;
        break;
    case SRCAND:
        r = src & dst;
        break;
    case SRCINVERT:
        r = src ^ dst;
        break;
    case SRCERASE:
        r = src & ~dst;
        break;
    case NOTSRCCOPY:
        r = ~src;
        break;
    case MERGEPAINT:
        r = ~src | dst;
        break;
    case DSTINVERT:
        r = ~dst;
        break;
    case BLACKNESS:
        r = 0;
        break;
    case WHITENESS:
        r = 0xFFFFFF;
        break;
    default:
        r = src;
        break;
    }
    return (r & 0xFFFFFF) | 0xFF000000u;
}

void SetSourceColor(cairo_t* cr, ColorRef c) {
    cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
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

cairo_surface_t* SurfaceOver(const Bitmap& bitmap) {
    return cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(bitmap.Data())),
        bitmap.HasAlpha() ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, bitmap.Width(),
        bitmap.Height(), bitmap.Stride());
}

Rect Normalized(Rect r) {
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    return r;
}

// Splits "&x" mnemonics out of a caption: returns the visible text and the byte index of the
// underlined character (-1 for none).
std::string StripPrefix(std::string_view text, int& underlined) {
    std::string out;
    underlined = -1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != '&')
                underlined = int(out.size());
        }
        out += text[i];
    }
    return out;
}

std::size_t Utf8CharLength(std::string_view s, std::size_t i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    return std::min(n, s.size() - i);
}

} // namespace

Rect IntersectRect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.IsEmpty())
        return Rect{};
    return r;
}

Rect OffsetRect(const Rect& r, int dx, int dy) {
    return Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    long long p = static_cast<long long>(a) * b;
    long long q = c;
    bool negative = (p < 0) != (q < 0);
    p = std::llabs(p);
    q = std::llabs(q);
    long long r = (p + q / 2) / q;
    return int(negative ? -r : r);
}

// ---------------------------------------------------------------------------------------------

DeviceContext::Impl::Impl(TargetKind kind_, cairo_surface_t* surface_, Bitmap* bitmap_, int ppi_,
                          Size size_, double scale)
    : kind(kind_), surface(surface_), cr(cairo_create(surface_)), bitmap(bitmap_), ppi(ppi_),
      size(size_) {
    LinkLeakSuppressions();
    if (scale != 1.0)
        cairo_scale(cr, scale, scale);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

// Text needs a pango layout; contexts that never draw text (most bitmap canvases) never make one.
void DeviceContext::Impl::EnsureLayout() {
    if (layout)
        return;
    // The layout is made without the page scale: its metrics are then in device pixels, the
    // unit every caller works in.
    cairo_save(cr);
    cairo_identity_matrix(cr);
    layout = pango_cairo_create_layout(cr);
    cairo_restore(cr);
    cairo_font_options_t* options = cairo_font_options_create();
    if (bitmap) {
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    } else {
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    }
    PangoContext* context = pango_layout_get_context(layout);
    pango_cairo_context_set_font_options(context, options);
    pango_cairo_context_set_resolution(context, 72.0);
    cairo_font_options_destroy(options);
    pango_layout_context_changed(layout);
}

DeviceContext::Impl::~Impl() {
    if (layout)
        g_object_unref(layout);
    cairo_destroy(cr);
    if (bitmap)
        cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
}

Rect DeviceContext::Impl::DeviceClip() const {
    Rect full{0, 0, size.cx, size.cy};
    if (kind == TargetKind::Metafile)
        full = Rect{-(1 << 24), -(1 << 24), 1 << 24, 1 << 24};
    return st.hasClip ? IntersectRect(full, st.clip) : full;
}

void DeviceContext::Impl::ApplyClip() {
    cairo_reset_clip(cr);
    if (st.hasClip) {
        cairo_rectangle(cr, st.clip.left, st.clip.top, st.clip.Width(), st.clip.Height());
        cairo_clip(cr);
    }
}

void DeviceContext::Impl::RealizeFont() {
    if (fontValid)
        return;
    EnsureLayout();
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, ResolveFontFamily(st.font.name).c_str());
    pango_font_description_set_weight(desc, st.font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(desc,
                                     st.font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    int height = st.font.pointSize != 0 ? -MulDiv(st.font.pointSize, ppi, 72) : st.font.height;
    if (height == 0)
        height = -MulDiv(8, ppi, 72);
    PangoContext* context = pango_layout_get_context(layout);
    double em = std::abs(height);
    if (height > 0) {
        // A cell height: find the em size whose ascent + descent gives it.
        pango_font_description_set_absolute_size(desc, 1000.0 * PANGO_SCALE);
        PangoFontMetrics* m = pango_context_get_metrics(context, desc, nullptr);
        double cell = double(pango_font_metrics_get_ascent(m) + pango_font_metrics_get_descent(m)) /
                      PANGO_SCALE;
        pango_font_metrics_unref(m);
        if (cell > 0)
            em = height * 1000.0 / cell;
    }
    pango_font_description_set_absolute_size(desc, std::max(1.0, em) * PANGO_SCALE);
    pango_layout_set_font_description(layout, desc);
    PangoFontMetrics* m = pango_context_get_metrics(context, desc, nullptr);
    metrics.ascent = int(std::lround(double(pango_font_metrics_get_ascent(m)) / PANGO_SCALE));
    metrics.descent = int(std::lround(double(pango_font_metrics_get_descent(m)) / PANGO_SCALE));
    metrics.height = metrics.ascent + metrics.descent;
    metrics.internalLeading = std::max(0, metrics.height - int(std::lround(em)));
    metrics.externalLeading = 0;
    metrics.aveCharWidth =
        int(std::lround(double(pango_font_metrics_get_approximate_char_width(m)) / PANGO_SCALE));
    metrics.maxCharWidth = int(std::lround(em));
    pango_font_metrics_unref(m);
    pango_font_description_free(desc);

    PangoAttrList* attrs = pango_attr_list_new();
    if (st.font.underline)
        pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (st.font.strikeOut)
        pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);
    fontValid = true;
}

// ---------------------------------------------------------------------------------------------

namespace {

// Pixel access on image targets, with the clip and the raster operation applied.
class PixelWriter {
public:
    explicit PixelWriter(DeviceContext::Impl& dc) : m_dc(dc), m_clip(dc.DeviceClip()) {
        cairo_surface_flush(dc.surface);
    }
    ~PixelWriter() { cairo_surface_mark_dirty(m_dc.surface); }
    void Put(int x, int y, std::uint32_t word, int rop) {
        if (!m_clip.Contains(Point{x, y}))
            return;
        std::uint32_t& d = m_dc.bitmap->Row(y)[x];
        d = ApplyRop2(rop, word, d);
    }
    const Rect& Clip() const { return m_clip; }

private:
    DeviceContext::Impl& m_dc;
    Rect m_clip;
};

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
    Rect clip = d.DeviceClip();
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
                w.Put(clip.left + x, clip.top + y, v & 0xFFFFFF, d.st.rop2);
        }
    cairo_surface_destroy(layer);
}

bool CosmeticOnImage(const DeviceContext::Impl& d) {
    return d.PixelTarget() && d.st.pen.width <= 1;
}

// One line of a one-pixel pen on an image target, end point excluded, in device pixels.
void PixelLine(DeviceContext::Impl& d, PixelWriter& w, int x0, int y0, int x1, int y1) {
    const auto& pattern = DashPattern(d.st.pen.style);
    int period = 0;
    for (int v : pattern)
        period += v;
    std::uint32_t pen = ColorToWord(d.st.pen.color);
    std::uint32_t bk = ColorToWord(d.st.bkColor);
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int steps = std::max(dx, -dy);
    int x = x0, y = y0;
    for (int i = 0; i < steps; ++i) {
        bool on = true;
        if (period > 0) {
            int p = d.stylePos % period;
            for (std::size_t k = 0; k < pattern.size(); ++k) {
                if (p < pattern[k]) {
                    on = (k % 2) == 0;
                    break;
                }
                p -= pattern[k];
            }
            ++d.stylePos;
        }
        if (on)
            w.Put(x, y, pen, d.st.rop2);
        else if (d.st.bkMode == OPAQUE)
            w.Put(x, y, bk, d.st.rop2);
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
    if (!closed && d.st.pen.width <= 1 && pts.size() == 2) {
        // Leave the end point's pixel unpainted: stop half a pixel short of its centre.
        double x0 = pts[0].x + 0.5, y0 = pts[0].y + 0.5, x1 = pts[1].x + 0.5, y1 = pts[1].y + 0.5;
        double len = std::hypot(x1 - x0, y1 - y0);
        if (len == 0)
            return;
        double ux = (x1 - x0) / len * 0.5, uy = (y1 - y0) / len * 0.5;
        cairo_move_to(d.cr, x0 - ux, y0 - uy);
        cairo_line_to(d.cr, x1 - ux, y1 - uy);
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
    if (d.PixelTarget() && rop != R2_COPYPEN && !pattern && brush.style == BrushStyle::Solid) {
        PixelWriter w(d);
        Rect c = IntersectRect(r, w.Clip());
        std::uint32_t word = ColorToWord(brush.color);
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

// ---------------------------------------------------------------------------------------------

DeviceContext::DeviceContext(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
DeviceContext::~DeviceContext() = default;

std::unique_ptr<DeviceContext> DeviceContext::ForBitmap(Bitmap& bitmap, int pixelsPerInch) {
    cairo_surface_t* s = SurfaceOver(bitmap);
    return std::make_unique<DeviceContext>(std::make_unique<Impl>(
        TargetKind::Image, s, &bitmap, pixelsPerInch, Size{bitmap.Width(), bitmap.Height()}, 1.0));
}

std::unique_ptr<DeviceContext> DeviceContext::ForMeasure() {
    auto bitmap = std::make_unique<Bitmap>(1, 1);
    cairo_surface_t* s = SurfaceOver(*bitmap);
    auto impl = std::make_unique<Impl>(TargetKind::Measure, s, bitmap.get(), 96, Size{1, 1}, 1.0);
    impl->ownBitmap = std::move(bitmap);
    return std::make_unique<DeviceContext>(std::move(impl));
}

TargetKind DeviceContext::Kind() const {
    return m_impl->kind;
}
int DeviceContext::PixelsPerInch() const {
    return m_impl->ppi;
}
Size DeviceContext::DeviceSize() const {
    return m_impl->size;
}

int DeviceContext::SaveDC() {
    m_impl->saved.push_back(m_impl->st);
    return int(m_impl->saved.size());
}

void DeviceContext::RestoreDC(int level) {
    auto& saved = m_impl->saved;
    std::size_t keep = level < 0 ? (saved.empty() ? 0 : saved.size() - 1) : std::size_t(level - 1);
    if (level == 0 || keep >= saved.size())
        return;
    bool fontChanged = !(saved[keep].font == m_impl->st.font);
    m_impl->st = saved[keep];
    saved.resize(keep);
    if (fontChanged)
        m_impl->fontValid = false;
    m_impl->ApplyClip();
}

void DeviceContext::SetViewportOrg(Point origin) {
    m_impl->st.origin = origin;
}
Point DeviceContext::GetViewportOrg() const {
    return m_impl->st.origin;
}

void DeviceContext::SelectClipRect(const Rect& rect) {
    m_impl->st.hasClip = true;
    m_impl->st.clip = OffsetRect(Normalized(rect), m_impl->st.origin.x, m_impl->st.origin.y);
    m_impl->ApplyClip();
}

void DeviceContext::IntersectClipRect(const Rect& rect) {
    Rect r = OffsetRect(Normalized(rect), m_impl->st.origin.x, m_impl->st.origin.y);
    m_impl->st.clip = m_impl->st.hasClip ? IntersectRect(m_impl->st.clip, r) : r;
    m_impl->st.hasClip = true;
    m_impl->ApplyClip();
}

void DeviceContext::RemoveClip() {
    m_impl->st.hasClip = false;
    m_impl->ApplyClip();
}

Rect DeviceContext::GetClipBox() const {
    return OffsetRect(m_impl->DeviceClip(), -m_impl->st.origin.x, -m_impl->st.origin.y);
}

void DeviceContext::SetPen(const PenSpec& pen) {
    m_impl->st.pen = pen;
}
const PenSpec& DeviceContext::GetPen() const {
    return m_impl->st.pen;
}
void DeviceContext::SetBrush(const BrushSpec& brush) {
    m_impl->st.brush = brush;
    m_impl->st.patternBrush.reset();
}
const BrushSpec& DeviceContext::GetBrush() const {
    return m_impl->st.brush;
}
void DeviceContext::SetPatternBrush(const Bitmap& pattern) {
    m_impl->st.patternBrush = std::make_shared<const Bitmap>(pattern);
}
void DeviceContext::SetBrushOrg(Point origin) {
    m_impl->st.brushOrg = origin;
}

void DeviceContext::SetFont(const FontSpec& font) {
    if (font == m_impl->st.font && m_impl->fontValid)
        return;
    m_impl->st.font = font;
    m_impl->fontValid = false;
}
const FontSpec& DeviceContext::GetFont() const {
    return m_impl->st.font;
}

ColorRef DeviceContext::SetTextColor(ColorRef color) {
    return std::exchange(m_impl->st.textColor, color);
}
ColorRef DeviceContext::GetTextColor() const {
    return m_impl->st.textColor;
}
ColorRef DeviceContext::SetBkColor(ColorRef color) {
    return std::exchange(m_impl->st.bkColor, color);
}
ColorRef DeviceContext::GetBkColor() const {
    return m_impl->st.bkColor;
}
int DeviceContext::SetBkMode(int mode) {
    return std::exchange(m_impl->st.bkMode, mode);
}
int DeviceContext::GetBkMode() const {
    return m_impl->st.bkMode;
}
unsigned DeviceContext::SetTextAlign(unsigned flags) {
    return std::exchange(m_impl->st.textAlign, flags);
}
unsigned DeviceContext::GetTextAlign() const {
    return m_impl->st.textAlign;
}
int DeviceContext::SetRop2(int rop) {
    if (rop < R2_BLACK || rop > R2_WHITE)
        return 0;
    return std::exchange(m_impl->st.rop2, rop);
}
int DeviceContext::GetRop2() const {
    return m_impl->st.rop2;
}

// ---------------------------------------------------------------------------------------------

void DeviceContext::MoveTo(int x, int y) {
    m_impl->st.position = Point{x, y};
    m_impl->stylePos = 0;
}

void DeviceContext::LineTo(int x, int y) {
    Point o = m_impl->st.origin;
    Point from = m_impl->st.position;
    StrokePoints(*m_impl, {{from.x + o.x, from.y + o.y}, {x + o.x, y + o.y}}, false);
    m_impl->st.position = Point{x, y};
}

Point DeviceContext::GetCurrentPosition() const {
    return m_impl->st.position;
}

void DeviceContext::Polyline(const std::vector<Point>& points) {
    Point o = m_impl->st.origin;
    std::vector<Point> pts;
    pts.reserve(points.size());
    for (Point p : points)
        pts.push_back(Point{p.x + o.x, p.y + o.y});
    m_impl->stylePos = 0;
    if (pts.size() == 2) {
        StrokePoints(*m_impl, pts, false);
        return;
    }
    if (CosmeticOnImage(*m_impl)) {
        StrokePoints(*m_impl, pts, false);
        return;
    }
    // Wide or vector pens: one joined path; the last point's pixel may be touched by the pen's
    // width, as with any wide pen.
    double off = 0;
    if (pts.size() < 2 || !PreparePen(*m_impl, off))
        return;
    cairo_new_path(m_impl->cr);
    cairo_move_to(m_impl->cr, pts[0].x + off, pts[0].y + off);
    for (std::size_t i = 1; i < pts.size(); ++i)
        cairo_line_to(m_impl->cr, pts[i].x + off, pts[i].y + off);
    PaintPath(*m_impl, true);
}

void DeviceContext::Rectangle(const Rect& rect) {
    Impl& d = *m_impl;
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
    Impl& d = *m_impl;
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
    Impl& d = *m_impl;
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
    Impl& d = *m_impl;
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
    Impl& d = *m_impl;
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
    Impl& d = *m_impl;
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
    Impl& d = *m_impl;
    if (!d.PixelTarget())
        return 0xFFFFFFFFu;
    cairo_surface_flush(d.surface);
    return d.bitmap->GetPixel(x + d.st.origin.x, y + d.st.origin.y);
}

void DeviceContext::SetPixel(int x, int y, ColorRef color) {
    Impl& d = *m_impl;
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

// ---------------------------------------------------------------------------------------------

Size DeviceContext::GetTextExtent(std::string_view text) const {
    Impl& d = *m_impl;
    d.RealizeFont();
    pango_layout_set_text(d.layout, text.data(), int(text.size()));
    PangoRectangle logical;
    pango_layout_get_extents(d.layout, nullptr, &logical);
    return Size{int(std::lround(double(logical.width) / PANGO_SCALE)), d.metrics.height};
}

TextMetrics DeviceContext::GetTextMetrics() const {
    m_impl->RealizeFont();
    return m_impl->metrics;
}

void DeviceContext::TextOut(int x, int y, std::string_view text) {
    ExtTextOut(x, y, 0, nullptr, text);
}

void DeviceContext::ExtTextOut(int x, int y, unsigned options, const Rect* rect,
                               std::string_view text) {
    Impl& d = *m_impl;
    Point o = d.st.origin;
    if (rect && (options & ETO_OPAQUE))
        FillRect(*rect, BrushSpec{BrushStyle::Solid, d.st.bkColor});
    if (text.empty())
        return;
    Size extent = GetTextExtent(text); // also realises the font and sets the layout's text
    unsigned align = d.st.textAlign;
    Point ref = (align & TA_UPDATECP) ? d.st.position : Point{x, y};
    cairo_save(d.cr);
    if (rect && (options & ETO_CLIPPED)) {
        Rect c = OffsetRect(Normalized(*rect), o.x, o.y);
        cairo_rectangle(d.cr, c.left, c.top, c.Width(), c.Height());
        cairo_clip(d.cr);
    }
    cairo_translate(d.cr, ref.x + o.x, ref.y + o.y);
    if (d.st.font.escapement != 0)
        cairo_rotate(d.cr, -d.st.font.escapement * M_PI / 1800.0);
    int left = 0;
    switch (align & TA_CENTER) {
    case TA_RIGHT:
        left = -extent.cx;
        break;
    case TA_CENTER:
        left = -extent.cx / 2;
        break;
    default:
        break;
    }
    int top = 0;
    if ((align & TA_BASELINE) == TA_BASELINE)
        top = -d.metrics.ascent;
    else if (align & TA_BOTTOM)
        top = -d.metrics.height;
    if (d.st.bkMode == OPAQUE) {
        SetSourceColor(d.cr, d.st.bkColor);
        cairo_new_path(d.cr);
        cairo_rectangle(d.cr, left, top, extent.cx, extent.cy);
        cairo_fill(d.cr);
    }
    double baseline = double(pango_layout_get_baseline(d.layout)) / PANGO_SCALE;
    SetSourceColor(d.cr, d.st.textColor);
    cairo_move_to(d.cr, left, top + d.metrics.ascent - baseline);
    pango_cairo_show_layout(d.cr, d.layout);
    cairo_restore(d.cr);
    if (align & TA_UPDATECP) {
        if ((align & TA_CENTER) == TA_LEFT)
            d.st.position.x += extent.cx;
        else if ((align & TA_CENTER) == TA_RIGHT)
            d.st.position.x -= extent.cx;
    }
}

int DeviceContext::DrawText(std::string_view text, Rect& rect, unsigned format) {
    Impl& d = *m_impl;
    d.RealizeFont();
    int lineHeight = d.metrics.height;
    struct Line {
        std::string text;
        int underlined;
    };
    std::vector<Line> lines;
    std::vector<std::string> paragraphs;
    if (format & DT_SINGLELINE) {
        std::string s(text);
        std::replace(s.begin(), s.end(), '\r', ' ');
        std::replace(s.begin(), s.end(), '\n', ' ');
        paragraphs.push_back(s);
    } else {
        std::string cur;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n') {
                paragraphs.push_back(cur);
                cur.clear();
                if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                    ++i;
            } else {
                cur += text[i];
            }
        }
        paragraphs.push_back(cur);
    }
    int maxWidth = rect.Width();
    for (auto& p : paragraphs) {
        if (format & DT_EXPANDTABS) {
            std::string s;
            for (char c : p)
                s += c == '\t' ? std::string(8, ' ') : std::string(1, c);
            p = s;
        }
        int underlined = -1;
        std::string visible = (format & DT_NOPREFIX) ? p : StripPrefix(p, underlined);
        if (!(format & DT_WORDBREAK) || (format & DT_SINGLELINE) ||
            GetTextExtent(visible).cx <= maxWidth) {
            lines.push_back({visible, underlined});
            continue;
        }
        // Greedy word wrap; a word wider than the line stays whole on its own line.
        std::size_t start = 0;
        while (start < visible.size()) {
            std::size_t best = std::string::npos;
            std::size_t pos = start;
            while (true) {
                std::size_t space = visible.find(' ', pos);
                std::size_t end = space == std::string::npos ? visible.size() : space;
                if (GetTextExtent(std::string_view(visible).substr(start, end - start)).cx >
                        maxWidth &&
                    best != std::string::npos)
                    break;
                best = end;
                if (space == std::string::npos)
                    break;
                pos = space + 1;
            }
            int u =
                (underlined >= int(start) && underlined < int(best)) ? underlined - int(start) : -1;
            lines.push_back({visible.substr(start, best - start), u});
            start = best;
            while (start < visible.size() && visible[start] == ' ')
                ++start;
        }
    }
    int total = lineHeight * int(lines.size());
    if (format & DT_CALCRECT) {
        int widest = 0;
        for (auto& l : lines)
            widest = std::max(widest, GetTextExtent(l.text).cx);
        rect.right = rect.left + widest;
        rect.bottom = rect.top + total;
        return total;
    }
    int y = rect.top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = rect.top + (rect.Height() - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = rect.bottom - lineHeight;
    }
    SaveDC();
    if (!(format & DT_NOCLIP))
        IntersectClipRect(rect);
    SetTextAlign(TA_LEFT | TA_TOP);
    for (auto& l : lines) {
        int w = GetTextExtent(l.text).cx;
        int x = rect.left;
        if (format & DT_CENTER)
            x = rect.left + (rect.Width() - w) / 2;
        else if (format & DT_RIGHT)
            x = rect.right - w;
        ExtTextOut(x, y, 0, nullptr, l.text);
        if (l.underlined >= 0 && l.underlined < int(l.text.size())) {
            int ux = x + GetTextExtent(std::string_view(l.text).substr(0, l.underlined)).cx;
            std::size_t n = Utf8CharLength(l.text, std::size_t(l.underlined));
            int uw = GetTextExtent(std::string_view(l.text).substr(l.underlined, n)).cx;
            int uy = y + d.metrics.ascent + 1;
            FillRect(Rect{ux, uy, ux + uw, uy + 1}, BrushSpec{BrushStyle::Solid, d.st.textColor});
        }
        y += lineHeight;
    }
    RestoreDC();
    return total;
}

// ---------------------------------------------------------------------------------------------

namespace {

// Walks the destination pixels of a stretched copy (nearest source pixel). A destination and a
// source whose widths (or heights) differ in sign mirror the picture along that axis.
template <typename Fn>
void ForEachStretched(DeviceContext::Impl& d, const Rect& destIn, const Bitmap& src,
                      const Rect& srcIn, Fn fn) {
    bool flipX = (destIn.Width() < 0) != (srcIn.Width() < 0);
    bool flipY = (destIn.Height() < 0) != (srcIn.Height() < 0);
    Rect dest = Normalized(destIn), srcRect = Normalized(srcIn);
    if (dest.IsEmpty() || srcRect.IsEmpty() || src.Empty())
        return;
    PixelWriter w(d);
    Rect c = IntersectRect(dest, w.Clip());
    for (int y = c.top; y < c.bottom; ++y) {
        long long i = flipY ? dest.bottom - 1 - y : y - dest.top;
        long long sy = srcRect.top + ((2 * i + 1) * srcRect.Height()) / (2LL * dest.Height());
        if (sy < 0 || sy >= src.Height())
            continue;
        const std::uint32_t* row = src.Row(int(sy));
        std::uint32_t* out = d.bitmap->Row(y);
        for (int x = c.left; x < c.right; ++x) {
            long long j = flipX ? dest.right - 1 - x : x - dest.left;
            long long sx = srcRect.left + ((2 * j + 1) * srcRect.Width()) / (2LL * dest.Width());
            if (sx < 0 || sx >= src.Width())
                continue;
            fn(out[x], row[sx], int(sx), int(sy));
        }
    }
}

// An unscaled opaque copy: whole row spans at a time (an off-screen chart or a window's image
// copied to its place costs a few memory copies instead of a division per pixel).
void CopyRows(DeviceContext::Impl& d, const Rect& dest, const Bitmap& src, const Rect& srcRect) {
    PixelWriter w(d);
    // Destination pixels whose source lies inside the source image, and inside the clip.
    Rect inside{dest.left + std::max(0, -srcRect.left), dest.top + std::max(0, -srcRect.top),
                dest.right - std::max(0, srcRect.right - src.Width()),
                dest.bottom - std::max(0, srcRect.bottom - src.Height())};
    Rect c = IntersectRect(IntersectRect(dest, inside), w.Clip());
    if (c.IsEmpty())
        return;
    int dx = srcRect.left - dest.left, dy = srcRect.top - dest.top;
    for (int y = c.top; y < c.bottom; ++y) {
        const std::uint32_t* in = src.Row(y + dy) + (c.left + dx);
        std::uint32_t* out = d.bitmap->Row(y) + c.left;
        for (int n = c.Width(); n > 0; --n)
            *out++ = *in++ | 0xFF000000u;
    }
}

std::uint32_t Over(std::uint32_t s, std::uint32_t d) {
    unsigned a = s >> 24;
    if (a == 255)
        return s;
    if (a == 0)
        return d | 0xFF000000u;
    std::uint32_t r = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        unsigned sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
        unsigned v = sc + (dc * (255 - a) + 127) / 255;
        r |= std::min(v, 255u) << shift;
    }
    return r;
}

void VectorStretch(DeviceContext::Impl& d, const Rect& destIn, const Bitmap& src,
                   const Rect& srcIn) {
    bool flipX = (destIn.Width() < 0) != (srcIn.Width() < 0);
    bool flipY = (destIn.Height() < 0) != (srcIn.Height() < 0);
    Rect dest = Normalized(destIn), srcRect = Normalized(srcIn);
    if (dest.IsEmpty() || srcRect.IsEmpty() || src.Empty())
        return;
    cairo_surface_t* s = SurfaceOver(src);
    cairo_save(d.cr);
    cairo_new_path(d.cr);
    cairo_rectangle(d.cr, dest.left, dest.top, dest.Width(), dest.Height());
    cairo_clip(d.cr);
    cairo_translate(d.cr, flipX ? dest.right : dest.left, flipY ? dest.bottom : dest.top);
    cairo_scale(d.cr, (flipX ? -1.0 : 1.0) * dest.Width() / srcRect.Width(),
                (flipY ? -1.0 : 1.0) * dest.Height() / srcRect.Height());
    cairo_set_source_surface(d.cr, s, -srcRect.left, -srcRect.top);
    cairo_pattern_set_filter(cairo_get_source(d.cr), CAIRO_FILTER_NEAREST);
    cairo_paint(d.cr);
    cairo_restore(d.cr);
    cairo_surface_destroy(s);
}

} // namespace

void DeviceContext::BitBlt(int x, int y, const Bitmap& source, const Rect& sourceRect,
                           std::uint32_t rop) {
    StretchBlt(Rect{x, y, x + sourceRect.Width(), y + sourceRect.Height()}, source, sourceRect,
               rop);
}

void DeviceContext::StretchBlt(const Rect& dest, const Bitmap& source, const Rect& sourceRect,
                               std::uint32_t rop) {
    Impl& d = *m_impl;
    Rect r = OffsetRect(dest, d.st.origin.x, d.st.origin.y);
    if (!d.PixelTarget()) {
        VectorStretch(d, r, source, sourceRect);
        return;
    }
    bool alpha = source.HasAlpha();
    if (rop == SRCCOPY && !alpha && r.Width() == sourceRect.Width() &&
        r.Height() == sourceRect.Height() && r.Width() > 0 && r.Height() > 0) {
        CopyRows(d, r, source, sourceRect);
        return;
    }
    ForEachStretched(d, r, source, sourceRect, [&](std::uint32_t& out, std::uint32_t s, int, int) {
        if (rop == SRCCOPY)
            out = alpha ? Over(s, out) : (s | 0xFF000000u);
        else
            out = ApplyRop3(rop, s, out);
    });
}

void DeviceContext::TransparentBlt(const Rect& dest, const Bitmap& source, const Rect& sourceRect,
                                   ColorRef transparent) {
    Impl& d = *m_impl;
    std::uint32_t key = ColorToWord(transparent) & 0xFFFFFF;
    if (d.PixelTarget()) {
        Rect r = OffsetRect(dest, d.st.origin.x, d.st.origin.y);
        ForEachStretched(d, r, source, sourceRect,
                         [&](std::uint32_t& out, std::uint32_t s, int, int) {
                             if ((s & 0xFFFFFF) != key)
                                 out = s | 0xFF000000u;
                         });
        return;
    }
    Bitmap masked(source.Width(), source.Height(), 0, true);
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x) {
            std::uint32_t s = source.Word(x, y) & 0xFFFFFF;
            masked.Row(y)[x] = s == key ? 0u : (s | 0xFF000000u);
        }
    StretchBlt(dest, masked, sourceRect);
}

void DeviceContext::MaskBlt(const Rect& dest, const Bitmap& source, const Bitmap& mask,
                            const Rect& sourceRect) {
    Impl& d = *m_impl;
    auto transparentAt = [&](int x, int y) {
        return x < mask.Width() && y < mask.Height() && (mask.Word(x, y) & 0xFFFFFF) != 0;
    };
    if (d.PixelTarget()) {
        Rect r = OffsetRect(dest, d.st.origin.x, d.st.origin.y);
        ForEachStretched(d, r, source, sourceRect,
                         [&](std::uint32_t& out, std::uint32_t s, int sx, int sy) {
                             if (!transparentAt(sx, sy))
                                 out = s | 0xFF000000u;
                         });
        return;
    }
    Bitmap masked(source.Width(), source.Height(), 0, true);
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x)
            masked.Row(y)[x] = transparentAt(x, y) ? 0u : (source.Word(x, y) | 0xFF000000u);
    StretchBlt(dest, masked, sourceRect);
}

void DeviceContext::PlayMetafile(const Metafile& metafile, const Rect& dest) {
    Impl& d = *m_impl;
    if (metafile.Empty() || metafile.Width() <= 0 || metafile.Height() <= 0)
        return;
    Rect r = OffsetRect(dest, d.st.origin.x, d.st.origin.y);
    auto* recording = static_cast<cairo_surface_t*>(metafile.Recording().get());
    cairo_save(d.cr);
    cairo_translate(d.cr, r.left, r.top);
    cairo_scale(d.cr, double(r.Width()) / metafile.Width(), double(r.Height()) / metafile.Height());
    cairo_set_source_surface(d.cr, recording, 0, 0);
    cairo_paint(d.cr);
    cairo_restore(d.cr);
}

} // namespace platform::gdi
