// Text: extents, metrics, output and formatted text.
#include "platform/gdi/DeviceContext.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/DeviceContextImpl.h"
#include "platform/gdi/SavedDC.h"
#include "rtl/Utf8.h"

namespace platform::gdi {

namespace {

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

} // namespace

Size DeviceContext::GetTextExtent(std::string_view text) const {
    Impl& d = Live();
    ShapedText shaped = d.Shape(text);
    return Size{shaped.Width(), d.metrics.height};
}

TextMetrics DeviceContext::GetTextMetrics() const {
    Impl& d = Live();
    d.RealizeFont();
    return d.metrics;
}

void DeviceContext::TextOut(int x, int y, std::string_view text) {
    ExtTextOut(x, y, 0, nullptr, text);
}

void DeviceContext::ExtTextOut(int x, int y, unsigned options, const Rect* rect,
                               std::string_view text) {
    Impl& d = Live();
    Point o = d.st.origin;
    if (rect && (options & ETO_OPAQUE))
        FillRect(*rect, BrushSpec{BrushStyle::Solid, d.st.bkColor});
    if (text.empty())
        return;
    ShapedText shaped = d.Shape(text);
    Size extent{shaped.Width(), d.metrics.height};
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
    SetSourceColor(d.cr, d.st.textColor);
    cairo_move_to(d.cr, left, top + d.metrics.ascent);
    // Pages and recordings keep the text with the glyphs (it can be searched and copied); an
    // image needs only the glyphs.
    shaped.Show(d.cr, !d.PixelTarget());
    cairo_restore(d.cr);
    if (align & TA_UPDATECP) {
        if ((align & TA_CENTER) == TA_LEFT)
            d.st.position.x += extent.cx;
        else if ((align & TA_CENTER) == TA_RIGHT)
            d.st.position.x -= extent.cx;
    }
}

namespace {

struct TextLine {
    std::string text;
    int underlined; // the byte of the prefixed character, or -1
};

// One paragraph per line break (CR, LF or CR LF); a single line takes them as spaces.
std::vector<std::string> SplitParagraphs(std::string_view text, unsigned format) {
    std::vector<std::string> paragraphs;
    if (format & DT_SINGLELINE) {
        std::string s(text);
        std::replace(s.begin(), s.end(), '\r', ' ');
        std::replace(s.begin(), s.end(), '\n', ' ');
        paragraphs.push_back(s);
        return paragraphs;
    }
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
    return paragraphs;
}

// Greedy word wrap; a word wider than the line stays whole on its own line.
void WrapParagraph(const DeviceContext& dc, const std::string& visible, int underlined,
                   int maxWidth, std::vector<TextLine>& lines) {
    std::size_t start = 0;
    while (start < visible.size()) {
        std::size_t best = std::string::npos;
        std::size_t pos = start;
        while (true) {
            std::size_t space = visible.find(' ', pos);
            std::size_t end = space == std::string::npos ? visible.size() : space;
            if (dc.GetTextExtent(std::string_view(visible).substr(start, end - start)).cx >
                    maxWidth &&
                best != std::string::npos)
                break;
            best = end;
            if (space == std::string::npos)
                break;
            pos = space + 1;
        }
        int u = (underlined >= int(start) && underlined < int(best)) ? underlined - int(start) : -1;
        lines.push_back({visible.substr(start, best - start), u});
        start = best;
        while (start < visible.size() && visible[start] == ' ')
            ++start;
    }
}

std::vector<TextLine> LayOutLines(const DeviceContext& dc, std::string_view text, unsigned format,
                                  int maxWidth) {
    std::vector<TextLine> lines;
    for (auto& p : SplitParagraphs(text, format)) {
        if (format & DT_EXPANDTABS) {
            std::string s;
            for (char c : p)
                s += c == '\t' ? std::string(8, ' ') : std::string(1, c);
            p = s;
        }
        int underlined = -1;
        std::string visible = (format & DT_NOPREFIX) ? p : StripPrefix(p, underlined);
        if (!(format & DT_WORDBREAK) || (format & DT_SINGLELINE) ||
            dc.GetTextExtent(visible).cx <= maxWidth)
            lines.push_back({visible, underlined});
        else
            WrapParagraph(dc, visible, underlined, maxWidth, lines);
    }
    return lines;
}

} // namespace

int DeviceContext::DrawText(std::string_view text, Rect& rect, unsigned format) {
    Impl& d = Live();
    d.RealizeFont();
    int lineHeight = d.metrics.height;
    std::vector<TextLine> lines = LayOutLines(*this, text, format, rect.Width());
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
    SavedDC saved(*this);
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
            std::size_t n = rtl::Utf8CharLength(l.text, std::size_t(l.underlined));
            int uw = GetTextExtent(std::string_view(l.text).substr(l.underlined, n)).cx;
            int uy = y + d.metrics.ascent + 1;
            FillRect(Rect{ux, uy, ux + uw, uy + 1}, BrushSpec{BrushStyle::Solid, d.st.textColor});
        }
        y += lineHeight;
    }
    return total;
}

} // namespace platform::gdi
