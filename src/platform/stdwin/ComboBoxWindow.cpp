// The combo box: an edit field (drop-down kind) or a static field (drop-down list kind) with a
// button that drops a list down. The list is a top-level pop-up that never takes the activation;
// while it is down it holds the mouse capture, so a click anywhere else closes it.
//
// Notifications, as the frame relies on them: a selection made by the user (a click in the list,
// arrow keys) first puts the item's text into the field and then sends CBN_SELCHANGE; typing
// sends CBN_EDITUPDATE and CBN_EDITCHANGE; dropping sends CBN_DROPDOWN before the list is sized
// and shown; closing sends CBN_SELENDOK or CBN_SELENDCANCEL, then CBN_CLOSEUP, then (for a click
// on another item) CBN_SELCHANGE. A selection set by the program (CB_SETCURSEL) sends nothing.
#include <algorithm>
#include <vector>

#include "platform/stdwin/StdWinCommon.h"
#include "platform/stdwin/StdWinPrivate.h"

namespace platform::stdwin {

namespace {

constexpr int kEditId = 1001;
constexpr int kButtonWidth = 16;
constexpr int kScrollWidth = 16;

struct ComboState : ControlState {
    std::vector<std::string> items;
    int cursel = -1;
    int itemHeight = 16;
    int minVisible = 8;
    int limit = 0;
    HWND edit = nullptr;
    HWND list = nullptr;
    bool dropped = false;
    bool settingText = false;
};

struct ListState : ControlState {
    HWND combo = nullptr;
    int top = 0;
    int hot = -1;
};

bool IsDropDownList(HWND combo) {
    return (GetWindowLongPtr(combo, GWL_STYLE) & 3) == CBS_DROPDOWNLIST;
}

Rect ButtonRect(HWND combo) {
    Rect c;
    GetClientRect(combo, c);
    return Rect{c.right - 2 - kButtonWidth, c.top + 2, c.right - 2, c.bottom - 2};
}

Rect FieldRect(HWND combo) {
    Rect c;
    GetClientRect(combo, c);
    return Rect{c.left + 2, c.top + 2, ButtonRect(combo).left, c.bottom - 2};
}

int VisibleCount(const ComboState& s) {
    int n = int(s.items.size());
    return std::max(1, std::min(n, std::max(1, s.minVisible)));
}

void SetFieldText(HWND combo, ComboState& s, const std::string& text) {
    if (s.edit) {
        s.settingText = true;
        SetWindowText(s.edit, text);
        if (ComboState* again = State<ComboState>(combo)) {
            again->settingText = false;
            SendMessage(again->edit, EM_SETSEL, 0, -1);
        }
    }
    InvalidateRect(combo, nullptr, false);
}

void ListEnsureVisible(ComboState& s) {
    ListState* l = s.list ? State<ListState>(s.list) : nullptr;
    if (!l)
        return;
    int vis = VisibleCount(s);
    int n = int(s.items.size());
    if (l->hot >= 0) {
        if (l->hot < l->top)
            l->top = l->hot;
        if (l->hot >= l->top + vis)
            l->top = l->hot - vis + 1;
    }
    l->top = std::clamp(l->top, 0, std::max(0, n - vis));
    InvalidateRect(s.list, nullptr, false);
}

// A selection made by the user: the field shows the item, then the parent hears of it.
void SelectByUser(HWND combo, int index) {
    ComboState* s = State<ComboState>(combo);
    if (!s || index < 0 || index >= int(s->items.size()) || index == s->cursel)
        return;
    s->cursel = index;
    if (ListState* l = s->list ? State<ListState>(s->list) : nullptr) {
        l->hot = index;
        ListEnsureVisible(*s);
    }
    SetFieldText(combo, *s, s->items[std::size_t(index)]);
    if (IsWindow(combo))
        NotifyParent(combo, CBN_SELCHANGE);
}

void CloseList(HWND combo, bool accept) {
    ComboState* s = State<ComboState>(combo);
    if (!s || !s->dropped)
        return;
    s->dropped = false; // first, so that losing the capture below does not close twice
    int chosen = -1;
    if (ListState* l = s->list ? State<ListState>(s->list) : nullptr)
        chosen = l->hot;
    HWND list = s->list;
    if (GetCapture() == list)
        ReleaseCapture();
    ShowWindow(list, SW_HIDE);
    InvalidateRect(combo, nullptr, false);
    NotifyParent(combo, accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if (!IsWindow(combo))
        return;
    NotifyParent(combo, CBN_CLOSEUP);
    if (accept && IsWindow(combo))
        SelectByUser(combo, chosen);
}

void DropList(HWND combo) {
    ComboState* s = State<ComboState>(combo);
    if (!s || s->dropped)
        return;
    NotifyParent(combo, CBN_DROPDOWN);
    if (!(s = State<ComboState>(combo)))
        return;
    if (!s->list || !IsWindow(s->list)) {
        s->list = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, WC_COMBOLBOX,
                                 "", WS_POPUP | WS_BORDER, 0, 0, 10, 10, combo);
        if (!s->list)
            return;
        State<ListState>(s->list)->combo = combo;
    }
    ListState* l = State<ListState>(s->list);
    l->font = s->font;
    l->hot = s->cursel;
    l->top = 0;
    Rect wr;
    GetWindowRect(combo, wr);
    int height = VisibleCount(*s) * s->itemHeight + 2;
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int y = wr.bottom;
    if (y + height > screenHeight && wr.top - height >= 0)
        y = wr.top - height;
    SetWindowPos(s->list, HWND_TOPMOST, wr.left, y, wr.Width(), height, SWP_NOACTIVATE);
    ListEnsureVisible(*s);
    s->dropped = true;
    ShowWindow(s->list, SW_SHOWNA);
    SetCapture(s->list);
    InvalidateRect(combo, nullptr, false);
}

void MoveSelection(HWND combo, int delta) {
    ComboState* s = State<ComboState>(combo);
    int n = int(s->items.size());
    if (n == 0)
        return;
    int from = s->dropped && s->list ? State<ListState>(s->list)->hot : s->cursel;
    int to = from < 0 ? 0 : std::clamp(from + delta, 0, n - 1);
    SelectByUser(combo, to);
}

void PaintCombo(HWND combo, ComboState& s) {
    PaintScope paint(combo);
    HDC dc = paint.dc;
    if (!dc)
        return;
    Rect c = paint.client;
    bool enabled = IsWindowEnabled(combo);
    Rect field = FieldRect(combo);
    dc->FillRect(field, SysBrush(enabled ? gdi::COLOR_WINDOW : gdi::COLOR_BTNFACE));
    dc->DrawEdge(c, gdi::EDGE_SUNKEN, gdi::BF_RECT);
    DrawArrowButton(*dc, ButtonRect(combo), Arrow::Down, s.dropped, enabled);
    if (!s.edit) {
        // The drop-down list kind shows the selected item itself.
        Rect text = Inflate(field, -1);
        bool focused = GetFocus() == combo;
        if (focused)
            dc->FillRect(text, SysBrush(gdi::COLOR_HIGHLIGHT));
        dc->SetFont(s.font);
        dc->SetBkMode(gdi::TRANSPARENT);
        dc->SetTextColor(gdi::GetSysColor(!enabled  ? gdi::COLOR_GRAYTEXT
                                          : focused ? gdi::COLOR_HIGHLIGHTTEXT
                                                    : gdi::COLOR_WINDOWTEXT));
        Rect tr{text.left + 2, text.top, text.right, text.bottom};
        if (s.cursel >= 0)
            dc->DrawText(s.items[std::size_t(s.cursel)], tr,
                         gdi::DT_LEFT | gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX);
        if (focused)
            dc->DrawFocusRect(text);
    }
}

void LayoutEdit(HWND combo, ComboState& s) {
    if (!s.edit)
        return;
    Rect f = FieldRect(combo);
    MoveWindow(s.edit, f.left + 1, f.top + 1, std::max(0, f.Width() - 2),
               std::max(0, f.Height() - 2));
}

int FindExact(const ComboState& s, int start, const std::string& text) {
    std::u32string want = FoldCase(text);
    int n = int(s.items.size());
    for (int k = 0; k < n; ++k) {
        int i = (start + 1 + k) % n;
        if (start < 0)
            i = k;
        if (FoldCase(s.items[std::size_t(i)]) == want)
            return i;
    }
    return CB_ERR;
}

LRESULT ComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ComboState* s = State<ComboState>(hwnd);
    if (!s)
        return 0;
    LRESULT result = 0;
    if (HandleFont(hwnd, *s, msg, wParam, lParam, result)) {
        if (msg == WM_SETFONT && s->edit)
            SendMessage(s->edit, WM_SETFONT, wParam, lParam);
        return result;
    }
    switch (msg) {
    case WM_CREATE:
        if (!IsDropDownList(hwnd)) {
            auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
            Rect f = FieldRect(hwnd);
            s->edit = CreateWindowEx(
                0, WC_EDIT, cs->lpszName, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, f.left + 1,
                f.top + 1, std::max(0, f.Width() - 2), std::max(0, f.Height() - 2), hwnd, kEditId);
            if (!s->edit)
                return -1;
        }
        return 0;
    case WM_DESTROY:
        if (s->list) {
            HWND list = s->list;
            s->list = nullptr;
            s->dropped = false;
            DestroyWindow(list);
        }
        return 0;
    case WM_SIZE:
        LayoutEdit(hwnd, *s);
        InvalidateRect(hwnd, nullptr, false);
        return 0;
    case WM_PAINT:
        PaintCombo(hwnd, *s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_ENABLE:
        if (s->edit)
            EnableWindow(s->edit, wParam != 0);
        InvalidateRect(hwnd, nullptr, false);
        return 0;
    case WM_SETFOCUS:
        if (s->edit)
            SetFocus(s->edit);
        else
            InvalidateRect(hwnd, nullptr, false);
        if (!s->edit)
            NotifyParent(hwnd, CBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        if (!s->edit) {
            CloseList(hwnd, false);
            InvalidateRect(hwnd, nullptr, false);
            NotifyParent(hwnd, CBN_KILLFOCUS);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        Point p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        SetFocus(s->edit ? s->edit : hwnd);
        if (!(s = State<ComboState>(hwnd)))
            return 0;
        if (!s->edit || ButtonRect(hwnd).Contains(p)) {
            if (s->dropped)
                CloseList(hwnd, false);
            else
                DropList(hwnd);
        }
        return 0;
    }
    case WM_KEYDOWN:
        // The drop-down list kind has the focus itself.
        if (!s->edit)
            SendMessage(hwnd, kComboEditKey, wParam, 0);
        return 0;
    case WM_SYSKEYDOWN:
        if (!s->edit && (wParam == VK_UP || wParam == VK_DOWN))
            SendMessage(hwnd, kComboEditKey, wParam, 1);
        return DefWindowProc(hwnd, msg, wParam, lParam);
    case kComboEditKey: {
        bool alt = lParam != 0;
        if ((alt && (wParam == VK_UP || wParam == VK_DOWN)) || wParam == VK_F4) {
            if (s->dropped)
                CloseList(hwnd, true);
            else
                DropList(hwnd);
            return 1;
        }
        switch (wParam) {
        case VK_UP:
        case VK_DOWN:
            MoveSelection(hwnd, wParam == VK_UP ? -1 : 1);
            return 1;
        case VK_PRIOR:
        case VK_NEXT:
            MoveSelection(hwnd, (wParam == VK_PRIOR ? -1 : 1) * std::max(1, VisibleCount(*s) - 1));
            return 1;
        case VK_RETURN:
            if (s->dropped) {
                CloseList(hwnd, true);
                return 1;
            }
            return 0;
        case VK_ESCAPE:
            if (s->dropped) {
                CloseList(hwnd, false);
                return 1;
            }
            return 0;
        default:
            return 0;
        }
    }
    case WM_MOUSEWHEEL:
        if (s->dropped && s->list) {
            ListState* l = State<ListState>(s->list);
            l->top -= GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3;
            int hot = l->hot;
            l->hot = -1;
            ListEnsureVisible(*s);
            l->hot = hot;
        }
        return 0;
    case WM_COMMAND:
        if (HWND(lParam) == s->edit && s->edit) {
            switch (HIWORD(wParam)) {
            case EN_CHANGE:
                if (!s->settingText) {
                    // Typed text selects the item it names, and nothing when it names none.
                    s->cursel = FindExact(*s, -1, GetWindowText(s->edit));
                    NotifyParent(hwnd, CBN_EDITUPDATE);
                    if (IsWindow(hwnd))
                        NotifyParent(hwnd, CBN_EDITCHANGE);
                }
                break;
            case EN_SETFOCUS:
                NotifyParent(hwnd, CBN_SETFOCUS);
                break;
            case EN_KILLFOCUS:
                CloseList(hwnd, false);
                if (IsWindow(hwnd))
                    NotifyParent(hwnd, CBN_KILLFOCUS);
                break;
            default:
                break;
            }
        }
        return 0;
    case WM_SETTEXT:
        if (s->edit) {
            s->settingText = true;
            LRESULT r = SendMessage(s->edit, WM_SETTEXT, wParam, lParam);
            if ((s = State<ComboState>(hwnd)) != nullptr)
                s->settingText = false;
            return r;
        }
        return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        if (s->edit)
            return SendMessage(s->edit, msg, wParam, lParam);
        {
            std::string t = s->cursel >= 0 ? s->items[std::size_t(s->cursel)] : std::string();
            if (msg == WM_GETTEXT && lParam)
                *reinterpret_cast<std::string*>(lParam) = t;
            return LRESULT(t.size());
        }
    case CB_ADDSTRING:
    case CB_INSERTSTRING: {
        std::string item = lParam ? reinterpret_cast<const char*>(lParam) : "";
        int n = int(s->items.size());
        int at = n;
        if (msg == CB_INSERTSTRING) {
            at = int(std::intptr_t(wParam));
            if (at < 0)
                at = n;
            if (at > n)
                return CB_ERR;
        } else if (GetWindowLongPtr(hwnd, GWL_STYLE) & CBS_SORT) {
            at = int(std::upper_bound(s->items.begin(), s->items.end(), item) - s->items.begin());
        }
        s->items.insert(s->items.begin() + at, item);
        if (s->cursel >= at)
            ++s->cursel;
        if (s->dropped)
            ListEnsureVisible(*s);
        return at;
    }
    case CB_DELETESTRING: {
        int i = int(std::intptr_t(wParam));
        if (i < 0 || i >= int(s->items.size()))
            return CB_ERR;
        s->items.erase(s->items.begin() + i);
        if (s->cursel == i)
            s->cursel = -1;
        else if (s->cursel > i)
            --s->cursel;
        InvalidateRect(hwnd, nullptr, false);
        return LRESULT(s->items.size());
    }
    case CB_RESETCONTENT:
        s->items.clear();
        s->cursel = -1;
        InvalidateRect(hwnd, nullptr, false);
        return 0;
    case CB_GETCOUNT:
        return LRESULT(s->items.size());
    case CB_GETCURSEL:
        return s->cursel;
    case CB_SETCURSEL: {
        int i = int(std::intptr_t(wParam));
        bool valid = i >= 0 && i < int(s->items.size());
        s->cursel = valid ? i : -1;
        if (s->list)
            State<ListState>(s->list)->hot = s->cursel;
        SetFieldText(hwnd, *s, valid ? s->items[std::size_t(i)] : std::string());
        return valid ? LRESULT(i) : LRESULT(CB_ERR);
    }
    case CB_GETLBTEXT:
    case CB_GETLBTEXTLEN: {
        int i = int(std::intptr_t(wParam));
        if (i < 0 || i >= int(s->items.size()))
            return CB_ERR;
        if (msg == CB_GETLBTEXT && lParam)
            *reinterpret_cast<std::string*>(lParam) = s->items[std::size_t(i)];
        return LRESULT(s->items[std::size_t(i)].size());
    }
    case CB_FINDSTRINGEXACT:
        return FindExact(*s, int(std::intptr_t(wParam)),
                         lParam ? reinterpret_cast<const char*>(lParam) : "");
    case CB_SHOWDROPDOWN:
        if (wParam)
            DropList(hwnd);
        else
            CloseList(hwnd, false);
        return 1;
    case CB_GETDROPPEDSTATE:
        return s->dropped ? 1 : 0;
    case CB_SETITEMHEIGHT:
        if (std::intptr_t(wParam) >= 0 && lParam > 0 && lParam < 256) {
            s->itemHeight = int(lParam);
            return 0;
        }
        return CB_ERR;
    case CB_GETITEMHEIGHT:
        return s->itemHeight;
    case CB_SETMINVISIBLE:
        if (int(wParam) <= 0)
            return 0;
        s->minVisible = int(wParam);
        return 1;
    case CB_GETMINVISIBLE:
        return s->minVisible;
    case CB_LIMITTEXT:
        s->limit = int(wParam);
        if (s->edit)
            SendMessage(s->edit, EM_LIMITTEXT, wParam, 0);
        return 1;
    case CB_GETEDITSEL:
        return s->edit ? SendMessage(s->edit, EM_GETSEL, wParam, lParam) : LRESULT(CB_ERR);
    case CB_SETEDITSEL:
        if (!s->edit)
            return CB_ERR;
        SendMessage(s->edit, EM_SETSEL, WPARAM(std::intptr_t(std::int16_t(LOWORD(lParam)))),
                    LPARAM(std::int16_t(HIWORD(lParam))));
        return 1;
    default:
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// The drop-down list

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

LRESULT ListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ListState* l = State<ListState>(hwnd);
    if (!l)
        return 0;
    ComboState* s = IsWindow(l->combo) ? State<ComboState>(l->combo) : nullptr;
    Point p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
    case WM_PAINT:
        PaintList(hwnd, *l);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return 3; // MA_NOACTIVATE
    case WM_MOUSEMOVE:
        if (s) {
            int i = ItemAt(hwnd, *l, *s, p);
            if (i >= 0 && i != l->hot) {
                l->hot = i;
                InvalidateRect(hwnd, nullptr, false);
            }
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (!s)
            return 0;
        Rect c;
        GetClientRect(hwnd, c);
        if (!c.Contains(p)) {
            // A click outside the list (on the combo box's button too) closes it.
            CloseList(l->combo, false);
            return 0;
        }
        int i = ItemAt(hwnd, *l, *s, p);
        if (i >= 0) {
            l->hot = i;
            InvalidateRect(hwnd, nullptr, false);
            return 0;
        }
        if (HasScrollBar(*s)) {
            int vis = VisibleCount(*s);
            int step = p.y < c.top + kScrollWidth       ? -1
                       : p.y >= c.bottom - kScrollWidth ? 1
                       : p.y < c.top + c.Height() / 2   ? -(vis - 1)
                                                        : vis - 1;
            l->top += step;
            int hot = l->hot;
            l->hot = -1;
            ListEnsureVisible(*s);
            l->hot = hot;
        }
        return 0;
    }
    case WM_LBUTTONUP:
        if (s && ItemAt(hwnd, *l, *s, p) >= 0) {
            l->hot = ItemAt(hwnd, *l, *s, p);
            CloseList(l->combo, true);
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (s)
            SendMessage(l->combo, WM_MOUSEWHEEL, wParam, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        if (s && s->dropped && HWND(lParam) != hwnd)
            CloseList(l->combo, false);
        return 0;
    default:
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

} // namespace

void RegisterComboClasses(WindowManager& wm) {
    RegisterStandardClass(wm, WC_COMBOBOX, ComboProc, CS_DBLCLKS);
    RegisterStandardClass(wm, WC_COMBOLBOX, ListProc, CS_SAVEBITS);
}

} // namespace platform::stdwin
