#pragma once
// A windowed control that paints itself: a window of the frame's own class, a canvas, and a
// virtual Paint called with the canvas on the paint's context.
#include <memory>

#include "frame/controls/TControlCanvas.h"
#include "frame/controls/TWinControl.h"

namespace frame {

class TCustomControl : public TWinControl {
public:
    ZORVANE_CLASS(TCustomControl)

    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;

    TCanvas* Canvas() const { return m_canvas.get(); }

protected:
    // Draws the control on Canvas(); windowless children are painted after it.
    virtual void Paint() {}
    void PaintWindow(platform::HDC dc) override;

private:
    std::unique_ptr<TControlCanvas> m_canvas;
};

} // namespace frame
