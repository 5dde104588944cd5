#include "frame/controls/TGraphicControl.h"

#include "frame/ClassBuilder.h"

namespace frame {

const TClassInfo* TGraphicControl::StaticClass() {
    static const auto info =
        TClassBuilder<TGraphicControl>("TGraphicControl", TControl::StaticClass()).Build();
    return info.get();
}

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), m_canvas(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WMPaint(TWMPaint& m) {
    if (!m.dc)
        return;
    TCanvasPaintScope scope(*m_canvas, m.dc);
    Paint();
}

} // namespace frame
