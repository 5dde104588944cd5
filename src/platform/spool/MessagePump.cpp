#include "platform/spool/MessagePump.h"

namespace platform::spool {

namespace {

std::function<void()>& Pump() {
    static std::function<void()> pump;
    return pump;
}

} // namespace

void SetMessagePump(std::function<void()> pump) {
    Pump() = std::move(pump);
}

void PumpMessages() {
    // A copy: the pump may replace itself while it runs.
    if (std::function<void()> pump = Pump())
        pump();
}

} // namespace platform::spool
