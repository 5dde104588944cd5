#pragma once
// A control without a window: its parent paints it (Paint is called inside the parent's paint
// with a canvas already moved to the control and clipped to it) and routes the mouse to it.
#include <memory>

#include "frame/controls/TControl.h"
#include "frame/controls/TControlCanvas.h"

namespace frame {

class TGraphicControl : public TControl {
public:
    ZORVANE_CLASS(TGraphicControl)

    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;

    TCanvas* Canvas() const { return m_canvas.get(); }

    void WMPaint(TWMPaint& m) override;

protected:
    // Draws the control on Canvas(), (0, 0) being its top-left corner.
    virtual void Paint() {}

private:
    std::unique_ptr<TControlCanvas> m_canvas;
};

} // namespace frame
