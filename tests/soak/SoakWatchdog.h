#pragma once
// The soak's guards against a run that never comes back: a watchdog thread that fails the run
// when the program has not asked for its next event within a limit of wall time (printing the
// seed, the event and the main thread's stack), and crash hooks that print the replay line before
// a sanitizer or a signal ends the process.
#include <cstdint>
#include <string>

namespace soak {

class TWatchdog {
public:
    // `replay` is printed with every report (the command that runs the same events again).
    static void Install(const std::string& replay, int limitMs);
    // The program is waiting for input again: what it is about to get.
    static void Beat(std::uint64_t event, const std::string& what);
    static void Stop();
};

} // namespace soak
