#include "platform/display/X11Image.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>

namespace platform::x11 {

namespace {

// The shared segment is a strip of whole rows, not the whole window: a large repaint goes up strip
// by strip. A window's worth of shared memory (a megabyte for the result form, four at scale 2)
// would stay resident for the life of the window to save a few round trips per full repaint.
constexpr std::size_t kSharedStripBytes = 128 * 1024;

bool g_shmFailed = false;
int CatchShmError(Display*, XErrorEvent*) {
    g_shmFailed = true;
    return 0;
}

} // namespace

void X11Image::Free(Display* dpy) {
    if (!image)
        return;
    if (useShm) {
        XShmDetach(dpy, &shm);
        XSync(dpy, False);
        XDestroyImage(image); // frees the XImage record; the data is the segment's
        shmdt(shm.shmaddr);
    } else {
        image->data = nullptr;
        XDestroyImage(image);
    }
    image = nullptr;
    useShm = false;
}

void X11Image::Make(Display* dpy, Visual* visual, int depth, int w, int h, bool& shmAvailable) {
    Free(dpy);
    width = w;
    height = h;
    if (shmAvailable) {
        stripRows = std::clamp<int>(int(kSharedStripBytes / (std::size_t(std::max(w, 1)) * 4)), 1,
                                    std::max(h, 1));
        image = XShmCreateImage(dpy, visual, unsigned(depth), ZPixmap, nullptr, &shm, unsigned(w),
                                unsigned(stripRows));
        if (image) {
            std::size_t size = std::size_t(image->bytes_per_line) * unsigned(stripRows);
            shm.shmid = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
            if (shm.shmid >= 0) {
                shm.shmaddr = static_cast<char*>(shmat(shm.shmid, nullptr, 0));
                // Marked for removal now; it lives until both sides detach.
                shmctl(shm.shmid, IPC_RMID, nullptr);
                if (shm.shmaddr != reinterpret_cast<char*>(-1)) {
                    image->data = shm.shmaddr;
                    shm.readOnly = False;
                    g_shmFailed = false;
                    auto old = XSetErrorHandler(CatchShmError);
                    XShmAttach(dpy, &shm);
                    XSync(dpy, False);
                    XSetErrorHandler(old);
                    if (!g_shmFailed) {
                        useShm = true;
                        return;
                    }
                    shmdt(shm.shmaddr);
                }
            }
            image->data = nullptr;
            XDestroyImage(image);
            image = nullptr;
        }
        // A server that cannot share memory with us (a remote one) gets plain images.
        shmAvailable = false;
    }
    image = XCreateImage(dpy, visual, unsigned(depth), ZPixmap, 0, nullptr, unsigned(w),
                         unsigned(h), 32, w * 4);
}

void X11Image::Put(Display* dpy, ::Window window, GC gc, const gdi::Bitmap& buffer, const Rect& r) {
    if (useShm) {
        // The dirty rows go through the shared strip; the server must be done with one strip
        // before the next is written into it.
        char* base = image->data;
        for (int top = r.top; top < r.bottom; top += stripRows) {
            int rows = std::min(stripRows, r.bottom - top);
            for (int i = 0; i < rows; ++i)
                std::memcpy(base + std::size_t(i) * image->bytes_per_line + r.left * 4,
                            buffer.Row(top + i) + r.left, std::size_t(r.Width()) * 4);
            XShmPutImage(dpy, window, gc, image, r.left, 0, r.left, top, unsigned(r.Width()),
                         unsigned(rows), False);
            XSync(dpy, False);
        }
    } else {
        image->data = reinterpret_cast<char*>(const_cast<std::uint32_t*>(buffer.Data()));
        XPutImage(dpy, window, gc, image, r.left, r.top, r.left, r.top, unsigned(r.Width()),
                  unsigned(r.Height()));
        image->data = nullptr;
        XFlush(dpy);
    }
}

} // namespace platform::x11
