#pragma once
// The bevel: a windowless raised or lowered box, frame or line that gives a group of controls
// its framed look.
#include "frame/controls/TGraphicControl.h"

namespace controls {

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
ZORVANE_ENUM_TYPE(TBevelShape, "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine",
                  "bsRightLine", "bsSpacer")
enum TBevelStyle { bsLowered, bsRaised };
ZORVANE_ENUM_TYPE(TBevelStyle, "bsLowered", "bsRaised")

class TBevel : public frame::TGraphicControl {
public:
    ZORVANE_CLASS(TBevel)
    explicit TBevel(frame::TComponent* owner);

    TBevelShape Shape() const { return m_shape; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return m_style; }
    void SetStyle(TBevelStyle value);

protected:
    void Paint() override;

private:
    TBevelShape m_shape = bsBox;
    TBevelStyle m_style = bsLowered;
};

} // namespace controls
