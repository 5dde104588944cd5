// The one place where window messages are unpacked: TControl::Dispatch turns a TMessage into its
// typed record and calls the handler.
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

} // namespace

void TControl::Dispatch(TMessage& m) {
    const UINT base = m.msg >= CN_BASE && m.msg < CN_BASE + 0x400 ? m.msg - CN_BASE : m.msg;
    const bool reflected = base != m.msg;
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
        return;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        TMouseButton button = m.msg == WM_LBUTTONUP   ? mbLeft
                              : m.msg == WM_RBUTTONUP ? mbRight
                                                      : mbMiddle;
        TWMMouse t = Mouse(m, button, false);
        WMMouseUp(t);
        return;
    }
    case WM_MOUSEMOVE: {
        TWMMouse t = Mouse(m, mbLeft, false);
        WMMouseMove(t);
        return;
    }
    case WM_MOUSEWHEEL: {
        TWMMouseWheel t{m, TPoint{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)},
                        MouseShift(WPARAM(LOWORD(m.wParam))), GET_WHEEL_DELTA_WPARAM(m.wParam)};
        WMMouseWheel(t);
        return;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        TWMKey t = Key(m, base);
        WMKeyDown(t);
        return;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        TWMKey t = Key(m, base);
        WMKeyUp(t);
        return;
    }
    case WM_CHAR:
    case WM_SYSCHAR: {
        TWMChar t = Char(m, base);
        WMChar(t);
        return;
    }
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: {
        TWMKey t = Key(m, base);
        CNKeyDown(t);
        return;
    }
    case CN_KEYUP:
    case CN_SYSKEYUP: {
        TWMKey t = Key(m, base);
        CNKeyUp(t);
        return;
    }
    case CN_CHAR:
    case CN_SYSCHAR: {
        TWMChar t = Char(m, base);
        CNChar(t);
        return;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        TWMFocus t{m, reinterpret_cast<HWND>(m.wParam)};
        if (m.msg == WM_SETFOCUS)
            WMSetFocus(t);
        else
            WMKillFocus(t);
        return;
    }
    case WM_PAINT: {
        TWMPaint t{m, reinterpret_cast<HDC>(m.wParam)};
        WMPaint(t);
        return;
    }
    case WM_ERASEBKGND: {
        TWMEraseBkgnd t{m, reinterpret_cast<HDC>(m.wParam)};
        WMEraseBkgnd(t);
        return;
    }
    case WM_SIZE: {
        TWMSize t{m, LOWORD(WPARAM(m.lParam)), HIWORD(WPARAM(m.lParam))};
        WMSize(t);
        return;
    }
    case WM_MOVE: {
        TWMMove t{m, GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
        WMMove(t);
        return;
    }
    case WM_COMMAND:
    case CN_COMMAND: {
        TWMCommand t{m, LOWORD(m.wParam), int(std::int16_t(HIWORD(m.wParam))),
                     reinterpret_cast<HWND>(m.lParam)};
        if (reflected)
            CNCommand(t);
        else
            WMCommand(t);
        return;
    }
    case WM_NOTIFY:
    case CN_NOTIFY: {
        TWMNotify t{m, int(m.wParam), reinterpret_cast<NMHDR*>(m.lParam)};
        if (reflected)
            CNNotify(t);
        else
            WMNotify(t);
        return;
    }
    case WM_DRAWITEM:
    case CN_DRAWITEM: {
        TWMDrawItem t{m, int(m.wParam), reinterpret_cast<DRAWITEMSTRUCT*>(m.lParam)};
        if (reflected)
            CNDrawItem(t);
        else
            WMDrawItem(t);
        return;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
    case CN_HSCROLL:
    case CN_VSCROLL: {
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
        return;
    }
    case WM_ACTIVATE: {
        TWMActivate t{m, LOWORD(m.wParam), HIWORD(m.wParam) != 0, reinterpret_cast<HWND>(m.lParam)};
        WMActivate(t);
        return;
    }
    case WM_ACTIVATEAPP: {
        TWMActivateApp t{m, m.wParam != 0};
        WMActivateApp(t);
        return;
    }
    case WM_SYSCOMMAND: {
        TWMSysCommand t{m, unsigned(m.wParam) & 0xFFF0u};
        WMSysCommand(t);
        return;
    }
    case WM_CLOSE:
        WMClose(m);
        return;
    case WM_TIMER: {
        TWMTimer t{m, m.wParam};
        WMTimer(t);
        return;
    }
    case WM_HELP: {
        TWMHelp t{m, reinterpret_cast<HELPINFO*>(m.lParam)};
        WMHelp(t);
        return;
    }
    case WM_CANCELMODE:
        WMCancelMode(m);
        return;
    case WM_CAPTURECHANGED:
        WMCaptureChanged(m);
        return;
    case CM_ENABLEDCHANGED:
        CMEnabledChanged(m);
        return;
    case CM_VISIBLECHANGED:
        CMVisibleChanged(m);
        return;
    case CM_TEXTCHANGED:
        CMTextChanged(m);
        return;
    case CM_COLORCHANGED:
        CMColorChanged(m);
        return;
    case CM_FONTCHANGED:
        CMFontChanged(m);
        return;
    case CM_PARENTCOLORCHANGED:
        CMParentColorChanged(m);
        return;
    case CM_PARENTFONTCHANGED:
        CMParentFontChanged(m);
        return;
    case CM_SHOWHINTCHANGED:
        CMShowHintChanged(m);
        return;
    case CM_PARENTSHOWHINTCHANGED:
        CMParentShowHintChanged(m);
        return;
    case CM_CTL3DCHANGED:
        CMCtl3DChanged(m);
        return;
    case CM_PARENTCTL3DCHANGED:
        CMParentCtl3DChanged(m);
        return;
    case CM_SHOWINGCHANGED:
        CMShowingChanged(m);
        return;
    case CM_DIALOGKEY: {
        TCMDialogKey t{m, int(m.wParam), Unpack(m.lParam)};
        CMDialogKey(t);
        return;
    }
    case CM_DIALOGCHAR: {
        TCMDialogChar t{m, char32_t(m.wParam), Unpack(m.lParam)};
        CMDialogChar(t);
        return;
    }
    case CM_FOCUSCHANGED: {
        TCMFocusChanged t{m, reinterpret_cast<TWinControl*>(m.lParam)};
        CMFocusChanged(t);
        return;
    }
    case CM_ENTER:
        CMEnter(m);
        return;
    case CM_EXIT:
        CMExit(m);
        return;
    case CM_CANCELMODE:
        CMCancelMode(m);
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
        TCMMouse t{m, m.lParam ? reinterpret_cast<TControl*>(m.lParam) : this};
        if (m.msg == CM_MOUSEENTER)
            CMMouseEnter(t);
        else
            CMMouseLeave(t);
        return;
    }
    case CM_HINTSHOW: {
        TCMHintShow t{m, reinterpret_cast<THintInfo*>(m.lParam)};
        CMHintShow(t);
        return;
    }
    case CM_HINTSHOWPAUSE: {
        TCMHintShowPause t{m, m.wParam != 0, reinterpret_cast<int*>(m.lParam)};
        CMHintShowPause(t);
        return;
    }
    case CM_ACTIVATE:
        CMActivate(m);
        return;
    case CM_DEACTIVATE:
        CMDeactivate(m);
        return;
    case CM_RELEASE:
        CMRelease(m);
        return;
    default:
        DefaultHandler(m);
        return;
    }
}

} // namespace frame
