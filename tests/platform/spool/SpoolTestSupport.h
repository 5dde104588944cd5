#pragma once
// Helpers for tests that print: the test print service started by scripts/services.sh (cupsd
// with the cups-pdf queue "PDF"), temporary queues, environment overrides, a server that accepts
// and never answers, and reading the PDFs that land. Header-only: the controls tests use it too.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace spooltest {

inline std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The test print service is there when services.sh exported its folder and its socket exists.
inline bool CupsAvailable() {
    struct stat st {};
    return !Env("ZORVANE_CUPS_PDF_DIR").empty() && !Env("CUPS_SERVER").empty() &&
           stat(Env("CUPS_SERVER").c_str(), &st) == 0;
}

#define SKIP_WITHOUT_CUPS()                                                                        \
    if (!spooltest::CupsAvailable())                                                               \
    GTEST_SKIP() << "no test print service: run the tests through scripts/test.sh, or "            \
                    "'source scripts/services.sh; start_services' first (needs root, cupsd and "   \
                    "printer-driver-cups-pdf)"

inline std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs a shell command; its output (stdout and stderr) and exit status.
inline std::string Run(const std::string& command, int* status = nullptr) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) {
        if (status)
            *status = -1;
        return output;
    }
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    int rc = pclose(pipe);
    if (status)
        *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return output;
}

