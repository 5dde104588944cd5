#include "controls/TButtonGlyph.h"

#include <algorithm>

#include "controls/TGlyphCache.h"
#include "platform/gdi/DeviceContext.h"

namespace controls {

using namespace frame;
namespace gdi = platform::gdi;

TButtonLayoutResult CalcButtonLayout(const TRect& client, TPoint offset, gdi::Size glyphSize,
                                     gdi::Size textSize, TButtonLayout layout, int margin,
                                     int spacing, bool rightToLeft) {
    if (rightToLeft) {
        if (layout == blGlyphLeft)
            layout = blGlyphRight;
        else if (layout == blGlyphRight)
            layout = blGlyphLeft;
    }
    const int w = client.Width(), h = client.Height();
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    TPoint glyph{0, 0}, text{0, 0};
    if (horizontal) {
        glyph.y = (h - glyphSize.cy + 1) / 2;
        text.y = (h - textSize.cy + 1) / 2;
    } else {
        glyph.x = (w - glyphSize.cx + 1) / 2;
        text.x = (w - textSize.cx + 1) / 2;
    }
    if (textSize.cx == 0 || glyphSize.cx == 0)
        spacing = 0;
    const int length = horizontal ? w : h;
    const int g = horizontal ? glyphSize.cx : glyphSize.cy;
    const int t = horizontal ? textSize.cx : textSize.cy;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (length - (g + t)) / 3;
            spacing = margin;
        } else {
            margin = (length - (g + spacing + t) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = ((length - (margin + g)) - t) / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        glyph.x = margin;
        text.x = glyph.x + glyphSize.cx + spacing;
        break;
    case blGlyphRight:
        glyph.x = w - margin - glyphSize.cx;
        text.x = glyph.x - spacing - textSize.cx;
        break;
    case blGlyphTop:
        glyph.y = margin;
        text.y = glyph.y + glyphSize.cy + spacing;
        break;
    case blGlyphBottom:
        glyph.y = h - margin - glyphSize.cy;
        text.y = glyph.y - spacing - textSize.cy;
        break;
    }
    const int dx = client.left + offset.x, dy = client.top + offset.y;
    TButtonLayoutResult r;
    r.glyphPos = TPoint{glyph.x + dx, glyph.y + dy};
    r.textBounds =
        Rect(text.x + dx, text.y + dy, text.x + dx + textSize.cx, text.y + dy + textSize.cy);
    return r;
}

TButtonGlyph::TButtonGlyph() : m_original(std::make_unique<TBitmap>()) {
    m_original->OnChange = TNotifyEvent::Of<&TButtonGlyph::GlyphChanged>(this);
}

TButtonGlyph::~TButtonGlyph() {
    m_original->OnChange = TNotifyEvent();
    Invalidate();
}

void TButtonGlyph::Invalidate() {
    for (int& index : m_indexes) {
        if (m_list && index >= 0)
            m_list->Delete(index);
        index = -1;
    }
    GlyphCache().ReturnList(m_list);
    m_list = nullptr;
}

// Changed in place (as when its stream data is read): new transparent colour, new cells; the
// number of cells stays, since a stream stores it after the data.
void TButtonGlyph::GlyphChanged(TObject*) {
    if (m_original->Height() > 0 && m_original->Width() > 0)
        m_transparentColor = m_original->TransparentColor() & 0xFFFFFF;
    Invalidate();
    OnChange(this);
}

void TButtonGlyph::SetGlyph(TBitmap* value) {
    Invalidate();
    m_original->Assign(value);
    int w = m_original->Width(), h = m_original->Height();
    if (h > 0 && w > 0) {
        m_transparentColor = m_original->TransparentColor() & 0xFFFFFF;
        if (w % h == 0) {
            int cells = w / h;
            SetNumGlyphs(cells < 5 ? cells : 1);
        }
    }
    Invalidate();
    OnChange(this);
}

void TButtonGlyph::SetNumGlyphs(int value) {
    value = std::clamp(value, 1, 4);
    if (value == m_numGlyphs)
        return;
    Invalidate();
    m_numGlyphs = value;
    OnChange(this);
}

gdi::Size TButtonGlyph::CellSize() const {
    int w = m_original->Width() / m_numGlyphs, h = m_original->Height();
    if (w <= 0 || h <= 0)
        return gdi::Size{0, 0};
    return gdi::Size{w, h};
}

gdi::Bitmap TButtonGlyph::SourceCell(int cell) const {
    gdi::Size size = CellSize();
    gdi::Bitmap out(size.cx, size.cy, 0);
    const gdi::Bitmap& image = m_original->Image();
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            out.Row(y)[x] = image.Word(cell * size.cx + x, y) & 0xFFFFFF;
    return out;
}

namespace {

std::uint32_t SysWord(TColor c) {
    return gdi::ColorToWord(ColorToRGB(c));
}

std::uint32_t BottomLeft(const gdi::Bitmap& b) {
    return b.Word(0, b.Height() - 1) & 0xFFFFFF;
}

} // namespace

gdi::Bitmap TButtonGlyph::BuildDisabled(int sourceCell) const {
    gdi::Bitmap src = SourceCell(sourceCell);
    const int w = src.Width(), h = src.Height();
    const std::uint32_t face = SysWord(clBtnFace), highlight = SysWord(clBtnHighlight),
                        shadow = SysWord(clBtnShadow);
    if (m_numGlyphs > 1) {
        // The bitmap has a disabled cell of its own: only its system colours are fitted.
        const std::uint32_t transparent = gdi::ColorToWord(ColorToRGB(m_transparentColor));
        gdi::Bitmap out = src;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                std::uint32_t p = src.Word(x, y);
                if (p == 0xFFFFFF)
                    out.Row(y)[x] = highlight;
                else if (p == 0x808080)
                    out.Row(y)[x] = shadow;
                else if (p == transparent)
                    out.Row(y)[x] = face;
            }
        return out;
    }
    // Embossed from the dark pixels (the light ones of a monochrome glyph): highlight one pixel
    // down and right, shadow in place.
    const std::uint32_t ink = m_original->Monochrome() ? 0xFFFFFF : 0x000000;
    gdi::Bitmap out(w, h, face);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (src.Word(x, y) == ink && x + 1 < w && y + 1 < h)
                out.Row(y + 1)[x + 1] = highlight;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (src.Word(x, y) == ink)
                out.Row(y)[x] = shadow;
    return out;
}

