// The push button: pressed while the mouse is held on it (or Space is down), clicked when
// released over it; owner-drawn buttons leave their look to the parent (WM_DRAWITEM).
#include "platform/stdwin/ButtonWindow.h"

#include "platform/gdi/SavedDC.h"
#include "platform/stdwin/StdWinCommon.h"
#include "platform/stdwin/StdWinPrivate.h"

namespace platform::stdwin {

namespace {

// The low word of the style names the button's kind.
constexpr std::intptr_t kKindBits = 0xFFFF;

struct ButtonState : ControlState {
    bool pushed = false;   // drawn pressed
    bool tracking = false; // mouse button held after a press on us
    bool spaceDown = false;
};

bool IsOwnerDraw(HWND hwnd) {
    return (GetWindowLongPtr(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

bool IsDefault(HWND hwnd) {
    return (GetWindowLongPtr(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

void SetPushed(HWND hwnd, ButtonState& s, bool pushed) {
    if (s.pushed == pushed)
        return;
    s.pushed = pushed;
    InvalidateRect(hwnd, nullptr, false);
}

void Click(HWND hwnd) {
    NotifyParent(hwnd, BN_CLICKED);
}

void Paint(HWND hwnd, ButtonState& s) {
    PaintScope paint(hwnd);
    HDC dc = paint.dc;
    if (!dc)
        return;
    Rect client = paint.client;
    bool enabled = IsWindowEnabled(hwnd);
    bool focused = GetFocus() == hwnd;
    if (IsOwnerDraw(hwnd)) {
        DRAWITEMSTRUCT di;
        di.CtlType = ODT_BUTTON;
        di.CtlID = UINT(GetDlgCtrlID(hwnd));
        di.itemAction = ODA_DRAWENTIRE;
        di.itemState = (s.pushed ? ODS_SELECTED : 0) | (focused ? ODS_FOCUS : 0) |
                       (enabled ? 0 : ODS_DISABLED);
        di.hwndItem = hwnd;
        di.hDC = dc;
        di.rcItem = client;
        // The parent draws it: whatever it sets on the context stays in its drawing.
        gdi::SavedDC saved(*dc);
        SendMessage(GetParent(hwnd), WM_DRAWITEM, WPARAM(di.CtlID), reinterpret_cast<LPARAM>(&di));
        return;
    }
    Rect r = client;
    if (IsDefault(hwnd) || focused) {
        dc->FrameRect(r, SysBrush(gdi::COLOR_WINDOWFRAME));
        r = Inflate(r, -1);
    }
    DrawButtonFrame(*dc, r, s.pushed);
    dc->FillRect(r, SysBrush(gdi::COLOR_BTNFACE));
    dc->SetFont(s.font);
    dc->SetBkMode(gdi::TRANSPARENT);
    Rect text = client;
    if (s.pushed)
        text = Rect{text.left + 1, text.top + 1, text.right + 1, text.bottom + 1};
    std::string caption = GetWindowText(hwnd);
    unsigned flags = gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE;
    if (enabled) {
        dc->SetTextColor(gdi::GetSysColor(gdi::COLOR_BTNTEXT));
        dc->DrawText(caption, text, flags);
    } else {
        Rect shifted{text.left + 1, text.top + 1, text.right + 1, text.bottom + 1};
        dc->SetTextColor(gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT));
        dc->DrawText(caption, shifted, flags);
        dc->SetTextColor(gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
        dc->DrawText(caption, text, flags);
    }
    if (focused)
        dc->DrawFocusRect(Inflate(client, -4));
}

void SetStyle(HWND hwnd, WPARAM style, bool redraw) {
    auto old = GetWindowLongPtr(hwnd, GWL_STYLE);
    SetWindowLongPtr(hwnd, GWL_STYLE, (old & ~kKindBits) | std::intptr_t(style & kKindBits));
    if (redraw)
        InvalidateRect(hwnd, nullptr, false);
}

unsigned StateBits(HWND hwnd, const ButtonState& s) {
    return (s.pushed ? BST_PUSHED : 0) | (GetFocus() == hwnd ? BST_FOCUS : 0);
}

bool ContainsPoint(HWND hwnd, LPARAM lParam) {
    Rect c;
    GetClientRect(hwnd, c);
    return c.Contains(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

Answer WindowMessage(HWND hwnd, ButtonState& s, const Message& m) {
    switch (m.msg) {
    case WM_PAINT:
        Paint(hwnd, s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (m.msg == WM_KILLFOCUS && s.spaceDown) {
            s.spaceDown = false;
            SetPushed(hwnd, s, false);
        }
        InvalidateRect(hwnd, nullptr, false);
        return 0;
    case WM_ENABLE:
    case WM_SETTEXT: {
        LRESULT r = DefWindowProc(hwnd, m.msg, m.wParam, m.lParam);
        InvalidateRect(hwnd, nullptr, false);
        return r;
    }
    default:
        return std::nullopt;
    }
}

Answer MouseMessage(HWND hwnd, ButtonState& s, const Message& m) {
    switch (m.msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus(hwnd);
        if (!IsWindow(hwnd))
            return 0;
        SetCapture(hwnd);
        s.tracking = true;
        SetPushed(hwnd, s, true);
        return 0;
    case WM_MOUSEMOVE:
        if (s.tracking)
            SetPushed(hwnd, s, ContainsPoint(hwnd, m.lParam));
        return 0;
    case WM_LBUTTONUP:
        if (s.tracking) {
            // The release point decides, not the last move seen: a press dragged off and let go
            // before any move arrived is no click.
            bool click = s.pushed && ContainsPoint(hwnd, m.lParam);
            s.tracking = false;
            SetPushed(hwnd, s, false);
            ReleaseCapture();
            if (click && IsWindow(hwnd))
                Click(hwnd);
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (s.tracking) {
            s.tracking = false;
            SetPushed(hwnd, s, false);
        }
        return 0;
    default:
        return std::nullopt;
    }
}

// Space pushes the button while it is held and clicks it when let go.
Answer KeyMessage(HWND hwnd, ButtonState& s, const Message& m) {
    if (m.wParam != VK_SPACE)
        return std::nullopt;
    if (m.msg == WM_KEYDOWN && !s.spaceDown) {
        s.spaceDown = true;
        SetPushed(hwnd, s, true);
        return 0;
    }
    if (m.msg == WM_KEYUP && s.spaceDown) {
        s.spaceDown = false;
        SetPushed(hwnd, s, false);
        Click(hwnd);
        return 0;
    }
    return std::nullopt;
}

// The BM_ messages: what ButtonWindow offers, by message.
Answer ButtonMessage(HWND hwnd, ButtonState& s, const Message& m) {
    switch (m.msg) {
    case BM_CLICK:
        Click(hwnd);
        return 0;
    case BM_GETSTATE:
        return StateBits(hwnd, s);
    case BM_SETSTATE:
        SetPushed(hwnd, s, m.wParam != 0);
        return 0;
    case BM_SETSTYLE:
        SetStyle(hwnd, m.wParam, m.lParam != 0);
        return 0;
    default:
        return std::nullopt;
    }
}

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static constexpr Family<ButtonState> kFamilies[] = {FontFamily<ButtonState>, WindowMessage,
                                                        MouseMessage, KeyMessage, ButtonMessage};
    return DispatchFamilies(hwnd, Message{msg, wParam, lParam}, kFamilies);
}

} // namespace

void RegisterButtonClass(WindowManager& wm) {
    RegisterStandardClass(wm, WC_BUTTON, ButtonProc, CS_DBLCLKS);
}

// --- The typed calls ---------------------------------------------------------------------------

void ButtonWindow::SetStyle(DWORD style, bool redraw) {
    if (StateOf<ButtonState>(m_hwnd))
        stdwin::SetStyle(m_hwnd, style, redraw);
}

unsigned ButtonWindow::State() const {
    const ButtonState* s = StateOf<ButtonState>(m_hwnd);
    return s ? StateBits(m_hwnd, *s) : 0;
}

void ButtonWindow::SetPushed(bool pushed) {
    if (ButtonState* s = StateOf<ButtonState>(m_hwnd))
        stdwin::SetPushed(m_hwnd, *s, pushed);
}

void ButtonWindow::Click() {
    if (StateOf<ButtonState>(m_hwnd))
        stdwin::Click(m_hwnd);
}

} // namespace platform::stdwin
