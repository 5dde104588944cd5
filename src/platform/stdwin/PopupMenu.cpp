// The pop-up menu: a window of its own that draws and hit-tests the items, and a loop of its own
// that runs while it is up. The loop takes the keys before any window sees them (the focus stays
// where it was, so they would go there), and dispatches everything else as the application's
// loop would, so windows keep painting and timers keep running.
#include "platform/stdwin/PopupMenu.h"

#include <algorithm>

#include "platform/stdwin/StdWinCommon.h"
#include "platform/stdwin/StdWinPrivate.h"

namespace platform::stdwin {

namespace {

constexpr int kEdge = 3;      // the raised frame and a pixel of face inside it
constexpr int kTextLeft = 20; // the room a menu keeps for marks left of its captions
constexpr int kTextRight = 20;
constexpr int kItemPadding = 6; // above and below a caption together
constexpr int kSeparatorHeight = 8;
constexpr LRESULT kNoActivate = 3; // MA_NOACTIVATE: a click leaves the activation where it is
constexpr unsigned kCaptionFormat = gdi::DT_LEFT | gdi::DT_VCENTER | gdi::DT_SINGLELINE;

struct MenuState : ControlState {
    std::vector<MenuItem> items;
    std::vector<Rect> places; // each item's rectangle in the client area
    int hot = -1;             // the highlighted item
    int chosen = 0;
    bool done = false;
};

bool Choosable(const MenuItem& item) {
    return item.id != 0 && item.enabled;
}

// Lays the items out from the top and gives the menu's size.
Size LayOut(MenuState& s) {
    auto measure = gdi::DeviceContext::ForMeasure();
    measure->SetFont(s.font);
    int itemHeight = measure->GetTextMetrics().height + kItemPadding;
    int widest = 0;
    int y = kEdge;
    s.places.clear();
    for (const MenuItem& item : s.items) {
        int h = item.id ? itemHeight : kSeparatorHeight;
        s.places.push_back(Rect{kEdge, y, kEdge, y + h});
        y += h;
        if (item.id) {
            Rect r{0, 0, 0, 0};
            measure->DrawText(item.caption, r, kCaptionFormat | gdi::DT_CALCRECT);
            widest = std::max(widest, r.Width());
        }
    }
    int width = 2 * kEdge + kTextLeft + widest + kTextRight;
    for (Rect& r : s.places)
        r.right = width - kEdge;
    return Size{width, y + kEdge};
}

void PaintItem(gdi::DeviceContext& dc, const MenuItem& item, const Rect& r, bool hot) {
    if (!item.id) {
        int y = r.top + r.Height() / 2 - 1;
        dc.FillRect(Rect{r.left + 1, y, r.right - 1, y + 1}, SysBrush(gdi::COLOR_BTNSHADOW));
        dc.FillRect(Rect{r.left + 1, y + 1, r.right - 1, y + 2}, SysBrush(gdi::COLOR_BTNHIGHLIGHT));
        return;
    }
    if (hot)
        dc.FillRect(r, SysBrush(gdi::COLOR_HIGHLIGHT));
    Rect text{r.left + kTextLeft, r.top, r.right - kTextRight, r.bottom};
    if (item.enabled) {
        dc.SetTextColor(gdi::GetSysColor(hot ? gdi::COLOR_HIGHLIGHTTEXT : gdi::COLOR_MENUTEXT));
        dc.DrawText(item.caption, text, kCaptionFormat);
        return;
    }
    // Greyed: embossed, a light copy below and right of the shadow-coloured one.
    Rect light{text.left + 1, text.top + 1, text.right + 1, text.bottom + 1};
    dc.SetTextColor(gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT));
    dc.DrawText(item.caption, light, kCaptionFormat);
    dc.SetTextColor(gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
    dc.DrawText(item.caption, text, kCaptionFormat);
}

void PaintMenu(HWND hwnd, MenuState& s) {
    PaintScope paint(hwnd);
    HDC dc = paint.dc;
    if (!dc)
        return;
    dc->FillRect(paint.client, SysBrush(gdi::COLOR_MENU));
    dc->DrawEdge(paint.client, gdi::EDGE_RAISED, gdi::BF_RECT);
    dc->SetFont(s.font);
    dc->SetBkMode(gdi::TRANSPARENT);
    for (std::size_t i = 0; i < s.items.size() && i < s.places.size(); ++i)
        PaintItem(*dc, s.items[i], s.places[i], int(i) == s.hot);
}

void SetHot(HWND hwnd, MenuState& s, int i) {
    if (i == s.hot)
        return;
    s.hot = i;
    InvalidateRect(hwnd, nullptr, false);
}

// Highlights the next enabled item up (-1) or down (+1), round the ends; from none, the first
// or the last.
void MoveHot(HWND hwnd, MenuState& s, int step) {
    int n = int(s.items.size());
    int i = s.hot;
    for (int k = 0; k < n; ++k) {
        i = i < 0 ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
        if (Choosable(s.items[std::size_t(i)])) {
            SetHot(hwnd, s, i);
            return;
        }
    }
}

int ItemAt(const MenuState& s, Point p) {
    for (std::size_t i = 0; i < s.places.size(); ++i)
        if (s.places[i].Contains(p))
            return int(i);
    return -1;
}

void Choose(MenuState& s, int i) {
    s.chosen = s.items[std::size_t(i)].id;
    s.done = true;
}

Answer WindowMessage(HWND hwnd, MenuState& s, const Message& m) {
    switch (m.msg) {
    case WM_PAINT:
        PaintMenu(hwnd, s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return kNoActivate;
    case WM_CAPTURECHANGED:
        if (HWND(m.lParam) != hwnd)
            s.done = true; // the mouse was taken away: the menu goes
        return 0;
    default:
        return std::nullopt;
    }
}

Answer MouseMessage(HWND hwnd, MenuState& s, const Message& m) {
    Point p{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
    int i = ItemAt(s, p);
    bool onItem = i >= 0 && Choosable(s.items[std::size_t(i)]);
    switch (m.msg) {
    case WM_MOUSEMOVE:
        SetHot(hwnd, s, onItem ? i : -1);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        // A press outside dismisses the menu, and goes no further.
        Rect c;
        GetClientRect(hwnd, c);
        if (!c.Contains(p))
            s.done = true;
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (onItem)
            Choose(s, i);
        return 0;
    default:
        return std::nullopt;
    }
}

LRESULT MenuProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static constexpr Family<MenuState> kFamilies[] = {WindowMessage, MouseMessage};
    return DispatchFamilies(hwnd, Message{msg, wParam, lParam}, kFamilies);
}

bool IsKeyMessage(UINT msg) {
    return msg >= WM_KEYFIRST && msg <= WM_KEYLAST;
}

// A key while the menu is up, whichever window it was meant for: every key stops here.
void MenuKey(HWND hwnd, MenuState& s, const MSG& m) {
    if (m.message == WM_CHAR || m.message == WM_SYSCHAR) {
        char32_t c = FoldCase(char32_t(m.wParam));
        for (std::size_t i = 0; i < s.items.size(); ++i) {
            const MenuItem& item = s.items[i];
            if (Choosable(item) && FoldCase(AcceleratorOf(item.caption)) == c) {
                Choose(s, int(i));
                return;
            }
        }
        return;
    }
    if (m.message != WM_KEYDOWN && m.message != WM_SYSKEYDOWN)
        return;
    switch (m.wParam) {
    case VK_UP:
    case VK_DOWN:
        MoveHot(hwnd, s, m.wParam == VK_UP ? -1 : 1);
        break;
    case VK_HOME:
    case VK_END:
        s.hot = -1;
        MoveHot(hwnd, s, m.wParam == VK_HOME ? 1 : -1);
        break;
    case VK_RETURN:
        if (s.hot >= 0)
            Choose(s, s.hot);
        else
            s.done = true;
        break;
    case VK_ESCAPE:
        s.done = true;
        break;
    default:
        TranslateMessage(m); // a letter comes next as its character
        break;
    }
}

MenuState* Menu(HWND menu) {
    return IsWindow(menu) ? StateOf<MenuState>(menu) : nullptr;
}

// The menu's own loop, until it is done or has lost the focus's window or the mouse.
int RunMenu(HWND menu, HWND focus) {
    MSG m;
    for (;;) {
        MenuState* s = Menu(menu);
        if (!s || s->done || GetFocus() != focus || GetCapture() != menu)
            break;
        if (!GetMessage(m, nullptr, 0, 0)) {
            // Quitting ends the menu; the outer loop must still see the quit.
            PostQuitMessage(int(m.wParam));
            break;
        }
        if (IsKeyMessage(m.message))
            MenuKey(menu, *s, m);
        else
            DispatchMessage(m);
    }
    MenuState* s = Menu(menu);
    return s && s->done ? s->chosen : 0;
}

Point OnScreen(Point at, Size size) {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if (at.x + size.cx > width)
        at.x -= size.cx;
    if (at.y + size.cy > height)
        at.y -= size.cy;
    return Point{std::max(0, at.x), std::max(0, at.y)};
}

} // namespace

void RegisterPopupMenuClass(WindowManager& wm) {
    RegisterStandardClass(wm, WC_POPUPMENU, MenuProc, CS_SAVEBITS);
}

int TrackPopupMenu(const std::vector<MenuItem>& items, Point screen, HWND owner) {
    HWND focus = GetFocus();
    if (items.empty() || !IsWindow(owner) || !focus)
        return 0;
    HWND menu = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, WC_POPUPMENU,
                               "", WS_POPUP, 0, 0, 1, 1, GetAncestor(owner, GA_ROOT));
    MenuState* s = Menu(menu);
    if (!s)
        return 0;
    s->items = items;
    Size size = LayOut(*s);
    Point at = OnScreen(screen, size);
    SetWindowPos(menu, HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE);
    ShowWindow(menu, SW_SHOWNA);
    SetCapture(menu);
    int chosen = RunMenu(menu, focus);
    if (GetCapture() == menu)
        ReleaseCapture();
    DestroyWindow(menu);
    return chosen;
}

} // namespace platform::stdwin
