// The X11 display: each top-level window is an X window whose contents are the window's back
// buffer, put on screen through shared memory when the server offers it. Keyboard text comes
// through an input method so that any layout (Cyrillic included) arrives as characters.
#include <sys/select.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <unordered_map>
#include <vector>

#include "platform/display/DisplayBackend.h"
#include "platform/display/Messages.h"
#include "platform/display/WindowDecorations.h"
#include "platform/display/WindowManager.h"
#include "platform/display/X11Image.h"
#include "platform/display/X11Keys.h"

// X headers last: their macros (None, True, Status ...) would upset ours.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace platform {

namespace {

using x11::DecodeUtf8;
using x11::KeysymToVk;
using x11::X11Image;

int IgnoreXError(Display*, XErrorEvent* e) {
    // Requests on windows that vanished meanwhile or focus calls before mapping fail harmlessly;
    // the default handler would end the process.
    if (std::getenv("ZORVANE_X11_DEBUG"))
        std::fprintf(stderr, "X error %d on request %d\n", e->error_code, e->request_code);
    return 0;
}

struct HostWindow {
    ::Window xid = 0;
    XIC ic = nullptr;
    bool mapped = false;
    bool shown = false; // mapped as far as we are concerned
    bool wantFocus = false;
    bool overrideRedirect = false;
    HostWindowInfo info;
    std::deque<Rect> requested; // geometries asked for and not yet confirmed
    X11Image picture;           // what Present puts on screen
};

class X11Backend : public DisplayBackend {
public:
    explicit X11Backend(Display* d) : m_dpy(d) {
        XSetErrorHandler(IgnoreXError);
        m_screen = DefaultScreen(m_dpy);
        m_root = RootWindow(m_dpy, m_screen);
        m_visual = DefaultVisual(m_dpy, m_screen);
        m_depth = DefaultDepth(m_dpy, m_screen);
        m_gc = DefaultGC(m_dpy, m_screen);
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
        m_selectionWindow = XCreateWindow(m_dpy, m_root, -10, -10, 1, 1, 0, CopyFromParent,
                                          InputOnly, CopyFromParent, CWEventMask, &a);
    }

    ~X11Backend() override {
        for (auto& [hwnd, h] : m_hosts)
            FreeHost(h);
        if (m_im)
            XCloseIM(m_im);
        XDestroyWindow(m_dpy, m_selectionWindow);
        XCloseDisplay(m_dpy);
    }

    const char* Name() const override { return "x11"; }

    Size ScreenSize() override {
        return Size{DisplayWidth(m_dpy, m_screen), DisplayHeight(m_dpy, m_screen)};
    }

    Rect WorkArea() override {
        Size s = ScreenSize();
        Rect r{0, 0, s.cx, s.cy};
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(m_dpy, m_root, m_atoms[kWorkArea], 0, 4, False, XA_CARDINAL, &type,
                               &format, &count, &after, &data) == Success &&
            data && format == 32 && count >= 4) {
            long* v = reinterpret_cast<long*>(data);
            r = Rect{int(v[0]), int(v[1]), int(v[0] + v[2]), int(v[1] + v[3])};
        }
        if (data)
            XFree(data);
        return r;
    }

