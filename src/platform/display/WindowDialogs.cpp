// Dialogs and icons as a desktop shows them: a modal dialog names the window it belongs to and
// comes forward whenever the user turns to a window it blocks, so it can never be left hidden
// behind its form; windows without an icon of their own show the application's.
#include "platform/display/WindowManager.h"

namespace platform {

void WindowManager::SetModal(HWND hwnd, bool modal, HWND transientFor) {
    Window* w = Get(hwnd);
    if (!w || w->IsChild())
        return;
    // Only a window on the screen can be one to stay above.
    Window* target = transientFor ? Get(transientFor) : nullptr;
    if (target && !IsVisibleOnScreen(target))
        target = nullptr;
    w->modal = modal;
    w->modalFor = target && target != w ? TopLevelOf(target)->handle : nullptr;
    m_backend->StyleChanged(hwnd, HostInfo(w));
}

Window* WindowManager::FrontModal() const {
    for (Window* t : m_topLevels)
        if (t->modal && (t->style & WS_VISIBLE) && !(t->style & WS_DISABLED) && !t->destroyed)
            return t;
    return nullptr;
}

void WindowManager::BringModalForward() {
    Window* modal = FrontModal();
    if (!modal)
        return;
    HWND hwnd = modal->handle;
    m_backend->RaiseHost(hwnd);
    // Already active for us, the host may still have given the keyboard to the blocked window.
    if (m_active == hwnd)
        m_backend->ActivateHost(hwnd);
    else
        Activate(hwnd);
}

void WindowManager::SetDefaultIcon(int width, int height, const std::uint32_t* argb) {
    if (width <= 0 || height <= 0 || !argb)
        return;
    m_defaultIcon.assign(argb, argb + std::size_t(width) * height);
    m_defaultIconWidth = width;
    m_defaultIconHeight = height;
    for (Window* t : m_topLevels)
        SendDefaultIcon(t);
}

void WindowManager::SendDefaultIcon(Window* w) {
    if (w->icon.empty() && !m_defaultIcon.empty())
        m_backend->SetHostIcon(w->handle, m_defaultIconWidth, m_defaultIconHeight,
                               m_defaultIcon.data());
}

} // namespace platform
