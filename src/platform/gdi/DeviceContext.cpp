#include "platform/gdi/DeviceContext.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "platform/gdi/DeviceContextImpl.h"

namespace platform::gdi {

void LinkLeakSuppressions();

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
    SetUpCairo(scale);
}

DeviceContext::Impl::Impl(Bitmap& target, int ppi_, int scale_)
    : kind(TargetKind::Image), surface(nullptr), cr(nullptr), bitmap(nullptr), ppi(ppi_),
      scale(std::max(1, scale_)), binding(target.Bind()) {
    LinkLeakSuppressions();
    AttachImage();
}

void DeviceContext::Impl::SetUpCairo(double scale) {
    if (scale != 1.0)
        cairo_scale(cr, scale, scale);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void DeviceContext::Impl::AttachImage() {
    Bitmap* target = binding->bitmap;
    generation = binding->generation;
    targetGone = target == nullptr;
    if (target && !target->Empty()) {
        bitmap = target;
        size = Size{target->Width() / scale, target->Height() / scale};
    } else {
        if (!ownBitmap)
            ownBitmap = std::make_unique<Bitmap>(1, 1);
        bitmap = ownBitmap.get();
        size = Size{0, 0};
    }
    surface = SurfaceOver(*bitmap);
    cr = cairo_create(surface);
    SetUpCairo(scale);
    ApplyClip();
}

void DeviceContext::Impl::DropSurface(bool flush) {
    cairo_destroy(cr);
    if (flush)
        cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    cr = nullptr;
    surface = nullptr;
}

void DeviceContext::Impl::Sync() {
    if (!binding ||
        (binding->generation == generation && (binding->bitmap == nullptr) == targetGone))
        return;
    // The old pixels may be freed already: the old surface is dropped without touching them.
    DropSurface(false);
    AttachImage();
}

Bitmap* DeviceContext::Impl::Target() const {
    if (binding)
        return binding->bitmap;
    return kind == TargetKind::Image ? bitmap : nullptr;
}

DeviceContext::Impl::~Impl() {
    bool current = !binding || (binding->generation == generation &&
                                (binding->bitmap == nullptr) == targetGone);
    DropSurface(bitmap != nullptr && current);
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
    // Contexts that never draw text (most bitmap canvases) never make a set-up.
    if (!textSetup)
        textSetup = TextSetupFor(cr, bitmap != nullptr || kind == TargetKind::Metafile);
    textFont = RealizeTextFont(textSetup, st.font, ppi);
    // No font at all installed: text has no size and nothing is drawn.
    metrics = textFont ? textFont->metrics : TextMetrics{};
    fontValid = true;
}

ShapedText DeviceContext::Impl::Shape(std::string_view text) {
    RealizeFont();
    return textFont ? ShapeText(*textFont, text) : ShapedText();
}

// ---------------------------------------------------------------------------------------------

DeviceContext::DeviceContext(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
DeviceContext::~DeviceContext() = default;

std::unique_ptr<DeviceContext> DeviceContext::ForBitmap(Bitmap& bitmap, int pixelsPerInch,
                                                        int deviceScale) {
    return std::make_unique<DeviceContext>(
        std::make_unique<Impl>(bitmap, pixelsPerInch, deviceScale));
}

DeviceContext::Impl& DeviceContext::Live() const {
    m_impl->Sync();
    return *m_impl;
}

DeviceContext::Impl& DeviceContext::GetImpl() {
    return Live();
}

Bitmap* DeviceContext::TargetBitmap() {
    return Live().Target();
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
    return Live().size;
}
int DeviceContext::DeviceScale() const {
    return m_impl->scale;
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

void DeviceContext::SetPaintedOver(const Region& area) {
    m_impl->paintedOver = area;
}

Rect DeviceContext::GetClipBox() const {
    Impl& d = Live();
    return OffsetRect(d.DeviceClip(), -d.st.origin.x, -d.st.origin.y);
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

} // namespace platform::gdi
