// The CLIPBOARD selection for the edit boxes: owned through a window of our own, answered as
// UTF-8, STRING or TEXT, and read from another owner with a bounded wait.
#include <chrono>

#include "platform/display/X11Backend.h"
#include "platform/display/X11Keys.h"

// X headers last: their macros (None, True, Status ...) would upset ours.
#include <X11/Xatom.h>

namespace platform::x11 {

void X11Backend::SetClipboardText(const std::string& text) {
    m_clipboard = text;
    XSetSelectionOwner(m_dpy, m_atoms[kClipboard], m_selectionWindow, CurrentTime);
    m_ownClipboard = XGetSelectionOwner(m_dpy, m_atoms[kClipboard]) == m_selectionWindow;
    XFlush(m_dpy);
}

std::string X11Backend::ClipboardText() {
    if (m_ownClipboard)
        return m_clipboard;
    if (XGetSelectionOwner(m_dpy, m_atoms[kClipboard]) == 0)
        return {};
    XConvertSelection(m_dpy, m_atoms[kClipboard], m_atoms[kUtf8], m_atoms[kSelection],
                      m_selectionWindow, CurrentTime);
    XFlush(m_dpy);
    // Wait a bounded time for the owner's answer, leaving other events queued.
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000);
    XEvent e;
    while (std::chrono::steady_clock::now() < until) {
        if (XCheckTypedWindowEvent(m_dpy, m_selectionWindow, SelectionNotify, &e)) {
            if (e.xselection.property == 0)
                return {};
            return ReadProperty(m_selectionWindow, m_atoms[kSelection]);
        }
        WaitForConnection(10);
    }
    return {};
}

std::string X11Backend::ReadProperty(::Window w, Atom property) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string out;
    if (XGetWindowProperty(m_dpy, w, property, 0, 1 << 24, True, AnyPropertyType, &type, &format,
                           &count, &after, &data) == Success &&
        data && format == 8)
        out.assign(reinterpret_cast<char*>(data), count);
    if (data)
        XFree(data);
    return out;
}

bool X11Backend::HandleSelectionEvent(const XEvent& e) {
    switch (e.type) {
    case SelectionRequest:
        AnswerSelection(e.xselectionrequest);
        return true;
    case SelectionClear:
        if (e.xselectionclear.selection == m_atoms[kClipboard])
            m_ownClipboard = false;
        return true;
    default:
        return false;
    }
}

void X11Backend::AnswerSelection(const XSelectionRequestEvent& req) {
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = req.requestor;
    reply.xselection.selection = req.selection;
    reply.xselection.target = req.target;
    reply.xselection.time = req.time;
    reply.xselection.property = 0;
    Atom property = req.property ? req.property : req.target;
    if (req.selection == m_atoms[kClipboard] && m_ownClipboard) {
        if (req.target == m_atoms[kTargets]) {
            Atom targets[] = {m_atoms[kTargets], m_atoms[kUtf8], XA_STRING, m_atoms[kText]};
            XChangeProperty(m_dpy, req.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(targets), 4);
            reply.xselection.property = property;
        } else if (req.target == m_atoms[kUtf8] || req.target == XA_STRING ||
                   req.target == m_atoms[kText]) {
            Atom type = req.target == XA_STRING ? XA_STRING : m_atoms[kUtf8];
            // STRING is Latin-1: what it cannot carry becomes a question mark.
            std::string bytes = m_clipboard;
            if (req.target == XA_STRING) {
                bytes.clear();
                for (char32_t c : DecodeUtf8(m_clipboard.data(), int(m_clipboard.size())))
                    bytes.push_back(c < 0x100 ? char(c) : '?');
            }
            XChangeProperty(m_dpy, req.requestor, property, type, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(bytes.data()),
                            int(bytes.size()));
            reply.xselection.property = property;
        }
    }
    XSendEvent(m_dpy, req.requestor, False, 0, &reply);
    XFlush(m_dpy);
}

} // namespace platform::x11
