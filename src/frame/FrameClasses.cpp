#include "frame/FrameClasses.h"

#include "frame/StreamClasses.h"
#include "frame/TComponent.h"
#include "frame/controls/TCustomControl.h"
#include "frame/controls/TGraphicControl.h"

namespace frame {

void RegisterFrameClasses() {
    RegisterStreamClasses({TComponent::StaticClass(), TControl::StaticClass(),
                           TWinControl::StaticClass(), TGraphicControl::StaticClass(),
                           TCustomControl::StaticClass()});
}

} // namespace frame
