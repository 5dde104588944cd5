// Copies of bitmaps onto the context (plain, stretched, transparent, masked) and metafile playback.
#include "platform/gdi/DeviceContext.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/DeviceContextImpl.h"

namespace platform::gdi {

namespace {

// Walks the destination pixels of a stretched copy (nearest source pixel), at the device's
// resolution on a scaled target. A destination and a source whose widths (or heights) differ in
// sign mirror the picture along that axis.
template <typename Fn>
void ForEachStretched(DeviceContext::Impl& d, const Rect& destIn, const Bitmap& src,
                      const Rect& srcIn, Fn fn) {
    bool flipX = (destIn.Width() < 0) != (srcIn.Width() < 0);
    bool flipY = (destIn.Height() < 0) != (srcIn.Height() < 0);
    Rect dest = ScaleRect(Normalized(destIn), d.scale), srcRect = Normalized(srcIn);
    if (dest.IsEmpty() || srcRect.IsEmpty() || src.Empty())
        return;
    PixelWriter w(d);
    Rect c = IntersectRect(dest, w.DeviceClip());
    for (int y = c.top; y < c.bottom; ++y) {
        long long i = flipY ? dest.bottom - 1 - y : y - dest.top;
        long long sy = srcRect.top + ((2 * i + 1) * srcRect.Height()) / (2LL * dest.Height());
        if (sy < 0 || sy >= src.Height())
            continue;
        const std::uint32_t* row = src.Row(int(sy));
        std::uint32_t* out = d.bitmap->Row(y);
        for (int x = c.left; x < c.right; ++x) {
            long long j = flipX ? dest.right - 1 - x : x - dest.left;
            long long sx = srcRect.left + ((2 * j + 1) * srcRect.Width()) / (2LL * dest.Width());
            if (sx < 0 || sx >= src.Width())
                continue;
            fn(out[x], row[sx], int(sx), int(sy));
        }
    }
}

// Sets the top byte of `n` words: a copy is opaque whatever the source's unused top byte held.
// Four words at a time (an off-screen chart is tens of thousands of them).
void MakeOpaque(std::uint32_t* p, std::size_t n) {
    using Words = std::uint32_t __attribute__((vector_size(16)));
    constexpr std::uint32_t top = 0xFF000000u;
    const Words mask = {top, top, top, top};
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        Words v;
        std::memcpy(&v, p + i, sizeof v);
        v |= mask;
        std::memcpy(p + i, &v, sizeof v);
    }
    for (; i < n; ++i)
        p[i] |= top;
}

// An unscaled opaque copy: whole row spans at a time (an off-screen chart or a window's image
// copied to its place costs a few memory copies instead of a division per pixel). Source and
// destination may be the same image (scrolling part of it): rows are taken in the order that
// reads each one before it is overwritten, and each row moves as one block.
void CopyRows(DeviceContext::Impl& d, const Rect& dest, const Bitmap& src, const Rect& srcRect) {
    PixelWriter w(d);
    // Destination pixels whose source lies inside the source image, and inside the clip.
    Rect inside{dest.left + std::max(0, -srcRect.left), dest.top + std::max(0, -srcRect.top),
                dest.right - std::max(0, srcRect.right - src.Width()),
                dest.bottom - std::max(0, srcRect.bottom - src.Height())};
    Rect c = IntersectRect(IntersectRect(dest, inside), w.Clip());
    if (c.IsEmpty())
        return;
    int dx = srcRect.left - dest.left, dy = srcRect.top - dest.top;
    bool upwards = src.Data() == d.bitmap->Data() && dy < 0; // moving down within one image
    std::size_t bytes = std::size_t(c.Width()) * 4;
    for (int i = 0; i < c.Height(); ++i) {
        int y = upwards ? c.bottom - 1 - i : c.top + i;
        std::uint32_t* out = d.bitmap->Row(y) + c.left;
        std::memmove(out, src.Row(y + dy) + (c.left + dx), bytes);
        MakeOpaque(out, std::size_t(c.Width()));
    }
}

std::uint32_t Over(std::uint32_t s, std::uint32_t d) {
    unsigned a = s >> 24;
    if (a == 255)
        return s;
    if (a == 0)
        return d | 0xFF000000u;
    std::uint32_t r = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        unsigned sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
        unsigned v = sc + (dc * (255 - a) + 127) / 255;
        r |= std::min(v, 255u) << shift;
    }
    return r;
}

