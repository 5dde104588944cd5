// Printing: listing the destinations, one page through the file sink, and one page through the
// cups-pdf queue of the test print service until its PDF has landed. The print service ones
// need scripts/services.sh's cupsd (CUPS_SERVER and ZORVANE_CUPS_PDF_DIR); without it they are
// skipped with a note.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/spool/DestinationAttributes.h"
#include "platform/spool/Destinations.h"
#include "platform/spool/DeviceInfo.h"
#include "platform/spool/PrintJob.h"

namespace {

namespace spool = platform::spool;
namespace gdi = platform::gdi;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool ServiceRunning() {
    struct stat st {};
    return !Env("ZORVANE_CUPS_PDF_DIR").empty() && stat(Env("CUPS_SERVER").c_str(), &st) == 0;
}

// A page like the report's: a heading, a few lines of text and a chart-sized polyline.
void DrawPage(spool::PrintJob& job) {
    gdi::DeviceContext& dc = job.StartPage();
    gdi::FontSpec font;
    font.name = "Arial";
    font.pointSize = 12;
    dc.SetFont(font);
    for (int line = 0; line < 8; ++line)
        dc.TextOut(240, 240 + line * 60, "Неблагоприятные дни: 1 3 4 13 18 20 24");
    std::vector<gdi::Point> points;
    for (int x = 0; x <= 31; ++x)
        points.push_back(gdi::Point{240 + x * 60, 1400 + (x * 37 % 200)});
    dc.Polyline(points);
}

bool Landed(const std::string& dir, int jobId) {
    std::string suffix = "-job_" + std::to_string(jobId) + ".pdf";
    bool found = false;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string name = e->d_name;
            found =
                found || (name.size() > suffix.size() &&
                          name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0);
        }
        closedir(d);
    }
    return found;
}

void BM_ListDestinations(benchmark::State& state) {
    if (!ServiceRunning()) {
        state.SkipWithError("no test print service (source scripts/services.sh; start_services)");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(spool::ListDestinations().names.size());
}
BENCHMARK(BM_ListDestinations)->Unit(benchmark::kMillisecond);

void BM_PrintPageToFile(benchmark::State& state) {
    std::string path = "/tmp/zorvane-bench-" + std::to_string(getpid()) + ".pdf";
    spool::DeviceCaps caps = spool::FileSinkCaps("file:" + path);
    for (auto _ : state) {
        spool::PrintJob job(caps, caps.defaults, "bench");
        DrawPage(job);
        job.Finish([] { return true; });
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_PrintPageToFile)->Unit(benchmark::kMillisecond);

void BM_PrintPageThroughCupsPdf(benchmark::State& state) {
    if (!ServiceRunning()) {
        state.SkipWithError("no test print service (source scripts/services.sh; start_services)");
        return;
    }
    std::string dir = Env("ZORVANE_CUPS_PDF_DIR");
    for (auto _ : state) {
        spool::ListDestinations();
        spool::DeviceCaps caps = spool::ReadDevice("PDF");
        spool::PrintJob job(caps, caps.defaults, "bench");
        DrawPage(job);
        job.Finish([] { return true; });
        while (!Landed(dir, job.JobId()))
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}
BENCHMARK(BM_PrintPageThroughCupsPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

} // namespace
