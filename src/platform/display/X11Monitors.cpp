// The monitors of the X screen, for centring a window on the one the user works on: RandR's
// monitors (which `xrandr --setmonitor` also defines), else Xinerama's screens.
#include "platform/display/DeviceScale.h"
#include "platform/display/MonitorChoice.h"
#include "platform/display/X11Backend.h"

// X headers last: their macros (None, True, Status ...) would upset ours.
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

namespace platform::x11 {

namespace {

// RandR 1.5 lists monitors; earlier servers have none to list.
constexpr int kMonitorsMajor = 1;
constexpr int kMonitorsMinor = 5;

bool HasRandrMonitors(Display* dpy) {
    int event = 0, error = 0, major = 0, minor = 0;
    return XRRQueryExtension(dpy, &event, &error) && XRRQueryVersion(dpy, &major, &minor) &&
           (major > kMonitorsMajor || (major == kMonitorsMajor && minor >= kMonitorsMinor));
}

} // namespace

std::vector<Rect> X11Backend::Monitors() {
    std::vector<Rect> monitors;
    if (HasRandrMonitors(m_dpy)) {
        int count = 0;
        if (XRRMonitorInfo* list = XRRGetMonitors(m_dpy, m_root, True, &count)) {
            for (int i = 0; i < count; ++i) {
                const XRRMonitorInfo& m = list[i];
                Rect r{m.x, m.y, m.x + m.width, m.y + m.height};
                // The primary monitor first.
                monitors.insert(m.primary ? monitors.begin() : monitors.end(), r);
            }
            XRRFreeMonitors(list);
        }
        if (!monitors.empty())
            return monitors;
    }
    int event = 0, error = 0;
    if (XineramaQueryExtension(m_dpy, &event, &error) && XineramaIsActive(m_dpy)) {
        int count = 0;
        if (XineramaScreenInfo* screens = XineramaQueryScreens(m_dpy, &count)) {
            for (int i = 0; i < count; ++i)
                monitors.push_back(Rect{screens[i].x_org, screens[i].y_org,
                                        screens[i].x_org + screens[i].width,
                                        screens[i].y_org + screens[i].height});
            XFree(screens);
        }
    }
    return monitors;
}

Rect X11Backend::CentringArea() {
    std::vector<Rect> monitors = Monitors();
    for (Rect& m : monitors) // the server's pixels, the forms' at a device scale
        m = ToLogicalWithin(m, m_scale);
    std::optional<Rect> work;
    if (Rect r; monitors.size() > 1 && PublishedWorkArea(r))
        work = r;
    return platform::CentringArea(monitors, CursorPos(), work, ScreenSize());
}

} // namespace platform::x11
