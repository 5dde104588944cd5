#include "frame/forms/WindowDisabler.h"

#include "platform/display/WindowApi.h"

namespace frame {

using namespace platform;

TWindowDisabler::TWindowDisabler(HWND except) {
    std::vector<HWND> tops;
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
        tops.push_back(h);
    for (HWND h : tops) {
        if (h != except && IsWindowEnabled(h)) {
            EnableWindow(h, false);
            m_disabled.push_back(h);
        }
    }
}

void TWindowDisabler::Restore() {
    for (HWND h : m_disabled) {
        if (IsWindow(h))
            EnableWindow(h, true);
    }
    m_disabled.clear();
}

} // namespace frame
