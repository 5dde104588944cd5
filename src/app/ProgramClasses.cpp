#include "app/ProgramClasses.h"

#include "frame/FrameClasses.h"

namespace app {

void RegisterProgramClasses() {
    frame::RegisterFrameClasses();
}

} // namespace app
