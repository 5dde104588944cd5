#include "platform/a11y/GlibLoopSource.h"

#include <glib.h>

#include <utility>

namespace platform::a11y::detail {

GlibLoopSource::GlibLoopSource(std::function<void()> firstWait)
    : m_firstWait(std::move(firstWait)) {}

GlibLoopSource::~GlibLoopSource() {
    for (const Round& r : m_rounds)
        if (r.acquired)
            g_main_context_release(g_main_context_default());
}

int GlibLoopSource::Prepare(std::vector<pollfd>& fds) {
    if (m_firstWait)
        std::exchange(m_firstWait, nullptr)();
    Round& round = m_rounds.emplace_back();
    GMainContext* context = g_main_context_default();
    if (!m_serving || !g_main_context_acquire(context))
        return -1;
    round.acquired = true;
    bool ready = g_main_context_prepare(context, &round.priority);
    std::vector<GPollFD> polled(8);
    int timeout = -1;
    for (;;) {
        int n = g_main_context_query(context, round.priority, &timeout, polled.data(),
                                     int(polled.size()));
        if (n <= int(polled.size())) {
            polled.resize(n);
            break;
        }
        polled.resize(n);
    }
    for (const GPollFD& p : polled)
        fds.push_back(pollfd{p.fd, short(p.events), 0});
    return ready ? 0 : timeout;
}

void GlibLoopSource::Dispatch(std::span<const pollfd> fds) {
    if (m_rounds.empty())
        return;
    Round round = m_rounds.back();
    m_rounds.pop_back();
    if (!round.acquired)
        return;
    GMainContext* context = g_main_context_default();
    std::vector<GPollFD> polled;
    for (const pollfd& p : fds)
        polled.push_back(GPollFD{p.fd, gushort(p.events), gushort(p.revents)});
    if (g_main_context_check(context, round.priority, polled.data(), int(polled.size())))
        g_main_context_dispatch(context);
    g_main_context_release(context);
}

} // namespace platform::a11y::detail
