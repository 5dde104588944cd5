#include "chart/ChartClasses.h"

#include "chart/TCustomChart.h"
#include "chart/TFastLineSeries.h"
#include "chart/TLineSeries.h"
#include "chart/TSeriesFunction.h"
#include "frame/StreamClasses.h"

namespace chart {

void RegisterChartClasses() {
    frame::RegisterStreamClasses({
        TChart::StaticClass(),
        TCustomDBChart::StaticClass(),
        TRepDBChart::StaticClass(),
        TChartSeries::StaticClass(),
        TFastLineSeries::StaticClass(),
        TCustomSeries::StaticClass(),
        TLineSeries::StaticClass(),
        TSeriesFunction::StaticClass(),
        TAddFunction::StaticClass(),
        TSubtractFunction::StaticClass(),
        TMultiplyFunction::StaticClass(),
        TDivideFunction::StaticClass(),
        THighFunction::StaticClass(),
        TLowFunction::StaticClass(),
        TAverageFunction::StaticClass(),
    });
}

} // namespace chart
