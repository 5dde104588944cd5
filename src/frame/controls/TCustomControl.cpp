#include "frame/controls/TCustomControl.h"

#include "frame/ClassBuilder.h"

namespace frame {

const TClassInfo* TCustomControl::StaticClass() {
    static const auto info =
        TClassBuilder<TCustomControl>("TCustomControl", TWinControl::StaticClass()).Build();
    return info.get();
}

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), m_canvas(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() {
    // The window goes before the canvas that paints it.
    DestroyHandle();
}

void TCustomControl::PaintWindow(platform::HDC dc) {
    TCanvasPaintScope scope(*m_canvas, dc);
    Paint();
}

} // namespace frame
