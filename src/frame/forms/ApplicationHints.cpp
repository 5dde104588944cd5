// Hints: a control under the mouse with ShowHint gets its hint shown after a pause, hidden after
// a while; moving to another hinted control while one is up shows the next at once.
#include "frame/controls/ControlBridge.h"
#include "frame/forms/TApplication.h"
#include "frame/forms/THintWindow.h"
#include "platform/display/WindowApi.h"

namespace frame {

using namespace platform;

namespace {

enum { kShowMode = 0, kHideMode = 1 };

void HintTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    try {
        if (Application)
            Application->HintTimerExpired();
    } catch (...) {
        HandleException(Application);
    }
}

// The first control from `control` up whose ShowHint is on.
TControl* HintTarget(TControl* control) {
    while (control && !control->ShowHint())
        control = control->Parent();
    return control;
}

// The hint text of a control: its own, else the first parent's that has one.
std::string HintOf(TControl* control) {
    for (TControl* c = control; c; c = c->Parent()) {
        if (!c->Hint().empty())
            return c->Hint();
    }
    return std::string();
}

// How far below the hot spot the arrow cursor reaches.
int CursorHeightBelowHotSpot() {
    return GetSystemMetrics(SM_CYCURSOR);
}

} // namespace

void TApplication::SetHintsEnabled(bool value) {
    if (m_hintsEnabled == value)
        return;
    m_hintsEnabled = value;
    if (value) {
        m_hintWindow = new THintWindow(this);
        m_hintWindow->SetColor(m_hintColor);
    } else {
        CancelHint();
        THintWindow* window = m_hintWindow;
        m_hintWindow = nullptr;
        if (window) {
            RemoveComponent(window);
            delete window;
        }
    }
}

void TApplication::SetHintBackColor(TColor value) {
    m_hintColor = value;
    if (m_hintWindow)
        m_hintWindow->SetColor(value);
}

void TApplication::HintMouseMessage(TControl* control, TPoint client) {
    if (!m_hintsEnabled)
        return;
    TPoint screen = control->ClientToScreen(client);
    TControl* target = HintTarget(FindControlAtPos(screen, true));
    if (!target) {
        CancelHint();
        return;
    }
    if (target == m_hintControl && m_hintCursorRect.Contains(screen))
        return;
    int pause = m_hintActive ? m_hintShortPause : m_hintPause;
    TControl::TAlive alive(target);
    target->Perform(CM_HINTSHOWPAUSE, m_hintActive ? 1 : 0, reinterpret_cast<LPARAM>(&pause));
    if (!alive)
        return;
    if (!m_hintActive || pause != 0) {
        bool wasActive = m_hintActive;
        CancelHint();
        m_hintActive = wasActive;
        m_hintControl = target;
        StartHintTimer(pause, kShowMode);
    } else {
        m_hintControl = target;
        ShowHintAt(screen);
    }
}

void TApplication::StartHintTimer(int ms, int mode) {
    StopHintTimer();
    m_hintTimerMode = mode;
    m_hintTimer = SetTimer(nullptr, 0, UINT(std::max(ms, 1)), &HintTimerProc);
    if (!m_hintTimer)
        CancelHint();
}

void TApplication::StopHintTimer() {
    if (m_hintTimer) {
        KillTimer(nullptr, m_hintTimer);
        m_hintTimer = 0;
    }
}

void TApplication::HintTimerExpired() {
    StopHintTimer();
    if (m_hintTimerMode == kShowMode) {
        TPoint p;
        GetCursorPos(p);
        ShowHintAt(p);
    } else {
        HideHint();
    }
}

void TApplication::ShowHintAt(TPoint cursor) {
    m_hintActive = false;
    if (!m_hintsEnabled || !m_hintControl || !m_hintWindow || !m_active)
        return;
    if (HintTarget(FindControlAtPos(cursor, true)) != m_hintControl)
        return;
    TControl* control = m_hintControl;
    THintInfo info;
    info.hintControl = control;
    info.hintPos = TPoint{cursor.x, cursor.y + CursorHeightBelowHotSpot()};
    info.hintMaxWidth = GetSystemMetrics(SM_CXSCREEN);
    info.hintColor = m_hintColor;
    info.cursorRect = control->ClientRect();
    info.cursorPos = control->ScreenToClient(cursor);
    info.hintStr = GetShortHint(HintOf(control));
    info.hideTimeout = m_hintHidePause;
    info.hintWindowClass = THintWindow::StaticClass();
    TControl::TAlive alive(control);
    bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
    if (!alive || m_hintControl != control)
        return;
    if (canShow && OnShowHint)
        OnShowHint(info.hintStr, canShow, info);
    if (!canShow || info.hintStr.empty()) {
        if (info.reshowTimeout >= 1)
            StartHintTimer(info.reshowTimeout, kShowMode);
        else
            CancelHint();
        return;
    }
    TRect r = m_hintWindow->CalcHintRect(info.hintMaxWidth, info.hintStr);
    r = TRect{r.left + info.hintPos.x, r.top + info.hintPos.y, r.right + info.hintPos.x,
              r.bottom + info.hintPos.y};
    TPoint topLeft = control->ClientToScreen(TPoint{info.cursorRect.left, info.cursorRect.top});
    m_hintCursorRect = TRect{topLeft.x, topLeft.y, topLeft.x + info.cursorRect.Width(),
                             topLeft.y + info.cursorRect.Height()};
    m_hintWindow->SetColor(info.hintColor);
    m_hintWindow->ActivateHint(r, info.hintStr);
    m_hintActive = true;
    if (info.reshowTimeout >= 1)
        StartHintTimer(info.reshowTimeout, kShowMode);
    else
        StartHintTimer(info.hideTimeout, kHideMode);
}

void TApplication::HideHint() {
    if (m_hintWindow && m_hintWindow->IsHintShowing())
        ShowWindow(m_hintWindow->Handle(), SW_HIDE);
}

void TApplication::CancelHint() {
    if (!m_hintControl)
        return;
    HideHint();
    m_hintControl = nullptr;
    m_hintActive = false;
    StopHintTimer();
}

bool TApplication::HintCheck(const MSG& msg) {
    if (m_hintWindow && m_hintWindow->IsHintShowing() && THintWindow::IsHintMsg(msg))
        CancelHint();
    return false;
}

} // namespace frame
