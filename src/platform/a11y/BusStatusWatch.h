#pragma once
// Private to src/platform/a11y: whether assistive technology is on, as the desktop's
// accessibility bus launcher says (org.a11y.Status on the session bus: IsEnabled, set when the
// desktop's accessibility switch is on, and ScreenReaderEnabled, set by a screen reader).
// Asked without waiting for the answer, and watched for changes, so a screen reader started
// after the program still finds it.
//
// One socket to the session bus, served by the loop's wait like any other source, speaking just
// the few messages needed (DBusWire.h): no thread, no GIO. Any failure (no bus, refused, closed,
// a message it cannot read) ends the watch quietly; the program then stays off the bus.
#include "platform/display/LoopSources.h"

#include <functional>
#include <string>

namespace platform::a11y::detail {

class BusStatusWatch final : public LoopSource {
public:
    // Connects to the bus's socket (UnixSocketOf) and adds itself to the loop; `onEnabled` runs
    // from the loop each time the status says on.
    BusStatusWatch(const std::string& socketName, std::function<void()> onEnabled);
    ~BusStatusWatch();
    BusStatusWatch(const BusStatusWatch&) = delete;
    BusStatusWatch& operator=(const BusStatusWatch&) = delete;

    // False once the connection failed or ended.
    bool Open() const { return m_fd >= 0; }

    int Prepare(std::vector<pollfd>& fds) override;
    void Dispatch(std::span<const pollfd> fds) override;

private:
    void Flush();
    void Receive();
    void Authenticated();
    void Handle(std::string_view bytes, std::size_t& used);
    void Close();

    std::function<void()> m_onEnabled;
    int m_fd = -1;
    bool m_authenticated = false;
    std::string m_out;
    std::string m_in;
};

// The session bus's socket, when there is one: from DBUS_SESSION_BUS_ADDRESS, else the user's
// bus socket in XDG_RUNTIME_DIR; empty otherwise. Never starts a bus (GLib's own lookup may run
// dbus-launch, which starts one for the X display).
std::string SessionBusSocket();

} // namespace platform::a11y::detail
