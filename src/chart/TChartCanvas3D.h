#pragma once
// The chart's drawing surface in the flat view. It draws either straight onto the target canvas
// or, when buffered, onto an off-screen bitmap that ShowImage copies to the target. The image
// remembers the canvas and size it was made for, so a resize or a draw onto a foreign canvas can
// never put a stale or foreign picture on screen. Only drawing primitives that every target
// supports are used: no pixels are read back and nothing relies on XOR.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "chart/ChartMath.h"
#include "chart/ChartTypes.h"
#include "frame/graphics/TBitmap.h"
#include "frame/graphics/TCanvas.h"
#include "platform/gdi/SavedDC.h"

namespace chart {

class TChartPen;

class TChartCanvas3D {
public:
    TChartCanvas3D();
    ~TChartCanvas3D();

    bool BufferedDisplay() const { return m_buffered; }
    void SetBufferedDisplay(bool value);
    bool Monochrome() const { return m_monochrome; }
    void SetMonochrome(bool value);
    bool Metafiling() const { return m_metafiling; }
    void SetMetafiling(bool value) { m_metafiling = value; }

    // Marks the image stale; the bitmap is kept for the next draw.
    void Invalidate() { m_stale = true; }
    bool Stale() const { return m_stale; }
    void FreeBitmap();
    frame::TBitmap* Bitmap() const { return m_bitmap.get(); }
    // True when the image is up to date and was last shown on `target` with `bounds`' size.
    bool ImageValidFor(const frame::TCanvas* target, const TRect& bounds) const;

    // Starts drawing for `target` inside `bounds`; returns the chart bounds to draw in.
    TRect InitWindow(frame::TCanvas* target, const TRect& bounds);
    // Ends drawing: a buffered image is copied to `target` at bounds' top-left corner.
    void ShowImage(frame::TCanvas* target, const TRect& bounds);
    // Copies the current image to `target` without drawing.
    void CopyImage(frame::TCanvas* target, const TRect& bounds);

    // The canvas drawn on now (the bitmap's while buffered), or a measuring canvas when no draw
    // is in progress.
    frame::TCanvas* Canvas();
    frame::TPen* Pen() { return Canvas()->Pen(); }
    frame::TBrush* Brush() { return Canvas()->Brush(); }
    frame::TFont* Font() { return Canvas()->Font(); }

    // Pen from a chart pen (hidden: psClear); `printing` gives non-solid one-pixel pens width 0.
    void AssignPen(const TChartPen& pen, TColor color, bool printing);
    void ClearBrush();

    void Rectangle(const TRect& r);
    void FillRect(const TRect& r, TColor color);
    // The bands of a gradient; the brush is left as the last band's fill would leave it.
    void FillBands(const std::vector<TGradientBand>& bands);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Line(int x0, int y0, int x1, int y1);
    void Polyline(const std::vector<TPoint>& points);
    // Lines, each as Line draws it.
    void Lines(const std::vector<std::pair<TPoint, TPoint>>& segments);
    void TextOut(int x, int y, const std::string& text);
    int TextWidth(const std::string& text);
    int TextHeight(const std::string& text);
    // The height of "W" in the current font.
    int FontHeight() { return TextHeight("W"); }

    // Clipping to a rectangle until UnClipRectangle; nests on the context's state stack.
    void ClipRectangle(const TRect& r);
    void UnClipRectangle();

    // Pen black width 1 solid, brush white solid, font black 10 points.
    void ResetState();

private:
    // Axes measure the same labels and the height of "W" many times in every paint; the drawing
    // layer keeps laid-out texts per target kind and font, so measuring again costs a look-up.
    platform::gdi::Size Extent(const std::string& text);
    void SetDrawing(frame::TCanvas* canvas);

    frame::TCanvas* m_target = nullptr;  // the target while a draw is in progress
    frame::TCanvas* m_drawing = nullptr; // where drawing goes (target or bitmap)
    std::unique_ptr<frame::TBitmap> m_bitmap;
    const frame::TCanvas* m_imageTarget = nullptr; // where the image was last shown
    TRect m_imageBounds;
    bool m_buffered = true;
    bool m_stale = true;
    bool m_monochrome = false;
    bool m_metafiling = false;
    std::unique_ptr<platform::gdi::DeviceContext> m_measureDc;
    std::unique_ptr<frame::TCanvas> m_measureCanvas;
    // The open clips, innermost last; each puts back the state of the context it was made on.
    std::vector<std::unique_ptr<platform::gdi::SavedDC>> m_clips;
};

} // namespace chart
