#pragma once
// A device context: one drawing interface over four targets — a 32-bit image (a window's back
// buffer or a bitmap), a printer page (a PDF page at the device's resolution), a metafile
// recording, and the screen-compatible memory context that measures text.
//
// Coordinates are logical pixels; the viewport origin is added to reach device pixels. The classic
// pixel rules hold: a line does not paint its end point, rectangles exclude their right and bottom
// edges, a polyline does not paint its last point, lines and fills are not anti-aliased on image
// targets, and pens of width 1 and 2 land on whole pixels.
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Metafile.h"
#include "platform/gdi/Region.h"

namespace platform::gdi {

enum class TargetKind { Image, PrinterPage, Metafile, Measure };

class DeviceContext {
public:
    // Draws into `bitmap`. The context follows the bitmap object: when it is resized or assigned
    // while the context is held, drawing goes to its new pixels, clipped to its new size; when
    // it is destroyed first, the context draws nothing (its size becomes 0 x 0).
    // With a device scale s (a window's back buffer on a high-resolution screen) the bitmap holds
    // s x s pixels for each of the context's: coordinates, clip and size stay the logical ones,
    // and everything is drawn at the bitmap's resolution — text and lines sharp, one-pixel pens
    // s pixels wide, pictures enlarged smoothly.
    static std::unique_ptr<DeviceContext> ForBitmap(Bitmap& bitmap, int pixelsPerInch = 96,
                                                    int deviceScale = 1);
    // The screen-compatible memory context: measures text as image targets draw it.
    static std::unique_ptr<DeviceContext> ForMeasure();

    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    TargetKind Kind() const;
    // Device resolution (pixels per logical inch) and size in the context's pixels (a printer
    // page's device pixels; a scaled image's logical size).
    int PixelsPerInch() const;
    Size DeviceSize() const;
    // Pixels of the target per pixel of the context, each way (1 but for scaled images).
    int DeviceScale() const;
    // The bitmap an image context draws on; null for other targets and once the bitmap is gone.
    Bitmap* TargetBitmap();

    // State stack: SaveDC returns the new depth; RestoreDC(-1) pops one level.
    int SaveDC();
    void RestoreDC(int level = -1);

    // Viewport origin: device = logical + origin.
    void SetViewportOrg(Point origin);
    Point GetViewportOrg() const;

    // Clipping, in logical coordinates at the time of the call (stored as device rectangles).
    void SelectClipRect(const Rect& rect);
    void IntersectClipRect(const Rect& rect);
    void RemoveClip();
    // The logical bounds of what can be painted.
    Rect GetClipBox() const;
    // Parts of the target (device rectangles, not moved by the origin) that are painted over
    // before anyone sees them: solid fills skip them, since their pixels do not matter.
    void SetPaintedOver(const Region& area);

    // Drawing objects and attributes.
    void SetPen(const PenSpec& pen);
    const PenSpec& GetPen() const;
    void SetBrush(const BrushSpec& brush);
    const BrushSpec& GetBrush() const;
    // A brush that tiles `pattern` from the brush origin (a copy is kept).
    void SetPatternBrush(const Bitmap& pattern);
    void SetBrushOrg(Point origin);
    void SetFont(const FontSpec& font);
    const FontSpec& GetFont() const;
    ColorRef SetTextColor(ColorRef color);
    ColorRef GetTextColor() const;
    ColorRef SetBkColor(ColorRef color);
    ColorRef GetBkColor() const;
    int SetBkMode(int mode);
    int GetBkMode() const;
    unsigned SetTextAlign(unsigned flags);
    unsigned GetTextAlign() const;
    int SetRop2(int rop);
    int GetRop2() const;

