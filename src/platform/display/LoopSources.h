#pragma once
// Work the program's one wait must watch beside the display connection: descriptors and
// deadlines of libraries that run their own event sources (GLib's main context, which carries
// the accessibility bridge's D-Bus traffic). The display backend waits in WaitForDescriptor;
// every source is asked before the wait and served after it, on the UI thread, so no library
// needs a thread of its own and nothing busy-loops.
#include <poll.h>

#include <span>
#include <vector>

namespace platform {

class LoopSource {
public:
    // Before a wait: appends the descriptors to watch to `fds` and returns how long the wait may
    // last in milliseconds (-1: no limit of its own, 0: it has work now).
    virtual int Prepare(std::vector<pollfd>& fds) = 0;
    // After the wait, once for every Prepare (also when the wait failed): the descriptors it
    // appended, with their revents. Runs the work that is due.
    virtual void Dispatch(std::span<const pollfd> fds) = 0;

protected:
    ~LoopSource() = default;
};

// Sources are served in the order they were added. A source removed while a wait is in progress
// is not served by it.
void AddLoopSource(LoopSource& source);
void RemoveLoopSource(LoopSource& source);

// Waits until `fd` is readable, a source has work, or `timeoutMs` has passed (-1: no limit),
// then serves the sources. True when `fd` is readable. `fd` -1 waits for the sources alone.
bool WaitForDescriptor(int fd, int timeoutMs);

} // namespace platform
