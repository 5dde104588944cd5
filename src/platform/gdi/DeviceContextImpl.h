#pragma once
// Private to src/platform/gdi: the state behind a DeviceContext.
#include <cairo.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/TextCache.h"

namespace platform::gdi {

struct DcState {
    PenSpec pen;
    BrushSpec brush;
    std::shared_ptr<const Bitmap> patternBrush;
    Point brushOrg;
    FontSpec font;
    ColorRef textColor = 0;
    ColorRef bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    unsigned textAlign = TA_LEFT | TA_TOP;
    int rop2 = R2_COPYPEN;
    Point origin;
    bool hasClip = false;
    Rect clip;      // device pixels
    Point position; // logical
};

struct DeviceContext::Impl {
    Impl(TargetKind kind, cairo_surface_t* surface, Bitmap* bitmap, int ppi, Size size,
         double scale);
    // An image target drawing on whatever pixels `bitmap` holds at each call, `scale` device
    // pixels to the logical pixel each way.
    Impl(Bitmap& bitmap, int ppi, int scale);
    ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    TargetKind kind;
    cairo_surface_t* surface;
    cairo_t* cr;
    Bitmap* bitmap; // where the pixels go: image and measure targets
    std::unique_ptr<Bitmap> ownBitmap;
    int ppi;
    Size size; // logical pixels: an image target's size divided by its scale
    // Device pixels per logical pixel, each way (image targets; 1 elsewhere). Coordinates, the
    // clip and `size` stay logical; cairo draws through a matrix of this scale, and the pixel
    // writers below put each logical pixel as a square of device pixels.
    int scale = 1;
    // Image targets: the bitmap object drawn on, and which of its pixel stores the surface is
    // over. When the bitmap replaces its pixels the surface is made again over the new ones;
    // when the bitmap is gone the context draws on a private pixel with size 0 x 0.
    std::shared_ptr<const Bitmap::Binding> binding;
    std::uint64_t generation = 0;
    bool targetGone = false;
    DcState st;
    std::vector<DcState> saved;
    Region paintedOver; // device rectangles solid fills may skip

    // Text: the font set-up for this target (made on first use) and the realised font.
    std::shared_ptr<const TextSetup> textSetup;
    std::shared_ptr<const TextFont> textFont;
    bool fontValid = false;
    TextMetrics metrics;
    int stylePos = 0; // position in the dash pattern of cosmetic lines

    bool PixelTarget() const { return bitmap != nullptr; }
    // Brings an image target's surface up to date with its bitmap; every drawing call starts here.
    void Sync();
    // The bitmap an image target draws on, or null when it is gone (or for other targets).
    Bitmap* Target() const;
    void AttachImage();
    void DropSurface(bool flush);
    void SetUpCairo(double scale);
    Rect DeviceClip() const;
    void ApplyClip();
    void RealizeFont();
    // `text` laid out in the realised font (realising it first).
    ShapedText Shape(std::string_view text);
};

// Helpers the drawing files share.
// Binary raster operation (R2_*) of a pen word on a destination word.
std::uint32_t ApplyRop2(int rop, std::uint32_t pen, std::uint32_t dst);
// The ternary raster operations of copies that combine a source pixel with the destination.
std::uint32_t ApplyRop3(std::uint32_t rop, std::uint32_t src, std::uint32_t dst);
void SetSourceColor(cairo_t* cr, ColorRef c);
// A cairo surface over the bitmap's words (no copy); the caller destroys it.
cairo_surface_t* SurfaceOver(const Bitmap& bitmap);
Rect Normalized(Rect r);
inline Rect ScaleRect(const Rect& r, int scale) {
    return Rect{r.left * scale, r.top * scale, r.right * scale, r.bottom * scale};
}

// Pixel access on image targets, with the clip and the raster operation applied. `Put` takes a
// logical pixel (a square of device pixels on a scaled target), `PutDevice` one device pixel.
class PixelWriter {
public:
    explicit PixelWriter(DeviceContext::Impl& dc)
        : m_dc(dc), m_clip(dc.DeviceClip()), m_deviceClip(ScaleRect(m_clip, dc.scale)),
          m_scale(dc.scale) {
        cairo_surface_flush(dc.surface);
    }
    ~PixelWriter() { cairo_surface_mark_dirty(m_dc.surface); }
    PixelWriter(const PixelWriter&) = delete;
    PixelWriter& operator=(const PixelWriter&) = delete;
    void Put(int x, int y, std::uint32_t word, int rop) {
        if (!m_clip.Contains(Point{x, y}))
            return;
        if (m_scale == 1) {
            Combine(m_dc.bitmap->Row(y)[x], word, rop);
            return;
        }
        for (int dy = 0; dy < m_scale; ++dy) {
            std::uint32_t* row = m_dc.bitmap->Row(y * m_scale + dy) + x * m_scale;
            for (int dx = 0; dx < m_scale; ++dx)
                Combine(row[dx], word, rop);
        }
    }
    void PutDevice(int x, int y, std::uint32_t word, int rop) {
        if (m_deviceClip.Contains(Point{x, y}))
            Combine(m_dc.bitmap->Row(y)[x], word, rop);
    }
    // Logical and device clip.
    const Rect& Clip() const { return m_clip; }
    const Rect& DeviceClip() const { return m_deviceClip; }

private:
    static void Combine(std::uint32_t& d, std::uint32_t word, int rop) {
        d = rop == R2_COPYPEN ? (word & 0xFFFFFFu) | 0xFF000000u : ApplyRop2(rop, word, d);
    }

    DeviceContext::Impl& m_dc;
    Rect m_clip;
    Rect m_deviceClip;
    int m_scale;
};

} // namespace platform::gdi
