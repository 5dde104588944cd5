#pragma once
// The canvas of a control. Inside a paint it draws on the paint's context (TCanvasPaintScope);
// outside one it takes a context on the control's window (a windowless control's: its parent's,
// moved to the control and clipped to it) and lets it go after the message being handled, or a
// measuring context when there is no window yet (text sizes stay right).
#include <memory>

#include "frame/graphics/TCanvas.h"
#include "platform/display/WindowTypes.h"

namespace frame {

class TControl;

class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl* control);
    ~TControlCanvas() override;

    TControl* Control() const { return m_control; }
    // Lets go of a context the canvas took itself.
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    TControl* m_control;
    platform::HDC m_ownDC = nullptr;
    platform::HWND m_dcWindow = nullptr;
    std::unique_ptr<platform::gdi::DeviceContext> m_measure;
};

// For the scope of a paint: the canvas draws on `dc`, with the control's font and colour.
class TCanvasPaintScope {
public:
    TCanvasPaintScope(TControlCanvas& canvas, platform::HDC dc);
    ~TCanvasPaintScope();
    TCanvasPaintScope(const TCanvasPaintScope&) = delete;
    TCanvasPaintScope& operator=(const TCanvasPaintScope&) = delete;

private:
    TControlCanvas& m_canvas;
};

} // namespace frame
