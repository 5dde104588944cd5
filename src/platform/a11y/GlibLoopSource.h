#pragma once
// Private to src/platform/a11y: GLib's default main context as a source of the program's wait,
// so the D-Bus traffic of the bus watch and of the accessibility bridge is served by the one UI
// thread inside its ordinary wait: prepare, query the descriptors and the timeout, poll them
// together with the display connection, check, dispatch.
#include "platform/display/LoopSources.h"

#include <functional>
#include <vector>

namespace platform::a11y::detail {

class GlibLoopSource final : public LoopSource {
public:
    // `firstWait` runs at the first wait, before the context is asked (it may start work there).
    explicit GlibLoopSource(std::function<void()> firstWait);
    ~GlibLoopSource();
    GlibLoopSource(const GlibLoopSource&) = delete;
    GlibLoopSource& operator=(const GlibLoopSource&) = delete;

    // Whether the context is served at all; off until there is GLib work to serve.
    void SetServing(bool serving) { m_serving = serving; }

    int Prepare(std::vector<pollfd>& fds) override;
    void Dispatch(std::span<const pollfd> fds) override;

private:
    // One entry per wait in progress: waits nest when a dispatched callback waits again.
    struct Round {
        bool acquired = false;
        int priority = 0;
    };
    std::function<void()> m_firstWait;
    bool m_serving = false;
    std::vector<Round> m_rounds;
};

} // namespace platform::a11y::detail
