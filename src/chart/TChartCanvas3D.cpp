#include "chart/TChartCanvas3D.h"

#include "chart/TChartPen.h"

namespace chart {

TChartCanvas3D::TChartCanvas3D() = default;
TChartCanvas3D::~TChartCanvas3D() {
    while (!m_clips.empty())
        UnClipRectangle();
}

void TChartCanvas3D::SetBufferedDisplay(bool value) {
    if (value == m_buffered)
        return;
    m_buffered = value;
    if (!value)
        FreeBitmap();
}

void TChartCanvas3D::SetMonochrome(bool value) {
    if (value == m_monochrome)
        return;
    m_monochrome = value;
    FreeBitmap();
}

void TChartCanvas3D::FreeBitmap() {
    m_bitmap.reset();
    m_imageTarget = nullptr;
    m_stale = true;
}

bool TChartCanvas3D::ImageValidFor(const frame::TCanvas* target, const TRect& bounds) const {
    return m_buffered && !m_stale && m_bitmap && m_imageTarget == target &&
           m_imageBounds.Width() == bounds.Width() && m_imageBounds.Height() == bounds.Height() &&
           m_bitmap->Width() == bounds.Width() && m_bitmap->Height() == bounds.Height();
}

TRect TChartCanvas3D::InitWindow(frame::TCanvas* target, const TRect& bounds) {
    m_target = target;
    // A screen at a device scale above 1 gets the chart drawn straight at its resolution: an
    // off-screen image at the chart's logical size would be enlarged, blurred, and the window's
    // back buffer keeps the screen from flickering anyway.
    bool scaled = target && target->HandleAllocated() && target->Handle()->DeviceScale() > 1;
    if (!m_buffered || scaled || bounds.Width() <= 0 || bounds.Height() <= 0) {
        SetDrawing(target);
        return bounds;
    }
    // A bitmap of another size (a resize, or a draw for another canvas) is never drawn over.
    if (!m_bitmap || m_bitmap->Width() != bounds.Width() || m_bitmap->Height() != bounds.Height()) {
        m_bitmap = std::make_unique<frame::TBitmap>();
        if (m_monochrome)
            m_bitmap->SetPixelFormat(frame::pf1bit);
        m_bitmap->SetSize(bounds.Width(), bounds.Height());
    }
    m_imageTarget = nullptr;
    SetDrawing(m_bitmap->Canvas());
    return TRect{0, 0, bounds.Width(), bounds.Height()};
}

void TChartCanvas3D::ShowImage(frame::TCanvas* target, const TRect& bounds) {
    while (!m_clips.empty())
        UnClipRectangle();
    if (m_buffered && m_bitmap && m_drawing == m_bitmap->Canvas()) {
        CopyImage(target, bounds);
        m_stale = false;
        m_imageTarget = target;
        m_imageBounds = bounds;
    }
    m_target = nullptr;
    SetDrawing(nullptr);
}

void TChartCanvas3D::SetDrawing(frame::TCanvas* canvas) {
    m_drawing = canvas;
}

platform::gdi::Size TChartCanvas3D::Extent(const std::string& text) {
    return Canvas()->TextExtent(text);
}

void TChartCanvas3D::CopyImage(frame::TCanvas* target, const TRect& bounds) {
    if (!target || !m_bitmap)
        return;
    target->Draw(bounds.left, bounds.top, m_bitmap.get());
}

frame::TCanvas* TChartCanvas3D::Canvas() {
    if (m_drawing)
        return m_drawing;
    if (!m_measureCanvas) {
        m_measureDc = platform::gdi::DeviceContext::ForMeasure();
        m_measureCanvas = std::make_unique<frame::TCanvas>();
        m_measureCanvas->SetHandle(m_measureDc.get());
    }
    return m_measureCanvas.get();
}

void TChartCanvas3D::AssignPen(const TChartPen& pen, TColor color, bool printing) {
    frame::TPen* p = Pen();
    p->SetColor(color);
    p->SetMode(pen.Mode());
    p->SetStyle(pen.Visible() ? pen.Style() : frame::psClear);
    int width = pen.Width();
    if (printing && width == 1 && pen.Style() != frame::psSolid)
        width = 0;
    p->SetWidth(width);
}

void TChartCanvas3D::ClearBrush() {
    Brush()->SetStyle(frame::bsClear);
}

void TChartCanvas3D::Rectangle(const TRect& r) {
    Canvas()->Rectangle(r);
}

void TChartCanvas3D::FillRect(const TRect& r, TColor color) {
    frame::TBrush* b = Brush();
    b->SetColor(color);
    b->SetStyle(frame::bsSolid);
    Canvas()->FillRect(r);
}

void TChartCanvas3D::FillBands(const std::vector<TGradientBand>& bands) {
    if (bands.empty())
        return;
    std::vector<platform::gdi::ColorBand> stripes;
    stripes.reserve(bands.size());
    for (const TGradientBand& b : bands)
        stripes.push_back({b.rect, frame::ColorToRGB(b.color)});
    Canvas()->FillBands(stripes);
    frame::TBrush* brush = Brush();
    brush->SetColor(bands.back().color);
    brush->SetStyle(frame::bsSolid);
}

void TChartCanvas3D::MoveTo(int x, int y) {
    Canvas()->MoveTo(x, y);
}

void TChartCanvas3D::LineTo(int x, int y) {
    Canvas()->LineTo(x, y);
}

void TChartCanvas3D::Line(int x0, int y0, int x1, int y1) {
    Canvas()->MoveTo(x0, y0);
    Canvas()->LineTo(x1, y1);
}

void TChartCanvas3D::Lines(const std::vector<std::pair<TPoint, TPoint>>& segments) {
    Canvas()->LineSegments(segments);
}

void TChartCanvas3D::Polyline(const std::vector<TPoint>& points) {
    if (points.size() >= 2)
        Canvas()->Polyline(points);
}

void TChartCanvas3D::TextOut(int x, int y, const std::string& text) {
    frame::TCanvas* c = Canvas();
    if (c->Brush()->Style() != frame::bsClear) {
        c->TextOut(x, y, text);
        return;
    }
    // Transparent text through the clipped form: the plain one measures the text again only to
    // move the pen after it, which the chart never uses.
    // (The clip rectangle stays within what the rasteriser's fixed point can hold.)
    constexpr int far = 1 << 20;
    c->TextRect(TRect{x - far, y - far, x + far, y + far}, x, y, text);
}

int TChartCanvas3D::TextWidth(const std::string& text) {
    return Extent(text).cx;
}

int TChartCanvas3D::TextHeight(const std::string& text) {
    return Extent(text).cy;
}

void TChartCanvas3D::ClipRectangle(const TRect& r) {
    platform::gdi::DeviceContext* dc = Canvas()->Handle();
    m_clips.push_back(std::make_unique<platform::gdi::SavedDC>(*dc));
    dc->IntersectClipRect(r);
}

void TChartCanvas3D::UnClipRectangle() {
    if (!m_clips.empty())
        m_clips.pop_back();
}

void TChartCanvas3D::ResetState() {
    frame::TCanvas* c = Canvas();
    c->Pen()->SetColor(frame::clBlack);
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(frame::psSolid);
    c->Pen()->SetMode(frame::pmCopy);
    c->Brush()->SetColor(frame::clWhite);
    c->Brush()->SetStyle(frame::bsSolid);
    c->Font()->SetColor(frame::clBlack);
    c->Font()->SetSize(10);
}

} // namespace chart
