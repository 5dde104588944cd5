#include "controls/RegisterControls.h"

#include "controls/TCustomPanel.h"
#include "frame/StreamClasses.h"

namespace controls {

void RegisterStreamClasses() {
    frame::RegisterStreamClasses({TCustomPanel::StaticClass(), TPanel::StaticClass()});
}

} // namespace controls
