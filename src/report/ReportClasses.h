#pragma once
// Registers the report engine's stream classes (report, bands, printables and their parts) so
// that report forms can create them by name.

namespace report {

void RegisterReportClasses();

} // namespace report