// The part of `source` a copy reads, as an image of its own: a smoothed copy samples beyond the
// edges of what it copies, which must not reach the neighbouring cells of a glyph strip. Parts
// outside the source are transparent (or black without alpha).
Bitmap SourcePart(const Bitmap& source, const Rect& part) {
    Bitmap out(part.Width(), part.Height(), 0, source.HasAlpha());
    Rect inside = IntersectRect(part, Rect{0, 0, source.Width(), source.Height()});
    for (int y = inside.top; y < inside.bottom; ++y)
        std::memcpy(out.Row(y - part.top) + (inside.left - part.left), source.Row(y) + inside.left,
                    std::size_t(inside.Width()) * 4);
    return out;
}

// Clips to `dest` and makes user space the source's pixels, `srcRect` covering `dest` (mirrored
// along an axis when asked).
void MapSourceOntoDest(cairo_t* cr, const Rect& dest, const Rect& srcRect, bool flipX, bool flipY) {
    cairo_new_path(cr);
    cairo_rectangle(cr, dest.left, dest.top, dest.Width(), dest.Height());
    cairo_clip(cr);
    cairo_translate(cr, flipX ? dest.right : dest.left, flipY ? dest.bottom : dest.top);
    cairo_scale(cr, (flipX ? -1.0 : 1.0) * dest.Width() / srcRect.Width(),
                (flipY ? -1.0 : 1.0) * dest.Height() / srcRect.Height());
    cairo_translate(cr, -srcRect.left, -srcRect.top);
}

// A copy through cairo: nearest pixels onto pages and recordings (they keep the picture), smooth
// onto a scaled image, where a picture is enlarged to the device's resolution.
void VectorStretch(DeviceContext::Impl& d, const Rect& destIn, const Bitmap& src, const Rect& srcIn,
                   bool smooth) {
    bool flipX = (destIn.Width() < 0) != (srcIn.Width() < 0);
    bool flipY = (destIn.Height() < 0) != (srcIn.Height() < 0);
    Rect dest = Normalized(destIn), srcRect = Normalized(srcIn);
    if (dest.IsEmpty() || srcRect.IsEmpty() || src.Empty())
        return;
    Bitmap part;
    const Bitmap* from = &src;
    if (smooth && !(srcRect == Rect{0, 0, src.Width(), src.Height()})) {
        part = SourcePart(src, srcRect);
        from = &part;
        srcRect = Rect{0, 0, part.Width(), part.Height()};
    }
    cairo_surface_t* s = SurfaceOver(*from);
    cairo_save(d.cr);
    MapSourceOntoDest(d.cr, dest, srcRect, flipX, flipY);
    cairo_set_source_surface(d.cr, s, 0, 0);
    cairo_pattern_t* pattern = cairo_get_source(d.cr);
    cairo_pattern_set_filter(pattern, smooth ? CAIRO_FILTER_BILINEAR : CAIRO_FILTER_NEAREST);
    if (smooth)
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD); // edges keep their colour
    cairo_paint(d.cr);
    cairo_restore(d.cr);
    cairo_surface_destroy(s);
}

// The source pixels that a masked copy keeps, as rectangles: runs along each row, a run that
// repeats the one above it making that rectangle taller. A picture's shape is a few dozen of them.
template <typename Transparent>
std::vector<Rect> OpaqueParts(const Rect& srcRect, Transparent transparentAt) {
    std::vector<Rect> done, open, next;
    for (int y = srcRect.top; y < srcRect.bottom; ++y) {
        next.clear();
        for (int x = srcRect.left; x < srcRect.right;) {
            if (transparentAt(x, y)) {
                ++x;
                continue;
            }
            int end = x + 1;
            while (end < srcRect.right && !transparentAt(end, y))
                ++end;
            auto above = std::find_if(open.begin(), open.end(),
                                      [&](const Rect& r) { return r.left == x && r.right == end; });
            if (above != open.end()) {
                above->bottom = y + 1;
                next.push_back(*above);
                open.erase(above);
            } else {
                next.push_back(Rect{x, y, end, y + 1});
            }
            x = end;
        }
        done.insert(done.end(), open.begin(), open.end());
        open.swap(next);
    }
    done.insert(done.end(), open.begin(), open.end());
    return done;
}

