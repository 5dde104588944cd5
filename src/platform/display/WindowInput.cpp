// Input and notices from the host: mouse and keys become queued messages; moves, closes,
// focus changes and exposures of top-level windows.
#include "platform/display/WindowManager.h"

#include "platform/display/WindowApi.h"

namespace platform {

namespace {

// The keys an input message carries the state of, with their bits.
struct CarriedKey {
    int vk;
    std::uint8_t bit;
};
constexpr CarriedKey kCarried[] = {{VK_SHIFT, kStateShift},     {VK_CONTROL, kStateControl},
                                   {VK_MENU, kStateMenu},       {VK_LBUTTON, kStateLButton},
                                   {VK_RBUTTON, kStateRButton}, {VK_MBUTTON, kStateMButton}};

constexpr std::uint64_t kDoubleClickMs = 500; // the longest pause between the two presses
constexpr int kDoubleClickSlop = 2;           // how far apart they may be, in pixels

bool IsKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN ||
           message == WM_SYSKEYUP;
}

} // namespace

// The flags of a mouse message: what was held as the input came.
WPARAM WindowManager::MouseKeys() const {
    WPARAM k = 0;
    if (m_keys[VK_LBUTTON] & 0x80)
        k |= MK_LBUTTON;
    if (m_keys[VK_RBUTTON] & 0x80)
        k |= MK_RBUTTON;
    if (m_keys[VK_MBUTTON] & 0x80)
        k |= MK_MBUTTON;
    if (m_keys[VK_SHIFT] & 0x80)
        k |= MK_SHIFT;
    if (m_keys[VK_CONTROL] & 0x80)
        k |= MK_CONTROL;
    return k;
}

std::uint8_t WindowManager::InputStateNow() const {
    std::uint8_t state = kStateCarried;
    for (const CarriedKey& c : kCarried)
        if (m_keys[c.vk] & 0x80)
            state |= c.bit;
    return state;
}

void WindowManager::TookInput(const MSG& msg) {
    if (msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSCHAR) {
        m_otherLayouts.clear();
        for (char32_t c : msg.otherLayouts)
            if (c)
                m_otherLayouts.push_back(c);
    }
    if (msg.inputState & kStateCarried) {
        for (const CarriedKey& c : kCarried)
            m_syncKeys[c.vk] = (msg.inputState & c.bit) ? 0x80 : 0;
        if (IsKeyMessage(msg.message) && msg.wParam < 256) {
            bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
            m_syncKeys[msg.wParam] = down ? 0x80 : 0;
        }
    }
    CatchUpKeyState();
}

void WindowManager::CatchUpKeyState() {
    // With no input left waiting, the state is the host's: keys whose messages went nowhere
    // (no window to take them) are caught up with.
    for (const MSG& m : m_queue)
        if (m.inputState & kStateCarried)
            return;
    std::copy(std::begin(m_keys), std::end(m_keys), std::begin(m_syncKeys));
}

void WindowManager::HostInput(const InputEvent& ev) {
    if (ev.kind == InputEvent::KeyDown || ev.kind == InputEvent::KeyUp)
        PostKey(ev);
    else
        PostMouse(ev);
    CatchUpKeyState();
}

void WindowManager::PostMouse(const InputEvent& ev) {
    m_cursor = ev.screen;
    TrackMouseButton(ev);
    Window* target = m_capture ? Get(m_capture) : WindowUnder(ev.topLevel, ev.screen);
    if (!m_capture && target && !IsEnabledTree(target)) {
        // Input to a disabled window (an owner behind a modal dialog) is dropped; a click
        // brings the dialog that blocks it forward.
        if (ev.kind == InputEvent::ButtonDown) {
            m_backend->Beep();
            BringModalForward();
        }
        return;
    }
    if (!target)
        return;
    HWND hwnd = target->handle;
    if (ev.kind == InputEvent::ButtonDown) {
        Window* top = TopLevelOf(target);
        if (top->handle != m_active && !(top->exStyle & WS_EX_NOACTIVATE)) {
            Activate(top->handle, false, WA_CLICKACTIVE);
            if (!(target = Get(hwnd)))
                return;
        }
    }
    MSG m;
    if (!MakeMouseMessage(ev, *target, m))
        return;
    // Moves pile up while a window is busy; only the latest matters.
    if (m.message == WM_MOUSEMOVE && !m_queue.empty() && m_queue.back().message == WM_MOUSEMOVE &&
        m_queue.back().hwnd == hwnd) {
        m_queue.back() = m;
        return;
    }
    Enqueue(m);
}

