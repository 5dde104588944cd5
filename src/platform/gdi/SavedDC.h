#pragma once
// Puts a device context's state (clip, origin, pen, brush, font, text settings) back as it was
// when the scope ends, however it ends.
#include "platform/gdi/DeviceContext.h"

namespace platform::gdi {

class SavedDC {
public:
    explicit SavedDC(DeviceContext& dc) : m_dc(dc), m_level(dc.SaveDC()) {}
    ~SavedDC() { m_dc.RestoreDC(m_level); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    DeviceContext& m_dc;
    int m_level;
};

} // namespace platform::gdi
