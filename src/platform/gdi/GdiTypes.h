#pragma once
// Plain values shared by the drawing layer: colours, points, rectangles, and the descriptions of
// pens, brushes and fonts that a device context realises.
#include <cstdint>
#include <string>

namespace platform::gdi {

// A colour as 0x00BBGGRR (red in the low byte), the form the frame stores colours in.
using ColorRef = std::uint32_t;

constexpr ColorRef RGB(int r, int g, int b) {
    return ColorRef(r & 0xFF) | (ColorRef(g & 0xFF) << 8) | (ColorRef(b & 0xFF) << 16);
}
constexpr int GetRValue(ColorRef c) {
    return int(c & 0xFF);
}
constexpr int GetGValue(ColorRef c) {
    return int((c >> 8) & 0xFF);
}
constexpr int GetBValue(ColorRef c) {
    return int((c >> 16) & 0xFF);
}

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Right and bottom are exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A stripe of solid colour: one step of a gradient drawn in steps.
struct ColorBand {
    Rect rect;
    ColorRef color = 0;
};

Rect IntersectRect(const Rect& a, const Rect& b);
Rect OffsetRect(const Rect& r, int dx, int dy);

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear, InsideFrame };

// Width 0 and 1 are one device pixel whatever the resolution (a cosmetic pen).
struct PenSpec {
    PenStyle style = PenStyle::Solid;
    int width = 1;
    ColorRef color = 0;
    friend bool operator==(const PenSpec&, const PenSpec&) = default;
};

enum class BrushStyle {
    Solid,
    Clear,
    Horizontal,
    Vertical,
    FDiagonal,
    BDiagonal,
    Cross,
    DiagCross
};

struct BrushSpec {
    BrushStyle style = BrushStyle::Solid;
    ColorRef color = 0xFFFFFF;
    friend bool operator==(const BrushSpec&, const BrushSpec&) = default;
};

// A font request. height < 0: character (em) height in device pixels; height > 0: cell height
// (ascent + descent); 0: the default size. pointSize, when not 0, wins over height and is realised
// at the context's resolution. escapement in tenths of a degree, counter-clockwise.
struct FontSpec {
    std::string name = "MS Sans Serif";
    int height = 0;
    int pointSize = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int escapement = 0;
    int charset = 1;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

struct TextMetrics {
    int height = 0; // ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int maxCharWidth = 0;
};

// Text-align flags (combinable: one horizontal, one vertical, optionally update-cp).
enum : unsigned {
    TA_NOUPDATECP = 0,
    TA_UPDATECP = 1,
    TA_LEFT = 0,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_TOP = 0,
    TA_BOTTOM = 8,
    TA_BASELINE = 24,
};

enum BkMode : int { TRANSPARENT = 1, OPAQUE = 2 };

// Binary raster operations for pens and fills (the frame's pen modes map onto them).
enum Rop2 : int {
    R2_BLACK = 1,
    R2_NOTMERGEPEN = 2,
    R2_MASKNOTPEN = 3,
    R2_NOTCOPYPEN = 4,
    R2_MASKPENNOT = 5,
    R2_NOT = 6,
    R2_XORPEN = 7,
    R2_NOTMASKPEN = 8,
    R2_MASKPEN = 9,
    R2_NOTXORPEN = 10,
    R2_NOP = 11,
    R2_MERGENOTPEN = 12,
    R2_COPYPEN = 13,
    R2_MERGEPENNOT = 14,
    R2_MERGEPEN = 15,
    R2_WHITE = 16,
};

// Raster operations for copies of pixels (BitBlt / StretchBlt / PatBlt).
enum Rop3 : std::uint32_t {
    SRCCOPY = 0x00CC0020,
    SRCPAINT = 0x00EE0086,
    SRCAND = 0x008800C6,
    SRCINVERT = 0x00660046,
    SRCERASE = 0x00440328,
    NOTSRCCOPY = 0x00330008,
    MERGEPAINT = 0x00BB0226,
    PATCOPY = 0x00F00021,
    PATINVERT = 0x005A0049,
    DSTINVERT = 0x00550009,
    BLACKNESS = 0x00000042,
    WHITENESS = 0x00FF0062,
};

// DrawText format flags.
enum : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_END_ELLIPSIS = 0x8000,
};

// ExtTextOut options.
enum : unsigned { ETO_OPAQUE = 2, ETO_CLIPPED = 4 };

// DrawEdge edges and borders.
enum : unsigned {
    BDR_RAISEDOUTER = 0x1,
    BDR_SUNKENOUTER = 0x2,
    BDR_RAISEDINNER = 0x4,
    BDR_SUNKENINNER = 0x8,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
    EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
    EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER,
    BF_LEFT = 0x1,
    BF_TOP = 0x2,
    BF_RIGHT = 0x4,
    BF_BOTTOM = 0x8,
    BF_RECT = 0xF,
    BF_MIDDLE = 0x800,
    BF_SOFT = 0x1000,
    BF_FLAT = 0x4000,
    BF_MONO = 0x8000,
};

} // namespace platform::gdi
