#include "platform/display/LoopSources.h"

#include <algorithm>

namespace platform {

namespace {

std::vector<LoopSource*>& Sources() {
    static std::vector<LoopSource*> sources;
    return sources;
}

bool Registered(LoopSource* source) {
    const auto& sources = Sources();
    return std::find(sources.begin(), sources.end(), source) != sources.end();
}

// The earlier of two limits, -1 being none.
int Sooner(int a, int b) {
    if (a < 0)
        return b;
    if (b < 0)
        return a;
    return std::min(a, b);
}

struct Prepared {
    LoopSource* source;
    std::size_t first;
    std::size_t count;
};

} // namespace

void AddLoopSource(LoopSource& source) {
    if (!Registered(&source))
        Sources().push_back(&source);
}

void RemoveLoopSource(LoopSource& source) {
    auto& sources = Sources();
    sources.erase(std::remove(sources.begin(), sources.end(), &source), sources.end());
}

bool WaitForDescriptor(int fd, int timeoutMs) {
    std::vector<pollfd> fds{pollfd{fd, POLLIN, 0}};
    // A source may add another while it prepares (a watch made at the first wait): that one
    // takes part in this wait too, or the wait could sleep without watching it.
    std::vector<Prepared> prepared;
    auto isPrepared = [&](LoopSource* s) {
        return std::any_of(prepared.begin(), prepared.end(),
                           [&](const Prepared& p) { return p.source == s; });
    };
    for (;;) {
        const auto& sources = Sources();
        auto next = std::find_if_not(sources.begin(), sources.end(), isPrepared);
        if (next == sources.end())
            break;
        LoopSource* source = *next;
        std::size_t first = fds.size();
        timeoutMs = Sooner(timeoutMs, source->Prepare(fds));
        prepared.push_back(Prepared{source, first, fds.size() - first});
    }
    // A signal ends the wait early, as it did select(): every caller waits again in a loop.
    if (poll(fds.data(), fds.size(), timeoutMs) <= 0)
        for (pollfd& p : fds)
            p.revents = 0;
    bool readable = fd >= 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
    for (const Prepared& p : prepared)
        if (Registered(p.source))
            p.source->Dispatch(std::span<const pollfd>(fds).subspan(p.first, p.count));
    return readable;
}

} // namespace platform
