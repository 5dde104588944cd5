// A form shown modally: the other windows are disabled, the application's loop runs until the
// form has a modal result, and everything is put back however the loop ends — also when the
// form itself goes away during it.
#include "frame/controls/ControlBridge.h"
#include "frame/forms/TApplication.h"
#include "frame/forms/TCustomForm.h"
#include "frame/forms/TScreen.h"
#include "frame/forms/WindowDisabler.h"
#include "platform/display/WindowApi.h"
#include "rtl/Exception.h"
#include "rtl/ScopeExit.h"

namespace frame {

using namespace platform;

namespace {

// What a modal loop puts back: the screen's cursor and focused form, the windows it disabled, the
// window that was active. It lives outside the form, which may be freed meanwhile.
class TModalScope {
public:
    explicit TModalScope(TCustomForm* form) {
        m_activeWindow = GetActiveWindow();
        if (Screen) {
            Screen->PushFocusedForm(form);
            m_cursor = Screen->Cursor();
            Screen->SetCursor(crDefault);
            m_cursorCount = Screen->CursorCount();
        }
        m_disabler = std::make_unique<TWindowDisabler>(form->Handle());
        // The desktop keeps the form above the one that opened it, as its modal dialog.
        m_form = form->Handle();
        SetWindowModal(m_form, true,
                       Application ? Application->DialogOwner(m_activeWindow) : m_activeWindow);
    }
    ~TModalScope() {
        if (IsWindow(m_form))
            SetWindowModal(m_form, false, nullptr);
        if (Screen) {
            Screen->SetCursor(Screen->CursorCount() == m_cursorCount ? m_cursor : crDefault);
        }
        m_disabler.reset();
        if (Screen)
            Screen->PopFocusedForm();
        if (m_activeWindow && IsWindow(m_activeWindow))
            SetActiveWindow(m_activeWindow);
    }
    void ForgetActiveWindow() { m_activeWindow = nullptr; }
    TModalScope(const TModalScope&) = delete;
    TModalScope& operator=(const TModalScope&) = delete;

private:
    HWND m_activeWindow = nullptr;
    HWND m_form = nullptr;
    TCursor m_cursor = crDefault;
    int m_cursorCount = 0;
    std::unique_ptr<TWindowDisabler> m_disabler;
};

} // namespace

TModalResult TCustomForm::ShowFormModal() {
    if (Visible() || !Enabled() || m_formState.Contains(fsModal) || m_formStyle == fsMDIChild)
        throw rtl::EInvalidOperation(std::string("Cannot make a visible window modal"));
    if (HWND capture = GetCapture()) {
        SendMessage(capture, WM_CANCELMODE);
        ReleaseCapture();
    }
    if (Application)
        Application->CancelHint();
    m_formState.Include(fsModal);
    TAlive alive(this);
    TModalResult result = mrCancel;
    {
        TModalScope scope(this);
        rtl::ScopeExit hideAfter([this, &alive] {
            if (alive) {
                HideWindow();
                m_formState.Exclude(fsModal);
            }
        });
        ShowForm();
        if (!alive)
            return mrCancel;
        Perform(CM_ACTIVATE);
        m_modalResult = mrNone;
        do {
            Application->PumpOne();
            if (!alive)
                return mrCancel; // released or destroyed: nothing of it is read any more
            if (Application->StopRequested())
                m_modalResult = mrCancel;
            else if (m_modalResult != mrNone)
                CloseModal();
            if (!alive)
                return mrCancel;
        } while (m_modalResult == mrNone);
        Perform(CM_DEACTIVATE);
        if (!alive)
            return mrCancel;
        if (GetActiveWindow() != m_handle)
            scope.ForgetActiveWindow();
        result = m_modalResult;
    }
    return result;
}

void TCustomForm::CloseModal() {
    try {
        TAlive alive(this);
        TCloseAction action = caNone;
        if (QueryClose()) {
            action = caHide;
            DoClose(action);
        }
        if (!alive)
            return;
        if (action == caNone)
            m_modalResult = mrNone;
        else if (action == caFree)
            ReleaseForm();
    } catch (...) {
        m_modalResult = mrNone;
        HandleException(this);
    }
}

} // namespace frame
