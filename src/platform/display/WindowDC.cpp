#include "platform/display/WindowDC.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "platform/display/DeviceScale.h"
#include "platform/gdi/DeviceContext.h"

namespace platform {

namespace {

// Pixels a window context must put back when it is deleted. Not zeroed when made: every word is
// copied from the buffer at once, and a form's paint saves the area of all its children.
struct SavedPixels {
    Rect rect; // the buffer's own pixels
    std::unique_ptr<std::uint32_t[]> pixels;
};

struct WindowContext {
    std::unique_ptr<gdi::DeviceContext> dc;
    Region region;                  // logical buffer coordinates: what the context may change
    std::vector<SavedPixels> saved; // inside the clip bounds but outside `region`
    Region untouched;               // not saved: painted over after this context
    int scale = 1;
};

std::unordered_map<gdi::DeviceContext*, WindowContext>& Contexts() {
    static std::unordered_map<gdi::DeviceContext*, WindowContext> contexts;
    return contexts;
}

// Copies the part of `r` that lies in the buffer between the buffer and a saved block.
void CopyRows(gdi::Bitmap& buffer, SavedPixels& s, const Rect& r, bool toBuffer) {
    Rect c = Intersection(Intersection(r, s.rect), Rect{0, 0, buffer.Width(), buffer.Height()});
    if (c.IsEmpty())
        return;
    for (int y = c.top; y < c.bottom; ++y) {
        std::uint32_t* saved =
            &s.pixels[std::size_t(y - s.rect.top) * s.rect.Width() + (c.left - s.rect.left)];
        std::uint32_t* live = buffer.Row(y) + c.left;
        std::size_t bytes = std::size_t(c.Width()) * 4;
        if (toBuffer)
            std::memcpy(live, saved, bytes);
        else
            std::memcpy(saved, live, bytes);
    }
}

SavedPixels Save(gdi::Bitmap& buffer, const Rect& logical, int scale) {
    SavedPixels s;
    s.rect = ToDevice(logical, scale);
    s.pixels = std::make_unique_for_overwrite<std::uint32_t[]>(std::size_t(s.rect.Width()) *
                                                               std::size_t(s.rect.Height()));
    CopyRows(buffer, s, s.rect, false);
    return s;
}

// `painted` (logical buffer rectangles) was just painted by another context: open contexts on
// the same buffer keep it as it is now instead of their older copy, and those that were not
// keeping it (it was to be painted over after them) keep it from now on.
void KeepPainted(gdi::Bitmap& buffer, const Region& painted, int scale) {
    for (auto& [other, open] : Contexts()) {
        if (open.dc->TargetBitmap() != &buffer)
            continue;
        for (SavedPixels& s : open.saved)
            for (const Rect& r : painted.Rects())
                CopyRows(buffer, s, ToDevice(r, scale), false);
        if (open.untouched.IsEmpty())
            continue;
        Region now = open.untouched;
        now.Subtract(painted);
        Region kept = open.untouched;
        kept.Subtract(now);
        for (const Rect& r : kept.Rects())
            open.saved.push_back(Save(buffer, r, open.scale));
        open.untouched = std::move(now);
    }
}

} // namespace

HDC CreateWindowDC(gdi::Bitmap& buffer, Point origin, const Region& clip, int scale,
                   const Region& untouched) {
    WindowContext ctx;
    ctx.scale = std::max(1, scale);
    ctx.dc = gdi::DeviceContext::ForBitmap(buffer, 96, ctx.scale);
    Rect whole{0, 0, buffer.Width() / ctx.scale, buffer.Height() / ctx.scale};
    Rect bounds = Intersection(clip.Bounds(), whole);
    ctx.region = clip;
    ctx.region.Intersect(bounds);
    Region outside(bounds);
    outside.Subtract(clip);
    if (!untouched.IsEmpty()) {
        ctx.untouched = outside;
        outside.Subtract(untouched);
        ctx.untouched.Subtract(outside);
    }
    for (const Rect& logical : outside.Rects())
        ctx.saved.push_back(Save(buffer, logical, ctx.scale));
    ctx.dc->SetPaintedOver(ctx.untouched);
    ctx.dc->SetViewportOrg(origin);
    ctx.dc->SelectClipRect(Offset(bounds, -origin.x, -origin.y));
    HDC dc = ctx.dc.get();
    Contexts()[dc] = std::move(ctx);
    return dc;
}

void DeleteWindowDC(HDC dc) {
    auto node = Contexts().extract(dc);
    if (node.empty())
        return;
    WindowContext ctx = std::move(node.mapped());
    // The buffer as it is now: the window may have been resized, or destroyed with its buffer,
    // while the context was held.
    gdi::Bitmap* buffer = ctx.dc->TargetBitmap();
    // The context goes first so that everything it drew has reached the pixels.
    ctx.dc.reset();
    if (!buffer)
        return;
    for (SavedPixels& s : ctx.saved)
        CopyRows(*buffer, s, s.rect, true);
    // What this context painted is now the window's: another context still open on the same
    // buffer (a parent whose paint had this child painted at once) must not put its older copy
    // of these pixels back over it, nor leave them to be painted over.
    KeepPainted(*buffer, ctx.region, ctx.scale);
}

void FillDCRect(HDC dc, const Rect& rect, ColorRef color) {
    if (dc)
        dc->FillRect(rect, gdi::BrushSpec{gdi::BrushStyle::Solid, color});
}

} // namespace platform
