#include "platform/display/WindowDC.h"

#include <cstring>
#include <memory>
#include <unordered_map>

#include "platform/gdi/DeviceContext.h"

namespace platform {

namespace {

// What a window context must put back when it is deleted.
struct SavedPixels {
    Rect rect;
    std::vector<std::uint32_t> pixels;
};

struct WindowContext {
    std::unique_ptr<gdi::DeviceContext> dc;
    gdi::Bitmap* buffer = nullptr;
    std::vector<SavedPixels> saved;
};

std::unordered_map<gdi::DeviceContext*, WindowContext>& Contexts() {
    static std::unordered_map<gdi::DeviceContext*, WindowContext> contexts;
    return contexts;
}

} // namespace

HDC CreateWindowDC(gdi::Bitmap& buffer, Point origin, const Region& clip) {
    WindowContext ctx;
    ctx.buffer = &buffer;
    ctx.dc = gdi::DeviceContext::ForBitmap(buffer);
    Rect whole{0, 0, buffer.Width(), buffer.Height()};
    Rect bounds = Intersection(clip.Bounds(), whole);
    Region outside(bounds);
    outside.Subtract(clip);
    for (const Rect& r : outside.Rects()) {
        SavedPixels s;
        s.rect = r;
        s.pixels.resize(std::size_t(r.Width()) * r.Height());
        for (int y = r.top; y < r.bottom; ++y)
            std::memcpy(&s.pixels[std::size_t(y - r.top) * r.Width()], buffer.Row(y) + r.left,
                        std::size_t(r.Width()) * 4);
        ctx.saved.push_back(std::move(s));
    }
    ctx.dc->SetViewportOrg(origin);
    ctx.dc->SelectClipRect(Offset(bounds, -origin.x, -origin.y));
    HDC dc = ctx.dc.get();
    Contexts()[dc] = std::move(ctx);
    return dc;
}

void DeleteWindowDC(HDC dc) {
    auto it = Contexts().find(dc);
    if (it == Contexts().end())
        return;
    WindowContext ctx = std::move(it->second);
    Contexts().erase(it);
    // The context goes first so that everything it drew has reached the pixels.
    ctx.dc.reset();
    for (const SavedPixels& s : ctx.saved) {
        const Rect& r = s.rect;
        if (r.right > ctx.buffer->Width() || r.bottom > ctx.buffer->Height())
            continue;
        for (int y = r.top; y < r.bottom; ++y)
            std::memcpy(ctx.buffer->Row(y) + r.left, &s.pixels[std::size_t(y - r.top) * r.Width()],
                        std::size_t(r.Width()) * 4);
    }
}

void FillDCRect(HDC dc, const Rect& rect, ColorRef color) {
    if (dc)
        dc->FillRect(rect, gdi::BrushSpec{gdi::BrushStyle::Solid, color});
}

} // namespace platform
