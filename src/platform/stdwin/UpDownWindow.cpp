// The up-down: two arrow buttons that step a whole number within a range and, with an integer
// buddy, write it into the buddy's text (which the buddy reports as EN_CHANGE). Each step is
// first offered to the parent (WM_NOTIFY UDN_DELTAPOS, non-zero refuses it) and then reported
// with WM_VSCROLL or WM_HSCROLL (SB_THUMBPOSITION and the new position).
#include <algorithm>
#include <cstdlib>
#include <map>

#include "platform/stdwin/StdWinCommon.h"
#include "platform/stdwin/StdWinPrivate.h"
#include "rtl/FormatSettings.h"

namespace platform::stdwin {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;

struct UpDownState : ControlState {
    int lower = 0;
    int upper = 100;
    int pos = 0;
    int increment = 1;
    HWND buddy = nullptr;
    int pressed = 0; // +1 upper/right half held, -1 lower/left half held
    bool tracking = false;
};

std::map<HWND, HWND>& Buddies() {
    static std::map<HWND, HWND> buddies; // buddy -> up-down
    return buddies;
}

DWORD Style(HWND hwnd) {
    return DWORD(GetWindowLongPtr(hwnd, GWL_STYLE));
}

std::string PositionText(HWND hwnd, int pos) {
    std::string digits = std::to_string(std::abs(static_cast<long long>(pos)));
    std::string sep = rtl::FormatSettings().ThousandSeparator;
    if (!(Style(hwnd) & UDS_NOTHOUSANDS) && !sep.empty()) {
        std::string grouped;
        int n = int(digits.size());
        for (int i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0)
                grouped += sep;
            grouped.push_back(digits[std::size_t(i)]);
        }
        digits = grouped;
    }
    return pos < 0 ? "-" + digits : digits;
}

// The buddy's number, read past grouping separators; false when its text is not a number.
bool ReadBuddy(HWND buddy, int& value) {
    std::string text = GetWindowText(buddy);
    std::string digits;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if ((c >= '0' && c <= '9') || (c == '-' && digits.empty()))
            digits.push_back(c);
        else if (c == ' ' || c == ',' || c == '.' || (static_cast<unsigned char>(c) >= 0x80))
            continue; // a grouping separator
        else
            return false;
    }
    if (digits.empty() || digits == "-" || digits.size() > 11)
        return false;
    long long v = std::atoll(digits.c_str());
    if (v < -2147483647LL || v > 2147483647LL)
        return false;
    value = int(v);
    return true;
}

void WriteBuddy(HWND hwnd, UpDownState& s) {
    if (s.buddy && IsWindow(s.buddy) && (Style(hwnd) & UDS_SETBUDDYINT))
        SetWindowText(s.buddy, PositionText(hwnd, s.pos));
}

int Clamp(const UpDownState& s, int v) {
    int lo = std::min(s.lower, s.upper), hi = std::max(s.lower, s.upper);
    return std::clamp(v, lo, hi);
}

void PlaceBesideBuddy(HWND hwnd, UpDownState& s) {
    DWORD style = Style(hwnd);
    if (!s.buddy || !(style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)))
        return;
    HWND parent = GetParent(hwnd);
    if (GetParent(s.buddy) != parent)
        return;
    Rect b, me;
    GetWindowRect(s.buddy, b);
    GetWindowRect(hwnd, me);
    Point tl{b.left, b.top};
    ScreenToClient(parent, tl);
    int x = (style & UDS_ALIGNRIGHT) ? tl.x + b.Width() : tl.x - me.Width();
    MoveWindow(hwnd, x, tl.y, me.Width(), b.Height());
}

