#pragma once
// Shared values of the graphics objects: rectangles and points (the drawing layer's own), the
// pen, brush and font enumerations, and colour resolution.
#include "frame/ClassBuilder.h"
#include "frame/StandardIdents.h"
#include "frame/TSet.h"
#include "platform/gdi/GdiTypes.h"

namespace frame {

using TRect = platform::gdi::Rect;
using TPoint = platform::gdi::Point;

inline TRect Rect(int left, int top, int right, int bottom) {
    return TRect{left, top, right, bottom};
}
inline TPoint Point(int x, int y) {
    return TPoint{x, y};
}

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
ZORVANE_ENUM_TYPE(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear",
                  "psInsideFrame")

enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
ZORVANE_ENUM_TYPE(TPenMode, "pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy",
                  "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge",
                  "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor")

enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};
ZORVANE_ENUM_TYPE(TBrushStyle, "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                  "bsBDiagonal", "bsCross", "bsDiagCross")

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
ZORVANE_ENUM_TYPE(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
using TFontStyles = TSet<TFontStyle>;

enum TFontPitch { fpDefault, fpVariable, fpFixed };
ZORVANE_ENUM_TYPE(TFontPitch, "fpDefault", "fpVariable", "fpFixed")

// The colour to draw with: system colours (0x800000xx) resolve through the system palette;
// other values keep their low 24 bits (clNone and clDefault are not drawable colours).
platform::gdi::ColorRef ColorToRGB(TColor color);

// The resolution of the screen, in pixels per inch.
constexpr int kScreenPixelsPerInch = 96;

} // namespace frame
