// TWinControl's window: made on demand from CreateParams, bound to the control, shown and hidden
// with the control, destroyed with it.
#include "frame/controls/ControlBridge.h"
#include "frame/controls/TWinControl.h"
#include "platform/stdwin/StandardWindow.h"
#include "rtl/Exception.h"
#include "rtl/ScopeExit.h"

namespace frame {

using namespace platform;

namespace {

// The frame the window manager draws around a window it does not leave to the host (children,
// caption-less pop-ups); what ClientRect subtracts before the window exists.
int FrameInset(DWORD style, DWORD exStyle) {
    bool hostDecorated = !(style & WS_CHILD) && (style & WS_CAPTION) == WS_CAPTION;
    if (hostDecorated)
        return 0;
    int t = 0;
    if (exStyle & WS_EX_CLIENTEDGE)
        t += 2;
    if (exStyle & WS_EX_STATICEDGE)
        t += 1;
    if ((exStyle & WS_EX_DLGMODALFRAME) || (style & WS_DLGFRAME))
        t += 3;
    else if (style & WS_BORDER)
        t += 1;
    return t;
}

} // namespace

void TWinControl::CreateSubClass(TCreateParams& params, const std::string& className) {
    params.winClassName = className;
    params.subclassed = true;
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.caption = m_text;
    if (!m_parent && m_controlStyle.Contains(csTopLevelWindow))
        params.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    else
        params.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (!Enabled())
        params.style |= WS_DISABLED;
    if (m_tabStop)
        params.style |= WS_TABSTOP;
    params.x = m_left;
    params.y = m_top;
    params.width = m_width;
    params.height = m_height;
    params.winClassName = ClassName();
}

HWND TWinControl::Handle() {
    if (!m_handle) {
        if (m_parent)
            m_parent->HandleNeeded();
        if (!m_handle)
            CreateHandle();
    }
    return m_handle;
}

void TWinControl::CreateHandle() {
    if (m_handle)
        return;
    CreateWnd();
    // The children that are visible get their windows now, behind ours.
    for (size_t i = 0; i < m_controls.size(); ++i) {
        if (m_controls[i]->m_isWinControl)
            static_cast<TWinControl*>(m_controls[i])->UpdateShowing();
    }
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if (m_parent) {
        params.wndParent = m_parent->Handle();
        params.style = (params.style & ~DWORD(WS_POPUP)) | WS_CHILD;
    } else if (params.style & WS_CHILD) {
        throw rtl::EInvalidOperation("Control '%s' has no parent window", Name());
    }
    if (m_handle) // made while the parent's window was made
        return;
    if (!params.subclassed && !ClassRegistered(params.winClassName)) {
        WNDCLASS cls;
        cls.style = params.classStyle;
        cls.lpfnWndProc = &FrameWindowProc;
        cls.className = params.winClassName;
        if (!RegisterClass(cls))
            throw rtl::EOutOfResources(std::string("Error creating window class"));
    }
    m_subclassed = params.subclassed;
    CreateWindowHandle(params);
    if (!m_handle)
        throw rtl::EOutOfResources("Error creating window for '%s'", Name());
    if (m_subclassed)
        SendFontToWindow();
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
    HWND h = CreateFrameWindow(this, params);
    if (h && params.subclassed) {
        m_defWndProc = reinterpret_cast<WNDPROC>(GetWindowLongPtr(h, GWLP_WNDPROC));
        SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<std::intptr_t>(&FrameWindowProc));
        BindWindow(h, this);
    }
}

void TWinControl::DestroyHandle() {
    if (!m_handle)
        return;
    SetControlStateFlag(csDestroyingHandle, true);
    rtl::ScopeExit done([this] { SetControlStateFlag(csDestroyingHandle, false); });
    DestroyWnd();
}

void TWinControl::DestroyWnd() {
    HWND h = m_handle;
    if (!h)
        return;
    // The window goes without telling the control: only the default procedure sees it leave.
    UnbindWindow(h);
    if (m_subclassed && m_defWndProc)
        SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<std::intptr_t>(m_defWndProc));
    m_handle = nullptr;
    m_showing = false;
    m_defWndProc = nullptr;
    DestroyWindow(h);
}

void TWinControl::RecreateWnd() {
    if (!m_handle)
        return;
    DestroyHandle();
    UpdateControlState();
}

void TWinControl::UpdateShowing() {
    bool show = m_visible && !HasControlState(csReadingState) &&
                (m_parent || m_controlStyle.Contains(csTopLevelWindow));
    if (show) {
        if (!m_handle)
            CreateHandle();
        for (size_t i = 0; i < m_controls.size(); ++i) {
            if (m_controls[i]->m_isWinControl)
                static_cast<TWinControl*>(m_controls[i])->UpdateShowing();
        }
    }
    if (m_handle && m_showing != show) {
        m_showing = show;
        // A window that could not be shown (or hidden) keeps its old state.
        rtl::ScopeExit undo([this, show] { m_showing = !show; });
        Perform(CM_SHOWINGCHANGED);
        undo.Release();
    }
}

void TWinControl::UpdateControlState() {
    const TWinControl* c = this;
    while (c->m_parent) {
        c = c->m_parent;
        if (!c->Showing())
            return;
    }
    if (c->m_controlStyle.Contains(csTopLevelWindow))
        UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage& m) {
    if (m_handle)
        ShowWindow(m_handle, !m_showing ? SW_HIDE : m_parent ? SW_SHOWNA : SW_SHOW);
    DefaultHandler(m);
}

TRect TWinControl::ClientRect() const {
    TRect r;
    if (m_handle && GetClientRect(m_handle, r))
        return r;
    TCreateParams params;
    const_cast<TWinControl*>(this)->CreateParams(params);
    if (m_parent)
        params.style |= WS_CHILD;
    int inset = FrameInset(params.style, params.exStyle);
    return TRect{0, 0, std::max(m_width - 2 * inset, 0), std::max(m_height - 2 * inset, 0)};
}

TPoint TWinControl::ClientOrigin() const {
    TPoint p{0, 0};
    if (m_handle && platform::ClientToScreen(m_handle, p))
        return p;
    TPoint o = TControl::ClientOrigin();
    TRect c = ClientRect();
    int inset = (m_width - c.Width()) / 2;
    return TPoint{o.x + inset, o.y + inset};
}

void TWinControl::SendFontToWindow() {
    if (!m_handle)
        return;
    platform::stdwin::StandardWindow(m_handle).SetFont(Font()->Spec());
}

} // namespace frame
