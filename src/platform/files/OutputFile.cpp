#include "platform/files/OutputFile.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "rtl/ScopeExit.h"

namespace platform::files {

namespace {

// Symlink chains longer than this are a loop, as the kernel counts them.
constexpr int kMaxLinks = 40;

// A descriptor closed on every path; Close() reports what closing found.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }
    int Close() {
        int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

// 0 when every byte went out, else the error.
int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(size_t(n));
    }
    return 0;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The path the symlinks at `path` lead to (the path itself when it is none); 0 or the error.
int FollowLinks(std::string& path) {
    for (int i = 0; i < kMaxLinks; ++i) {
        char target[PATH_MAX];
        ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
        if (n < 0)
            return errno == EINVAL || errno == ENOENT ? 0 : errno;
        std::string next(target, size_t(n));
        path = next.starts_with('/') ? next : FolderOf(path) + "/" + next;
    }
    return ELOOP;
}

mode_t CurrentUmask() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The error number of the last failure on this thread, for callers that tell kinds apart.
thread_local int t_failure = 0;

bool Fail(int error, std::string& cause) {
    t_failure = error;
    cause = std::strerror(error);
    return false;
}

bool WriteInPlace(const std::string& path, std::string_view bytes, std::string& cause) {
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0)
        return Fail(errno, cause);
    if (int error = WriteAll(fd.Get(), bytes))
        return Fail(error, cause);
    if (int error = fd.Close())
        return Fail(error, cause);
    return true;
}

bool ReplaceRegular(const std::string& path, const struct stat* existing, std::string_view bytes,
                    std::string& cause) {
    std::string name = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    std::string temporary = FolderOf(path) + "/." + name + ".XXXXXX";
    FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.Get() < 0)
        return Fail(errno, cause);
    // A temporary that outlives a failure is the user's clutter: removed on every failing path.
    rtl::ScopeExit removeTemporary([&] { ::unlink(temporary.c_str()); });
    mode_t mode = existing ? (existing->st_mode & 07777) : (0666 & ~CurrentUmask());
    if (::fchmod(fd.Get(), mode) != 0)
        return Fail(errno, cause);
    if (existing && (existing->st_uid != ::geteuid() || existing->st_gid != ::getegid()))
        (void)!::fchown(fd.Get(), existing->st_uid, existing->st_gid); // as far as we may
    if (int error = WriteAll(fd.Get(), bytes))
        return Fail(error, cause);
    if (int error = fd.Close())
        return Fail(error, cause);
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        return Fail(errno, cause);
    removeTemporary.Release();
    return true;
}

} // namespace

bool WriteFile(const std::string& path, std::string_view bytes, std::string& cause) {
    if (path == kStandardOutput) {
        if (int error = WriteAll(STDOUT_FILENO, bytes))
            return Fail(error, cause);
        return true;
    }
    if (path.empty())
        return Fail(ENOENT, cause);
    std::string target = path;
    if (int error = FollowLinks(target))
        return Fail(error, cause);
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        if (errno != ENOENT)
            return Fail(errno, cause);
        return ReplaceRegular(target, nullptr, bytes, cause);
    }
    if (S_ISDIR(info.st_mode))
        return Fail(EISDIR, cause);
    if (!S_ISREG(info.st_mode))
        return WriteInPlace(target, bytes, cause);
    return ReplaceRegular(target, &info, bytes, cause);
}

bool WriteOutputFile(const std::string& path, std::string_view bytes, std::string& cause,
                     int* error) {
    t_failure = 0;
    bool written = WriteFile(path, bytes, cause);
    if (error)
        *error = written ? 0 : t_failure;
    return written;
}

} // namespace platform::files
