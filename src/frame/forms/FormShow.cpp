// A form on the screen: showing and hiding with placement, activation, closing with its close
// actions, release, and the help key.
#include "frame/controls/ControlBridge.h"
#include "frame/forms/TApplication.h"
#include "frame/forms/TCustomForm.h"
#include "frame/forms/TFormAccessible.h"
#include "frame/forms/TScreen.h"
#include "platform/a11y/Accessibility.h"
#include "platform/display/WindowApi.h"
#include "platform/help/Help.h"
#include "rtl/Exception.h"
#include "rtl/ScopeExit.h"

namespace frame {

using namespace platform;

void TCustomForm::ShowForm() {
    SetVisible(true);
    BringToFront();
}

void TCustomForm::ShowAsDialogOf(TCustomForm* opener) {
    HWND of = opener && opener != this && opener->HandleAllocated() ? opener->Handle() : nullptr;
    SetWindowModal(Handle(), false, of);
    ShowForm();
}

void TCustomForm::HideForm() {
    SetVisible(false);
}

void TCustomForm::BringToFront() {
    if (m_handle && m_showing)
        SetWindowPos(m_handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TCustomForm::SetVisible(bool value) {
    if (m_formState.Contains(fsCreating)) {
        // Read from the stream: shown once the form is made.
        if (value)
            m_formState.Include(fsVisiblePending);
        else
            m_formState.Exclude(fsVisiblePending);
        return;
    }
    if (value && !Visible())
        MoveToDefaultMonitor();
    TWinControl::SetVisible(value);
}

void TCustomForm::VisibleChanging() {
    if (m_formState.Contains(fsShowing))
        throw rtl::EInvalidOperation(std::string("Cannot change Visible in OnShow or OnHide"));
}

void TCustomForm::DoShow() {
    RaiseReported(OnShow);
}

void TCustomForm::DoHide() {
    RaiseReported(OnHide);
}

void TCustomForm::CMShowingChanged(TMessage& m) {
    if (m_formState.Contains(fsShowing))
        throw rtl::EInvalidOperation(std::string("Cannot change Visible in OnShow or OnHide"));
    m_formState.Include(fsShowing);
    TAlive alive(this);
    rtl::ScopeExit shown([this, &alive] {
        if (alive)
            m_formState.Exclude(fsShowing);
    });
    if (m_showing) {
        DoShow();
        if (!alive)
            return;
        ApplyPlacement();
        ApplyWindowIcon();
        static const int commands[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
        ShowWindow(m_handle, commands[m_windowState]);
    } else {
        DoHide();
        if (!alive)
            return;
        if (m_formState.Contains(fsModal))
            SetWindowPos(m_handle, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        else
            ShowWindow(m_handle, SW_HIDE);
    }
    if (Application)
        Application->UpdateVisible();
    AccessibleFormShown(*this, m_showing);
    DefaultHandler(m);
}

void TCustomForm::HideWindow() {
    m_visible = false;
    if (!m_handle || !m_showing)
        return;
    m_showing = false;
    TMessage m{CM_SHOWINGCHANGED, 0, 0, 0};
    try {
        CMShowingChanged(m);
    } catch (...) {
        HandleException(this);
    }
}

// The desktop shows the form's own icon (a form without one shows the application's).
void TCustomForm::ApplyWindowIcon() {
    if (m_icon->Empty())
        return;
    try {
        const auto& image = m_icon->Handle();
        SetWindowIcon(m_handle, image.Width(), image.Height(), image.Row(0));
    } catch (const rtl::Exception&) {
        // A broken icon leaves the form with the application's.
    }
}

void TCustomForm::ApplyPlacement() {
    if (m_position == poScreenCenter || m_position == poDesktopCenter) {
        // The screen is the monitor the user works on (the one with the pointer) when there
        // are several.
        TRect area =
            Screen ? (m_position == poScreenCenter ? Screen->CentringRect() : Screen->DesktopRect())
                   : TRect{};
        // Halved toward zero, then kept on the screen's top-left.
        int left = std::max(area.left + (area.Width() - m_width) / 2, 0);
        int top = std::max(area.top + (area.Height() - m_height) / 2, 0);
        SetBounds(left, top, m_width, m_height);
        if (m_position == poScreenCenter && Visible())
            MoveToDefaultMonitor();
    }
    m_position = poDesigned;
}

void TCustomForm::MoveToDefaultMonitor() {
    if (m_defaultMonitor == dmDesktop || !Application || !Application->PrimaryForm() || !Screen)
        return;
    TMonitor target;
    switch (m_defaultMonitor) {
    case dmMainForm:
        if (!Application->PrimaryForm()->HandleAllocated())
            return;
        target = Screen->MonitorOf(Application->PrimaryForm()->Handle());
        break;
    case dmActiveForm:
        if (!Screen->ActiveCustomForm() || !Screen->ActiveCustomForm()->HandleAllocated())
            return;
        target = Screen->MonitorOf(Screen->ActiveCustomForm()->Handle());
        break;
    default:
        target = Screen->Monitors(0);
        break;
    }
    if (!m_handle)
        return;
    TMonitor current = Screen->MonitorOf(m_handle);
    if (current.handle == target.handle)
        return;
    if (m_position == poScreenCenter) {
        SetBounds(target.bounds.left + (target.bounds.Width() - m_width) / 2,
                  target.bounds.top + (target.bounds.Height() - m_height) / 2, m_width, m_height);
        return;
    }
    int left = m_left + target.bounds.left - current.bounds.left;
    int top = m_top + target.bounds.top - current.bounds.top;
    left = std::min(left, target.bounds.right - m_width);
    top = std::min(top, target.bounds.bottom - m_height);
    SetBounds(left, top, m_width, m_height);
}

// ---------------------------------------------------------------------------------------------
// Activation

void TCustomForm::WMActivate(TWMActivate& m) {
    m_active = m.state != WA_INACTIVE;
    if (AccessibilityListening())
        platform::a11y::NotifyWindowActivated(*Accessible(), m_active);
    if (m_active && Screen)
        Screen->SetFocusedForm(this);
    TWinControl::WMActivate(m);
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
    if (Screen && !HasState(csDestroying))
        Screen->SetFocusedControl(this, control);
    return TWinControl::SetFocusedControl(control);
}

void TCustomForm::Activated() {
    RaiseReported(OnActivate);
}

void TCustomForm::Deactivated() {
    RaiseReported(OnDeactivate);
}

void TCustomForm::CMActivate(TMessage& m) {
    DefaultHandler(m);
}

void TCustomForm::CMDeactivate(TMessage& m) {
    DefaultHandler(m);
}

// A form's caption is its window's title, which the window manager draws: nothing in the client
// area shows it, so a new caption repaints nothing (a whole form at device scale, charts and all).
void TCustomForm::CMTextChanged(TMessage& m) {
    DefaultHandler(m);
}

// ---------------------------------------------------------------------------------------------
// Closing

bool TCustomForm::QueryClose() {
    bool canClose = true;
    OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
    OnClose(this, action);
}

void TCustomForm::CloseForm() {
    if (m_formState.Contains(fsModal)) {
        m_modalResult = mrCancel;
        return;
    }
    TAlive alive(this);
    if (!QueryClose() || !alive)
        return;
    TCloseAction action = m_formStyle == fsMDIChild
                              ? (m_borderIcons.Contains(biMinimize) ? caMinimize : caNone)
                              : caHide;
    DoClose(action);
    if (!alive || action == caNone)
        return;
    if (Application && Application->PrimaryForm() == this)
        Application->RequestTerminate();
    else if (action == caHide)
        HideForm();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else if (action == caFree)
        ReleaseForm();
}

void TCustomForm::ReleaseForm() {
    PostMessage(Handle(), CM_RELEASE);
}

void TCustomForm::CMRelease(TMessage&) {
    BeforeDestruction();
    delete this;
}

void TCustomForm::WMClose(TMessage&) {
    CloseForm();
}

void TCustomForm::WMSysCommand(TWMSysCommand& m) {
    if (m.command == SC_MINIMIZE && Application && Application->PrimaryForm() == this) {
        Application->Minimize();
        return;
    }
    DefaultHandler(m.message);
}

// ---------------------------------------------------------------------------------------------
// The help key

void TCustomForm::WMHelp(TWMHelp& m) {
    if (!m.info || m.info->iContextType != HELPINFO_WINDOW || !Application)
        return;
    TWinControl* control = nullptr;
    for (HWND h = m.info->hItemHandle; h && !control; h = GetAncestor(h, GA_PARENT))
        control = FindControl(h);
    TControl* c = control;
    while (c && c->HelpContext() == 0)
        c = c->Parent();
    if (!c)
        return;
    int32_t context = c->HelpContext();
    if (m_borderIcons.Contains(biHelp)) {
        TPoint p = c->ClientToScreen(TPoint{0, 0});
        Application->SendHelpCommand(help::HELP_SETPOPUP_POS, intptr_t(MAKELPARAM(p.x, p.y)));
        Application->SendHelpCommand(help::HELP_CONTEXTPOPUP, context);
    } else {
        Application->ShowHelpContext(context);
    }
}

} // namespace frame
