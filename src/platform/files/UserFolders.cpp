#include "platform/files/UserFolders.h"

#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "rtl/ScopeExit.h"

extern char** environ;

namespace platform::files {

namespace {

using Clock = std::chrono::steady_clock;

// A folder path is a few hundred bytes; the tool says nothing longer.
constexpr std::size_t kMaxAnswerBytes = 4096;
// How often the wait for the tool's end looks again once its output is closed.
constexpr int kReapPollMs = 10;

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int RemainingMs(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? int(left.count()) : 0;
}

// Reads what the tool writes until it closes its output, the answer is too long or the
// deadline passes.
std::string ReadAnswer(int fd, Clock::time_point deadline) {
    std::string answer;
    char buffer[512];
    while (answer.size() < kMaxAnswerBytes) {
        pollfd p{fd, POLLIN, 0};
        int ready = ::poll(&p, 1, RemainingMs(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        answer.append(buffer, std::size_t(n));
    }
    return answer;
}

// Reaps the tool, ending it first when it is still running at the deadline.
void Reap(pid_t pid, Clock::time_point deadline) {
    while (::waitpid(pid, nullptr, WNOHANG) == 0) {
        if (RemainingMs(deadline) == 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            return;
        }
        ::usleep(kReapPollMs * 1000);
    }
}

// The tool's answer, run without a shell, its input and errors on /dev/null; empty when it
// cannot be started.
std::string AskFolderTool() {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return {};
    rtl::ScopeExit closeRead([&] { ::close(pipeFds[0]); });
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    rtl::ScopeExit freeActions([&] { posix_spawn_file_actions_destroy(&actions); });
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1); // none of ours
#endif
    char tool[] = "xdg-user-dir";
    char which[] = "DOCUMENTS";
    char* argv[] = {tool, which, nullptr};
    pid_t pid = 0;
    int spawned = ::posix_spawnp(&pid, tool, &actions, nullptr, argv, environ);
    ::close(pipeFds[1]);
    if (spawned != 0)
        return {};
    auto deadline = Clock::now() + kFolderToolBudget;
    std::string answer = ReadAnswer(pipeFds[0], deadline);
    Reap(pid, deadline);
    return answer;
}

} // namespace

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && *entry->pw_dir)
        return entry->pw_dir;
    return "/";
}

std::string ChooseDocumentsFolder(const std::string& answer, const std::string& home) {
    std::string folder = answer.substr(0, answer.find('\n'));
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (folder.starts_with('/') && IsFolder(folder))
        return folder;
    return home;
}

std::string DocumentsFolder() {
    return ChooseDocumentsFolder(AskFolderTool(), HomeFolder());
}

} // namespace platform::files