// One step up (+1) or down (-1), as a click or an arrow key makes it.
void Step(HWND hwnd, int direction) {
    UpDownState* s = State<UpDownState>(hwnd);
    if (!s)
        return;
    // A number typed into the buddy is where the step starts.
    int current = s->pos;
    if (s->buddy && IsWindow(s->buddy) && (Style(hwnd) & UDS_SETBUDDYINT)) {
        int typed;
        if (ReadBuddy(s->buddy, typed))
            current = typed;
    }
    bool inverted = s->lower > s->upper;
    int delta = direction * s->increment * (inverted ? -1 : 1);
    long long next = (long long)current + delta;
    int lo = std::min(s->lower, s->upper), hi = std::max(s->lower, s->upper);
    if (next > hi)
        next = (Style(hwnd) & UDS_WRAP) ? lo : hi;
    else if (next < lo)
        next = (Style(hwnd) & UDS_WRAP) ? hi : lo;
    if (int(next) == current) {
        s->pos = current; // at the end of the range: nothing happens
        return;
    }
    NMUPDOWN nm;
    nm.hdr.hwndFrom = hwnd;
    nm.hdr.idFrom = UINT_PTR(GetDlgCtrlID(hwnd));
    nm.hdr.code = UDN_DELTAPOS;
    nm.iPos = current;
    nm.iDelta = int(next) - current;
    HWND parent = GetParent(hwnd);
    if (SendMessage(parent, WM_NOTIFY, WPARAM(nm.hdr.idFrom), reinterpret_cast<LPARAM>(&nm)))
        return;
    if (!(s = State<UpDownState>(hwnd)))
        return;
    s->pos = int(next);
    WriteBuddy(hwnd, *s);
    if (!IsWindow(hwnd))
        return;
    UINT scroll = (Style(hwnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
    SendMessage(parent, scroll, MAKEWPARAM(SB_THUMBPOSITION, s->pos),
                reinterpret_cast<LPARAM>(hwnd));
}

void Paint(HWND hwnd, UpDownState& s) {
    PaintScope paint(hwnd);
    HDC dc = paint.dc;
    if (!dc)
        return;
    Rect c = paint.client;
    bool enabled = IsWindowEnabled(hwnd);
    if (Style(hwnd) & UDS_HORZ) {
        int mid = c.Width() / 2;
        DrawArrowButton(*dc, Rect{c.left, c.top, c.left + mid, c.bottom}, Arrow::Left,
                        s.pressed < 0, enabled);
        DrawArrowButton(*dc, Rect{c.left + mid, c.top, c.right, c.bottom}, Arrow::Right,
                        s.pressed > 0, enabled);
    } else {
        int mid = c.Height() / 2;
        DrawArrowButton(*dc, Rect{c.left, c.top, c.right, c.top + mid}, Arrow::Up, s.pressed > 0,
                        enabled);
        DrawArrowButton(*dc, Rect{c.left, c.top + mid, c.right, c.bottom}, Arrow::Down,
                        s.pressed < 0, enabled);
    }
}

int HalfAt(HWND hwnd, Point p) {
    Rect c;
    GetClientRect(hwnd, c);
    if (!c.Contains(p))
        return 0;
    if (Style(hwnd) & UDS_HORZ)
        return p.x >= c.Width() / 2 ? 1 : -1;
    return p.y < c.Height() / 2 ? 1 : -1;
}

void Detach(HWND hwnd, UpDownState& s) {
    if (s.buddy) {
        auto it = Buddies().find(s.buddy);
        if (it != Buddies().end() && it->second == hwnd)
            Buddies().erase(it);
    }
    s.buddy = nullptr;
}

LRESULT UpDownProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    UpDownState* s = State<UpDownState>(hwnd);
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
    case WM_DESTROY:
        Detach(hwnd, *s);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // A double click is two single steps.
        int half = HalfAt(hwnd, Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (!half)
            return 0;
        s->pressed = half;
        s->tracking = true;
        SetCapture(hwnd);
        InvalidateRect(hwnd, nullptr, false);
        Step(hwnd, half);
        if (IsWindow(hwnd))
            SetTimer(hwnd, kRepeatTimer, 400);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kRepeatTimer && s->tracking && s->pressed) {
            SetTimer(hwnd, kRepeatTimer, 80);
            Step(hwnd, s->pressed);
        }
        return 0;
    case WM_MOUSEMOVE:
        if (s->tracking) {
            int half = HalfAt(hwnd, Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            if (half != s->pressed) {
                s->pressed = half;
                InvalidateRect(hwnd, nullptr, false);
            }
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (s->tracking) {
            s->tracking = false;
            s->pressed = 0;
            KillTimer(hwnd, kRepeatTimer);
            InvalidateRect(hwnd, nullptr, false);
            if (msg == WM_LBUTTONUP)
                ReleaseCapture();
            UINT scroll = (Style(hwnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
            if (IsWindow(hwnd))
                SendMessage(GetParent(hwnd), scroll, MAKEWPARAM(SB_ENDSCROLL, s->pos),
                            reinterpret_cast<LPARAM>(hwnd));
        }
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, false);
        return 0;
    case kUpDownBuddyKey:
        if (!(Style(hwnd) & UDS_ARROWKEYS) || !IsWindowEnabled(hwnd))
            return 0;
        if (wParam == VK_UP || wParam == VK_DOWN) {
            Step(hwnd, wParam == VK_UP ? 1 : -1);
            return 1;
        }
        return 0;
    case UDM_SETRANGE:
        s->upper = int(std::int16_t(LOWORD(std::uintptr_t(lParam))));
        s->lower = int(std::int16_t(HIWORD(std::uintptr_t(lParam))));
        return 0;
    case UDM_SETRANGE32:
        s->lower = int(std::intptr_t(wParam));
        s->upper = int(lParam);
        return 0;
    case UDM_GETRANGE:
        return MAKELPARAM(s->upper, s->lower);
    case UDM_GETRANGE32:
        if (wParam)
            *reinterpret_cast<int*>(wParam) = s->lower;
        if (lParam)
            *reinterpret_cast<int*>(lParam) = s->upper;
        return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
        int old = s->pos;
        int v = msg == UDM_SETPOS ? int(std::int16_t(LOWORD(std::uintptr_t(lParam)))) : int(lParam);
        s->pos = Clamp(*s, v);
        WriteBuddy(hwnd, *s);
        return old;
    }
    case UDM_GETPOS:
    case UDM_GETPOS32: {
        bool error = false;
        if (s->buddy && IsWindow(s->buddy) && (Style(hwnd) & UDS_SETBUDDYINT)) {
            int typed;
            if (ReadBuddy(s->buddy, typed) && typed == Clamp(*s, typed))
                s->pos = typed;
            else
                error = true;
        }
        if (msg == UDM_GETPOS32) {
            if (lParam)
                *reinterpret_cast<int*>(lParam) = error ? 1 : 0;
            return s->pos;
        }
        return MAKELPARAM(s->pos, error ? 1 : 0);
    }
    case UDM_SETBUDDY: {
        HWND old = s->buddy;
        Detach(hwnd, *s);
        HWND buddy = reinterpret_cast<HWND>(wParam);
        if (buddy && IsWindow(buddy)) {
            s->buddy = buddy;
            Buddies()[buddy] = hwnd;
            PlaceBesideBuddy(hwnd, *s);
        }
        return reinterpret_cast<LRESULT>(old);
    }
    case UDM_GETBUDDY:
        return reinterpret_cast<LRESULT>(s->buddy);
    case UDM_SETACCEL:
        if (wParam > 0 && lParam) {
            s->increment = int(reinterpret_cast<const UDACCEL*>(lParam)[0].nInc);
            return 1;
        }
        return 0;
    case UDM_GETACCEL:
        if (wParam > 0 && lParam) {
            auto* accel = reinterpret_cast<UDACCEL*>(lParam);
            accel[0].nSec = 0;
            accel[0].nInc = UINT(s->increment);
        }
        return 1;
    default:
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

} // namespace

HWND UpDownForBuddy(HWND edit) {
    auto it = Buddies().find(edit);
    if (it == Buddies().end())
        return nullptr;
    if (!IsWindow(it->second)) {
        Buddies().erase(it);
        return nullptr;
    }
    return it->second;
}

void RegisterUpDownClass(WindowManager& wm) {
    RegisterStandardClass(wm, UPDOWN_CLASS, UpDownProc);
    // Buddies of a window manager that went away are no one's any more.
    Buddies().clear();
}

} // namespace platform::stdwin
