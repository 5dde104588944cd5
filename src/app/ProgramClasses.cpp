#include "app/ProgramClasses.h"

#include "controls/RegisterControls.h"
#include "frame/FrameClasses.h"

namespace app {

void RegisterProgramClasses() {
    frame::RegisterFrameClasses();
    controls::RegisterStreamClasses();
}

} // namespace app
