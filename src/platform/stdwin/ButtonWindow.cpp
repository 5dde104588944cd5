// The push button: pressed while the mouse is held on it (or Space is down), clicked when
// released over it; owner-drawn buttons leave their look to the parent (WM_DRAWITEM).
#include "platform/stdwin/StdWinCommon.h"
#include "platform/stdwin/StdWinPrivate.h"

namespace platform::stdwin {

namespace {

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
        int saved = dc->SaveDC();
        SendMessage(GetParent(hwnd), WM_DRAWITEM, WPARAM(di.CtlID), reinterpret_cast<LPARAM>(&di));
        dc->RestoreDC(saved);
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

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ButtonState* s = State<ButtonState>(hwnd);
    if (!s)
        return 0;
    LRESULT result = 0;
    if (HandleFont(hwnd, *s, msg, wParam, lParam, result))
        return result;
    switch (msg) {
    case WM_PAINT:
        Paint(hwnd, *s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus(hwnd);
        if (!IsWindow(hwnd))
            return 0;
        SetCapture(hwnd);
        s->tracking = true;
        SetPushed(hwnd, *s, true);
        return 0;
    case WM_MOUSEMOVE:
        if (s->tracking) {
            Rect c;
            GetClientRect(hwnd, c);
            SetPushed(hwnd, *s, c.Contains(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
        }
        return 0;
    case WM_LBUTTONUP:
        if (s->tracking) {
            // The release point decides, not the last move seen: a press dragged off and let go
            // before any move arrived is no click.
            Rect c;
            GetClientRect(hwnd, c);
            bool click = s->pushed && c.Contains(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            s->tracking = false;
            SetPushed(hwnd, *s, false);
            ReleaseCapture();
            if (click && IsWindow(hwnd))
                Click(hwnd);
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (s->tracking) {
            s->tracking = false;
            SetPushed(hwnd, *s, false);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !s->spaceDown) {
            s->spaceDown = true;
            SetPushed(hwnd, *s, true);
            return 0;
        }
        break;
    case WM_KEYUP:
        if (wParam == VK_SPACE && s->spaceDown) {
            s->spaceDown = false;
            SetPushed(hwnd, *s, false);
            Click(hwnd);
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (msg == WM_KILLFOCUS && s->spaceDown) {
            s->spaceDown = false;
            SetPushed(hwnd, *s, false);
        }
        InvalidateRect(hwnd, nullptr, false);
        return 0;
    case WM_ENABLE:
    case WM_SETTEXT: {
        LRESULT r = DefWindowProc(hwnd, msg, wParam, lParam);
        InvalidateRect(hwnd, nullptr, false);
        return r;
    }
    case BM_CLICK:
        Click(hwnd);
        return 0;
    case BM_GETSTATE:
        return (s->pushed ? BST_PUSHED : 0) | (GetFocus() == hwnd ? BST_FOCUS : 0);
    case BM_SETSTATE:
        SetPushed(hwnd, *s, wParam != 0);
        return 0;
    case BM_SETSTYLE: {
        auto style = GetWindowLongPtr(hwnd, GWL_STYLE);
        SetWindowLongPtr(hwnd, GWL_STYLE, (style & ~std::intptr_t(0xFFFF)) | (wParam & 0xFFFF));
        if (lParam)
            InvalidateRect(hwnd, nullptr, false);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

} // namespace

void RegisterButtonClass(WindowManager& wm) {
    RegisterStandardClass(wm, WC_BUTTON, ButtonProc, CS_DBLCLKS);
}

} // namespace platform::stdwin