// A page's masked picture is enlarged by us up to this many pixels (4 MB); a larger one keeps its
// own size.
constexpr long long kMaxEnlargedPixels = 1 << 20;

// For each of `count` pixels of a copy, the source pixel (from `first`, `sourceCount` of them) it
// shows: source pixel i covers the copy's pixels from MulDiv(i) to MulDiv(i + 1).
std::vector<int> SourceIndices(int first, int sourceCount, int count) {
    std::vector<int> index(std::size_t(count), first + sourceCount - 1);
    for (int i = 0; i < sourceCount; ++i)
        for (int t = MulDiv(i, count, sourceCount);
             t < std::min(count, MulDiv(i + 1, count, sourceCount)); ++t)
            index[std::size_t(t)] = first + i;
    return index;
}

// A masked copy onto a page or a recording: the opaque parts clip an opaque picture. A picture
// with a soft mask would be transparency, which makes some print services turn the whole page,
// text included, into an image; and a shape per run of pixels costs a page far more to write.
// On a page the picture is enlarged here, nearest pixel, to the page's resolution: viewers and
// printers smooth a small enlargement of a picture into a blur, whatever the page asks.
template <typename Transparent>
void VectorMasked(DeviceContext::Impl& d, const Rect& destIn, const Bitmap& src, const Rect& srcIn,
                  Transparent transparentAt) {
    bool flipX = (destIn.Width() < 0) != (srcIn.Width() < 0);
    bool flipY = (destIn.Height() < 0) != (srcIn.Height() < 0);
    Rect dest = Normalized(destIn), srcRect = Normalized(srcIn);
    if (dest.IsEmpty() || srcRect.IsEmpty() || src.Empty())
        return;
    bool enlarge = d.kind == TargetKind::PrinterPage && dest.Width() > srcRect.Width() &&
                   dest.Height() > srcRect.Height() &&
                   (long long)dest.Width() * dest.Height() <= kMaxEnlargedPixels;
    std::vector<int> columns =
        SourceIndices(srcRect.left, srcRect.Width(), enlarge ? dest.Width() : srcRect.Width());
    std::vector<int> rows =
        SourceIndices(srcRect.top, srcRect.Height(), enlarge ? dest.Height() : srcRect.Height());
    const int w = int(columns.size()), h = int(rows.size());
    auto hidden = [&](int x, int y) {
        int sx = columns[std::size_t(x)], sy = rows[std::size_t(y)];
        return sx < 0 || sy < 0 || sx >= src.Width() || sy >= src.Height() || transparentAt(sx, sy);
    };
    std::vector<Rect> parts = OpaqueParts(Rect{0, 0, w, h}, hidden);
    if (parts.empty())
        return;
    Bitmap copy(w, h, 0, false);
    for (const Rect& part : parts)
        for (int y = part.top; y < part.bottom; ++y)
            for (int x = part.left; x < part.right; ++x)
                copy.Row(y)[x] = src.Word(columns[std::size_t(x)], rows[std::size_t(y)]);
    cairo_surface_t* s = SurfaceOver(copy);
    cairo_save(d.cr);
    MapSourceOntoDest(d.cr, dest, Rect{0, 0, w, h}, flipX, flipY);
    for (const Rect& r : parts)
        cairo_rectangle(d.cr, r.left, r.top, r.Width(), r.Height());
    // Exactly on the pixels' edges: without antialiasing cairo would round the shape to whole
    // units of the page (points), a few of its pixels each.
    cairo_set_antialias(d.cr, CAIRO_ANTIALIAS_DEFAULT);
    cairo_clip(d.cr);
    cairo_set_source_surface(d.cr, s, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(d.cr), CAIRO_FILTER_NEAREST);
    cairo_paint(d.cr);
    cairo_restore(d.cr);
    cairo_surface_destroy(s);
}

// Transparent pixels as alpha, for targets that composite rather than skip pixels.
template <typename Transparent> Bitmap WithAlpha(const Bitmap& source, Transparent transparentAt) {
    Bitmap masked(source.Width(), source.Height(), 0, true);
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x)
            masked.Row(y)[x] = transparentAt(x, y) ? 0u : (source.Word(x, y) | 0xFF000000u);
    return masked;
}

} // namespace

