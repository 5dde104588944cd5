// Stripes of colour (gradients drawn in steps): filled one by one on images, one image of a
// pixel per step on pages and metafiles.
#include <algorithm>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DeviceContextImpl.h"

namespace platform::gdi {

namespace {

// Steps beyond this are not worth an image (and no gradient has them).
constexpr int kMaxSteps = 1 << 16;

Rect Bounds(const std::vector<ColorBand>& bands) {
    Rect bounds = bands.front().rect;
    for (const ColorBand& b : bands) {
        bounds.left = std::min(bounds.left, b.rect.left);
        bounds.top = std::min(bounds.top, b.rect.top);
        bounds.right = std::max(bounds.right, b.rect.right);
        bounds.bottom = std::max(bounds.bottom, b.rect.bottom);
    }
    return bounds;
}

// The stripes as an image of one pixel per step, when they tile their bounds in one direction:
// every stripe spans the whole width (rows) or the whole height (columns) and together they
// leave no gap (a gap must show what lies beneath). Later stripes cover earlier ones, as fills
// would. False when they do not.
bool StripesImage(const std::vector<ColorBand>& bands, const Rect& bounds, Bitmap& image) {
    bool rows = std::all_of(bands.begin(), bands.end(), [&](const ColorBand& b) {
        return b.rect.left == bounds.left && b.rect.right == bounds.right;
    });
    bool columns = std::all_of(bands.begin(), bands.end(), [&](const ColorBand& b) {
        return b.rect.top == bounds.top && b.rect.bottom == bounds.bottom;
    });
    if (!rows && !columns)
        return false;
    int steps = rows ? bounds.Height() : bounds.Width();
    if (steps <= 0 || steps > kMaxSteps)
        return false;
    image = Bitmap(rows ? 1 : steps, rows ? steps : 1);
    std::vector<bool> covered(size_t(steps), false);
    std::uint32_t* pixels = image.Row(0);
    for (const ColorBand& b : bands) {
        int from = rows ? b.rect.top - bounds.top : b.rect.left - bounds.left;
        int to = rows ? b.rect.bottom - bounds.top : b.rect.right - bounds.left;
        for (int i = from; i < to; ++i) {
            pixels[i] = ColorToWord(b.color) | 0xFF000000u;
            covered[size_t(i)] = true;
        }
    }
    return std::all_of(covered.begin(), covered.end(), [](bool c) { return c; });
}

} // namespace

void DeviceContext::FillBands(const std::vector<ColorBand>& bands) {
    std::vector<ColorBand> solid;
    solid.reserve(bands.size());
    for (const ColorBand& b : bands)
        if (!Normalized(b.rect).IsEmpty())
            solid.push_back({Normalized(b.rect), b.color});
    if (solid.empty())
        return;
    if (!Live().PixelTarget()) {
        Rect bounds = Bounds(solid);
        Bitmap image;
        if (StripesImage(solid, bounds, image)) {
            StretchBlt(bounds, image, Rect{0, 0, image.Width(), image.Height()});
            return;
        }
    }
    for (const ColorBand& b : solid)
        FillRect(b.rect, BrushSpec{BrushStyle::Solid, b.color});
}

} // namespace platform::gdi