// Sets (or with nullptr removes) an environment variable for the life of the object.
class EnvVar {
public:
    EnvVar(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~EnvVar() {
        if (m_old)
            setenv(m_name.c_str(), m_old->c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }
    EnvVar(const EnvVar&) = delete;
    EnvVar& operator=(const EnvVar&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

// A cups-pdf queue of the test's own, removed at the end: tests that change a queue's state
// never touch "PDF".
class TempQueue {
public:
    explicit TempQueue(const std::string& tag) {
        static int counter = 0;
        m_name = "ztest_" + tag + "_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
        int status = 0;
        m_output = Run("lpadmin -p " + m_name + " -E -v " + Quote(Env("ZORVANE_CUPS_PDF_URI")) +
                           " -m " + Quote(Env("ZORVANE_CUPS_PDF_PPD")) +
                           " -o printer-is-shared=false -o PageSize=A4"
                           " -o media-default=iso_a4_210x297mm"
                           " -o pdftops-renderer-default=pdftocairo",
                       &status);
        m_ok = status == 0;
    }
    ~TempQueue() { Run("lpadmin -x " + m_name); }
    TempQueue(const TempQueue&) = delete;
    TempQueue& operator=(const TempQueue&) = delete;

    bool Ok() const { return m_ok; }
    const std::string& Output() const { return m_output; }
    const std::string& Name() const { return m_name; }
    void Reject() { Run("cupsreject " + m_name); }
    // Jobs the queue has seen, finished or not.
    int JobCount() const {
        std::string out = Run("lpstat -W all -o " + m_name);
        int lines = 0;
        for (char c : out)
            lines += c == '\n';
        return lines;
    }

private:
    std::string m_name;
    std::string m_output;
    bool m_ok = false;
};

// The PDF cups-pdf made of a job, once it is complete (pdfinfo reads it); empty on time-out.
inline std::string WaitForJobPdf(int jobId, std::chrono::seconds limit = std::chrono::seconds(30)) {
    std::string dir = Env("ZORVANE_CUPS_PDF_DIR");
    std::string suffix = "-job_" + std::to_string(jobId) + ".pdf";
    auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        if (DIR* d = opendir(dir.c_str())) {
            std::string found;
            while (dirent* e = readdir(d)) {
                std::string name = e->d_name;
                if (name.size() > suffix.size() &&
                    name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
                    found = dir + "/" + name;
            }
            closedir(d);
            int status = 1;
            if (!found.empty() && (Run("pdfinfo " + Quote(found), &status), status == 0))
                return found;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return {};
}

struct PdfFacts {
    int pages = 0;
    std::string pageSize; // "595 x 842 pts (A4)" as pdfinfo says it
    std::string text;
};

inline PdfFacts ReadPdf(const std::string& path) {
    PdfFacts facts;
    std::string info = Run("pdfinfo " + Quote(path));
    if (size_t at = info.find("Pages:"); at != std::string::npos)
        facts.pages = std::atoi(info.c_str() + at + 6);
    if (size_t at = info.find("Page size:"); at != std::string::npos) {
        size_t start = info.find_first_not_of(' ', at + 10);
        facts.pageSize = info.substr(start, info.find('\n', start) - start);
    }
    facts.text = Run("pdftotext " + Quote(path) + " -");
    return facts;
}

// What the print service recorded of a job ("copies (integer) = 2" ...).
inline std::string JobAttributes(int jobId) {
    std::string server;
    for (char c : Env("CUPS_SERVER")) {
        if (c == '/') {
            server += "%2F";
        } else {
            server += c;
        }
    }
    return Run("ipptool -tv " + Quote("ipp://" + server + "/jobs/" + std::to_string(jobId)) +
               " /usr/share/cups/ipptool/get-job-attributes.test");
}

// A TCP socket bound to a free loopback port.
inline int BoundLoopbackSocket(int& port) {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t length = sizeof addr;
    getsockname(s, reinterpret_cast<sockaddr*>(&addr), &length);
    port = ntohs(addr.sin_port);
    return s;
}

// A server that accepts connections and never answers.
class SilentServer {
public:
    SilentServer() {
        m_socket = BoundLoopbackSocket(m_port);
        listen(m_socket, 16);
        m_thread = std::thread([this] {
            std::vector<int> held;
            while (!m_stop) {
                pollfd p{m_socket, POLLIN, 0};
                if (poll(&p, 1, 50) > 0) {
                    int c = accept(m_socket, nullptr, nullptr);
                    if (c >= 0) {
                        held.push_back(c);
                        ++m_accepted;
                    }
                }
            }
            for (int c : held)
                close(c);
        });
    }
    ~SilentServer() {
        m_stop = true;
        m_thread.join();
        close(m_socket);
    }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    std::string Address() const { return "127.0.0.1:" + std::to_string(m_port); }
    // How many connections it has taken so far.
    int Accepted() const { return m_accepted; }

private:
    int m_socket = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_accepted{0};
    std::thread m_thread;
};

// A server that answers every connection with the same bytes, whatever was asked, and closes
// it: an HTTP refusal, or something that is not HTTP at all.
class ReplyingServer {
public:
    explicit ReplyingServer(std::string reply) : m_reply(std::move(reply)) {
        m_socket = BoundLoopbackSocket(m_port);
        listen(m_socket, 16);
        m_thread = std::thread([this] {
            while (!m_stop) {
                pollfd p{m_socket, POLLIN, 0};
                if (poll(&p, 1, 50) <= 0)
                    continue;
                int c = accept(m_socket, nullptr, nullptr);
                if (c < 0)
                    continue;
                char request[65536];
                pollfd r{c, POLLIN, 0};
                if (poll(&r, 1, 1000) > 0)
                    (void)!recv(c, request, sizeof request, 0);
                (void)!send(c, m_reply.data(), m_reply.size(), MSG_NOSIGNAL);
                close(c);
            }
        });
    }
    ~ReplyingServer() {
        m_stop = true;
        m_thread.join();
        close(m_socket);
    }
    ReplyingServer(const ReplyingServer&) = delete;
    ReplyingServer& operator=(const ReplyingServer&) = delete;
    std::string Address() const { return "127.0.0.1:" + std::to_string(m_port); }

private:
    std::string m_reply;
    int m_socket = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// A loopback port nobody listens on.
inline std::string ClosedAddress() {
    int port = 0;
    close(BoundLoopbackSocket(port));
    return "127.0.0.1:" + std::to_string(port);
}

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace spooltest
