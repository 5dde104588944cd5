// The X11 display: each top-level window is an X window whose contents are the window's back
// buffer, put on screen through shared memory when the server offers it. What the server
// reports is read in X11Events.cpp, the selections in X11Selection.cpp.
#include "platform/display/X11Backend.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/display/LoopSources.h"
#include "platform/display/WindowApi.h"
#include "platform/display/WindowDecorations.h"
#include "platform/display/WindowManager.h"

// X headers last: their macros (None, True, Status ...) would upset ours.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xresource.h>

namespace platform {

namespace x11 {

namespace {

int IgnoreXError(Display*, XErrorEvent* e) {
    // Requests on windows that vanished meanwhile or focus calls before mapping fail harmlessly;
    // the default handler would end the process.
    if (std::getenv("ZORVANE_X11_DEBUG"))
        std::fprintf(stderr, "X error %d on request %d\n", e->error_code, e->request_code);
    return 0;
}

} // namespace

X11Backend::X11Backend(Display* d) : m_dpy(d) {
    XSetErrorHandler(IgnoreXError);
    m_screen = DefaultScreen(m_dpy);
    m_root = RootWindow(m_dpy, m_screen);
    m_visual = DefaultVisual(m_dpy, m_screen);
    m_depth = DefaultDepth(m_dpy, m_screen);
    m_gc = DefaultGC(m_dpy, m_screen);
    m_scale = ReadDeviceScale();
    const char* names[] = {"WM_PROTOCOLS",
                           "WM_DELETE_WINDOW",
                           "_NET_WM_NAME",
                           "UTF8_STRING",
                           "_NET_WM_ICON",
                           "_NET_WM_WINDOW_TYPE",
                           "_NET_WM_WINDOW_TYPE_NORMAL",
                           "_NET_WM_WINDOW_TYPE_DIALOG",
                           "_NET_WM_WINDOW_TYPE_TOOLTIP",
                           "_NET_WM_WINDOW_TYPE_DROPDOWN_MENU",
                           "_NET_WM_STATE",
                           "_NET_WM_STATE_ABOVE",
                           "_NET_WM_STATE_SKIP_TASKBAR",
                           "_NET_WM_STATE_MODAL",
                           "_NET_ACTIVE_WINDOW",
                           "_NET_SUPPORTING_WM_CHECK",
                           "_NET_WORKAREA",
                           "CLIPBOARD",
                           "TARGETS",
                           "ZORVANE_SELECTION",
                           "TEXT",
                           "_NET_WM_PID",
                           "_MOTIF_WM_HINTS"};
    static_assert(sizeof(names) / sizeof(names[0]) == kAtomCount);
    XInternAtoms(m_dpy, const_cast<char**>(names), kAtomCount, False, m_atoms);
    m_shmAvailable = XShmQueryExtension(m_dpy) && !std::getenv("ZORVANE_X11_NOSHM");
    // A held key repeats as presses alone, as the windows expect (a held Space is one click
    // when let go); without this the server sends a release before every repeat.
    Bool detectable = False;
    XkbSetDetectableAutoRepeat(m_dpy, True, &detectable);
    XSetLocaleModifiers("");
    m_im = XOpenIM(m_dpy, nullptr, nullptr, nullptr);
    XSetWindowAttributes a{};
    a.event_mask = PropertyChangeMask;
    m_selectionWindow = XCreateWindow(m_dpy, m_root, -10, -10, 1, 1, 0, CopyFromParent, InputOnly,
                                      CopyFromParent, CWEventMask, &a);
    m_properties = std::make_unique<X11HostProperties>(m_dpy, m_root);
}

X11Backend::~X11Backend() {
    for (auto& [hwnd, h] : m_hosts)
        FreeHost(h);
    m_strip.Free(m_dpy);
    if (m_im)
        XCloseIM(m_im);
    XDestroyWindow(m_dpy, m_selectionWindow);
    m_properties.reset();
    XCloseDisplay(m_dpy);
}

int X11Backend::ReadDeviceScale() {
    auto env = [](const char* name) -> std::optional<std::string_view> {
        const char* v = std::getenv(name);
        return v ? std::optional<std::string_view>(v) : std::nullopt;
    };
    // The resources the desktop set on the root window (xrdb), as of our connection.
    std::optional<std::string> dpi;
    if (const char* resources = XResourceManagerString(m_dpy)) {
        XrmInitialize();
        if (XrmDatabase db = XrmGetStringDatabase(resources)) {
            char* type = nullptr;
            XrmValue value{};
            if (XrmGetResource(db, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
                dpi.emplace(value.addr);
            XrmDestroyDatabase(db);
        }
    }
    return DeviceScaleFrom(env("ZORVANE_SCALE"), env("GDK_SCALE"), dpi);
}

Size X11Backend::ScreenSize() {
    return Size{ToLogical(DisplayWidth(m_dpy, m_screen), m_scale),
                ToLogical(DisplayHeight(m_dpy, m_screen), m_scale)};
}

Rect X11Backend::WorkArea() {
    Size s = ScreenSize();
    Rect r{0, 0, s.cx, s.cy};
    PublishedWorkArea(r);
    return r;
}

bool X11Backend::PublishedWorkArea(Rect& r) {
    bool published = false;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(m_dpy, m_root, m_atoms[kWorkArea], 0, 4, False, XA_CARDINAL, &type,
                           &format, &count, &after, &data) == Success &&
        data && format == 32 && count >= 4) {
        long* v = reinterpret_cast<long*>(data);
        // Within the device's work area: its first whole logical pixels to its last.
        r = ToLogicalWithin(Rect{int(v[0]), int(v[1]), int(v[0] + v[2]), int(v[1] + v[3])},
                            m_scale);
        published = true;
    }
    if (data)
        XFree(data);
    return published;
}

void X11Backend::CreateHost(HWND hwnd, const HostWindowInfo& info) {
    HostWindow& h = m_hosts[hwnd];
    h.info = info;
    bool caption = (info.style & WS_CAPTION) == WS_CAPTION;
    h.overrideRedirect = !caption && (info.style & WS_POPUP);
    XSetWindowAttributes a{};
    a.background_pixmap = 0; // None: our buffer paints every pixel, no flash of white
    a.override_redirect = h.overrideRedirect;
    a.event_mask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                   ButtonReleaseMask | PointerMotionMask | StructureNotifyMask | FocusChangeMask |
                   EnterWindowMask | LeaveWindowMask;
    a.bit_gravity = NorthWestGravity;
    Rect r = ToServer(info.rect);
    h.xid = XCreateWindow(m_dpy, m_root, r.left, r.top, unsigned(std::max(r.Width(), 1)),
                          unsigned(std::max(r.Height(), 1)), 0, m_depth, InputOutput, m_visual,
                          CWBackPixmap | CWOverrideRedirect | CWEventMask | CWBitGravity, &a);
    m_byXid[h.xid] = hwnd;
    m_properties->Identify(h.xid);
    SetHostTitle(hwnd, info.title);
    ApplyStyle(hwnd, h);
    if (m_im) {
        h.ic = XCreateIC(m_im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow,
                         h.xid, XNFocusWindow, h.xid, nullptr);
    }
}

void X11Backend::DestroyHost(HWND hwnd) {
    auto it = m_hosts.find(hwnd);
    if (it == m_hosts.end())
        return;
    FreeHost(it->second);
    m_byXid.erase(it->second.xid);
    m_hosts.erase(it);
    if (m_grab == hwnd)
        UngrabPointer();
    if (m_pendingGrab == hwnd)
        m_pendingGrab = nullptr;
    XFlush(m_dpy);
}

void X11Backend::ShowHost(HWND hwnd, bool show, bool activate) {
    HostWindow* h = Find(hwnd);
    if (!h)
        return;
    h->shown = show;
    if (show) {
        // A fresh map places the window where we say (the position hint is set again).
        SetSizeHints(*h);
        XMapRaised(m_dpy, h->xid);
        h->wantFocus = activate && !h->overrideRedirect;
    } else {
        XUnmapWindow(m_dpy, h->xid);
        h->mapped = false;
        h->wantFocus = false;
    }
    XFlush(m_dpy);
}

void X11Backend::MoveHost(HWND hwnd, const Rect& r) {
    HostWindow* h = Find(hwnd);
    if (!h)
        return;
    h->info.rect = r;
    Rect d = ToServer(r);
    h->requested.push_back(d);
    if (h->requested.size() > 16)
        h->requested.pop_front();
    SetSizeHints(*h);
    XMoveResizeWindow(m_dpy, h->xid, d.left, d.top, unsigned(std::max(d.Width(), 1)),
                      unsigned(std::max(d.Height(), 1)));
    XFlush(m_dpy);
}

void X11Backend::MinimizeHost(HWND hwnd, bool minimized) {
    HostWindow* h = Find(hwnd);
    if (!h || h->overrideRedirect)
        return;
    if (minimized)
        XIconifyWindow(m_dpy, h->xid, m_screen);
    else if (h->shown)
        XMapRaised(m_dpy, h->xid);
    XFlush(m_dpy);
}

void X11Backend::SetHostTitle(HWND hwnd, const std::string& title) {
    HostWindow* h = Find(hwnd);
    if (!h)
        return;
    h->info.title = title;
    m_properties->SetTitle(h->xid, title);
    XFlush(m_dpy);
}

void X11Backend::SetHostIcon(HWND hwnd, int width, int height, const std::uint32_t* argb) {
    HostWindow* h = Find(hwnd);
    if (!h)
        return;
    m_properties->SetIcon(h->xid, width, height, argb);
    XFlush(m_dpy);
}

void X11Backend::StyleChanged(HWND hwnd, const HostWindowInfo& info) {
    HostWindow* h = Find(hwnd);
    if (!h)
        return;
    bool wasAbove = (h->info.exStyle & WS_EX_TOPMOST) != 0;
    h->info.style = info.style;
    h->info.exStyle = info.exStyle;
    h->info.owner = info.owner;
    h->info.transientFor = info.transientFor;
    h->info.modal = info.modal;
    bool above = (info.exStyle & WS_EX_TOPMOST) != 0;
    if (h->mapped && above != wasAbove && !h->overrideRedirect) {
        // A mapped window asks the window manager to change its state.
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = h->xid;
        e.xclient.message_type = m_atoms[kNetWmState];
        e.xclient.format = 32;
        e.xclient.data.l[0] = above ? 1 : 0;
        e.xclient.data.l[1] = long(m_atoms[kStateAbove]);
        e.xclient.data.l[3] = 1;
        XSendEvent(m_dpy, m_root, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    } else {
        ApplyStyle(hwnd, *h);
    }
    XFlush(m_dpy);
}

void X11Backend::RaiseHost(HWND hwnd) {
    if (HostWindow* h = Find(hwnd)) {
        XRaiseWindow(m_dpy, h->xid);
        XFlush(m_dpy);
    }
}

void X11Backend::ActivateHost(HWND hwnd) {
    HostWindow* h = Find(hwnd);
    if (!h || h->overrideRedirect)
        return;
    if (!h->mapped) {
        h->wantFocus = true;
        return;
    }
    FocusNow(*h);
}

void X11Backend::Present(HWND hwnd, const gdi::Bitmap& buffer, const Rect& dirty) {
    HostWindow* h = Find(hwnd);
    if (!h || buffer.Empty() || (!h->mapped && !(h->shown && MapArrived(*h))))
        return;
    if (m_depth != 24 && m_depth != 32)
        return; // only true-colour visuals carry our pixels unchanged
    if (m_shmAvailable && (!m_strip.image || m_strip.width < buffer.Width())) {
        m_strip.Make(m_dpy, m_visual, m_depth, std::max(buffer.Width(), m_strip.width),
                     buffer.Height(), m_shmAvailable);
        if (!m_shmAvailable)
            m_strip.Free(m_dpy); // the server refused the segment: plain pictures from now on
    }
    X11Image& p = m_shmAvailable ? m_strip : h->picture;
    if (!m_shmAvailable && (!p.image || p.width != buffer.Width() || p.height != buffer.Height()))
        p.Make(m_dpy, m_visual, m_depth, buffer.Width(), buffer.Height(), m_shmAvailable);
    Rect pixels = Intersection(ToServer(dirty), Rect{0, 0, buffer.Width(), buffer.Height()});
    if (!pixels.IsEmpty())
        p.Put(m_dpy, h->xid, m_gc, buffer, pixels);
}

void X11Backend::GrabPointer(HWND topLevel) {
    HostWindow* h = Find(topLevel);
    if (!h)
        return;
    if (!h->mapped) {
        // A pop-up that captures the mouse as it is shown (a drop-down list) is not
        // viewable until the server maps it; grab then.
        m_pendingGrab = topLevel;
        return;
    }
    m_pendingGrab = nullptr;
    int r =
        XGrabPointer(m_dpy, h->xid, True, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                     GrabModeAsync, GrabModeAsync, 0, 0, CurrentTime);
    if (r == GrabSuccess)
        m_grab = topLevel;
    XFlush(m_dpy);
}

void X11Backend::UngrabPointer() {
    m_pendingGrab = nullptr;
    if (!m_grab)
        return;
    m_grab = nullptr;
    XUngrabPointer(m_dpy, CurrentTime);
    XFlush(m_dpy);
}

Point X11Backend::CursorPos() {
    ::Window rootRet, child;
    int rx = 0, ry = 0, wx, wy;
    unsigned mask;
    XQueryPointer(m_dpy, m_root, &rootRet, &child, &rx, &ry, &wx, &wy, &mask);
    return FromServer(rx, ry);
}

void X11Backend::SetCursorPos(Point p) {
    XWarpPointer(m_dpy, 0, m_root, 0, 0, 0, 0, ToDevice(p.x, m_scale), ToDevice(p.y, m_scale));
    XFlush(m_dpy);
}

void X11Backend::Beep() {
    XBell(m_dpy, 0);
    XFlush(m_dpy);
}

bool X11Backend::Poll(int timeoutMs) {
    bool any = Drain();
    if (any || timeoutMs == 0)
        return any;
    WaitForConnection(timeoutMs);
    return Drain();
}

std::uint64_t X11Backend::NowMs() {
    using namespace std::chrono;
    return std::uint64_t(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

HostWindow* X11Backend::Find(HWND hwnd) {
    auto it = m_hosts.find(hwnd);
    return it == m_hosts.end() ? nullptr : &it->second;
}

// The server has mapped the window and its MapNotify waits unread in the queue: a form painted
// as it is shown, before the loop reads its events, is put on screen at once. The queue is only
// looked at, not taken from.
bool X11Backend::MapArrived(const HostWindow& h) {
    XSync(m_dpy, False);
    struct Search {
        ::Window xid;
        bool found;
    } search{h.xid, false};
    XEvent e;
    XCheckIfEvent(
        m_dpy, &e,
        [](Display*, XEvent* ev, XPointer arg) -> Bool {
            auto* s = reinterpret_cast<Search*>(arg);
            s->found = s->found || (ev->type == MapNotify && ev->xmap.window == s->xid);
            return False;
        },
        reinterpret_cast<XPointer>(&search));
    return search.found;
}

HWND X11Backend::FromXid(::Window xid) const {
    auto it = m_byXid.find(xid);
    return it == m_byXid.end() ? nullptr : it->second;
}

void X11Backend::FreeHost(HostWindow& h) {
    h.picture.Free(m_dpy);
    if (h.ic)
        XDestroyIC(h.ic);
    h.ic = nullptr;
    XDestroyWindow(m_dpy, h.xid);
}

void X11Backend::SetSizeHints(HostWindow& h) {
    XSizeHints* sh = XAllocSizeHints();
    Rect r = ToServer(h.info.rect);
    sh->flags = PPosition | USPosition | PSize;
    sh->x = r.left;
    sh->y = r.top;
    sh->width = std::max(r.Width(), 1);
    sh->height = std::max(r.Height(), 1);
    // Forms with a single border cannot be resized by the user.
    if (!(h.info.style & WS_THICKFRAME)) {
        sh->flags |= PMinSize | PMaxSize;
        sh->min_width = sh->max_width = sh->width;
        sh->min_height = sh->max_height = sh->height;
    }
    XSetWMNormalHints(m_dpy, h.xid, sh);
    XFree(sh);
}

void X11Backend::ApplyStyle(HWND, HostWindow& h) {
    SetSizeHints(h);
    const HostWindowInfo& info = h.info;
    Atom type = m_atoms[kTypeNormal];
    if (h.overrideRedirect)
        type = (info.exStyle & WS_EX_TOOLWINDOW) && (info.exStyle & WS_EX_NOACTIVATE)
                   ? m_atoms[kTypeDropdown]
                   : m_atoms[kTypeTooltip];
    else if ((info.exStyle & WS_EX_DLGMODALFRAME) || (info.style & WS_CAPTION) == WS_DLGFRAME ||
             info.owner || info.transientFor || info.modal)
        // A dialog frame without the border of a caption (WS_CAPTION holds WS_DLGFRAME, so
        // every captioned form would otherwise be a dialog), an owned window or a modal one.
        type = m_atoms[kTypeDialog];
    XChangeProperty(m_dpy, h.xid, m_atoms[kWindowType], XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&type), 1);
    if (HostWindow* parent = Find(info.transientFor))
        XSetTransientForHint(m_dpy, h.xid, parent->xid);
    else
        XDeleteProperty(m_dpy, h.xid, XA_WM_TRANSIENT_FOR);
    std::vector<Atom> states;
    if (info.modal)
        states.push_back(m_atoms[kStateModal]);
    if (info.exStyle & WS_EX_TOPMOST)
        states.push_back(m_atoms[kStateAbove]);
    if (info.exStyle & WS_EX_TOOLWINDOW)
        states.push_back(m_atoms[kStateSkipTaskbar]);
    XChangeProperty(m_dpy, h.xid, m_atoms[kNetWmState], XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(states.data()), int(states.size()));
    if (!h.overrideRedirect) {
        // Only the buttons and functions the style has: a manager offers every one otherwise.
        MotifWmHints m = MotifHintsFor(info.style);
        unsigned long fields[] = {m.flags, m.functions, m.decorations,
                                  static_cast<unsigned long>(m.inputMode), m.status};
        XChangeProperty(m_dpy, h.xid, m_atoms[kMotifWmHints], m_atoms[kMotifWmHints], 32,
                        PropModeReplace, reinterpret_cast<unsigned char*>(fields), 5);
    }
}

bool X11Backend::HasWindowManager() {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    bool wm = XGetWindowProperty(m_dpy, m_root, m_atoms[kSupportingWmCheck], 0, 1, False, XA_WINDOW,
                                 &type, &format, &count, &after, &data) == Success &&
              data && count == 1;
    if (data)
        XFree(data);
    return wm;
}

void X11Backend::FocusNow(HostWindow& h) {
    h.wantFocus = false;
    if (HasWindowManager()) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = h.xid;
        e.xclient.message_type = m_atoms[kActiveWindow];
        e.xclient.format = 32;
        e.xclient.data.l[0] = 1; // a normal application
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(m_dpy, m_root, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    } else {
        // No window manager: the keyboard goes where we put it.
        XSetInputFocus(m_dpy, h.xid, RevertToParent, CurrentTime);
    }
    XFlush(m_dpy);
}

// One poll over the connection and the loop's other sources (the accessibility bridge's D-Bus
// traffic), so both are served from this wait.
void X11Backend::WaitForConnection(int timeoutMs) {
    WaitForDescriptor(ConnectionNumber(m_dpy), timeoutMs);
}

} // namespace x11

std::unique_ptr<DisplayBackend> MakeX11Backend() {
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return nullptr;
    return std::make_unique<x11::X11Backend>(d);
}

void UseX11Display() {
    SetX11BackendFactory(&MakeX11Backend);
}

} // namespace platform
