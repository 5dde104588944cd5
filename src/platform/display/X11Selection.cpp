// The selections of the edit boxes, both owned through a window of our own and answered as
// UTF-8, STRING or TEXT: CLIPBOARD with the text copied, PRIMARY with whatever the window that
// owns it has selected when someone asks. Another owner's text is read with a bounded wait.
#include <chrono>

#include "platform/display/WindowManager.h"
#include "platform/display/X11Backend.h"
#include "platform/display/X11Keys.h"

// X headers last: their macros (None, True, Status ...) would upset ours.
#include <X11/Xatom.h>

namespace platform::x11 {

namespace {

// How long another program may take to hand its selection over.
constexpr auto kReadTimeout = std::chrono::milliseconds(1000);

} // namespace

void X11Backend::SetClipboardText(const std::string& text) {
    m_clipboard = text;
    XSetSelectionOwner(m_dpy, m_atoms[kClipboard], m_selectionWindow, CurrentTime);
    m_ownClipboard = XGetSelectionOwner(m_dpy, m_atoms[kClipboard]) == m_selectionWindow;
    XFlush(m_dpy);
}

std::string X11Backend::ClipboardText() {
    return m_ownClipboard ? m_clipboard : ReadSelection(m_atoms[kClipboard]);
}

bool X11Backend::HasClipboardText() {
    if (m_ownClipboard)
        return !m_clipboard.empty();
    return XGetSelectionOwner(m_dpy, m_atoms[kClipboard]) != 0;
}

bool X11Backend::OwnPrimary(bool own) {
    if (own) {
        XSetSelectionOwner(m_dpy, XA_PRIMARY, m_selectionWindow, CurrentTime);
        m_ownPrimary = XGetSelectionOwner(m_dpy, XA_PRIMARY) == m_selectionWindow;
    } else if (m_ownPrimary) {
        m_ownPrimary = false;
        // Only our own claim is withdrawn: a program that has just taken it over keeps it.
        if (XGetSelectionOwner(m_dpy, XA_PRIMARY) == m_selectionWindow)
            XSetSelectionOwner(m_dpy, XA_PRIMARY, 0, CurrentTime);
    }
    XFlush(m_dpy);
    return m_ownPrimary;
}

std::string X11Backend::PrimaryText() {
    // Ours is the window manager's to answer; it asks here only when no window of ours owns it.
    return m_ownPrimary ? std::string() : ReadSelection(XA_PRIMARY);
}

std::string X11Backend::ReadSelection(Atom selection) {
    ::Window owner = XGetSelectionOwner(m_dpy, selection);
    if (owner == 0 || owner == m_selectionWindow)
        return {};
    XConvertSelection(m_dpy, selection, m_atoms[kUtf8], m_atoms[kSelection], m_selectionWindow,
                      CurrentTime);
    XFlush(m_dpy);
    // Wait a bounded time for the owner's answer, leaving other events queued.
    auto until = std::chrono::steady_clock::now() + kReadTimeout;
    XEvent e;
    while (std::chrono::steady_clock::now() < until) {
        if (XCheckTypedWindowEvent(m_dpy, m_selectionWindow, SelectionNotify, &e)) {
            if (e.xselection.selection != selection)
                continue; // the late answer to an earlier question
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
        LoseSelection(e.xselectionclear.selection);
        return true;
    default:
        return false;
    }
}

void X11Backend::LoseSelection(Atom selection) {
    // A claim of ours made after the one this notice ends keeps the selection ours.
    if (XGetSelectionOwner(m_dpy, selection) == m_selectionWindow)
        return;
    if (selection == m_atoms[kClipboard]) {
        m_ownClipboard = false;
    } else if (selection == XA_PRIMARY && m_ownPrimary) {
        m_ownPrimary = false;
        m_wm->HostPrimaryLost();
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
    bool clipboard = req.selection == m_atoms[kClipboard] && m_ownClipboard;
    bool primary = req.selection == XA_PRIMARY && m_ownPrimary;
    if (clipboard || primary) {
        if (req.target == m_atoms[kTargets]) {
            Atom targets[] = {m_atoms[kTargets], m_atoms[kUtf8], XA_STRING, m_atoms[kText]};
            XChangeProperty(m_dpy, req.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(targets), 4);
            reply.xselection.property = property;
        } else if (req.target == m_atoms[kUtf8] || req.target == XA_STRING ||
                   req.target == m_atoms[kText]) {
            std::string text = clipboard ? m_clipboard : m_wm->RenderPrimary();
            Atom type = req.target == XA_STRING ? XA_STRING : m_atoms[kUtf8];
            // STRING is Latin-1: what it cannot carry becomes a question mark.
            std::string bytes = text;
            if (req.target == XA_STRING) {
                bytes.clear();
                for (char32_t c : DecodeUtf8(text.data(), int(text.size())))
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
