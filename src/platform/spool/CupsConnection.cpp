#include "platform/spool/CupsConnection.h"

#include <cerrno>
#include <cstring>
#include <map>

#include "platform/spool/MessagePump.h"
#include "rtl/Format.h"

namespace platform::spool::detail {

namespace {

// How often a wait looks at its deadline and lets the program's windows repaint.
constexpr double kWaitSliceSeconds = 0.1;

constexpr const char* kNoAnswer = "The print service at %s did not answer within %d seconds";
constexpr const char* kCannotReach = "The print service at %s cannot be reached: %s";
constexpr const char* kRefused = "The print service at %s refused the request: %s";
constexpr const char* kGarbage = "The print service at %s answered with something that is not IPP";

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
    PumpMessages();
    if (Clock::now() < connection->m_deadline)
        return 1;
    connection->NoteSilence();
    return 0;
}

void CupsConnection::NoteSilence() {
    m_timedOut = true;
    SilentUntil()[m_server] = Clock::now() + kSilenceMemory;
}

ServiceFailure CupsConnection::FailureKind() const {
    if (m_timedOut)
        return ServiceFailure::NotAnswering;
    if (m_noLibrary || !m_http)
        return ServiceFailure::Unreachable;
    // libcups says "internal error" for everything below IPP: the socket's error tells a
    // connection that went away from an answer it could not read.
    if (detail::Cups().cupsLastError() != IPP_STATUS_ERROR_INTERNAL)
        return ServiceFailure::Refused;
    int error = detail::Cups().httpError(m_http);
    if (error == EPIPE || error == ECONNRESET || error == ECONNREFUSED)
        return ServiceFailure::Unreachable;
    return ServiceFailure::Garbage;
}

std::string CupsConnection::Failure() const {
    if (m_noLibrary)
        return m_connectError;
    switch (FailureKind()) {
    case ServiceFailure::NotAnswering:
        return rtl::Format(kNoAnswer, m_server, Seconds(kAnswerBudget));
    case ServiceFailure::Unreachable:
        return rtl::Format(kCannotReach, m_server,
                           m_http ? std::strerror(detail::Cups().httpError(m_http))
                                  : m_connectError);
    case ServiceFailure::Garbage:
        return rtl::Format(kGarbage, m_server);
    default:
        break;
    }
    const char* text = detail::Cups().cupsLastErrorString();
    std::string why =
        text && *text ? text : detail::Cups().ippErrorString(detail::Cups().cupsLastError());
    return rtl::Format(kRefused, m_server, why);
}

} // namespace platform::spool::detail
