#pragma once
// Registers the chart engine's stream classes (panels, series, functions) so that form resources
// can create them by name.

namespace chart {

void RegisterChartClasses();

} // namespace chart
