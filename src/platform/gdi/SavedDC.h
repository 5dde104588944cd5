#pragma once
// A device context's state saved for a scope (SaveDC) and put back however the scope ends
// (RestoreDC): pen, brush, font, colours, origin and clip set inside stay inside.
#include "platform/gdi/DeviceContext.h"

namespace platform::gdi {

class SavedDC {
public:
    explicit SavedDC(DeviceContext& dc) : m_dc(dc), m_saved(dc.SaveDC()) {}
    ~SavedDC() { m_dc.RestoreDC(m_saved); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    DeviceContext& m_dc;
    int m_saved;
};

} // namespace platform::gdi
