#pragma once
// The windowed base of the chart panels: the framework's panel control (bounds, colour, bevels,
// border, the control canvas and painting through the window system).
#include "chart/ChartTypes.h"
#include "controls/TCustomPanel.h"

namespace chart {

using TChartPanelBase = controls::TCustomPanel;
using controls::bsNone;
using controls::bsSingle;
using controls::bvLowered;
using controls::bvNone;
using controls::bvRaised;
using controls::bvSpace;
using controls::TBevelCut;
using controls::TBorderStyle;

} // namespace chart
