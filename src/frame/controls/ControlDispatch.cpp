// The one place where window messages are unpacked: TControl::Dispatch turns a TMessage into its
// typed record and calls the handler, one function per family of messages.
#include <utility>

#include "frame/controls/TControl.h"
#include "platform/display/WindowApi.h"

namespace frame {

using namespace platform;

TShiftState KeyboardShiftState() {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0)
        s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        s.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0)
        s.Include(ssAlt);
    return s;
}

namespace {

TShiftState MouseShift(WPARAM keys) {
    TShiftState s;
    if (keys & MK_SHIFT)
        s.Include(ssShift);
    if (keys & MK_CONTROL)
        s.Include(ssCtrl);
    if (keys & MK_LBUTTON)
        s.Include(ssLeft);
    if (keys & MK_RBUTTON)
        s.Include(ssRight);
    if (keys & MK_MBUTTON)
        s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0)
        s.Include(ssAlt);
    return s;
}

TWMMouse Mouse(TMessage& m, TMouseButton button, bool doubleClick) {
    return TWMMouse{m, TPoint{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)}, MouseShift(m.wParam),
                    button, doubleClick};
}

TShiftState Unpack(LPARAM l) {
    return TShiftState::FromMask(static_cast<uint32_t>(l));
}

bool IsSystemKey(UINT msg) {
    return msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP || msg == WM_SYSCHAR;
}

TWMKey Key(TMessage& m, UINT base) {
    return TWMKey{m, static_cast<uint16_t>(m.wParam), KeyboardShiftState(), IsSystemKey(base)};
}

TWMChar Char(TMessage& m, UINT base) {
    return TWMChar{m, static_cast<char32_t>(m.wParam), KeyboardShiftState(), IsSystemKey(base)};
}

// WM_SYSCOMMAND's low four bits are the system's own.
constexpr unsigned kSysCommandMask = 0xFFF0u;

} // namespace

void TControl::Dispatch(TMessage& m) {
    if (DispatchMouse(m) || DispatchKey(m) || DispatchWindow(m) || DispatchReflected(m) ||
        DispatchNotice(m))
        return;
    DefaultHandler(m);
}

bool TControl::DispatchMouse(TMessage& m) {
    switch (m.msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
        bool dbl =
            m.msg == WM_LBUTTONDBLCLK || m.msg == WM_RBUTTONDBLCLK || m.msg == WM_MBUTTONDBLCLK;
        TMouseButton button = (m.msg == WM_LBUTTONDOWN || m.msg == WM_LBUTTONDBLCLK)   ? mbLeft
                              : (m.msg == WM_RBUTTONDOWN || m.msg == WM_RBUTTONDBLCLK) ? mbRight
                                                                                       : mbMiddle;
        if (dbl && !m_controlStyle.Contains(csDoubleClicks)) {
            // A control without double clicks gets the second press as a press.
            m.msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
            dbl = false;
        }
        TWMMouse t = Mouse(m, button, dbl);
        WMMouseDown(t);
        return true;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        TMouseButton button = m.msg == WM_LBUTTONUP   ? mbLeft
                              : m.msg == WM_RBUTTONUP ? mbRight
                                                      : mbMiddle;
        TWMMouse t = Mouse(m, button, false);
        WMMouseUp(t);
        return true;
    }
    case WM_MOUSEMOVE: {
        TWMMouse t = Mouse(m, mbLeft, false);
        WMMouseMove(t);
        return true;
    }
    case WM_MOUSEWHEEL: {
        TWMMouseWheel t{m, TPoint{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)},
                        MouseShift(WPARAM(LOWORD(m.wParam))), GET_WHEEL_DELTA_WPARAM(m.wParam)};
        WMMouseWheel(t);
        return true;
    }
    default:
        return false;
    }
}

