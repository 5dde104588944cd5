#include "frame/controls/TControlCanvas.h"

#include "frame/controls/ControlBridge.h"
#include "frame/controls/TWinControl.h"
#include "platform/display/WindowApi.h"

namespace frame {

using namespace platform;

TControlCanvas::TControlCanvas(TControl* control) : m_control(control) {}

TControlCanvas::~TControlCanvas() {
    FreeHandle();
}

void TControlCanvas::CreateHandle() {
    FreeHandle();
    TWinControl* window =
        m_control->IsWinControl() ? static_cast<TWinControl*>(m_control) : m_control->Parent();
    if (window && window->HandleAllocated()) {
        m_dcWindow = window->Handle();
        m_ownDC = GetDC(m_dcWindow);
    }
    if (m_ownDC) {
        if (!m_control->IsWinControl()) {
            m_ownDC->SetViewportOrg(TPoint{m_control->Left(), m_control->Top()});
            m_ownDC->IntersectClipRect(TRect{0, 0, m_control->Width(), m_control->Height()});
        }
        SetHandle(m_ownDC);
        RegisterCachedDeviceContext([this] { FreeHandle(); }, this);
        return;
    }
    if (!m_measure)
        m_measure = gdi::DeviceContext::ForMeasure();
    SetHandle(m_measure.get());
}

void TControlCanvas::FreeHandle() {
    if (m_ownDC) {
        UnregisterCachedDeviceContext(this);
        SetHandle(nullptr);
        ReleaseDC(m_dcWindow, m_ownDC);
        m_ownDC = nullptr;
        m_dcWindow = nullptr;
    } else if (m_measure && HandleAllocated() && Handle() == m_measure.get()) {
        SetHandle(nullptr);
    }
}

TCanvasPaintScope::TCanvasPaintScope(TControlCanvas& canvas, HDC dc) : m_canvas(canvas) {
    canvas.FreeHandle();
    canvas.SetHandle(dc);
    canvas.Font()->Assign(canvas.Control()->Font());
    canvas.Brush()->SetColor(canvas.Control()->Color());
}

TCanvasPaintScope::~TCanvasPaintScope() {
    m_canvas.SetHandle(nullptr);
}

} // namespace frame
