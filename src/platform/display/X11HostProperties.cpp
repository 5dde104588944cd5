#include "platform/display/X11HostProperties.h"

#include <unistd.h>

#include <climits>
#include <vector>

#include "platform/display/TaskbarIcons.h"
#include "rtl/Utf8.h"

// X headers last: their macros (None, True, Status ...) would upset ours.
#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace platform::x11 {

namespace {

constexpr const char* kResName = "zorvane";
constexpr const char* kResClass = "Zorvane";

std::string HostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return "localhost";
    return name;
}

// Latin-1 text (every character below U+0100) survives as STRING; anything else needs
// COMPOUND_TEXT.
bool IsLatin1(const std::string& utf8) {
    for (char32_t c : rtl::Utf8ToU32(utf8))
        if (c > 0xFF)
            return false;
    return true;
}

} // namespace

X11HostProperties::X11HostProperties(Display* dpy, ::Window root)
    : m_dpy(dpy), m_root(root), m_host(HostName()) {
    const char* names[] = {"WM_PROTOCOLS", "WM_DELETE_WINDOW", "_NET_WM_PING", "WM_CLIENT_LEADER",
                           "_NET_WM_PID",  "_NET_WM_NAME",     "UTF8_STRING",  "_NET_WM_ICON"};
    static_assert(sizeof(names) / sizeof(names[0]) == kAtomCount);
    XInternAtoms(m_dpy, const_cast<char**>(names), kAtomCount, False, m_atoms);
    XSetWindowAttributes a{};
    m_leader = XCreateWindow(m_dpy, m_root, -10, -10, 1, 1, 0, CopyFromParent, InputOnly,
                             CopyFromParent, 0, &a);
    SetCommonProperties(m_leader);
}

X11HostProperties::~X11HostProperties() {
    XDestroyWindow(m_dpy, m_leader);
}

void X11HostProperties::SetCommonProperties(::Window xid) {
    XClassHint cls;
    cls.res_name = const_cast<char*>(kResName);
    cls.res_class = const_cast<char*>(kResClass);
    XSetClassHint(m_dpy, xid, &cls);
    XChangeProperty(m_dpy, xid, m_atoms[kClientLeader], XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&m_leader), 1);
    // The pid means something only with the machine it runs on.
    XTextProperty machine{};
    machine.value = reinterpret_cast<unsigned char*>(m_host.data());
    machine.encoding = XA_STRING;
    machine.format = 8;
    machine.nitems = m_host.size();
    XSetWMClientMachine(m_dpy, xid, &machine);
    long pid = long(getpid());
    XChangeProperty(m_dpy, xid, m_atoms[kPid], XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&pid), 1);
}

void X11HostProperties::Identify(::Window xid) {
    SetCommonProperties(xid);
    Atom protocols[] = {m_atoms[kDeleteWindow], m_atoms[kPing]};
    XSetWMProtocols(m_dpy, xid, protocols, 2);
    XWMHints hints{};
    hints.flags = InputHint | StateHint | WindowGroupHint;
    hints.input = True;
    hints.initial_state = NormalState;
    hints.window_group = m_leader;
    XSetWMHints(m_dpy, xid, &hints);
}

void X11HostProperties::SetTitle(::Window xid, const std::string& utf8) {
    XChangeProperty(m_dpy, xid, m_atoms[kNetWmName], m_atoms[kUtf8], 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), int(utf8.size()));
    char* list[] = {const_cast<char*>(utf8.c_str())};
    XTextProperty name{};
    XICCEncodingStyle style = IsLatin1(utf8) ? XStringStyle : XCompoundTextStyle;
    if (Xutf8TextListToTextProperty(m_dpy, list, 1, style, &name) < 0 &&
        Xutf8TextListToTextProperty(m_dpy, list, 1, XUTF8StringStyle, &name) < 0)
        return;
    XSetWMName(m_dpy, xid, &name);
    XFree(name.value);
}

void X11HostProperties::SetIcon(::Window xid, int width, int height, const std::uint32_t* argb) {
    // Format-32 properties travel as longs, whatever their width.
    std::vector<unsigned long> data;
    for (const IconImage& image : TaskbarIcons(width, height, argb)) {
        data.push_back(unsigned(image.width));
        data.push_back(unsigned(image.height));
        data.insert(data.end(), image.argb.begin(), image.argb.end());
    }
    XChangeProperty(m_dpy, xid, m_atoms[kNetWmIcon], XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(data.data()), int(data.size()));
}

bool X11HostProperties::IsCloseRequest(const XClientMessageEvent& e) const {
    return e.message_type == m_atoms[kProtocols] && Atom(e.data.l[0]) == m_atoms[kDeleteWindow];
}

bool X11HostProperties::AnswerPing(const XClientMessageEvent& e) {
    if (e.message_type != m_atoms[kProtocols] || Atom(e.data.l[0]) != m_atoms[kPing])
        return false;
    XEvent reply{};
    reply.xclient = e;
    reply.xclient.window = m_root;
    XSendEvent(m_dpy, m_root, False, SubstructureNotifyMask | SubstructureRedirectMask, &reply);
    XFlush(m_dpy);
    return true;
}

} // namespace platform::x11
