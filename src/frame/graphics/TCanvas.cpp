#include "frame/graphics/TCanvas.h"

#include "frame/graphics/TBitmap.h"
#include "frame/graphics/TGraphic.h"
#include "rtl/Exception.h"

namespace frame {

using namespace platform::gdi;

const TClassInfo* TCanvas::StaticClass() {
    static const auto info = TClassBuilder<TCanvas>("TCanvas", TPersistent::StaticClass())
                                 .Property("Brush", &TCanvas::Brush, &TCanvas::SetBrush)
                                 .Property("Font", &TCanvas::Font, &TCanvas::SetFont)
                                 .Property("Pen", &TCanvas::Pen, &TCanvas::SetPen)
                                 .Build();
    return info.get();
}

TCanvas::TCanvas()
    : m_font(std::make_unique<TFont>()), m_pen(std::make_unique<TPen>()),
      m_brush(std::make_unique<TBrush>()) {
    m_font->OnChange = TNotifyEvent::Of<&TCanvas::ObjectChanged>(this);
    m_pen->OnChange = TNotifyEvent::Of<&TCanvas::ObjectChanged>(this);
    m_brush->OnChange = TNotifyEvent::Of<&TCanvas::ObjectChanged>(this);
}

TCanvas::~TCanvas() = default;

// Pen, brush and font go to the context at each drawing call; nothing to do on their change
// beyond what the owner wants to hear.
void TCanvas::ObjectChanged(TObject*) {}

void TCanvas::Changing() {
    OnChanging(this);
}
void TCanvas::Changed() {
    OnChange(this);
}

DeviceContext* TCanvas::Handle() {
    if (!m_dc)
        CreateHandle();
    if (!m_dc)
        throw rtl::EInvalidOperation(std::string("Canvas does not allow drawing"));
    return m_dc;
}

void TCanvas::SetHandle(DeviceContext* dc) {
    m_dc = dc;
}

DeviceContext& TCanvas::Prepare() {
    DeviceContext& dc = *Handle();
    dc.SetPen(m_pen->Spec());
    dc.SetRop2(m_pen->Rop2());
    BrushSpec brush = m_brush->Spec();
    dc.SetBrush(brush);
    if (TBitmap* pattern = m_brush->Bitmap(); pattern && !pattern->Empty())
        dc.SetPatternBrush(pattern->Image());
    dc.SetFont(m_font->Spec());
    dc.SetTextColor(ColorToRGB(m_font->Color()));
    dc.SetBkColor(brush.color);
    dc.SetBkMode(m_brush->Style() == bsClear ? TRANSPARENT : OPAQUE);
    return dc;
}

TPoint TCanvas::PenPos() {
    return Handle()->GetCurrentPosition();
}

TRect TCanvas::ClipRect() {
    return Handle()->GetClipBox();
}

TColor TCanvas::Pixels(int x, int y) {
    return TColor(Handle()->GetPixel(x, y));
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    Changing();
    Handle()->SetPixel(x, y, ColorToRGB(color));
    Changed();
}

void TCanvas::MoveTo(int x, int y) {
    Handle()->MoveTo(x, y);
}

void TCanvas::LineTo(int x, int y) {
    Changing();
    Prepare().LineTo(x, y);
    Changed();
}

void TCanvas::LineSegments(const std::vector<std::pair<TPoint, TPoint>>& segments) {
    Changing();
    Prepare().LineSegments(segments);
    Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
    Changing();
    Prepare().Polyline(points);
    Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
    Changing();
    Prepare().Polygon(points);
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Changing();
    Prepare().Rectangle(TRect{x1, y1, x2, y2});
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    Changing();
    Prepare().Ellipse(TRect{x1, y1, x2, y2});
    Changed();
}

void TCanvas::FillRect(const TRect& r) {
    Changing();
    DeviceContext& dc = Prepare();
    if (m_brush->Bitmap() && !m_brush->Bitmap()->Empty())
        dc.PatBlt(r, PATCOPY);
    else
        dc.FillRect(r, m_brush->Spec());
    Changed();
}

void TCanvas::FillBands(const std::vector<platform::gdi::ColorBand>& bands) {
    Changing();
    Prepare().FillBands(bands);
    Changed();
}

void TCanvas::FrameRect(const TRect& r) {
    Changing();
    Prepare().FrameRect(r, m_brush->Spec());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
    Changing();
    Prepare().DrawFocusRect(r);
    Changed();
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    Changing();
    DeviceContext& dc = Prepare();
    dc.TextOut(x, y, text);
    // The pen follows the text, as the classic canvas leaves it.
    dc.MoveTo(x + dc.GetTextExtent(text).cx, y);
    Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, std::string_view text) {
    Changing();
    DeviceContext& dc = Prepare();
    unsigned options = ETO_CLIPPED;
    if (m_brush->Style() != bsClear)
        options |= ETO_OPAQUE;
    dc.ExtTextOut(x, y, options, &r, text);
    Changed();
}

platform::gdi::Size TCanvas::TextExtent(std::string_view text) {
    return Prepare().GetTextExtent(text);
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
    if (!graphic || graphic->Empty())
        return;
    StretchDraw(TRect{x, y, x + graphic->Width(), y + graphic->Height()}, graphic);
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
    if (!graphic || graphic->Empty())
        return;
    Changing();
    Prepare();
    graphic->Draw(*this, r);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect) {
    if (!source)
        return;
    const Bitmap* pixels = source->SurfaceBitmap();
    if (!pixels)
        return;
    Changing();
    Prepare().StretchBlt(dest, *pixels, sourceRect, m_copyMode);
    Changed();
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& sourceRect,
                        TColor transparent) {
    if (!bitmap || bitmap->Empty())
        return;
    Changing();
    Prepare().TransparentBlt(dest, bitmap->Image(), sourceRect, ColorToRGB(transparent));
    Changed();
}

} // namespace frame
