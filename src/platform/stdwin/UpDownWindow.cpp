// The up-down: two arrow buttons (and the arrow keys and the wheel in its buddy) that step a
// whole number within a range and, with an integer buddy, write it into the buddy's text (which
// the buddy reports as EN_CHANGE). Each step is first offered to the parent (WM_NOTIFY
// UDN_DELTAPOS, non-zero refuses it) and then reported with WM_VSCROLL or WM_HSCROLL
// (SB_THUMBPOSITION and the new position).
#include "platform/stdwin/UpDownWindow.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "platform/stdwin/StdWinCommon.h"
#include "platform/stdwin/StdWinPrivate.h"
#include "rtl/FormatSettings.h"

namespace platform::stdwin {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
// A held button steps again after this pause, then at this rate.
constexpr UINT kFirstRepeatMs = 400;
constexpr UINT kRepeatMs = 80;

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

// A turn of the wheel: a step per notch, away from the user up, each offered and reported as a
// click's.
void WheelSteps(HWND hwnd, int notches) {
    for (int i = 0; i < std::abs(notches) && IsWindowEnabled(hwnd); ++i)
        Step(hwnd, notches > 0 ? 1 : -1);
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

// --- What the messages and the typed calls do -------------------------------------------------

int SetPos(HWND hwnd, UpDownState& s, int pos) {
    int old = s.pos;
    s.pos = Clamp(s, pos);
    WriteBuddy(hwnd, s);
    return old;
}

// A number typed into the buddy within the range becomes the position; `error`: the buddy's
// text is not such a number.
int GetPos(HWND hwnd, UpDownState& s, bool& error) {
    error = false;
    if (s.buddy && IsWindow(s.buddy) && (Style(hwnd) & UDS_SETBUDDYINT)) {
        int typed;
        if (ReadBuddy(s.buddy, typed) && typed == Clamp(s, typed))
            s.pos = typed;
        else
            error = true;
    }
    return s.pos;
}

HWND SetBuddy(HWND hwnd, UpDownState& s, HWND buddy) {
    HWND old = s.buddy;
    Detach(hwnd, s);
    if (buddy && IsWindow(buddy)) {
        s.buddy = buddy;
        Buddies()[buddy] = hwnd;
        PlaceBesideBuddy(hwnd, s);
    }
    return old;
}

// --- Message families --------------------------------------------------------------------------

Answer WindowMessage(HWND hwnd, UpDownState& s, const Message& m) {
    switch (m.msg) {
    case WM_PAINT:
        Paint(hwnd, s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_DESTROY:
        Detach(hwnd, s);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, false);
        return 0;
    default:
        return std::nullopt;
    }
}

void EndTracking(HWND hwnd, UpDownState& s, bool released) {
    if (!s.tracking)
        return;
    s.tracking = false;
    s.pressed = 0;
    KillTimer(hwnd, kRepeatTimer);
    InvalidateRect(hwnd, nullptr, false);
    if (released)
        ReleaseCapture();
    UINT scroll = (Style(hwnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
    if (IsWindow(hwnd))
        SendMessage(GetParent(hwnd), scroll, MAKEWPARAM(SB_ENDSCROLL, s.pos),
                    reinterpret_cast<LPARAM>(hwnd));
}

Answer MouseMessage(HWND hwnd, UpDownState& s, const Message& m) {
    Point p{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
    switch (m.msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // A double click is two single steps.
        int half = HalfAt(hwnd, p);
        if (!half)
            return 0;
        s.pressed = half;
        s.tracking = true;
        SetCapture(hwnd);
        InvalidateRect(hwnd, nullptr, false);
        Step(hwnd, half);
        if (IsWindow(hwnd))
            SetTimer(hwnd, kRepeatTimer, kFirstRepeatMs);
        return 0;
    }
    case WM_TIMER:
        if (m.wParam == kRepeatTimer && s.tracking && s.pressed) {
            SetTimer(hwnd, kRepeatTimer, kRepeatMs);
            Step(hwnd, s.pressed);
        }
        return 0;
    case WM_MOUSEMOVE:
        if (s.tracking) {
            int half = HalfAt(hwnd, p);
            if (half != s.pressed) {
                s.pressed = half;
                InvalidateRect(hwnd, nullptr, false);
            }
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        EndTracking(hwnd, s, m.msg == WM_LBUTTONUP);
        return 0;
    case WM_MOUSEWHEEL:
        WheelSteps(hwnd, WheelNotches(m.wParam));
        return 0;
    default:
        return std::nullopt;
    }
}

// The UDM_ messages of the range and the position.
Answer PositionMessage(HWND hwnd, UpDownState& s, const Message& m) {
    switch (m.msg) {
    case UDM_SETRANGE:
        s.upper = int(std::int16_t(LOWORD(std::uintptr_t(m.lParam))));
        s.lower = int(std::int16_t(HIWORD(std::uintptr_t(m.lParam))));
        return 0;
    case UDM_SETRANGE32:
        s.lower = int(std::intptr_t(m.wParam));
        s.upper = int(m.lParam);
        return 0;
    case UDM_GETRANGE:
        return MAKELPARAM(s.upper, s.lower);
    case UDM_GETRANGE32:
        if (m.wParam)
            *reinterpret_cast<int*>(m.wParam) = s.lower;
        if (m.lParam)
            *reinterpret_cast<int*>(m.lParam) = s.upper;
        return 0;
    case UDM_SETPOS:
        return SetPos(hwnd, s, int(std::int16_t(LOWORD(std::uintptr_t(m.lParam)))));
    case UDM_SETPOS32:
        return SetPos(hwnd, s, int(m.lParam));
    case UDM_GETPOS:
    case UDM_GETPOS32: {
        bool error = false;
        int pos = GetPos(hwnd, s, error);
        if (m.msg == UDM_GETPOS)
            return MAKELPARAM(pos, error ? 1 : 0);
        if (m.lParam)
            *reinterpret_cast<int*>(m.lParam) = error ? 1 : 0;
        return pos;
    }
    default:
        return std::nullopt;
    }
}

// The UDM_ messages of the buddy and the step.
Answer BuddyMessage(HWND hwnd, UpDownState& s, const Message& m) {
    switch (m.msg) {
    case UDM_SETBUDDY:
        return reinterpret_cast<LRESULT>(SetBuddy(hwnd, s, reinterpret_cast<HWND>(m.wParam)));
    case UDM_GETBUDDY:
        return reinterpret_cast<LRESULT>(s.buddy);
    case UDM_SETACCEL:
        if (m.wParam > 0 && m.lParam) {
            s.increment = int(reinterpret_cast<const UDACCEL*>(m.lParam)[0].nInc);
            return 1;
        }
        return 0;
    case UDM_GETACCEL:
        if (m.wParam > 0 && m.lParam) {
            auto* accel = reinterpret_cast<UDACCEL*>(m.lParam);
            accel[0].nSec = 0;
            accel[0].nInc = UINT(s.increment);
        }
        return 1;
    default:
        return std::nullopt;
    }
}

LRESULT UpDownProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static constexpr Family<UpDownState> kFamilies[] = {
        FontFamily<UpDownState>, WindowMessage, MouseMessage, PositionMessage, BuddyMessage};
    return DispatchFamilies(hwnd, Message{msg, wParam, lParam}, kFamilies);
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

bool UpDownBuddyKey(HWND updown, WPARAM vk) {
    if (!StateOf<UpDownState>(updown) || !(Style(updown) & UDS_ARROWKEYS) ||
        !IsWindowEnabled(updown) || (vk != VK_UP && vk != VK_DOWN))
        return false;
    Step(updown, vk == VK_UP ? 1 : -1);
    return true;
}

bool UpDownBuddyWheel(HWND updown, int notches) {
    if (!StateOf<UpDownState>(updown) || !IsWindowEnabled(updown))
        return false;
    WheelSteps(updown, notches);
    return true;
}

// --- The typed calls ---------------------------------------------------------------------------

void UpDownWindow::SetRange(int lower, int upper) {
    if (UpDownState* s = StateOf<UpDownState>(m_hwnd)) {
        s->lower = lower;
        s->upper = upper;
    }
}

IntRange UpDownWindow::Range() const {
    UpDownState* s = StateOf<UpDownState>(m_hwnd);
    return s ? IntRange{s->lower, s->upper} : IntRange{};
}

int UpDownWindow::SetPos(int pos) {
    UpDownState* s = StateOf<UpDownState>(m_hwnd);
    return s ? stdwin::SetPos(m_hwnd, *s, pos) : 0;
}

int UpDownWindow::GetPos(bool* error) const {
    UpDownState* s = StateOf<UpDownState>(m_hwnd);
    bool failed = false;
    int pos = s ? stdwin::GetPos(m_hwnd, *s, failed) : 0;
    if (error)
        *error = failed;
    return pos;
}

HWND UpDownWindow::SetBuddy(HWND buddy) {
    UpDownState* s = StateOf<UpDownState>(m_hwnd);
    return s ? stdwin::SetBuddy(m_hwnd, *s, buddy) : nullptr;
}

HWND UpDownWindow::Buddy() const {
    UpDownState* s = StateOf<UpDownState>(m_hwnd);
    return s ? s->buddy : nullptr;
}

void UpDownWindow::SetIncrement(int increment) {
    if (UpDownState* s = StateOf<UpDownState>(m_hwnd))
        s->increment = increment;
}

int UpDownWindow::Increment() const {
    UpDownState* s = StateOf<UpDownState>(m_hwnd);
    return s ? s->increment : 0;
}

const NMUPDOWN* UpDownWindow::DeltaPos(const NMHDR* header) {
    return header && header->code == UDN_DELTAPOS ? reinterpret_cast<const NMUPDOWN*>(header)
                                                  : nullptr;
}

} // namespace platform::stdwin
