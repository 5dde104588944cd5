// Focus, activation and the mouse capture.
#include "platform/display/WindowManager.h"

#include "platform/display/WindowApi.h"

namespace platform {

HWND WindowManager::SetFocus(HWND hwnd) {
    HWND old = m_focus;
    if (!hwnd) {
        if (old) {
            m_focus = nullptr;
            Send(old, WM_KILLFOCUS, 0, 0);
        }
        return old;
    }
    Window* w = Get(hwnd);
    if (!w || w->destroyed || !IsEnabledTree(w))
        return nullptr;
    Window* top = TopLevelOf(w);
    if (top->handle != m_active && !(top->exStyle & WS_EX_NOACTIVATE)) {
        Activate(top->handle);
        if (!Get(hwnd))
            return nullptr;
        old = m_focus;
    }
    if (old == hwnd)
        return old;
    if (old && Get(old))
        Send(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (!Get(hwnd))
        return old;
    m_focus = hwnd;
    Send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND WindowManager::Activate(HWND hwnd, bool fromHost, int how) {
    Window* w = nullptr;
    if (hwnd) {
        w = Get(hwnd);
        if (!w || w->destroyed)
            return nullptr;
        w = TopLevelOf(w);
        hwnd = w->handle;
        if (w->style & WS_DISABLED)
            return nullptr;
    }
    HWND old = m_active;
    if (old == hwnd) {
        if (hwnd && !m_appActive) {
            m_appActive = true;
            std::vector<HWND> tops;
            for (Window* t : m_topLevels)
                tops.push_back(t->handle);
            for (HWND t : tops)
                Send(t, WM_ACTIVATEAPP, 1, 0);
        }
        return old;
    }
    if (old && Get(old)) {
        Send(old, WM_NCACTIVATE, 0, 0);
        Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(hwnd));
    }
    if (hwnd && !Get(hwnd))
        hwnd = nullptr;
    m_active = hwnd;
    if (hwnd && !m_appActive) {
        m_appActive = true;
        std::vector<HWND> tops;
        for (Window* t : m_topLevels)
            tops.push_back(t->handle);
        for (HWND t : tops)
            Send(t, WM_ACTIVATEAPP, 1, 0);
    }
    if (hwnd && Get(hwnd)) {
        w = Get(hwnd);
        // Activation brings the window to the front of its layer.
        if (m_topLevels.front() != w) {
            std::erase(m_topLevels, w);
            auto pos = m_topLevels.begin();
            if (!(w->exStyle & WS_EX_TOPMOST))
                while (pos != m_topLevels.end() && ((*pos)->exStyle & WS_EX_TOPMOST))
                    ++pos;
            m_topLevels.insert(pos, w);
        }
        if (!fromHost)
            m_backend->ActivateHost(hwnd);
        Send(hwnd, WM_NCACTIVATE, 1, 0);
        bool minimized = (w->style & WS_MINIMIZE) != 0;
        Send(hwnd, WM_ACTIVATE, MAKEWPARAM(how, minimized ? 1 : 0), reinterpret_cast<LPARAM>(old));
    }
    // The keyboard focus lives inside the active window or nowhere.
    Window* active = Get(m_active);
    Window* focus = Get(m_focus);
    if (focus && (!active || TopLevelOf(focus) != active))
        SetFocus(nullptr);
    return old;
}

void WindowManager::DeactivateApp() {
    if (!m_appActive)
        return;
    HWND old = m_active;
    if (old && Get(old)) {
        Send(old, WM_NCACTIVATE, 0, 0);
        Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
    }
    m_active = nullptr;
    SetFocus(nullptr);
    m_appActive = false;
    std::vector<HWND> tops;
    for (Window* t : m_topLevels)
        tops.push_back(t->handle);
    for (HWND t : tops)
        Send(t, WM_ACTIVATEAPP, 0, 0);
}

HWND WindowManager::SetCapture(HWND hwnd) {
    HWND old = m_capture;
    Window* w = Get(hwnd);
    if (!w)
        return old;
    if (old == hwnd)
        return old;
    m_capture = hwnd;
    if (old && Get(old))
        Send(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    if ((w = Get(hwnd)) != nullptr && m_capture == hwnd)
        m_backend->GrabPointer(TopLevelOf(w)->handle);
    return old;
}

bool WindowManager::ReleaseCapture() {
    HWND old = m_capture;
    if (!old)
        return true;
    m_capture = nullptr;
    m_backend->UngrabPointer();
    if (Get(old))
        Send(old, WM_CAPTURECHANGED, 0, 0);
    return true;
}

short WindowManager::KeyState(int vk) const {
    if (vk < 0 || vk > 255)
        return 0;
    return (m_syncKeys[vk] & 0x80) ? short(-128) : 0;
}

void WindowManager::SetCursorPos(Point p) {
    m_cursor = p;
    m_backend->SetCursorPos(p);
}

} // namespace platform
