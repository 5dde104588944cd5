#include "app/ProgramClasses.h"

#include "chart/ChartClasses.h"
#include "frame/FrameClasses.h"

namespace app {

void RegisterProgramClasses() {
    frame::RegisterFrameClasses();
    chart::RegisterChartClasses();
}

} // namespace app
