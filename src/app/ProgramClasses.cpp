#include "app/ProgramClasses.h"

#include "app/ProgramForms.h"

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
    RegisterFormClasses();
}

} // namespace app
