#include "platform/spool/CupsConnection.h"

#include <cstring>
#include <map>

#include "rtl/Format.h"

namespace platform::spool::detail {

namespace {

// How often a wait looks at its deadline.
constexpr double kWaitSliceSeconds = 0.25;

constexpr const char* kNoAnswer = "The print service at %s did not answer within %d seconds";
constexpr const char* kCannotReach = "The print service at %s cannot be reached: %s";
constexpr const char* kServiceFailed = "The print service at %s failed: %s";

std::map<std::string, Clock::time_point>& SilentUntil() {
    static std::map<std::string, Clock::time_point> servers;
    return servers;
}

// A program without a terminal must never be asked for a password on one.
const char* NoPassword(const char*, http_t*, const char*, const char*, void*) {
    return nullptr;
}

std::string DescribeServer() {
    std::string server = detail::Cups().cupsServer();
    if (!server.empty() && server.front() != '/')
        server.append(":").append(
            std::to_string(detail::Cups().ippPort())); // (not ":" + …: GCC 12 -Wrestrict)
    return server;
}

// The service is looked up afresh for every connection (CUPS_SERVER, client.conf), as a
// command would, rather than once per process.
std::string CurrentServer() {
    detail::Cups().cupsSetServer(nullptr);
    return DescribeServer();
}

int Seconds(std::chrono::milliseconds ms) {
    return int((ms.count() + 999) / 1000);
}

} // namespace

CupsConnection::CupsConnection(std::chrono::milliseconds budget)
    : m_deadline(Clock::now() + budget) {
    if (!CupsAvailable(&m_connectError)) {
        m_noLibrary = true;
        return;
    }
    m_server = CurrentServer();
    detail::Cups().cupsSetPasswordCB2(NoPassword, nullptr);
    auto silent = SilentUntil().find(m_server);
    if (silent != SilentUntil().end() && Clock::now() < silent->second) {
        m_timedOut = true;
        return;
    }
    auto started = Clock::now();
    m_http = detail::Cups().httpConnect2(detail::Cups().cupsServer(), detail::Cups().ippPort(),
                                         nullptr, AF_UNSPEC, detail::Cups().cupsEncryption(), 1,
                                         int(budget.count()), nullptr);
    if (!m_http) {
        if (Clock::now() - started >= budget) {
            NoteSilence();
            return;
        }
        const char* why = detail::Cups().cupsLastErrorString();
        m_connectError = why && *why ? why : "no connection";
        return;
    }
    detail::Cups().httpSetTimeout(m_http, kWaitSliceSeconds, OnTimeout, this);
}

CupsConnection::~CupsConnection() {
    if (m_http)
        detail::Cups().httpClose(m_http);
}

int CupsConnection::OnTimeout(http_t*, void* self) {
    auto* connection = static_cast<CupsConnection*>(self);
    if (Clock::now() < connection->m_deadline)
        return 1;
    connection->NoteSilence();
    return 0;
}

void CupsConnection::NoteSilence() {
    m_timedOut = true;
    SilentUntil()[m_server] = Clock::now() + kSilenceMemory;
}

std::string CupsConnection::Failure() const {
    if (m_noLibrary)
        return m_connectError;
    if (m_timedOut)
        return rtl::Format(kNoAnswer, m_server, Seconds(kAnswerBudget));
    if (!m_http)
        return rtl::Format(kCannotReach, m_server, m_connectError);
    // A broken connection leaves the status "internal error" with the socket's error as text.
    std::string why =
        detail::Cups().cupsLastErrorString() ? detail::Cups().cupsLastErrorString() : "";
    if (int error = detail::Cups().httpError(m_http); error != 0)
        why = std::strerror(error);
    if (why.empty() || why == std::strerror(0))
        why = detail::Cups().ippErrorString(detail::Cups().cupsLastError());
    return rtl::Format(kServiceFailed, m_server, why);
}

} // namespace platform::spool::detail
