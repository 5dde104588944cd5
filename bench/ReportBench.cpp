// The one-page report printed to the file sink, in process: the report form read once, then
// each iteration fills it and prints it (report printer, settings, page, four charts, a PDF
// written). Counters: the pages per second, the peak resident memory a print adds over the
// memory after a first print, and the whole process's peak.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "../tests/report/OnePageReportForm.h"
#include "frame/FormText.h"
#include "platform/spool/Destinations.h"
#include "rtl/TMemoryStream.h"

namespace {

// Kilobytes of a "Vm...:" line of /proc/self/status.
long StatusKilobytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key + ":", 0) == 0)
            return std::atol(line.c_str() + key.size() + 1);
    return 0;
}

// Starts a new high-water mark of the resident memory (Linux 4.0 and later).
void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

void BM_ReportToFile(benchmark::State& state) {
    reporttest::RegisterReportFormClasses();
    std::string path = "/tmp/zorvane-bench-report-" + std::to_string(getpid()) + ".pdf";
    platform::spool::RouteToFile(path);
    report::TReport report(nullptr);
    std::string bytes = frame::ObjectTextToBinary(reporttest::OnePageReportText(true, "TReport"));
    rtl::TBytesStream stream(bytes);
    report.InitializeReport(&stream);
    reporttest::LoadProgramIcon(report);

    // One print first: what the first print loads once (fonts, caches) is not a print's cost.
    reporttest::FillOnePageReport(report);
    report.Print();
    long baseline = StatusKilobytes("VmRSS");
    ResetPeak();
    for (auto _ : state) {
        reporttest::FillOnePageReport(report);
        report.Print();
    }
    state.counters["peak_added_MB"] = (StatusKilobytes("VmHWM") - baseline) / 1024.0;
    state.counters["rss_MB"] = StatusKilobytes("VmRSS") / 1024.0;
    state.counters["pages/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    platform::spool::RouteToFile("");
    std::remove(path.c_str());
}
BENCHMARK(BM_ReportToFile)->Unit(benchmark::kMillisecond);

} // namespace