void WindowManager::TrackMouseButton(const InputEvent& ev) {
    static const int buttonVk[4] = {0, VK_LBUTTON, VK_MBUTTON, VK_RBUTTON};
    int vk = ev.button >= 1 && ev.button <= 3 ? buttonVk[ev.button] : 0;
    if (vk && ev.kind == InputEvent::ButtonDown)
        m_keys[vk] |= 0x80;
    else if (vk && ev.kind == InputEvent::ButtonUp)
        m_keys[vk] &= 0x7F;
}

// The innermost window at a screen point: in the host's top-level window when it is visible
// and holds the point, else in the front-most one that does.
Window* WindowManager::WindowUnder(HWND topLevel, Point screen) {
    Window* top = topLevel ? Get(topLevel) : nullptr;
    if (!top || !(top->style & WS_VISIBLE) || !top->rect.Contains(screen)) {
        top = nullptr;
        for (Window* t : m_topLevels)
            if ((t->style & WS_VISIBLE) && t->rect.Contains(screen)) {
                top = t;
                break;
            }
    }
    if (!top)
        return nullptr;
    Window* w = top;
    for (;;) {
        Point o = ClientOriginOnScreen(w);
        HWND c = ChildFromPoint(w->handle, Point{screen.x - o.x, screen.y - o.y}, true, true);
        if (c == w->handle)
            return w;
        w = Get(c);
    }
}

bool WindowManager::MakeMouseMessage(const InputEvent& ev, const Window& target, MSG& m) {
    m.hwnd = target.handle;
    m.time = DWORD(Now());
    m.pt = ev.screen;
    Point o = ClientOriginOnScreen(&target);
    m.lParam = MAKELPARAM(ev.screen.x - o.x, ev.screen.y - o.y);
    m.wParam = MouseKeys();
    m.inputState = InputStateNow();
    switch (ev.kind) {
    case InputEvent::MouseMove:
        m.message = WM_MOUSEMOVE;
        return true;
    case InputEvent::ButtonDown:
    case InputEvent::ButtonUp: {
        static const UINT downs[4] = {0, WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN};
        static const UINT ups[4] = {0, WM_LBUTTONUP, WM_MBUTTONUP, WM_RBUTTONUP};
        if (ev.button < 1 || ev.button > 3)
            return false;
        m.message = ev.kind == InputEvent::ButtonDown ? downs[ev.button] : ups[ev.button];
        if (ev.kind == InputEvent::ButtonDown && IsDoubleClick(target, m.message, ev.screen))
            m.message += 2; // WM_xBUTTONDBLCLK
        return true;
    }
    case InputEvent::Wheel:
        m.message = WM_MOUSEWHEEL;
        if (m_focus && Get(m_focus))
            m.hwnd = m_focus;
        m.wParam = MAKEWPARAM(int(MouseKeys()), ev.wheelDelta);
        m.lParam = MAKELPARAM(ev.screen.x, ev.screen.y);
        return true;
    default:
        return false;
    }
}

