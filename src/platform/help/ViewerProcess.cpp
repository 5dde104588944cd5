#include "platform/help/ViewerProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/display/WindowApi.h"

extern char** environ;

namespace platform::help {

namespace {

// How often the loop looks at a running viewer. xdg-open hands the page to a browser and ends
// within a fraction of a second; a viewer that stays is merely looked at now and then.
constexpr UINT kPollMs = 100;

struct Viewer {
    pid_t pid = 0;
    std::string command;
    std::string argument;
};

std::vector<Viewer>& Running() {
    static std::vector<Viewer> running;
    return running;
}

std::vector<std::string>& Reports() {
    static std::vector<std::string> reports;
    return reports;
}

std::function<void(const std::string&)>& Handler() {
    static std::function<void(const std::string&)> handler;
    return handler;
}

// posix_spawn's attribute and file-action records, released on every path.
struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attr);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

// The viewer gets no input, none of our descriptors (the X connection, print sockets), default
// signal handling and a session of its own, so a browser it starts lives on by itself.
void Prepare(SpawnSetup& s) {
    posix_spawn_file_actions_addopen(&s.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    posix_spawn_file_actions_addclosefrom_np(&s.actions, STDERR_FILENO + 1);
#endif
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&s.attr, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int sig : {SIGPIPE, SIGCHLD, SIGINT, SIGTERM, SIGHUP})
        sigaddset(&defaults, sig);
    posix_spawnattr_setsigdefault(&s.attr, &defaults);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#ifdef POSIX_SPAWN_SETSID
    flags |= POSIX_SPAWN_SETSID;
#endif
    posix_spawnattr_setflags(&s.attr, flags);
}

// What xdg-open's exit statuses mean to the user.
std::string ExitReason(const Viewer& v, int code) {
    bool xdg = v.command == "xdg-open" || v.command.ends_with("/xdg-open");
    if (!xdg)
        return "";
    switch (code) {
    case 2:
        return " (the help document was not found)";
    case 3:
        return " (no program to show web pages was found; install a web browser)";
    case 4:
        return " (the program meant to show the page failed)";
    default:
        return "";
    }
}

std::string FailureMessage(const Viewer& v, int status) {
    std::string text = "Help could not be shown: " + v.command;
    if (WIFSIGNALED(status)) {
        text += " was ended by signal " + std::to_string(WTERMSIG(status));
    } else {
        int code = WEXITSTATUS(status);
        text += " ended with status " + std::to_string(code);
        text += ExitReason(v, code);
    }
    text += " while opening ";
    text += v.argument;
    return text;
}

// Moves viewers that have ended out of the running list, their failures into the reports.
void Reap() {
    auto& running = Running();
    for (auto it = running.begin(); it != running.end();) {
        int status = 0;
        pid_t r = ::waitpid(it->pid, &status, WNOHANG);
        if (r == 0 || (r < 0 && errno == EINTR)) {
            ++it;
            continue;
        }
        if (r == it->pid && !(WIFEXITED(status) && WEXITSTATUS(status) == 0))
            Reports().push_back(FailureMessage(*it, status));
        it = running.erase(it); // ended, or no longer our child to wait for
    }
}

void Deliver(const std::string& message) {
    // A copy: the handler may replace itself while it runs.
    auto handler = Handler();
    if (handler)
        handler(message);
    else
        std::fprintf(stderr, "zorvane: %s\n", message.c_str());
}

void OnPollTimer(HWND, UINT, UINT_PTR id, DWORD) {
    PollViewers();
    if (Running().empty())
        KillTimer(nullptr, id);
}

// A timer of the loop that polls until nothing is left. Each start arms one of its own (a
// surplus one stops at its next tick), so a loop that was replaced meanwhile cannot strand a
// viewer unwatched.
void Watch() {
    SetTimer(nullptr, 0, kPollMs, &OnPollTimer);
}

} // namespace

bool StartViewer(const std::string& command, const std::string& argument, std::string& error) {
    Reap();
    SpawnSetup setup;
    Prepare(setup);
    std::vector<char*> argv{const_cast<char*>(command.c_str()), const_cast<char*>(argument.c_str()),
                            nullptr};
    pid_t pid = 0;
    int rc =
        ::posix_spawnp(&pid, command.c_str(), &setup.actions, &setup.attr, argv.data(), environ);
    if (rc != 0) {
        error = "No help viewer could be started: " + command + ": " + std::strerror(rc);
        if (rc == ENOENT && command == "xdg-open")
            error += " (install xdg-utils)";
        return false;
    }
    Running().push_back(Viewer{pid, command, argument});
    Watch();
    return true;
}

void ReportLater(std::string message) {
    Reports().push_back(std::move(message));
    Watch();
}

void PollViewers() {
    Reap();
    // Taken out first: a handler that runs a loop of its own may bring this back in.
    std::vector<std::string> reports = std::exchange(Reports(), {});
    for (const std::string& message : reports)
        Deliver(message);
}

int RunningViewers() {
    return int(Running().size());
}

void SetFailureHandler(std::function<void(const std::string& message)> handler) {
    Handler() = std::move(handler);
}

} // namespace platform::help
