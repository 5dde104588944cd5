#include "app/ProgramClasses.h"

#include "chart/ChartClasses.h"
#include "controls/RegisterControls.h"
#include "frame/FrameClasses.h"
#include "report/ReportClasses.h"

namespace app {

void RegisterProgramClasses() {
    frame::RegisterFrameClasses();
    controls::RegisterStreamClasses();
    chart::RegisterChartClasses();
    report::RegisterReportClasses();
}

} // namespace app
