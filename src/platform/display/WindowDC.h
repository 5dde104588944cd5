#pragma once
// The bridge from the window manager to the drawing layer: device contexts on a top-level
// window's back buffer, placed at a window's origin and clipped to what the window may touch.
#include "platform/gdi/Region.h"
#include "platform/display/WindowTypes.h"
#include "platform/gdi/Bitmap.h"

namespace platform {

// A context drawing on `buffer` with its origin at `origin` (buffer coordinates) and clipped to
// `clip` (buffer coordinates). Owned by the caller until DeleteWindowDC. The context's own clip
// is the bounds of `clip`; pixels inside those bounds but outside `clip` (the window's children,
// siblings above it) are put back when the context is deleted, so a window cannot paint over
// them. Drawing outside the bounds after removing the clip is not undone: narrow the clip with
// IntersectClipRect rather than replacing it. The context follows the buffer: if the window is
// resized or destroyed while it is held, drawing is clipped to the buffer as it is then (or does
// nothing), and it stays valid until it is deleted. A buffer at device scale s holds s x s pixels
// for each of the window's: origin and clip are the window manager's logical coordinates.
// `untouched` (buffer coordinates) is a part whose pixels need not be kept: the caller never
// draws on it, or it is painted over afterwards (children painted after their parent). Its
// pixels are not saved, and solid fills may skip it. Should another context paint part of it
// before this one is deleted (a child painted inside its parent's paint), that part is kept
// from then on like the rest.
HDC CreateWindowDC(gdi::Bitmap& buffer, Point origin, const Region& clip, int scale = 1,
                   const Region& untouched = Region{});
void DeleteWindowDC(HDC dc);
// Fills a rectangle (context coordinates) with a solid colour.
void FillDCRect(HDC dc, const Rect& rect, ColorRef color);

} // namespace platform