// Key messages and their CN_ previews (offered before translation).
bool TControl::DispatchKey(TMessage& m) {
    const bool preview = m.msg >= CN_BASE && m.msg < CN_BASE + 0x400;
    const UINT base = preview ? m.msg - CN_BASE : m.msg;
    using KeyHandler = void (TControl::*)(TWMKey&);
    using CharHandler = void (TControl::*)(TWMChar&);
    KeyHandler onKey = nullptr;
    CharHandler onChar = nullptr;
    switch (base) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        onKey = preview ? &TControl::CNKeyDown : &TControl::WMKeyDown;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        onKey = preview ? &TControl::CNKeyUp : &TControl::WMKeyUp;
        break;
    case WM_CHAR:
    case WM_SYSCHAR:
        onChar = preview ? &TControl::CNChar : &TControl::WMChar;
        break;
    default:
        return false;
    }
    if (onKey) {
        TWMKey t = Key(m, base);
        (this->*onKey)(t);
    } else {
        TWMChar t = Char(m, base);
        (this->*onChar)(t);
    }
    return true;
}

// The window's own life: focus, painting, geometry, activation, commands, timers, help.
bool TControl::DispatchWindow(TMessage& m) {
    switch (m.msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        TWMFocus t{m, reinterpret_cast<HWND>(m.wParam)};
        if (m.msg == WM_SETFOCUS)
            WMSetFocus(t);
        else
            WMKillFocus(t);
        return true;
    }
    case WM_PAINT: {
        TWMPaint t{m, reinterpret_cast<HDC>(m.wParam)};
        WMPaint(t);
        return true;
    }
    case WM_ERASEBKGND: {
        TWMEraseBkgnd t{m, reinterpret_cast<HDC>(m.wParam)};
        WMEraseBkgnd(t);
        return true;
    }
    case WM_SIZE: {
        TWMSize t{m, LOWORD(WPARAM(m.lParam)), HIWORD(WPARAM(m.lParam))};
        WMSize(t);
        return true;
    }
    case WM_MOVE: {
        TWMMove t{m, GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
        WMMove(t);
        return true;
    }
    default:
        return DispatchActivation(m);
    }
}

bool TControl::DispatchActivation(TMessage& m) {
    switch (m.msg) {
    case WM_ACTIVATE: {
        TWMActivate t{m, LOWORD(m.wParam), HIWORD(m.wParam) != 0, reinterpret_cast<HWND>(m.lParam)};
        WMActivate(t);
        return true;
    }
    case WM_ACTIVATEAPP: {
        TWMActivateApp t{m, m.wParam != 0};
        WMActivateApp(t);
        return true;
    }
    case WM_SYSCOMMAND: {
        TWMSysCommand t{m, unsigned(m.wParam) & kSysCommandMask};
        WMSysCommand(t);
        return true;
    }
    case WM_TIMER: {
        TWMTimer t{m, m.wParam};
        WMTimer(t);
        return true;
    }
    case WM_HELP: {
        TWMHelp t{m, reinterpret_cast<HELPINFO*>(m.lParam)};
        WMHelp(t);
        return true;
    }
    default:
        return false;
    }
}

// Notifications from child windows (WM_*) and those reflected back to the child's control (CN_*).
bool TControl::DispatchReflected(TMessage& m) {
    const bool reflected = m.msg >= CN_BASE && m.msg < CN_BASE + 0x400;
    switch (reflected ? m.msg - CN_BASE : m.msg) {
    case WM_COMMAND: {
        TWMCommand t{m, LOWORD(m.wParam), int(std::int16_t(HIWORD(m.wParam))),
                     reinterpret_cast<HWND>(m.lParam)};
        reflected ? CNCommand(t) : WMCommand(t);
        return true;
    }
    case WM_NOTIFY: {
        TWMNotify t{m, int(m.wParam), reinterpret_cast<NMHDR*>(m.lParam)};
        reflected ? CNNotify(t) : WMNotify(t);
        return true;
    }
    case WM_DRAWITEM: {
        TWMDrawItem t{m, int(m.wParam), reinterpret_cast<DRAWITEMSTRUCT*>(m.lParam)};
        reflected ? CNDrawItem(t) : WMDrawItem(t);
        return true;
    }
    case WM_HSCROLL:
    case WM_VSCROLL: {
        TWMScroll t{m, LOWORD(m.wParam), int(std::int16_t(HIWORD(m.wParam))),
                    reinterpret_cast<HWND>(m.lParam)};
        if (m.msg == WM_HSCROLL)
            WMHScroll(t);
        else if (m.msg == WM_VSCROLL)
            WMVScroll(t);
        else if (m.msg == CN_HSCROLL)
            CNHScroll(t);
        else
            CNVScroll(t);
        return true;
    }
    default:
        return false;
    }
}

