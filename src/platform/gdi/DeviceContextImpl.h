#pragma once
// Private to src/platform/gdi: the state behind a DeviceContext.
#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>
#include <vector>

#include "platform/gdi/DeviceContext.h"

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
    ~Impl();

    TargetKind kind;
    cairo_surface_t* surface;
    cairo_t* cr;
    Bitmap* bitmap; // image and measure targets
    std::unique_ptr<Bitmap> ownBitmap;
    int ppi;
    Size size;
    DcState st;
    std::vector<DcState> saved;

    // The realised font.
    PangoLayout* layout = nullptr;
    bool fontValid = false;
    TextMetrics metrics;
    int stylePos = 0; // position in the dash pattern of cosmetic lines

    bool PixelTarget() const { return bitmap != nullptr; }
    Rect DeviceClip() const;
    void ApplyClip();
    void EnsureLayout();
    void RealizeFont();
};

} // namespace platform::gdi
