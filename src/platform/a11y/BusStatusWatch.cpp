#include "platform/a11y/BusStatusWatch.h"

#include "platform/a11y/DBusWire.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace platform::a11y::detail {

namespace {

constexpr const char* kStatusInterface = "org.a11y.Status";
constexpr std::uint32_t kGetAllSerial = 3;

// Said once authenticated, in one go: who we are, the changes we want to hear, and the question.
std::string Greeting() {
    MethodCall hello{
        1, 0, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "Hello", {}};
    MethodCall match{2,
                     kNoReplyExpected,
                     "org.freedesktop.DBus",
                     "/org/freedesktop/DBus",
                     "org.freedesktop.DBus",
                     "AddMatch",
                     {"type='signal',sender='org.a11y.Bus',path='/org/a11y/bus',"
                      "interface='org.freedesktop.DBus.Properties',member='PropertiesChanged',"
                      "arg0='org.a11y.Status'"}};
    // NO_AUTO_START: asking must not start the launcher on a desktop that has none running.
    MethodCall getAll{kGetAllSerial,
                      kNoAutoStart,
                      "org.a11y.Bus",
                      "/org/a11y/bus",
                      "org.freedesktop.DBus.Properties",
                      "GetAll",
                      {kStatusInterface}};
    return "BEGIN\r\n" + EncodeMethodCall(hello) + EncodeMethodCall(match) +
           EncodeMethodCall(getAll);
}

int Connect(const std::string& socketName) {
    sockaddr_un address{};
    if (socketName.empty() || socketName.size() >= sizeof(address.sun_path))
        return -1;
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketName.data(), socketName.size());
    // An abstract name (leading NUL) is exactly as long as it is; a path ends at its NUL.
    auto length = socklen_t(offsetof(sockaddr_un, sun_path) + socketName.size() +
                            (socketName[0] == '\0' ? 0 : 1));
    // A local socket connects at once or not at all (a full backlog): never waited for.
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), length) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace

BusStatusWatch::BusStatusWatch(const std::string& socketName, std::function<void()> onEnabled)
    : m_onEnabled(std::move(onEnabled)), m_fd(Connect(socketName)) {
    if (m_fd < 0)
        return;
    m_out = AuthExternalLine(unsigned(getuid()));
    Flush();
    AddLoopSource(*this);
}

BusStatusWatch::~BusStatusWatch() {
    RemoveLoopSource(*this);
    Close();
}

int BusStatusWatch::Prepare(std::vector<pollfd>& fds) {
    if (m_fd >= 0)
        fds.push_back(pollfd{m_fd, short(POLLIN | (m_out.empty() ? 0 : POLLOUT)), 0});
    return -1;
}

void BusStatusWatch::Dispatch(std::span<const pollfd> fds) {
    if (fds.empty() || m_fd < 0)
        return;
    short revents = fds[0].revents;
    if (revents & POLLOUT)
        Flush();
    if (revents & (POLLIN | POLLHUP | POLLERR))
        Receive();
}

void BusStatusWatch::Flush() {
    while (m_fd >= 0 && !m_out.empty()) {
        // MSG_NOSIGNAL: a bus that went away must not end the program with SIGPIPE.
        ssize_t sent = send(m_fd, m_out.data(), m_out.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno != EAGAIN && errno != EINTR)
                Close();
            return;
        }
        m_out.erase(0, std::size_t(sent));
    }
}

void BusStatusWatch::Receive() {
    char buffer[4096];
    for (;;) {
        ssize_t got = recv(m_fd, buffer, sizeof buffer, 0);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
            Close();
            return;
        }
        if (got < 0)
            break;
        m_in.append(buffer, std::size_t(got));
    }
    if (!m_authenticated) {
        std::size_t end = m_in.find("\r\n");
        if (end == std::string::npos)
            return;
        if (m_in.compare(0, 3, "OK ") != 0) {
            Close(); // REJECTED or ERROR: this bus does not take us
            return;
        }
        m_in.erase(0, end + 2);
        Authenticated();
    }
    std::size_t used = 0;
    while (m_fd >= 0 && !m_in.empty()) {
        used = 0;
        Handle(m_in, used);
        if (used == 0)
            break;
        m_in.erase(0, used);
    }
}

void BusStatusWatch::Authenticated() {
    m_authenticated = true;
    m_out = Greeting();
    Flush();
}

void BusStatusWatch::Handle(std::string_view bytes, std::size_t& used) {
    Message message;
    switch (ReadMessage(bytes, message, used)) {
    case ReadResult::Incomplete:
        used = 0;
        return;
    case ReadResult::Malformed:
        used = 0;
        Close();
        return;
    case ReadResult::Message:
        break;
    }
    std::optional<Booleans> status;
    if (message.replySerial == kGetAllSerial)
        status = ReadPropertiesReply(message); // an error reply: no launcher runs (yet)
    else
        status = ReadPropertiesChanged(message, kStatusInterface);
    if (status && (status->Has("IsEnabled") || status->Has("ScreenReaderEnabled")))
        m_onEnabled();
}

void BusStatusWatch::Close() {
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
    m_out.clear();
    m_in.clear();
}

std::string SessionBusSocket() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address)
        return UnixSocketOf(address);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime)
        return {};
    std::string socket = std::string(runtime) + "/bus";
    struct stat info {};
    if (stat(socket.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode))
        return {};
    return socket;
}

} // namespace platform::a11y::detail
