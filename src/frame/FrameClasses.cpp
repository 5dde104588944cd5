#include "frame/FrameClasses.h"

#include "frame/StreamClasses.h"
#include "frame/TComponent.h"
#include "frame/controls/TCustomControl.h"
#include "frame/controls/TGraphicControl.h"
#include "frame/forms/TCustomForm.h"

namespace frame {

void RegisterFrameClasses() {
    RegisterStreamClasses({TComponent::StaticClass(), TControl::StaticClass(),
                           TWinControl::StaticClass(), TGraphicControl::StaticClass(),
                           TCustomControl::StaticClass(), TCustomForm::StaticClass(),
                           TForm::StaticClass()});
}

} // namespace frame
