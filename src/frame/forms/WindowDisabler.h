#pragma once
// Disables the enabled top-level windows (but one) for a modal scope, and enables again exactly
// those it disabled: a window another scope disabled, or that went away, is left alone.
#include <vector>

#include "platform/display/WindowTypes.h"

namespace frame {

class TWindowDisabler {
public:
    explicit TWindowDisabler(platform::HWND except);
    ~TWindowDisabler() { Restore(); }
    TWindowDisabler(const TWindowDisabler&) = delete;
    TWindowDisabler& operator=(const TWindowDisabler&) = delete;
    void Restore();
    const std::vector<platform::HWND>& Disabled() const { return m_disabled; }

private:
    std::vector<platform::HWND> m_disabled;
};

} // namespace frame
