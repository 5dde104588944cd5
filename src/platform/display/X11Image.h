#pragma once
// A window's picture on the X server: the back buffer put through a shared-memory strip of rows
// when the server can share memory with us, through a plain XImage otherwise. Only the X11 backend
// includes this.
#include "platform/display/WindowTypes.h"
#include "platform/gdi/Bitmap.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

namespace platform::x11 {

struct X11Image {
    XImage* image = nullptr;
    XShmSegmentInfo shm{};
    bool useShm = false;
    int width = 0;
    int height = 0;
    int stripRows = 0; // rows of the shared strip

    void Free(Display* dpy);
    // A fresh image of width x height (the old one freed). A server that refuses the shared
    // segment clears `shmAvailable`, and this and later images are plain ones.
    void Make(Display* dpy, Visual* visual, int depth, int width, int height, bool& shmAvailable);
    // Puts the rectangle `dirty` of `buffer` (the image's size) into the window.
    void Put(Display* dpy, ::Window window, GC gc, const gdi::Bitmap& buffer, const Rect& dirty);
};

} // namespace platform::x11
