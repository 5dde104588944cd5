#include "report/ReportClasses.h"

#include "frame/StreamClasses.h"
#include "report/TCustomReport.h"
#include "report/TRepBand.h"
#include "report/TRepChart.h"
#include "report/TRepImage.h"
#include "report/TRepLabel.h"
#include "report/TRepProgressForm.h"
#include "report/TRepShape.h"

namespace report {

void RegisterReportClasses() {
    frame::RegisterStreamClasses({
        TRepBasePanel::StaticClass(),
        TCustomReport::StaticClass(),
        TReport::StaticClass(),
        TRepCustomBand::StaticClass(),
        TRepBand::StaticClass(),
        TRepPrintable::StaticClass(),
        TRepCustomLabel::StaticClass(),
        TRepLabel::StaticClass(),
        TRepShape::StaticClass(),
        TRepImage::StaticClass(),
        TRepChart::StaticClass(),
        TRepProgressForm::StaticClass(),
    });
}

} // namespace report