void DeviceContext::BitBlt(int x, int y, const Bitmap& source, const Rect& sourceRect,
                           std::uint32_t rop) {
    StretchBlt(Rect{x, y, x + sourceRect.Width(), y + sourceRect.Height()}, source, sourceRect,
               rop);
}

void DeviceContext::StretchBlt(const Rect& dest, const Bitmap& source, const Rect& sourceRect,
                               std::uint32_t rop) {
    Impl& d = Live();
    Rect r = OffsetRect(dest, d.st.origin.x, d.st.origin.y);
    if (!d.PixelTarget() || (d.scale > 1 && rop == SRCCOPY)) {
        VectorStretch(d, r, source, sourceRect, d.PixelTarget());
        return;
    }
    bool alpha = source.HasAlpha();
    if (rop == SRCCOPY && !alpha && r.Width() == sourceRect.Width() &&
        r.Height() == sourceRect.Height() && r.Width() > 0 && r.Height() > 0) {
        CopyRows(d, r, source, sourceRect);
        return;
    }
    ForEachStretched(d, r, source, sourceRect, [&](std::uint32_t& out, std::uint32_t s, int, int) {
        if (rop == SRCCOPY)
            out = alpha ? Over(s, out) : (s | 0xFF000000u);
        else
            out = ApplyRop3(rop, s, out);
    });
}

void DeviceContext::TransparentBlt(const Rect& dest, const Bitmap& source, const Rect& sourceRect,
                                   ColorRef transparent) {
    Impl& d = Live();
    std::uint32_t key = ColorToWord(transparent) & 0xFFFFFF;
    if (d.PixelTarget() && d.scale == 1) {
        Rect r = OffsetRect(dest, d.st.origin.x, d.st.origin.y);
        ForEachStretched(d, r, source, sourceRect,
                         [&](std::uint32_t& out, std::uint32_t s, int, int) {
                             if ((s & 0xFFFFFF) != key)
                                 out = s | 0xFF000000u;
                         });
        return;
    }
    auto transparentAt = [&](int x, int y) { return (source.Word(x, y) & 0xFFFFFF) == key; };
    if (!d.PixelTarget()) {
        VectorMasked(d, OffsetRect(dest, d.st.origin.x, d.st.origin.y), source, sourceRect,
                     transparentAt);
        return;
    }
    StretchBlt(dest, WithAlpha(source, transparentAt), sourceRect);
}

void DeviceContext::MaskBlt(const Rect& dest, const Bitmap& source, const Bitmap& mask,
                            const Rect& sourceRect) {
    Impl& d = Live();
    auto transparentAt = [&](int x, int y) {
        return x < mask.Width() && y < mask.Height() && (mask.Word(x, y) & 0xFFFFFF) != 0;
    };
    if (d.PixelTarget() && d.scale == 1) {
        Rect r = OffsetRect(dest, d.st.origin.x, d.st.origin.y);
        ForEachStretched(d, r, source, sourceRect,
                         [&](std::uint32_t& out, std::uint32_t s, int sx, int sy) {
                             if (!transparentAt(sx, sy))
                                 out = s | 0xFF000000u;
                         });
        return;
    }
    if (!d.PixelTarget()) {
        VectorMasked(d, OffsetRect(dest, d.st.origin.x, d.st.origin.y), source, sourceRect,
                     transparentAt);
        return;
    }
    StretchBlt(dest, WithAlpha(source, transparentAt), sourceRect);
}

void DeviceContext::PlayMetafile(const Metafile& metafile, const Rect& dest) {
    Impl& d = Live();
    if (metafile.Empty() || metafile.Width() <= 0 || metafile.Height() <= 0)
        return;
    Rect r = OffsetRect(dest, d.st.origin.x, d.st.origin.y);
    auto* recording = static_cast<cairo_surface_t*>(metafile.Recording().get());
    cairo_save(d.cr);
    cairo_translate(d.cr, r.left, r.top);
    cairo_scale(d.cr, double(r.Width()) / metafile.Width(), double(r.Height()) / metafile.Height());
    cairo_set_source_surface(d.cr, recording, 0, 0);
    cairo_paint(d.cr);
    cairo_restore(d.cr);
}

} // namespace platform::gdi