    void CreateHost(HWND hwnd, const HostWindowInfo& info) override {
        HostWindow& h = m_hosts[hwnd];
        h.info = info;
        bool caption = (info.style & WS_CAPTION) == WS_CAPTION;
        h.overrideRedirect = !caption && (info.style & WS_POPUP);
        XSetWindowAttributes a{};
        a.background_pixmap = 0; // None: our buffer paints every pixel, no flash of white
        a.override_redirect = h.overrideRedirect;
        a.event_mask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                       ButtonReleaseMask | PointerMotionMask | StructureNotifyMask |
                       FocusChangeMask | EnterWindowMask | LeaveWindowMask;
        a.bit_gravity = NorthWestGravity;
        Rect r = info.rect;
        h.xid = XCreateWindow(m_dpy, m_root, r.left, r.top, unsigned(std::max(r.Width(), 1)),
                              unsigned(std::max(r.Height(), 1)), 0, m_depth, InputOutput, m_visual,
                              CWBackPixmap | CWOverrideRedirect | CWEventMask | CWBitGravity, &a);
        m_byXid[h.xid] = hwnd;
        XClassHint cls;
        cls.res_name = const_cast<char*>("zorvane");
        cls.res_class = const_cast<char*>("Zorvane");
        XSetClassHint(m_dpy, h.xid, &cls);
        Atom protocols[] = {m_atoms[kDeleteWindow]};
        XSetWMProtocols(m_dpy, h.xid, protocols, 1);
        long pid = long(getpid());
        XChangeProperty(m_dpy, h.xid, m_atoms[kPid], XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&pid), 1);
        XWMHints hints{};
        hints.flags = InputHint | StateHint;
        hints.input = True;
        hints.initial_state = NormalState;
        XSetWMHints(m_dpy, h.xid, &hints);
        SetHostTitle(hwnd, info.title);
        ApplyStyle(hwnd, h);
        if (m_im) {
            h.ic = XCreateIC(m_im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing,
                             XNClientWindow, h.xid, XNFocusWindow, h.xid, nullptr);
        }
    }

    void DestroyHost(HWND hwnd) override {
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

    void ShowHost(HWND hwnd, bool show, bool activate) override {
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

    void MoveHost(HWND hwnd, const Rect& r) override {
        HostWindow* h = Find(hwnd);
        if (!h)
            return;
        h->info.rect = r;
        h->requested.push_back(r);
        if (h->requested.size() > 16)
            h->requested.pop_front();
        SetSizeHints(*h);
        XMoveResizeWindow(m_dpy, h->xid, r.left, r.top, unsigned(std::max(r.Width(), 1)),
                          unsigned(std::max(r.Height(), 1)));
        XFlush(m_dpy);
    }

    void MinimizeHost(HWND hwnd, bool minimized) override {
        HostWindow* h = Find(hwnd);
        if (!h || h->overrideRedirect)
            return;
        if (minimized)
            XIconifyWindow(m_dpy, h->xid, m_screen);
        else if (h->shown)
            XMapRaised(m_dpy, h->xid);
        XFlush(m_dpy);
    }

    void SetHostTitle(HWND hwnd, const std::string& title) override {
        HostWindow* h = Find(hwnd);
        if (!h)
            return;
        h->info.title = title;
        XChangeProperty(m_dpy, h->xid, m_atoms[kNetWmName], m_atoms[kUtf8], 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title.data()), int(title.size()));
        XStoreName(m_dpy, h->xid, title.c_str());
        XFlush(m_dpy);
    }

    void SetHostIcon(HWND hwnd, int width, int height, const std::uint32_t* argb) override {
        HostWindow* h = Find(hwnd);
        if (!h)
            return;
        // Format-32 properties travel as longs, whatever their width.
        std::vector<unsigned long> data;
        data.reserve(2 + std::size_t(width) * height);
        data.push_back(unsigned(width));
        data.push_back(unsigned(height));
        for (std::size_t i = 0; i < std::size_t(width) * height; ++i)
            data.push_back(argb[i]);
        XChangeProperty(m_dpy, h->xid, m_atoms[kNetWmIcon], XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(data.data()), int(data.size()));
        XFlush(m_dpy);
    }

    void StyleChanged(HWND hwnd, const HostWindowInfo& info) override {
        HostWindow* h = Find(hwnd);
        if (!h)
            return;
        bool wasAbove = (h->info.exStyle & WS_EX_TOPMOST) != 0;
        h->info.style = info.style;
        h->info.exStyle = info.exStyle;
        h->info.owner = info.owner;
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

    void RaiseHost(HWND hwnd) override {
        if (HostWindow* h = Find(hwnd)) {
            XRaiseWindow(m_dpy, h->xid);
            XFlush(m_dpy);
        }
    }

    void ActivateHost(HWND hwnd) override {
        HostWindow* h = Find(hwnd);
        if (!h || h->overrideRedirect)
            return;
        if (!h->mapped) {
            h->wantFocus = true;
            return;
        }
        FocusNow(*h);
    }

    void Present(HWND hwnd, const gdi::Bitmap& buffer, const Rect& dirty) override {
        HostWindow* h = Find(hwnd);
        if (!h || !h->mapped || buffer.Empty())
            return;
        if (m_depth != 24 && m_depth != 32)
            return; // only true-colour visuals carry our pixels unchanged
        X11Image& p = h->picture;
        if (!p.image || p.width != buffer.Width() || p.height != buffer.Height())
            p.Make(m_dpy, m_visual, m_depth, buffer.Width(), buffer.Height(), m_shmAvailable);
        p.Put(m_dpy, h->xid, m_gc, buffer, dirty);
    }

    void GrabPointer(HWND topLevel) override {
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
        int r = XGrabPointer(m_dpy, h->xid, True,
                             ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                             GrabModeAsync, 0, 0, CurrentTime);
        if (r == GrabSuccess)
            m_grab = topLevel;
        XFlush(m_dpy);
    }

    void UngrabPointer() override {
        m_pendingGrab = nullptr;
        if (!m_grab)
            return;
        m_grab = nullptr;
        XUngrabPointer(m_dpy, CurrentTime);
        XFlush(m_dpy);
    }

    void SetClipboardText(const std::string& text) override {
        m_clipboard = text;
        XSetSelectionOwner(m_dpy, m_atoms[kClipboard], m_selectionWindow, CurrentTime);
        m_ownClipboard = XGetSelectionOwner(m_dpy, m_atoms[kClipboard]) == m_selectionWindow;
        XFlush(m_dpy);
    }

    std::string ClipboardText() override {
        if (m_ownClipboard)
            return m_clipboard;
        if (XGetSelectionOwner(m_dpy, m_atoms[kClipboard]) == 0)
            return {};
        XConvertSelection(m_dpy, m_atoms[kClipboard], m_atoms[kUtf8], m_atoms[kSelection],
                          m_selectionWindow, CurrentTime);
        XFlush(m_dpy);
        // Wait a bounded time for the owner's answer, leaving other events queued.
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000);
        XEvent e;
        while (std::chrono::steady_clock::now() < until) {
            if (XCheckTypedWindowEvent(m_dpy, m_selectionWindow, SelectionNotify, &e)) {
                if (e.xselection.property == 0)
                    return {};
                return ReadProperty(m_selectionWindow, m_atoms[kSelection]);
            }
            WaitForConnection(10);
        }
        return {};
    }

    Point CursorPos() override {
        ::Window rootRet, child;
        int rx = 0, ry = 0, wx, wy;
        unsigned mask;
        XQueryPointer(m_dpy, m_root, &rootRet, &child, &rx, &ry, &wx, &wy, &mask);
        return Point{rx, ry};
    }

    void SetCursorPos(Point p) override {
        XWarpPointer(m_dpy, 0, m_root, 0, 0, 0, 0, p.x, p.y);
        XFlush(m_dpy);
    }

    void Beep() override {
        XBell(m_dpy, 0);
        XFlush(m_dpy);
    }

    bool Poll(int timeoutMs) override {
        bool any = Drain();
        if (any || timeoutMs == 0)
            return any;
        WaitForConnection(timeoutMs);
        return Drain();
    }

    std::uint64_t NowMs() override {
        using namespace std::chrono;
        return std::uint64_t(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }

private:
    enum AtomIndex {
        kProtocols,
        kDeleteWindow,
        kNetWmName,
        kUtf8,
        kNetWmIcon,
        kWindowType,
        kTypeNormal,
        kTypeDialog,
        kTypeTooltip,
        kTypeDropdown,
        kNetWmState,
        kStateAbove,
        kStateSkipTaskbar,
        kActiveWindow,
        kSupportingWmCheck,
        kWorkArea,
        kClipboard,
        kTargets,
        kSelection,
        kText,
        kPid,
        kMotifWmHints,
        kAtomCount
    };

    HostWindow* Find(HWND hwnd) {
        auto it = m_hosts.find(hwnd);
        return it == m_hosts.end() ? nullptr : &it->second;
    }

    HWND FromXid(::Window xid) const {
        auto it = m_byXid.find(xid);
        return it == m_byXid.end() ? nullptr : it->second;
    }

    void FreeHost(HostWindow& h) {
        h.picture.Free(m_dpy);
        if (h.ic)
            XDestroyIC(h.ic);
        h.ic = nullptr;
        XDestroyWindow(m_dpy, h.xid);
    }

    void SetSizeHints(HostWindow& h) {
        XSizeHints* sh = XAllocSizeHints();
        Rect r = h.info.rect;
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

    void ApplyStyle(HWND, HostWindow& h) {
        SetSizeHints(h);
        const HostWindowInfo& info = h.info;
        Atom type = m_atoms[kTypeNormal];
        if (h.overrideRedirect)
            type = (info.exStyle & WS_EX_TOOLWINDOW) && (info.exStyle & WS_EX_NOACTIVATE)
                       ? m_atoms[kTypeDropdown]
                       : m_atoms[kTypeTooltip];
        else if ((info.exStyle & WS_EX_DLGMODALFRAME) || (info.style & WS_CAPTION) == WS_DLGFRAME ||
                 info.owner)
            // A dialog frame without the border of a caption (WS_CAPTION holds WS_DLGFRAME, so
            // every captioned form would otherwise be a dialog), or an owned window.
            type = m_atoms[kTypeDialog];
        XChangeProperty(m_dpy, h.xid, m_atoms[kWindowType], XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&type), 1);
        if (HostWindow* owner = Find(info.owner))
            XSetTransientForHint(m_dpy, h.xid, owner->xid);
        std::vector<Atom> states;
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

    bool HasWindowManager() {
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        bool wm = XGetWindowProperty(m_dpy, m_root, m_atoms[kSupportingWmCheck], 0, 1, False,
                                     XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
                  data && count == 1;
        if (data)
            XFree(data);
        return wm;
    }

    void FocusNow(HostWindow& h) {
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

    void WaitForConnection(int timeoutMs) {
        int fd = ConnectionNumber(m_dpy);
        fd_set set;
        FD_ZERO(&set);
        FD_SET(fd, &set);
        timeval tv{};
        timeval* ptv = nullptr;
        if (timeoutMs >= 0) {
            tv.tv_sec = timeoutMs / 1000;
            tv.tv_usec = (timeoutMs % 1000) * 1000;
            ptv = &tv;
        }
        select(fd + 1, &set, nullptr, nullptr, ptv);
    }

    std::string ReadProperty(::Window w, Atom property) {
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        std::string out;
        if (XGetWindowProperty(m_dpy, w, property, 0, 1 << 24, True, AnyPropertyType, &type,
                               &format, &count, &after, &data) == Success &&
            data && format == 8)
            out.assign(reinterpret_cast<char*>(data), count);
        if (data)
            XFree(data);
        return out;
    }

    bool Drain() {
        bool any = false;
        while (XPending(m_dpy)) {
            XEvent e;
            XNextEvent(m_dpy, &e);
            any = true;
            Handle(e);
        }
        return any;
    }

    void Handle(XEvent& e) {
        if (XFilterEvent(&e, 0))
            return; // the input method keeps it (a compose sequence in progress)
        switch (e.type) {
        case SelectionRequest:
            AnswerSelection(e.xselectionrequest);
            return;
        case SelectionClear:
            if (e.xselectionclear.selection == m_atoms[kClipboard])
                m_ownClipboard = false;
            return;
        default:
            break;
        }
        HWND hwnd = FromXid(e.xany.window);
        HostWindow* h = hwnd ? Find(hwnd) : nullptr;
        if (!h)
            return;
        switch (e.type) {
        case Expose:
            m_wm->HostExposed(hwnd, Rect{e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width,
                                         e.xexpose.y + e.xexpose.height});
            break;
        case MapNotify:
            h->mapped = true;
            m_wm->HostExposed(hwnd, Rect{0, 0, h->info.rect.Width(), h->info.rect.Height()});
            if (h->wantFocus)
                FocusNow(*h);
            if (m_pendingGrab == hwnd)
                GrabPointer(hwnd);
            break;
        case UnmapNotify:
            h->mapped = false;
            break;
        case ConfigureNotify: {
            int x = e.xconfigure.x, y = e.xconfigure.y;
            if (!h->overrideRedirect && !e.xconfigure.send_event) {
                // Under a reparenting window manager the coordinates are the frame's.
                ::Window child;
                XTranslateCoordinates(m_dpy, h->xid, m_root, 0, 0, &x, &y, &child);
            }
            Rect r{x, y, x + e.xconfigure.width, y + e.xconfigure.height};
            auto match = std::find(h->requested.begin(), h->requested.end(), r);
            if (match != h->requested.end()) {
                h->requested.erase(h->requested.begin(), match + 1);
                break; // our own request coming back
            }
            h->requested.clear();
            h->info.rect = r;
            m_wm->HostMoved(hwnd, r);
            break;
        }
        case ClientMessage:
            if (e.xclient.message_type == m_atoms[kProtocols] &&
                Atom(e.xclient.data.l[0]) == m_atoms[kDeleteWindow])
                m_wm->HostClose(hwnd);
            break;
        case FocusIn:
            if (e.xfocus.mode == NotifyGrab || e.xfocus.mode == NotifyUngrab ||
                e.xfocus.detail == NotifyPointer)
                break;
            if (h->ic)
                XSetICFocus(h->ic);
            ReleaseLostModifiers(hwnd, PointerModifiers(), 0);
            m_wm->HostFocus(hwnd, true);
            break;
        case FocusOut: {
            if (e.xfocus.mode == NotifyGrab || e.xfocus.mode == NotifyUngrab ||
                e.xfocus.detail == NotifyPointer || e.xfocus.detail == NotifyInferior)
                break;
            if (h->ic)
                XUnsetICFocus(h->ic);
            // Only a focus that went to another program deactivates us.
            ::Window focus;
            int revert;
            XGetInputFocus(m_dpy, &focus, &revert);
            if (focus != PointerRoot && focus != 0 && !FromXid(focus))
                m_wm->HostFocus(hwnd, false);
            break;
        }
        case MotionNotify: {
            // Only the latest position of a run of moves matters.
            XEvent next;
            while (XCheckTypedWindowEvent(m_dpy, e.xany.window, MotionNotify, &next))
                e = next;
            InputEvent ev;
            ev.kind = InputEvent::MouseMove;
            ev.topLevel = hwnd;
            ev.screen = Point{e.xmotion.x_root, e.xmotion.y_root};
            m_wm->HostInput(ev);
            break;
        }
        case EnterNotify:
        case LeaveNotify: {
            // The pointer crossing our windows' edges moves it as far as the windows are concerned.
            InputEvent ev;
            ev.kind = InputEvent::MouseMove;
            ev.topLevel = hwnd;
            ev.screen = Point{e.xcrossing.x_root, e.xcrossing.y_root};
            m_wm->HostInput(ev);
            break;
        }
        case ButtonPress:
        case ButtonRelease: {
            InputEvent ev;
            ev.topLevel = hwnd;
            ev.screen = Point{e.xbutton.x_root, e.xbutton.y_root};
            unsigned b = e.xbutton.button;
            if (b == 4 || b == 5) {
                if (e.type == ButtonPress) {
                    ev.kind = InputEvent::Wheel;
                    ev.wheelDelta = b == 4 ? WHEEL_DELTA : -WHEEL_DELTA;
                    m_wm->HostInput(ev);
                }
                break;
            }
            if (b < 1 || b > 3)
                break;
            ReleaseLostModifiers(hwnd, e.xbutton.state, 0);
            ev.kind = e.type == ButtonPress ? InputEvent::ButtonDown : InputEvent::ButtonUp;
            ev.button = int(b);
            m_wm->HostInput(ev);
            break;
        }
        case KeyPress:
        case KeyRelease: {
            if (e.type == KeyRelease && XEventsQueued(m_dpy, QueuedAfterReading)) {
                // A server that cannot drop repeat releases: a release followed at once by a
                // press of the same key at the same time is a repeat, not a release.
                XEvent next;
                XPeekEvent(m_dpy, &next);
                if (next.type == KeyPress && next.xkey.keycode == e.xkey.keycode &&
                    next.xkey.time == e.xkey.time)
                    break;
            }
            InputEvent ev;
            ev.kind = e.type == KeyPress ? InputEvent::KeyDown : InputEvent::KeyUp;
            ev.topLevel = hwnd;
            KeySym ks = 0;
            if (e.type == KeyPress) {
                char buf[64];
                Status status = 0;
                int n = 0;
                if (h->ic) {
                    n = Xutf8LookupString(h->ic, &e.xkey, buf, sizeof buf - 1, &ks, &status);
                    if (status != XLookupChars && status != XLookupBoth)
                        n = 0;
                    if (status != XLookupKeySym && status != XLookupBoth)
                        ks = 0;
                    ev.text = DecodeUtf8(buf, std::max(n, 0));
                } else {
                    // Not UTF-8: Latin-1 at best, and nothing at all for a Cyrillic key.
                    n = XLookupString(&e.xkey, buf, sizeof buf - 1, &ks, nullptr);
                    ev.text = x11::TextWithoutInputMethod(buf, std::max(n, 0), ks);
                }
            }
            // The virtual key is the key's own, as the first layout names it, so that a
            // Cyrillic layout still gives the Latin letter keys their codes.
            KeySym base = XkbKeycodeToKeysym(m_dpy, KeyCode(e.xkey.keycode), 0, 0);
            ev.vk = KeysymToVk(base);
            if (!ev.vk && ks)
                ev.vk = KeysymToVk(ks);
            if (!ev.vk)
                ev.vk = 0xE5; // a key known only by its character
            ReleaseLostModifiers(hwnd, e.xkey.state, ev.vk);
            if (int i = ModifierIndex(ev.vk); i >= 0)
                m_modifierDown[i] = ev.kind == InputEvent::KeyDown;
            m_wm->HostInput(ev);
            break;
        }
        default:
            break;
        }
    }

    // Shift, Ctrl and Alt as the windows know them, with their X modifier masks.
    static constexpr int kModifierVk[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
    static constexpr unsigned kModifierMask[] = {ShiftMask, ControlMask, Mod1Mask};
    static int ModifierIndex(int vk) {
        for (int i = 0; i < 3; ++i)
            if (kModifierVk[i] == vk)
                return i;
        return -1;
    }

    unsigned PointerModifiers() {
        ::Window root, child;
        int rx, ry, wx, wy;
        unsigned mask = 0;
        XQueryPointer(m_dpy, m_root, &root, &child, &rx, &ry, &wx, &wy, &mask);
        return mask;
    }

    // A modifier pressed in our windows whose release went elsewhere — a window manager that
    // takes the keyboard for Alt+Tab keeps it — would stay held for the program: every later key
    // would come with Alt. X gives the modifiers held with each event (`state`); a modifier we
    // reported down that is no longer held is released first. `vk` is the event's own key.
    void ReleaseLostModifiers(HWND hwnd, unsigned state, int vk) {
        for (int i = 0; i < 3; ++i) {
            if (!m_modifierDown[i] || kModifierVk[i] == vk || (state & kModifierMask[i]))
                continue;
            m_modifierDown[i] = false;
            InputEvent up;
            up.kind = InputEvent::KeyUp;
            up.topLevel = hwnd;
            up.vk = kModifierVk[i];
            m_wm->HostInput(up);
        }
    }

    void AnswerSelection(const XSelectionRequestEvent& req) {
        XEvent reply{};
        reply.xselection.type = SelectionNotify;
        reply.xselection.requestor = req.requestor;
        reply.xselection.selection = req.selection;
        reply.xselection.target = req.target;
        reply.xselection.time = req.time;
        reply.xselection.property = 0;
        Atom property = req.property ? req.property : req.target;
        if (req.selection == m_atoms[kClipboard] && m_ownClipboard) {
            if (req.target == m_atoms[kTargets]) {
                Atom targets[] = {m_atoms[kTargets], m_atoms[kUtf8], XA_STRING, m_atoms[kText]};
                XChangeProperty(m_dpy, req.requestor, property, XA_ATOM, 32, PropModeReplace,
                                reinterpret_cast<unsigned char*>(targets), 4);
                reply.xselection.property = property;
            } else if (req.target == m_atoms[kUtf8] || req.target == XA_STRING ||
                       req.target == m_atoms[kText]) {
                Atom type = req.target == XA_STRING ? XA_STRING : m_atoms[kUtf8];
                // STRING is Latin-1: what it cannot carry becomes a question mark.
                std::string bytes = m_clipboard;
                if (req.target == XA_STRING) {
                    bytes.clear();
                    for (char32_t c : DecodeUtf8(m_clipboard.data(), int(m_clipboard.size())))
                        bytes.push_back(c < 0x100 ? char(c) : '?');
                }
                XChangeProperty(m_dpy, req.requestor, property, type, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(bytes.data()),
                                int(bytes.size()));
                reply.xselection.property = property;
            }
        }
        XSendEvent(m_dpy, req.requestor, False, 0, &reply);
        XFlush(m_dpy);
    }

    Display* m_dpy;
    int m_screen = 0;
    ::Window m_root = 0;
    Visual* m_visual = nullptr;
    int m_depth = 24;
    GC m_gc = nullptr;
    Atom m_atoms[kAtomCount] = {};
    bool m_shmAvailable = false;
    XIM m_im = nullptr;
    ::Window m_selectionWindow = 0;
    std::unordered_map<HWND, HostWindow> m_hosts;
    std::unordered_map<::Window, HWND> m_byXid;
    HWND m_grab = nullptr;
    HWND m_pendingGrab = nullptr;
    std::string m_clipboard;
    bool m_ownClipboard = false;
    bool m_modifierDown[3] = {}; // Shift, Ctrl, Alt reported down and not yet up
};

} // namespace

std::unique_ptr<DisplayBackend> MakeX11Backend() {
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return nullptr;
    return std::make_unique<X11Backend>(d);
}

} // namespace platform