int TButtonGlyph::CreateButtonGlyph(TButtonState state) {
    if (state == bsDown && m_numGlyphs < 3)
        state = bsUp;
    int& index = m_indexes[state];
    if (index != -1)
        return index;
    gdi::Size size = CellSize();
    if (size.cx == 0)
        return -1;
    if (!m_list)
        m_list = GlyphCache().GetList(size.cx, size.cy);
    int cell = int(state) < m_numGlyphs ? int(state) : 0;
    if (state == bsDisabled) {
        gdi::Bitmap image = BuildDisabled(cell);
        index = m_list->AddMasked(image, BottomLeft(image));
    } else {
        gdi::Bitmap image = SourceCell(cell);
        std::uint32_t mask = m_original->TransparentMode() == tmFixed
                                 ? gdi::ColorToWord(ColorToRGB(m_original->TransparentColor()))
                                 : BottomLeft(image);
        index = m_list->AddMasked(image, mask);
    }
    return index;
}

gdi::Bitmap TButtonGlyph::StateImage(TButtonState state, std::uint32_t background) {
    int index = CreateButtonGlyph(state);
    if (index < 0 || !m_list)
        return gdi::Bitmap();
    return m_list->Cell(index, background);
}

void TButtonGlyph::DrawButtonGlyph(TCanvas& canvas, TPoint pos, TButtonState state,
                                   bool transparent) {
    int index = CreateButtonGlyph(state);
    if (index < 0 || !m_list)
        return;
    m_list->Draw(*canvas.Handle(), index, pos.x, pos.y, transparent || state == bsExclusive,
                 ColorToRGB(clBtnFace));
}

void TButtonGlyph::DrawButtonText(TCanvas& canvas, const std::string& caption, TRect bounds,
                                  TButtonState state, unsigned textFlags) {
    gdi::DeviceContext& dc = *canvas.Handle();
    dc.SetFont(canvas.Font()->Spec());
    dc.SetBkMode(gdi::TRANSPARENT);
    const unsigned flags = gdi::DT_CENTER | gdi::DT_VCENTER | textFlags;
    if (state == bsDisabled) {
        TRect shifted = Rect(bounds.left + 1, bounds.top + 1, bounds.right + 1, bounds.bottom + 1);
        dc.SetTextColor(ColorToRGB(clBtnHighlight));
        dc.DrawText(caption, shifted, flags);
        dc.SetTextColor(ColorToRGB(clBtnShadow));
        dc.DrawText(caption, bounds, flags);
    } else {
        dc.SetTextColor(ColorToRGB(canvas.Font()->Color()));
        dc.DrawText(caption, bounds, flags);
    }
}

TRect TButtonGlyph::Draw(TCanvas& canvas, const TRect& client, TPoint offset,
                         const std::string& caption, TButtonLayout layout, int margin, int spacing,
                         TButtonState state, bool transparent, unsigned textFlags) {
    gdi::Size textSize{0, 0};
    if (!caption.empty()) {
        gdi::DeviceContext& dc = *canvas.Handle();
        dc.SetFont(canvas.Font()->Spec());
        TRect bounds = Rect(0, 0, client.Width(), 0);
        dc.DrawText(caption, bounds, gdi::DT_CALCRECT | textFlags);
        textSize = gdi::Size{bounds.Width(), bounds.Height()};
    }
    TButtonLayoutResult r =
        CalcButtonLayout(client, offset, CellSize(), textSize, layout, margin, spacing, false);
    DrawButtonGlyph(canvas, r.glyphPos, state, transparent);
    if (!caption.empty())
        DrawButtonText(canvas, caption, r.textBounds, state, textFlags);
    return r.textBounds;
}

} // namespace controls
