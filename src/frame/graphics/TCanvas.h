#pragma once
// A canvas: pen, brush and font over a device context. Each drawing call hands the current pen,
// brush and font to the context first, so a change to them shows on the next call. The context
// is not owned: a window's, a bitmap's or a printer page's canvas sets it (SetHandle) or makes it
// on demand (CreateHandle).
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/TEvent.h"
#include "frame/TPersistent.h"
#include "frame/graphics/GraphicsTypes.h"
#include "frame/graphics/TBrush.h"
#include "frame/graphics/TFont.h"
#include "frame/graphics/TPen.h"
#include "platform/gdi/DeviceContext.h"

namespace frame {

class TGraphic;
class TBitmap;

// Copy modes of CopyRect (raster operations of the drawing layer).
using TCopyMode = std::uint32_t;
constexpr TCopyMode cmSrcCopy = platform::gdi::SRCCOPY;
constexpr TCopyMode cmSrcAnd = platform::gdi::SRCAND;
constexpr TCopyMode cmSrcPaint = platform::gdi::SRCPAINT;
constexpr TCopyMode cmSrcInvert = platform::gdi::SRCINVERT;

class TCanvas : public TPersistent {
public:
    ZORVANE_CLASS(TCanvas)
    TCanvas();
    ~TCanvas() override;

    // The device context, made through CreateHandle when there is none yet. Raises
    // EInvalidOperation "Canvas does not allow drawing" when none can be had.
    platform::gdi::DeviceContext* Handle();
    void SetHandle(platform::gdi::DeviceContext* dc);
    bool HandleAllocated() const { return m_dc != nullptr; }

    TFont* Font() const { return m_font.get(); }
    void SetFont(TFont* value) { m_font->Assign(value); }
    TPen* Pen() const { return m_pen.get(); }
    void SetPen(TPen* value) { m_pen->Assign(value); }
    TBrush* Brush() const { return m_brush.get(); }
    void SetBrush(TBrush* value) { m_brush->Assign(value); }
    TCopyMode CopyMode() const { return m_copyMode; }
    void SetCopyMode(TCopyMode value) { m_copyMode = value; }

    TPoint PenPos();
    void SetPenPos(TPoint p) { MoveTo(p.x, p.y); }
    TRect ClipRect();
    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const std::vector<TPoint>& points);
    // Lines drawn as MoveTo(from) and LineTo(to) draw each, in turn (one shape on a page).
    void LineSegments(const std::vector<std::pair<TPoint, TPoint>>& segments);
    void Polygon(const std::vector<TPoint>& points);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    void Ellipse(int x1, int y1, int x2, int y2);
    void FillRect(const TRect& r);
    // Stripes of solid colour side by side (a gradient in steps), each filled as FillRect fills;
    // the brush is not changed.
    void FillBands(const std::vector<platform::gdi::ColorBand>& bands);
    void FrameRect(const TRect& r);
    void DrawFocusRect(const TRect& r);

    void TextOut(int x, int y, std::string_view text);
    // Text clipped to `r`, filled with the brush first unless the brush is clear.
    void TextRect(const TRect& r, int x, int y, std::string_view text);
    platform::gdi::Size TextExtent(std::string_view text);
    int TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) { return TextExtent(text).cy; }

    // Graphics at their own size, or stretched into a rectangle.
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& r, TGraphic* graphic);
    // Copies pixels of a canvas whose context is an image (a bitmap's canvas) with CopyMode.
    void CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect);
    // Copies a bitmap, leaving pixels of `transparent` colour out.
    void BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& sourceRect, TColor transparent);

    // The pixels behind an image context (a bitmap's canvas), or null.
    virtual const platform::gdi::Bitmap* SurfaceBitmap() const { return nullptr; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    // Makes a context for SetHandle; the default has none.
    virtual void CreateHandle() {}
    void Changing();
    void Changed();
    // Hands pen, brush and font to the context and returns it.
    platform::gdi::DeviceContext& Prepare();

private:
    void ObjectChanged(TObject*);

    platform::gdi::DeviceContext* m_dc = nullptr;
    std::unique_ptr<TFont> m_font;
    std::unique_ptr<TPen> m_pen;
    std::unique_ptr<TBrush> m_brush;
    TCopyMode m_copyMode = cmSrcCopy;
};

} // namespace frame