    // Lines, with the current pen and raster operation.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    Point GetCurrentPosition() const;
    void Polyline(const std::vector<Point>& points);
    // Lines drawn as MoveTo(from) and LineTo(to) draw each, in turn; the current position ends at
    // the last one's end. A page or a metafile gets them as one shape, not a shape each (the
    // ticks and grid of a chart: hundreds of shapes that cost a printer page most of its time).
    void LineSegments(const std::vector<std::pair<Point, Point>>& segments);

    // Shapes: outlined with the pen, filled with the brush.
    void Rectangle(const Rect& rect);
    void Ellipse(const Rect& rect);
    void Polygon(const std::vector<Point>& points);

    // Fills and frames that ignore the pen.
    void FillRect(const Rect& rect, const BrushSpec& brush);
    // Stripes of solid colour, as FillRect fills each. Stripes that lie side by side across the
    // whole of their bounds go to a page or a metafile as one image of a pixel per step: a
    // gradient of 256 steps is one small image there instead of 256 shapes to write out.
    void FillBands(const std::vector<ColorBand>& bands);
    void FrameRect(const Rect& rect, const BrushSpec& brush);
    void InvertRect(const Rect& rect);
    // Fills the rectangle with the current brush combined by `rop` (PATCOPY, PATINVERT,
    // DSTINVERT, BLACKNESS, WHITENESS).
    void PatBlt(const Rect& rect, std::uint32_t rop = PATCOPY);
    // The dotted XOR rectangle of keyboard focus; drawing it twice removes it.
    void DrawFocusRect(const Rect& rect);
    // Classic 3-D edges in the system colours; with BF_ADJUST-like use the caller shrinks itself.
    void DrawEdge(const Rect& rect, unsigned edge, unsigned flags);

    ColorRef GetPixel(int x, int y) const; // 0xFFFFFFFF off image targets or outside
    void SetPixel(int x, int y, ColorRef color);

    // Text in UTF-8.
    void TextOut(int x, int y, std::string_view text);
    void ExtTextOut(int x, int y, unsigned options, const Rect* rect, std::string_view text);
    Size GetTextExtent(std::string_view text) const;
    TextMetrics GetTextMetrics() const;
    // Formats text into `rect` by the DT_ flags; returns the text height. With DT_CALCRECT only
    // `rect` is updated (right and bottom) and nothing is drawn.
    int DrawText(std::string_view text, Rect& rect, unsigned format);

    // Pixel copies from a bitmap. Stretching takes the nearest source pixel (colour on colour).
    // Bitmaps with alpha are composited over the destination.
    void BitBlt(int x, int y, const Bitmap& source, const Rect& sourceRect,
                std::uint32_t rop = SRCCOPY);
    void StretchBlt(const Rect& dest, const Bitmap& source, const Rect& sourceRect,
                    std::uint32_t rop = SRCCOPY);
    // Copies every source pixel except those of `transparent` colour.
    void TransparentBlt(const Rect& dest, const Bitmap& source, const Rect& sourceRect,
                        ColorRef transparent);
    // Copies source pixels where the mask pixel is black; white mask pixels leave the
    // destination. (The mask has the source's size.)
    // On a page or a metafile these two copy the kept pixels as an opaque picture clipped to
    // their shape: no transparency reaches a printer. On a page an enlarged picture is made at
    // the page's resolution, so that no viewer smooths it.
    void MaskBlt(const Rect& dest, const Bitmap& source, const Bitmap& mask,
                 const Rect& sourceRect);

    // Plays a recording back, scaled so that its logical size fills `dest`.
    void PlayMetafile(const Metafile& metafile, const Rect& dest);

    // Implementation state, defined in DeviceContext.cpp.
    struct Impl;
    explicit DeviceContext(std::unique_ptr<Impl> impl);
    Impl& GetImpl();

private:
    Impl& Live() const; // the state, with an image target's surface brought up to date

    std::unique_ptr<Impl> m_impl;
};

// MulDiv as the platform rounds it: a * b / c rounded to nearest, halves away from zero; -1 when
// c is 0.
int MulDiv(int a, int b, int c);

} // namespace platform::gdi
