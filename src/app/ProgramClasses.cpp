#include "app/ProgramClasses.h"

#include "app/ProgramForms.h"

#include "chart/ChartClasses.h"
#include "controls/RegisterControls.h"
#include "frame/FrameClasses.h"

namespace app {

void RegisterProgramClasses() {
    frame::RegisterFrameClasses();
    controls::RegisterStreamClasses();
    chart::RegisterChartClasses();
    RegisterFormClasses();
}

} // namespace app
