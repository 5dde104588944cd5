#pragma once
// What a desktop reads off each of our X windows to treat the program as one application: the
// client leader and window group, the machine and process, the protocols (closing and the window
// manager's ping), the title in both its encodings and the icon at a taskbar's sizes. Only the
// X11 backend includes this.
#include <cstdint>
#include <string>

#include <X11/Xlib.h>

namespace platform::x11 {

class X11HostProperties {
public:
    X11HostProperties(Display* dpy, ::Window root);
    ~X11HostProperties();
    X11HostProperties(const X11HostProperties&) = delete;
    X11HostProperties& operator=(const X11HostProperties&) = delete;

    // A new top-level window's identity: class, leader and group, machine and pid, protocols,
    // input hints.
    void Identify(::Window xid);
    // _NET_WM_NAME as UTF-8; WM_NAME as STRING when the title is Latin-1, else COMPOUND_TEXT.
    void SetTitle(::Window xid, const std::string& utf8);
    // _NET_WM_ICON from premultiplied ARGB pixels, at the sizes taskbars use.
    void SetIcon(::Window xid, int width, int height, const std::uint32_t* argb);
    // A close box's message (WM_DELETE_WINDOW).
    bool IsCloseRequest(const XClientMessageEvent& e) const;
    // The window manager asking whether we still answer (_NET_WM_PING): sent back to the root
    // window, as the window manager expects. True when `e` was a ping.
    bool AnswerPing(const XClientMessageEvent& e);

private:
    enum AtomIndex {
        kProtocols,
        kDeleteWindow,
        kPing,
        kClientLeader,
        kPid,
        kNetWmName,
        kUtf8,
        kNetWmIcon,
        kAtomCount
    };
    void SetCommonProperties(::Window xid);

    Display* m_dpy;
    ::Window m_root;
    ::Window m_leader = 0; // unmapped: the group's leader, holding what the group shares
    Atom m_atoms[kAtomCount] = {};
    std::string m_host;
};

} // namespace platform::x11
