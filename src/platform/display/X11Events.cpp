// What the X server reports, handed to the window manager: exposure, mapping and geometry of
// our windows, the close box, the keyboard focus, the pointer and the keys. Keyboard text comes
// through an input method so that any layout (Cyrillic included) arrives as characters.
#include <algorithm>

#include "platform/display/WindowManager.h"
#include "platform/display/X11Backend.h"
#include "platform/display/X11Keys.h"

// X headers last: their macros (None, True, Status ...) would upset ours.
#include <X11/XKBlib.h>

namespace platform::x11 {

namespace {
// The wheel turns as presses of these pointer buttons.
constexpr unsigned kWheelUp = Button4;
constexpr unsigned kWheelDown = Button5;
} // namespace

bool X11Backend::Drain() {
    bool any = false;
    while (XPending(m_dpy)) {
        XEvent e;
        XNextEvent(m_dpy, &e);
        any = true;
        Handle(e);
    }
    return any;
}

void X11Backend::Handle(XEvent& e) {
    if (XFilterEvent(&e, 0))
        return; // the input method keeps it (a compose sequence in progress)
    if (HandleSelectionEvent(e))
        return;
    HWND hwnd = FromXid(e.xany.window);
    HostWindow* h = hwnd ? Find(hwnd) : nullptr;
    if (!h)
        return;
    switch (e.type) {
    case FocusIn:
    case FocusOut:
        HandleFocus(e.xfocus, hwnd, *h);
        break;
    case MotionNotify:
    case EnterNotify:
    case LeaveNotify:
    case ButtonPress:
    case ButtonRelease:
        HandlePointer(e, hwnd);
        break;
    case KeyPress:
    case KeyRelease:
        HandleKey(e, hwnd, h);
        break;
    default:
        HandleWindowEvent(e, hwnd, *h);
        break;
    }
}

// Exposure, mapping, geometry and the close box of one of our windows.
void X11Backend::HandleWindowEvent(XEvent& e, HWND hwnd, HostWindow& h) {
    switch (e.type) {
    case Expose:
        m_wm->HostExposed(
            hwnd, ToLogicalCovering(Rect{e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width,
                                         e.xexpose.y + e.xexpose.height},
                                    m_scale));
        break;
    case MapNotify:
        h.mapped = true;
        m_wm->HostExposed(hwnd, Rect{0, 0, h.info.rect.Width(), h.info.rect.Height()});
        if (h.wantFocus)
            FocusNow(h);
        if (m_pendingGrab == hwnd)
            GrabPointer(hwnd);
        break;
    case UnmapNotify:
        h.mapped = false;
        break;
    case ConfigureNotify:
        HandleConfigure(e.xconfigure, hwnd, h);
        break;
    case ClientMessage:
        if (m_properties->IsCloseRequest(e.xclient))
            m_wm->HostClose(hwnd);
        else
            m_properties->AnswerPing(e.xclient);
        break;
    default:
        break;
    }
}

void X11Backend::HandleConfigure(const XConfigureEvent& e, HWND hwnd, HostWindow& h) {
    int x = e.x, y = e.y;
    if (!h.overrideRedirect && !e.send_event) {
        // Under a reparenting window manager the coordinates are the frame's.
        ::Window child;
        XTranslateCoordinates(m_dpy, h.xid, m_root, 0, 0, &x, &y, &child);
    }
    Rect r{x, y, x + e.width, y + e.height};
    auto match = std::find(h.requested.begin(), h.requested.end(), r);
    if (match != h.requested.end()) {
        h.requested.erase(h.requested.begin(), match + 1);
        return; // our own request coming back
    }
    h.requested.clear();
    // The logical pixel of the corner, and a size that covers every device pixel.
    Point at = FromServer(x, y);
    Rect size = ToLogicalCovering(Rect{0, 0, e.width, e.height}, m_scale);
    h.info.rect = Rect{at.x, at.y, at.x + size.right, at.y + size.bottom};
    m_wm->HostMoved(hwnd, h.info.rect);
}

void X11Backend::HandleFocus(const XFocusChangeEvent& e, HWND hwnd, HostWindow& h) {
    if (e.mode == NotifyGrab || e.mode == NotifyUngrab || e.detail == NotifyPointer)
        return;
    if (e.type == FocusIn) {
        if (h.ic)
            XSetICFocus(h.ic);
        ReleaseLostModifiers(hwnd, PointerModifiers(), 0);
        m_wm->HostFocus(hwnd, true);
        return;
    }
    if (e.detail == NotifyInferior)
        return;
    if (h.ic)
        XUnsetICFocus(h.ic);
    // Only a focus that went to another program deactivates us.
    ::Window focus;
    int revert;
    XGetInputFocus(m_dpy, &focus, &revert);
    if (focus != PointerRoot && focus != 0 && !FromXid(focus))
        m_wm->HostFocus(hwnd, false);
}

void X11Backend::HandlePointer(XEvent& e, HWND hwnd) {
    InputEvent ev;
    ev.topLevel = hwnd;
    switch (e.type) {
    case MotionNotify: {
        // Only the latest position of a run of moves matters.
        XEvent next;
        while (XCheckTypedWindowEvent(m_dpy, e.xany.window, MotionNotify, &next))
            e = next;
        ev.kind = InputEvent::MouseMove;
        ev.screen = FromServer(e.xmotion.x_root, e.xmotion.y_root);
        m_wm->HostInput(ev);
        return;
    }
    case EnterNotify:
    case LeaveNotify:
        // The pointer crossing our windows' edges moves it as far as the windows are concerned.
        ev.kind = InputEvent::MouseMove;
        ev.screen = FromServer(e.xcrossing.x_root, e.xcrossing.y_root);
        m_wm->HostInput(ev);
        return;
    default:
        break;
    }
    ev.screen = FromServer(e.xbutton.x_root, e.xbutton.y_root);
    unsigned b = e.xbutton.button;
    if (b == kWheelUp || b == kWheelDown) {
        if (e.type == ButtonPress) {
            ev.kind = InputEvent::Wheel;
            ev.wheelDelta = b == kWheelUp ? WHEEL_DELTA : -WHEEL_DELTA;
            m_wm->HostInput(ev);
        }
        return;
    }
    if (b < Button1 || b > Button3)
        return;
    ReleaseLostModifiers(hwnd, e.xbutton.state, 0);
    ev.kind = e.type == ButtonPress ? InputEvent::ButtonDown : InputEvent::ButtonUp;
    ev.button = int(b);
    m_wm->HostInput(ev);
}

void X11Backend::HandleKey(XEvent& e, HWND hwnd, HostWindow* h) {
    if (e.type == KeyRelease && XEventsQueued(m_dpy, QueuedAfterReading)) {
        // A server that cannot drop repeat releases: a release followed at once by a
        // press of the same key at the same time is a repeat, not a release.
        XEvent next;
        XPeekEvent(m_dpy, &next);
        if (next.type == KeyPress && next.xkey.keycode == e.xkey.keycode &&
            next.xkey.time == e.xkey.time)
            return;
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
    if (e.type == KeyPress && (e.xkey.state & Mod1Mask))
        ev.otherLayouts = KeyInOtherLayouts(m_dpy, e.xkey.keycode, (e.xkey.state & ShiftMask) != 0,
                                            ev.text.empty() ? 0 : ev.text[0]);
    if (x11::OfferKeyToListeners(e.type == KeyPress, e.xkey.state, ks ? ks : base, e.xkey.keycode,
                                 e.xkey.time, ev.text))
        return;
    ReleaseLostModifiers(hwnd, e.xkey.state, ev.vk);
    if (int i = ModifierIndex(ev.vk); i >= 0)
        m_modifierDown[i] = ev.kind == InputEvent::KeyDown;
    m_wm->HostInput(ev);
}

int X11Backend::ModifierIndex(int vk) {
    for (int i = 0; i < 3; ++i)
        if (kModifierVk[i] == vk)
            return i;
    return -1;
}

unsigned X11Backend::PointerModifiers() {
    ::Window root, child;
    int rx, ry, wx, wy;
    unsigned mask = 0;
    XQueryPointer(m_dpy, m_root, &root, &child, &rx, &ry, &wx, &wy, &mask);
    return mask;
}

void X11Backend::ReleaseLostModifiers(HWND hwnd, unsigned state, int vk) {
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

} // namespace platform::x11
