#include "SoakWatchdog.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <execinfo.h>
#include <mutex>
#include <pthread.h>
#include <thread>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOAK_ASAN 1
#endif
#endif
#ifdef SOAK_ASAN
#include <sanitizer/common_interface_defs.h>
#endif

namespace soak {

namespace {

constexpr int kStackSignal = SIGUSR2;
constexpr int kHangStatus = 3;

std::atomic<std::int64_t> g_lastBeat{0};
std::atomic<std::uint64_t> g_event{0};
std::atomic<bool> g_stop{false};
std::atomic<bool> g_stackDone{false};
std::mutex g_whatMutex;
std::string g_what;
char g_replay[1024];
pthread_t g_main;
int g_limitMs = 0;
std::thread g_thread;

std::int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void WriteText(const char* text) {
    ssize_t ignored = write(STDERR_FILENO, text, std::strlen(text));
    (void)ignored;
}

void PrintStackHere() {
#ifdef SOAK_ASAN
    __sanitizer_print_stack_trace();
#else
    void* frames[64];
    int n = backtrace(frames, 64);
    backtrace_symbols_fd(frames, n, STDERR_FILENO);
#endif
}

extern "C" void OnStackSignal(int) {
    PrintStackHere();
    g_stackDone = true;
}

// Async-signal-safe enough for a process about to die: no allocation, no locks.
void WriteReplayLine() {
    char number[32];
    std::uint64_t e = g_event.load();
    int i = sizeof number - 1;
    number[i] = 0;
    do {
        number[--i] = char('0' + e % 10);
        e /= 10;
    } while (e && i > 0);
    WriteText("soak: died at event ");
    WriteText(number + i);
    WriteText("; replay: ");
    WriteText(g_replay);
    WriteText("\n");
}

#ifdef SOAK_ASAN
extern "C" void OnSanitizerDeath() {
    WriteReplayLine();
}
#else
extern "C" void OnFatalSignal(int sig) {
    WriteReplayLine();
    std::signal(sig, SIG_DFL);
    raise(sig);
}
#endif

void WatchLoop() {
    while (!g_stop) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (g_stop || NowMs() - g_lastBeat.load() <= g_limitMs)
            continue;
        std::string what;
        {
            std::lock_guard<std::mutex> lock(g_whatMutex);
            what = g_what;
        }
        std::fprintf(stderr,
                     "soak: HANG: event %llu (%s) was not done within %d ms of wall time\n"
                     "soak: replay: %s\nsoak: where the program is:\n",
                     static_cast<unsigned long long>(g_event.load()), what.c_str(), g_limitMs,
                     g_replay);
        std::fflush(stderr);
        pthread_kill(g_main, kStackSignal);
        for (int i = 0; i < 100 && !g_stackDone; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::fflush(stderr);
        _exit(kHangStatus);
    }
}

} // namespace

void TWatchdog::Install(const std::string& replay, int limitMs) {
    std::snprintf(g_replay, sizeof g_replay, "%s", replay.c_str());
    g_main = pthread_self();
    g_limitMs = limitMs;
    g_lastBeat = NowMs();
    std::signal(kStackSignal, OnStackSignal);
#ifdef SOAK_ASAN
    __sanitizer_set_death_callback(OnSanitizerDeath);
#else
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        std::signal(sig, OnFatalSignal);
#endif
    g_stop = false;
    g_thread = std::thread(WatchLoop);
}

void TWatchdog::Beat(std::uint64_t event, const std::string& what) {
    g_lastBeat = NowMs();
    if (g_event.exchange(event) != event || event == 0) {
        std::lock_guard<std::mutex> lock(g_whatMutex);
        g_what = what;
    }
}

void TWatchdog::Stop() {
    g_stop = true;
    if (g_thread.joinable())
        g_thread.join();
}

} // namespace soak
