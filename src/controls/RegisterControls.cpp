#include "controls/RegisterControls.h"

#include "controls/TBevel.h"
#include "controls/TBitBtn.h"
#include "controls/TButtonControl.h"
#include "controls/TCustomPanel.h"
#include "controls/TImage.h"
#include "frame/StreamClasses.h"

namespace controls {

void RegisterStreamClasses() {
    frame::RegisterStreamClasses({TCustomPanel::StaticClass(), TPanel::StaticClass(),
                                  TBevel::StaticClass(), TImage::StaticClass(),
                                  TButtonControl::StaticClass(), TButton::StaticClass(),
                                  TBitBtn::StaticClass()});
}

} // namespace controls
