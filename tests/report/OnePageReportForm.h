#pragma once
// The program's one-page report as a form source of the tests' own (A4 portrait, 20 mm margins,
// one title band 254 mm high with the header and footer fields, labels, lines, the icon and four
// chart printables), and the before-print filling of its labels and series. Shared by the tests
// and the benchmarks; no test framework here.
#include <string>

#include "report/TCustomReport.h"

namespace reporttest {

// Registers, once, the classes report forms name (frame, controls, chart and report layers).
void RegisterReportFormClasses();
// Form text of a size in screen pixels: "Size.Values = (...)" with height, left, top, width.
std::string SizeValues(double height, double left, double top, double width);
// The report's form source with `rootClass` as its class (a TTestReport binds its before-print
// handler); without `charts` the four chart printables are left out.
std::string OnePageReportText(bool charts = true, const std::string& rootClass = "TTestReport");
// Puts the program's icon into RepImage1.
void LoadProgramIcon(report::TCustomReport& report);
// Fills the labels and the chart series as the program's before-print handler does.
void FillOnePageReport(report::TCustomReport& report);

} // namespace reporttest
