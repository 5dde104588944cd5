// zorvane-soak: the whole program on the headless display, fed random mouse and keyboard events
// from a seed (see SoakDriver.h). Exit status 0 when every event was taken with every check
// holding; otherwise the report names the seed, the event and the command that replays it.
//   zorvane-soak [--seed S] [--events N] [--out DIR] [--watchdog-ms MS] [--verbose]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "SoakDriver.h"
#include "SoakWatchdog.h"
#include "app/ProgramForms.h"

#if defined(__SANITIZE_ADDRESS__)
#define SOAK_BUILD "--asan"
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOAK_BUILD "--asan"
#endif
#endif
#ifndef SOAK_BUILD
#define SOAK_BUILD "--normal"
#endif

namespace {

constexpr int kDefaultWatchdogMs = 5000;

int Usage() {
    std::fprintf(stderr, "usage: zorvane-soak [--seed S] [--events N] [--out DIR] "
                         "[--watchdog-ms MS] [--verbose]\n");
    return 2;
}

bool Number(const char* text, std::uint64_t& value) {
    char* end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(text, &end, 10);
    if (errno || !end || *end || end == text)
        return false;
    value = v;
    return true;
}

// The help viewer: records the address it is given and ends.
std::string WriteHelpViewer(const std::string& dir) {
    std::string path = dir + "/help-viewer.sh";
    std::ofstream out(path);
    out << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << dir << "/help.log'\n";
    out.close();
    std::filesystem::permissions(path, std::filesystem::perms::owner_all |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    return path;
}

} // namespace

int main(int argc, char** argv) {
    soak::TSoakOptions options;
    std::uint64_t watchdogMs = kDefaultWatchdogMs;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--seed" && hasValue) {
            if (!Number(argv[++i], options.seed))
                return Usage();
        } else if (arg == "--events" && hasValue) {
            if (!Number(argv[++i], options.events))
                return Usage();
        } else if (arg == "--out" && hasValue) {
            options.outDir = argv[++i];
        } else if (arg == "--watchdog-ms" && hasValue) {
            if (!Number(argv[++i], watchdogMs) || watchdogMs == 0)
                return Usage();
        } else if (arg == "--verbose") {
            options.verbose = true;
        } else {
            return Usage();
        }
    }
    if (options.outDir.empty())
        options.outDir = (std::filesystem::temp_directory_path() /
                          ("zorvane-soak-" + std::to_string(options.seed)))
                             .string();
    std::filesystem::create_directories(options.outDir);
    options.replay = "scripts/soak.sh --seed " + std::to_string(options.seed) + " --events " +
                     std::to_string(options.events) + " " SOAK_BUILD;
    std::printf("soak: seed %llu, %llu events (replay: %s)\n",
                static_cast<unsigned long long>(options.seed),
                static_cast<unsigned long long>(options.events), options.replay.c_str());
    std::fflush(stdout);

    setenv("ZORVANE_HELP_VIEWER", WriteHelpViewer(options.outDir).c_str(), 1);
    std::filesystem::remove(options.outDir + "/help.log");
    app::PrepareProgram();

    auto started = std::chrono::steady_clock::now();
    soak::TWatchdog::Install(options.replay, int(watchdogMs));
    soak::TSoakDriver driver(options);
    int status = driver.Run();
    soak::TWatchdog::Stop();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    const soak::TSoakStats& s = driver.Stats();
    // Help only ever opens the two topics, from the input form (3) and the result form (5).
    int helpCalls = 0;
    {
        std::ifstream log(options.outDir + "/help.log");
        for (std::string line; std::getline(log, line);) {
            ++helpCalls;
            bool topic = line.ends_with("#context-3") || line.ends_with("#context-5");
            if (line.rfind("file://", 0) != 0 || !topic) {
                std::fprintf(stderr, "soak: FAILED: help opened '%s'\nsoak: replay: %s\n",
                             line.c_str(), options.replay.c_str());
                status = 1;
            }
        }
    }
    std::printf("soak: %llu events in %d runs of the program, %.1f s of wall time, %.0f s on the "
                "program's clock\n",
                static_cast<unsigned long long>(s.events), s.runs, seconds,
                double(s.clockMs) / 1000.0);
    std::printf("soak: the result form was on screen after %llu events\n",
                static_cast<unsigned long long>(s.resultShown));
    std::printf("soak: message boxes %d (the driver answered %d), prints %d, help calls %d, at "
                "most %zu windows and %zu timers at once\n",
                s.boxesSeen, s.boxesAnswered, s.prints, helpCalls, s.maxWindows, s.maxTimers);
    std::printf("soak: the slowest step took %.0f ms (%s)\n", s.slowestMs, s.slowest.c_str());
    std::printf("soak: %s\n", status == 0 ? "passed" : "FAILED");
    return status;
}
