#pragma once
// Private to src/platform/spool: a connection of our own to the print service, with every wait
// bounded. A server that accepts and never answers is remembered for a few seconds, so the
// calls that follow in the same print fail at once instead of waiting again. While a call waits,
// the program's messages are processed (MessagePump.h) between short slices, so its windows
// repaint while the service is asked.
#include <chrono>
#include <string>

#include "platform/spool/CupsLibrary.h"
#include "platform/spool/Destinations.h"

namespace platform::spool::detail {

using Clock = std::chrono::steady_clock;

// How long one call may wait for the service, connecting included.
constexpr std::chrono::milliseconds kAnswerBudget{2000};
// How long a silent server is taken as silent without asking again.
constexpr std::chrono::milliseconds kSilenceMemory{5000};

class CupsConnection {
public:
    explicit CupsConnection(std::chrono::milliseconds budget = kAnswerBudget);
    ~CupsConnection();
    CupsConnection(const CupsConnection&) = delete;
    CupsConnection& operator=(const CupsConnection&) = delete;

    http_t* Http() const { return m_http; }
    bool Connected() const { return m_http != nullptr; }
    // Gives the calls still to come `extra` more time (a long document being written).
    void ExtendBudget(std::chrono::milliseconds extra) { m_deadline += extra; }
    // Why the connection or its last call failed: the kind, and as a sentence.
    ServiceFailure FailureKind() const;
    std::string Failure() const;
    // The service as the user would name it ("localhost:631", "/run/cups/cups.sock").
    const std::string& Server() const { return m_server; }

private:
    static int OnTimeout(http_t* http, void* self);
    void NoteSilence();

    http_t* m_http = nullptr;
    Clock::time_point m_deadline;
    std::string m_server;
    std::string m_connectError;
    bool m_timedOut = false;
    bool m_noLibrary = false;
};

} // namespace platform::spool::detail
