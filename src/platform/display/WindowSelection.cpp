// The primary selection: one window of ours at most owns it, as the host owns it for us. Its text
// is the owner's to give when someone pastes (WM_RENDERSELECTION), so it always is what the owner
// shows selected now; an owner that another window or program displaces hears WM_SELECTIONLOST.
#include "platform/display/WindowManager.h"

namespace platform {

bool WindowManager::ClaimPrimary(HWND owner) {
    if (!Get(owner))
        return false;
    if (owner == m_primaryOwner)
        return true;
    HWND old = m_primaryOwner;
    m_primaryOwner = m_backend->OwnPrimary(true) ? owner : nullptr;
    // The new owner is recorded first: the old one may give up what it no longer has.
    if (old && Get(old))
        Send(old, WM_SELECTIONLOST, 0, 0);
    return m_primaryOwner == owner;
}

void WindowManager::ReleasePrimary(HWND owner) {
    if (!owner || owner != m_primaryOwner)
        return;
    m_primaryOwner = nullptr;
    m_backend->OwnPrimary(false);
}

std::string WindowManager::PrimaryText() {
    return m_primaryOwner ? RenderPrimary() : m_backend->PrimaryText();
}

std::string WindowManager::RenderPrimary() {
    std::string text;
    if (m_primaryOwner && Get(m_primaryOwner))
        Send(m_primaryOwner, WM_RENDERSELECTION, 0, reinterpret_cast<LPARAM>(&text));
    return text;
}

void WindowManager::HostPrimaryLost() {
    HWND old = m_primaryOwner;
    m_primaryOwner = nullptr;
    if (old && Get(old))
        Send(old, WM_SELECTIONLOST, 0, 0);
}

} // namespace platform