// A press of the same button on the same window, soon and near enough after the last one, is a
// double click; the press after a double click starts afresh.
bool WindowManager::IsDoubleClick(const Window& target, UINT down, Point screen) {
    bool dbl = (target.cls->style & CS_DBLCLKS) && m_lastClickWindow == target.handle &&
               m_lastClickMessage == down && Now() - m_lastClickTime <= kDoubleClickMs &&
               std::abs(screen.x - m_lastClickPoint.x) <= kDoubleClickSlop &&
               std::abs(screen.y - m_lastClickPoint.y) <= kDoubleClickSlop;
    if (dbl) {
        m_lastClickWindow = nullptr;
    } else {
        m_lastClickWindow = target.handle;
        m_lastClickMessage = down;
        m_lastClickTime = Now();
        m_lastClickPoint = screen;
    }
    return dbl;
}

void WindowManager::PostKey(const InputEvent& ev) {
    bool down = ev.kind == InputEvent::KeyDown;
    if (ev.vk > 0 && ev.vk < 256) {
        if (down)
            m_keys[ev.vk] |= 0x80;
        else
            m_keys[ev.vk] &= 0x7F;
    }
    HWND target = m_focus ? m_focus : m_active;
    Window* w = Get(target);
    if (!w || !IsEnabledTree(w))
        return;
    bool alt = (m_keys[VK_MENU] & 0x80) != 0;
    MSG m;
    m.hwnd = target;
    m.time = DWORD(Now());
    m.pt = m_cursor;
    m.wParam = WPARAM(ev.vk);
    m.lParam = down ? 1 : LPARAM(0xC0000001u);
    if (alt || ev.vk == VK_MENU || ev.vk == VK_F1 + 9)
        m.message = down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
    else
        m.message = down ? WM_KEYDOWN : WM_KEYUP;
    if (down && !ev.text.empty())
        m.character = ev.text[0];
    for (std::size_t i = 0; down && i < ev.otherLayouts.size() && i < std::size(m.otherLayouts); ++i)
        m.otherLayouts[i] = ev.otherLayouts[i];
    m.inputState = InputStateNow();
    Enqueue(m);
    // Text beyond one character (an input method's composed string) comes as plain characters.
    for (std::size_t i = 1; down && i < ev.text.size(); ++i) {
        MSG c = m;
        c.message = WM_CHAR;
        c.wParam = WPARAM(ev.text[i]);
        c.character = 0;
        Enqueue(c);
    }
}

void WindowManager::HostMoved(HWND topLevel, const Rect& screenRect) {
    Window* w = Get(topLevel);
    if (!w || w->IsChild())
        return;
    Rect old = w->rect;
    if (old == screenRect)
        return;
    w->rect = screenRect;
    bool resized = old.Width() != screenRect.Width() || old.Height() != screenRect.Height();
    if (resized) {
        ResizeBuffer(w);
        Invalidate(topLevel, nullptr, true);
    }
    WINDOWPOS wp;
    wp.hwnd = topLevel;
    wp.x = screenRect.left;
    wp.y = screenRect.top;
    wp.cx = screenRect.Width();
    wp.cy = screenRect.Height();
    wp.flags = SWP_NOZORDER | SWP_NOACTIVATE;
    Send(topLevel, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
}

void WindowManager::HostClose(HWND topLevel) {
    // A window behind a modal dialog does not close.
    if (Window* w = Get(topLevel); w && !w->IsChild() && !(w->style & WS_DISABLED))
        Post(topLevel, WM_SYSCOMMAND, 0xF060 /* SC_CLOSE */, 0);
}

void WindowManager::HostFocus(HWND topLevel, bool in) {
    if (in) {
        Window* w = Get(topLevel);
        if (w && !(w->style & WS_DISABLED))
            Activate(topLevel, true, WA_ACTIVE);
        else if (w)
            BringModalForward(); // a window manager or taskbar turned to a blocked form
    } else {
        DeactivateApp();
    }
}

void WindowManager::HostExposed(HWND topLevel, const Rect& rect) {
    if (Window* w = Get(topLevel))
        MarkPresent(w, rect);
}

} // namespace platform