// The frame's notices and the plain window messages whose handlers take the message as it is.
bool TControl::DispatchNotice(TMessage& m) {
    using Handler = void (TControl::*)(TMessage&);
    static const std::pair<UINT, Handler> kPlain[] = {
        {WM_CLOSE, &TControl::WMClose},
        {WM_CANCELMODE, &TControl::WMCancelMode},
        {WM_CAPTURECHANGED, &TControl::WMCaptureChanged},
        {CM_ENABLEDCHANGED, &TControl::CMEnabledChanged},
        {CM_VISIBLECHANGED, &TControl::CMVisibleChanged},
        {CM_TEXTCHANGED, &TControl::CMTextChanged},
        {CM_COLORCHANGED, &TControl::CMColorChanged},
        {CM_FONTCHANGED, &TControl::CMFontChanged},
        {CM_PARENTCOLORCHANGED, &TControl::CMParentColorChanged},
        {CM_PARENTFONTCHANGED, &TControl::CMParentFontChanged},
        {CM_SHOWHINTCHANGED, &TControl::CMShowHintChanged},
        {CM_PARENTSHOWHINTCHANGED, &TControl::CMParentShowHintChanged},
        {CM_CTL3DCHANGED, &TControl::CMCtl3DChanged},
        {CM_PARENTCTL3DCHANGED, &TControl::CMParentCtl3DChanged},
        {CM_SHOWINGCHANGED, &TControl::CMShowingChanged},
        {CM_ENTER, &TControl::CMEnter},
        {CM_EXIT, &TControl::CMExit},
        {CM_CANCELMODE, &TControl::CMCancelMode},
        {CM_ACTIVATE, &TControl::CMActivate},
        {CM_DEACTIVATE, &TControl::CMDeactivate},
        {CM_RELEASE, &TControl::CMRelease},
    };
    for (const auto& [msg, handler] : kPlain) {
        if (msg == m.msg) {
            (this->*handler)(m);
            return true;
        }
    }
    return DispatchTypedNotice(m);
}

bool TControl::DispatchTypedNotice(TMessage& m) {
    switch (m.msg) {
    case CM_DIALOGKEY: {
        TCMDialogKey t{m, int(m.wParam), Unpack(m.lParam)};
        CMDialogKey(t);
        return true;
    }
    case CM_DIALOGCHAR: {
        TCMDialogChar t{m, char32_t(m.wParam), Unpack(m.lParam)};
        CMDialogChar(t);
        return true;
    }
    case CM_FOCUSCHANGED: {
        TCMFocusChanged t{m, reinterpret_cast<TWinControl*>(m.lParam)};
        CMFocusChanged(t);
        return true;
    }
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
        TCMMouse t{m, m.lParam ? reinterpret_cast<TControl*>(m.lParam) : this};
        if (m.msg == CM_MOUSEENTER)
            CMMouseEnter(t);
        else
            CMMouseLeave(t);
        return true;
    }
    case CM_HINTSHOW: {
        TCMHintShow t{m, reinterpret_cast<THintInfo*>(m.lParam)};
        CMHintShow(t);
        return true;
    }
    case CM_HINTSHOWPAUSE: {
        TCMHintShowPause t{m, m.wParam != 0, reinterpret_cast<int*>(m.lParam)};
        CMHintShowPause(t);
        return true;
    }
    default:
        return false;
    }
}

} // namespace frame
