// The combo box's drop-down list: a pop-up that never takes the activation, highlights the item
// under the mouse, chooses it on release, and scrolls with its bar and the wheel.
#include <algorithm>

#include "platform/stdwin/ComboBoxState.h"

namespace platform::stdwin {

namespace {

constexpr int kScrollWidth = 16;
constexpr LRESULT kNoActivate = 3; // MA_NOACTIVATE: a click leaves the activation where it is

bool HasScrollBar(const ComboState& s) {
    return int(s.items.size()) > VisibleCount(s);
}

void PaintList(HWND list, ListState& l) {
    PaintScope paint(list);
    HDC dc = paint.dc;
    ComboState* s = IsWindow(l.combo) ? State<ComboState>(l.combo) : nullptr;
    if (!dc || !s)
        return;
    Rect c = paint.client;
    bool bar = HasScrollBar(*s);
    Rect items = c;
    if (bar)
        items.right -= kScrollWidth;
    dc->FillRect(items, SysBrush(gdi::COLOR_WINDOW));
    dc->SetFont(l.font);
    dc->SetBkMode(gdi::TRANSPARENT);
    int vis = VisibleCount(*s);
    for (int k = 0; k < vis; ++k) {
        int i = l.top + k;
        if (i >= int(s->items.size()))
            break;
        Rect r{items.left, items.top + k * s->itemHeight, items.right,
               items.top + (k + 1) * s->itemHeight};
        bool hot = i == l.hot;
        if (hot)
            dc->FillRect(r, SysBrush(gdi::COLOR_HIGHLIGHT));
        dc->SetTextColor(gdi::GetSysColor(hot ? gdi::COLOR_HIGHLIGHTTEXT : gdi::COLOR_WINDOWTEXT));
        Rect tr{r.left + 2, r.top, r.right, r.bottom};
        dc->DrawText(s->items[std::size_t(i)], tr,
                     gdi::DT_LEFT | gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX);
    }
    if (bar) {
        Rect sb{items.right, c.top, c.right, c.bottom};
        Rect up{sb.left, sb.top, sb.right, sb.top + kScrollWidth};
        Rect down{sb.left, sb.bottom - kScrollWidth, sb.right, sb.bottom};
        Rect track{sb.left, up.bottom, sb.right, down.top};
        dc->FillRect(track, SysBrush(gdi::COLOR_3DLIGHT));
        int n = int(s->items.size());
        int span = std::max(0, track.Height());
        int thumbH = std::max(8, span * vis / std::max(1, n));
        int thumbTop = track.top + (span - thumbH) * l.top / std::max(1, n - vis);
        Rect thumb{sb.left, thumbTop, sb.right, std::min(track.bottom, thumbTop + thumbH)};
        Rect tf = thumb;
        DrawButtonFrame(*dc, tf, false);
        dc->FillRect(tf, SysBrush(gdi::COLOR_BTNFACE));
        DrawArrowButton(*dc, up, Arrow::Up, false, true);
        DrawArrowButton(*dc, down, Arrow::Down, false, true);
    }
}

int ItemAt(HWND list, ListState& l, ComboState& s, Point p) {
    Rect c;
    GetClientRect(list, c);
    if (HasScrollBar(s))
        c.right -= kScrollWidth;
    if (!c.Contains(p))
        return -1;
    int i = l.top + (p.y - c.top) / std::max(1, s.itemHeight);
    return i < int(s.items.size()) ? i : -1;
}

// The combo box the list belongs to, while it is there.
ComboState* Combo(const ListState& l) {
    return IsWindow(l.combo) ? State<ComboState>(l.combo) : nullptr;
}

Answer WindowMessage(HWND hwnd, ListState& l, const Message& m) {
    switch (m.msg) {
    case WM_PAINT:
        PaintList(hwnd, l);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return kNoActivate;
    case WM_CAPTURECHANGED:
        if (ComboState* s = Combo(l); s && s->dropped && HWND(m.lParam) != hwnd)
            CloseList(l.combo, false);
        return 0;
    default:
        return std::nullopt;
    }
}

// A press on an item highlights it; one on the bar scrolls; one outside closes the list.
void Press(HWND hwnd, ListState& l, ComboState& s, Point p) {
    Rect c;
    GetClientRect(hwnd, c);
    if (!c.Contains(p)) {
        // A click outside the list (on the combo box's button too) closes it.
        CloseList(l.combo, false);
        return;
    }
    int i = ItemAt(hwnd, l, s, p);
    if (i >= 0) {
        l.hot = i;
        InvalidateRect(hwnd, nullptr, false);
        return;
    }
    if (HasScrollBar(s)) {
        int vis = VisibleCount(s);
        ScrollList(s, p.y < c.top + kScrollWidth       ? -1
                      : p.y >= c.bottom - kScrollWidth ? 1
                      : p.y < c.top + c.Height() / 2   ? -(vis - 1)
                                                       : vis - 1);
    }
}

Answer MouseMessage(HWND hwnd, ListState& l, const Message& m) {
    ComboState* s = Combo(l);
    Point p{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
    switch (m.msg) {
    case WM_MOUSEMOVE:
        if (int i = s ? ItemAt(hwnd, l, *s, p) : -1; i >= 0 && i != l.hot) {
            l.hot = i;
            InvalidateRect(hwnd, nullptr, false);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (s)
            Press(hwnd, l, *s, p);
        return 0;
    case WM_LBUTTONUP:
        if (int i = s ? ItemAt(hwnd, l, *s, p) : -1; i >= 0) {
            l.hot = i;
            CloseList(l.combo, true);
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (s && s->dropped)
            ScrollList(*s, WheelLines(m.wParam));
        return 0;
    default:
        return std::nullopt;
    }
}

} // namespace

LRESULT ComboListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static constexpr Family<ListState> kFamilies[] = {WindowMessage, MouseMessage};
    return DispatchFamilies(hwnd, Message{msg, wParam, lParam}, kFamilies);
}

} // namespace platform::stdwin
