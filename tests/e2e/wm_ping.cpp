// wm_ping WINDOW [TIMEOUT-MS]: pings a client window as a window manager does (_NET_WM_PING in a
// WM_PROTOCOLS message) and waits for the answer, which the client sends to the root window.
// Exit 0: answered with the ping's time stamp and window; 1: no answer in time; 2: usage.
#include <sys/select.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <X11/Xlib.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: wm_ping WINDOW [TIMEOUT-MS]\n");
        return 2;
    }
    Window target = Window(std::strtoul(argv[1], nullptr, 0));
    long timeoutMs = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 2000;
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "wm_ping: cannot open the display\n");
        return 2;
    }
    Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    Atom protocols = XInternAtom(dpy, "WM_PROTOCOLS", False);
    Atom ping = XInternAtom(dpy, "_NET_WM_PING", False);
    const long stamp = 0x5A0F1;
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = target;
    e.xclient.message_type = protocols;
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(ping);
    e.xclient.data.l[1] = stamp;
    e.xclient.data.l[2] = long(target);
    XSendEvent(dpy, target, False, NoEventMask, &e);
    XFlush(dpy);
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int fd = ConnectionNumber(dpy);
    while (std::chrono::steady_clock::now() < until) {
        while (XPending(dpy)) {
            XEvent r;
            XNextEvent(dpy, &r);
            if (r.type == ClientMessage && r.xclient.window == root &&
                r.xclient.message_type == protocols && Atom(r.xclient.data.l[0]) == ping &&
                r.xclient.data.l[1] == stamp && Window(r.xclient.data.l[2]) == target) {
                std::printf("pong\n");
                XCloseDisplay(dpy);
                return 0;
            }
        }
        fd_set set;
        FD_ZERO(&set);
        FD_SET(fd, &set);
        timeval tv{0, 50000};
        select(fd + 1, &set, nullptr, nullptr, &tv);
    }
    std::fprintf(stderr, "wm_ping: no answer from 0x%lx\n", target);
    XCloseDisplay(dpy);
    return 1;
}
