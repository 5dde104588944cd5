// The combo box: an edit field (drop-down kind) or a static field (drop-down list kind) with a
// button that drops a list down. The list is a top-level pop-up that never takes the activation;
// while it is down it holds the mouse capture, so a click anywhere else closes it.
//
// Notifications, as the frame relies on them: a selection made by the user (a click in the list,
// arrow keys, the wheel on the closed box) first puts the item's text into the field and then
// sends CBN_SELCHANGE; typing sends CBN_EDITUPDATE and CBN_EDITCHANGE; dropping sends
// CBN_DROPDOWN before the list is sized and shown; closing sends CBN_SELENDOK or
// CBN_SELENDCANCEL, then CBN_CLOSEUP, then (for a click on another item) CBN_SELCHANGE. A
// selection set by the program (CB_SETCURSEL) sends nothing.
#include "platform/stdwin/ComboBoxWindow.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/stdwin/ComboBoxState.h"
#include "platform/stdwin/StdWinPrivate.h"

namespace platform::stdwin {

namespace {

constexpr int kEditId = 1001;
constexpr int kButtonWidth = 16;
// The style bits that name the kind: CBS_SIMPLE, CBS_DROPDOWN or CBS_DROPDOWNLIST.
constexpr std::intptr_t kKindMask = 0x3;

bool IsDropDownList(HWND combo) {
    return (GetWindowLongPtr(combo, GWL_STYLE) & kKindMask) == CBS_DROPDOWNLIST;
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

void SetFieldText(HWND combo, ComboState& s, const std::string& text) {
    if (s.edit) {
        s.settingText = true;
        SetWindowText(s.edit, text);
        if (ComboState* again = State<ComboState>(combo)) {
            again->settingText = false;
            EditWindow(again->edit).SelectAll();
        }
    }
    InvalidateRect(combo, nullptr, false);
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

// The wheel on the closed box steps its selection a notch at a time, as the arrow keys do (away
// from the user: the item above); it stops at the ends.
void WheelSelection(HWND combo, int notches) {
    for (int i = 0; i < std::abs(notches) && IsWindow(combo); ++i)
        MoveSelection(combo, notches > 0 ? -1 : 1);
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

// --- What the messages and the typed calls do -------------------------------------------------

int InsertItem(HWND combo, ComboState& s, int at, const std::string& item, bool addAtEnd) {
    int n = int(s.items.size());
    if (addAtEnd) {
        at = n;
        if (GetWindowLongPtr(combo, GWL_STYLE) & CBS_SORT)
            at = int(std::upper_bound(s.items.begin(), s.items.end(), item) - s.items.begin());
    } else if (at < 0) {
        at = n;
    } else if (at > n) {
        return CB_ERR;
    }
    s.items.insert(s.items.begin() + at, item);
    if (s.cursel >= at)
        ++s.cursel;
    if (s.dropped)
        ListEnsureVisible(s);
    return at;
}

int DeleteItem(HWND combo, ComboState& s, int i) {
    if (i < 0 || i >= int(s.items.size()))
        return CB_ERR;
    s.items.erase(s.items.begin() + i);
    if (s.cursel == i)
        s.cursel = -1;
    else if (s.cursel > i)
        --s.cursel;
    InvalidateRect(combo, nullptr, false);
    return int(s.items.size());
}

void ClearItems(HWND combo, ComboState& s) {
    s.items.clear();
    s.cursel = -1;
    InvalidateRect(combo, nullptr, false);
}

int SetCurSel(HWND combo, ComboState& s, int i) {
    bool valid = i >= 0 && i < int(s.items.size());
    s.cursel = valid ? i : -1;
    if (s.list)
        State<ListState>(s.list)->hot = s.cursel;
    SetFieldText(combo, s, valid ? s.items[std::size_t(i)] : std::string());
    return valid ? i : CB_ERR;
}

const std::string* Item(const ComboState& s, int i) {
    return i >= 0 && i < int(s.items.size()) ? &s.items[std::size_t(i)] : nullptr;
}

void ShowDropDown(HWND combo, bool show) {
    if (show)
        DropList(combo);
    else
        CloseList(combo, false);
}

bool SetItemHeight(ComboState& s, std::intptr_t height) {
    if (height <= 0 || height >= 256)
        return false;
    s.itemHeight = int(height);
    return true;
}

bool SetMinVisible(ComboState& s, int count) {
    if (count <= 0)
        return false;
    s.minVisible = count;
    return true;
}

void SetLimit(ComboState& s, int count) {
    s.limit = count;
    if (s.edit)
        EditWindow(s.edit).SetLimit(count);
}

// A navigation key in the field (or on the drop-down list kind itself). True: taken.
bool FieldKey(HWND combo, ComboState& s, WPARAM vk, bool alt) {
    if ((alt && (vk == VK_UP || vk == VK_DOWN)) || vk == VK_F4) {
        if (s.dropped)
            CloseList(combo, true);
        else
            DropList(combo);
        return true;
    }
    switch (vk) {
    case VK_UP:
    case VK_DOWN:
        MoveSelection(combo, vk == VK_UP ? -1 : 1);
        return true;
    case VK_PRIOR:
    case VK_NEXT:
        MoveSelection(combo, (vk == VK_PRIOR ? -1 : 1) * std::max(1, VisibleCount(s) - 1));
        return true;
    case VK_RETURN:
    case VK_ESCAPE:
        if (!s.dropped)
            return false;
        CloseList(combo, vk == VK_RETURN);
        return true;
    default:
        return false;
    }
}

// --- Message families --------------------------------------------------------------------------

Answer WindowMessage(HWND hwnd, ComboState& s, const Message& m) {
    switch (m.msg) {
    case WM_CREATE:
        if (!IsDropDownList(hwnd)) {
            auto* cs = reinterpret_cast<const CREATESTRUCT*>(m.lParam);
            Rect f = FieldRect(hwnd);
            s.edit = CreateWindowEx(
                0, WC_EDIT, cs->lpszName, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, f.left + 1,
                f.top + 1, std::max(0, f.Width() - 2), std::max(0, f.Height() - 2), hwnd, kEditId);
            if (!s.edit)
                return -1;
        }
        return 0;
    case WM_DESTROY:
        if (s.list) {
            HWND list = s.list;
            s.list = nullptr;
            s.dropped = false;
            DestroyWindow(list);
        }
        return 0;
    case WM_SIZE:
        LayoutEdit(hwnd, s);
        InvalidateRect(hwnd, nullptr, false);
        return 0;
    case WM_PAINT:
        PaintCombo(hwnd, s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_ENABLE:
        if (s.edit)
            EnableWindow(s.edit, m.wParam != 0);
        InvalidateRect(hwnd, nullptr, false);
        return 0;
    default:
        return std::nullopt;
    }
}

Answer FocusMessage(HWND hwnd, ComboState& s, const Message& m) {
    switch (m.msg) {
    case WM_SETFOCUS:
        if (s.edit) {
            SetFocus(s.edit);
        } else {
            InvalidateRect(hwnd, nullptr, false);
            NotifyParent(hwnd, CBN_SETFOCUS);
        }
        return 0;
    case WM_KILLFOCUS:
        if (!s.edit) {
            CloseList(hwnd, false);
            InvalidateRect(hwnd, nullptr, false);
            NotifyParent(hwnd, CBN_KILLFOCUS);
        }
        return 0;
    default:
        return std::nullopt;
    }
}

Answer InputMessage(HWND hwnd, ComboState& s, const Message& m) {
    switch (m.msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        Point p{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
        SetFocus(s.edit ? s.edit : hwnd);
        ComboState* again = State<ComboState>(hwnd);
        if (again && (!again->edit || ButtonRect(hwnd).Contains(p)))
            ShowDropDown(hwnd, !again->dropped);
        return 0;
    }
    case WM_KEYDOWN:
        // The drop-down list kind has the focus itself.
        if (!s.edit)
            FieldKey(hwnd, s, m.wParam, false);
        return 0;
    case WM_SYSKEYDOWN:
        if (!s.edit && (m.wParam == VK_UP || m.wParam == VK_DOWN))
            FieldKey(hwnd, s, m.wParam, true);
        return std::nullopt;
    case WM_MOUSEWHEEL:
        if (s.dropped)
            ScrollList(s, WheelLines(m.wParam));
        else
            WheelSelection(hwnd, WheelNotches(m.wParam));
        return 0;
    default:
        return std::nullopt;
    }
}

// What the edit field reports (WM_COMMAND from it).
Answer FieldMessage(HWND hwnd, ComboState& s, const Message& m) {
    if (m.msg != WM_COMMAND)
        return std::nullopt;
    if (!s.edit || HWND(m.lParam) != s.edit)
        return 0;
    switch (HIWORD(m.wParam)) {
    case EN_CHANGE:
        if (!s.settingText) {
            // Typed text selects the item it names, and nothing when it names none.
            s.cursel = FindExact(s, -1, GetWindowText(s.edit));
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
    return 0;
}

// The window's text: the edit field's, or the selected item of the drop-down list kind.
Answer TextMessage(HWND hwnd, ComboState& s, const Message& m) {
    switch (m.msg) {
    case WM_SETTEXT: {
        if (!s.edit)
            return std::nullopt;
        s.settingText = true;
        bool set = SetWindowText(s.edit, m.lParam ? reinterpret_cast<const char*>(m.lParam) : "");
        if (ComboState* again = State<ComboState>(hwnd))
            again->settingText = false;
        return set ? 1 : 0;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
        std::string t = s.edit              ? GetWindowText(s.edit)
                        : Item(s, s.cursel) ? *Item(s, s.cursel)
                                            : std::string();
        if (m.msg == WM_GETTEXT && m.lParam)
            *reinterpret_cast<std::string*>(m.lParam) = t;
        return LRESULT(t.size());
    }
    default:
        return std::nullopt;
    }
}

// The CB_ messages of the items and the selection.
Answer ItemMessage(HWND hwnd, ComboState& s, const Message& m) {
    auto text = [&] {
        return std::string(m.lParam ? reinterpret_cast<const char*>(m.lParam) : "");
    };
    int index = int(std::intptr_t(m.wParam));
    switch (m.msg) {
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
        return InsertItem(hwnd, s, index, text(), m.msg == CB_ADDSTRING);
    case CB_DELETESTRING:
        return DeleteItem(hwnd, s, index);
    case CB_RESETCONTENT:
        ClearItems(hwnd, s);
        return 0;
    case CB_GETCOUNT:
        return LRESULT(s.items.size());
    case CB_GETCURSEL:
        return s.cursel;
    case CB_SETCURSEL:
        return SetCurSel(hwnd, s, index);
    case CB_GETLBTEXT:
    case CB_GETLBTEXTLEN: {
        const std::string* item = Item(s, index);
        if (!item)
            return CB_ERR;
        if (m.msg == CB_GETLBTEXT && m.lParam)
            *reinterpret_cast<std::string*>(m.lParam) = *item;
        return LRESULT(item->size());
    }
    case CB_FINDSTRINGEXACT:
        return FindExact(s, index, text());
    default:
        return std::nullopt;
    }
}

// The CB_ messages of the drop-down list and the edit field.
Answer PartMessage(HWND hwnd, ComboState& s, const Message& m) {
    switch (m.msg) {
    case CB_SHOWDROPDOWN:
        ShowDropDown(hwnd, m.wParam != 0);
        return 1;
    case CB_GETDROPPEDSTATE:
        return s.dropped ? 1 : 0;
    case CB_SETITEMHEIGHT:
        return std::intptr_t(m.wParam) >= 0 && SetItemHeight(s, m.lParam) ? 0 : CB_ERR;
    case CB_GETITEMHEIGHT:
        return s.itemHeight;
    case CB_SETMINVISIBLE:
        return SetMinVisible(s, int(m.wParam)) ? 1 : 0;
    case CB_GETMINVISIBLE:
        return s.minVisible;
    case CB_LIMITTEXT:
        SetLimit(s, int(m.wParam));
        return 1;
    case CB_GETEDITSEL: {
        if (!s.edit)
            return CB_ERR;
        TextSelection sel = EditWindow(s.edit).Selection();
        if (m.wParam)
            *reinterpret_cast<int*>(m.wParam) = sel.start;
        if (m.lParam)
            *reinterpret_cast<int*>(m.lParam) = sel.end;
        return MAKELPARAM(std::min(sel.start, 0xFFFF), std::min(sel.end, 0xFFFF));
    }
    case CB_SETEDITSEL:
        if (!s.edit)
            return CB_ERR;
        EditWindow(s.edit).SetSelection(std::int16_t(LOWORD(std::uintptr_t(m.lParam))),
                                        std::int16_t(HIWORD(std::uintptr_t(m.lParam))));
        return 1;
    default:
        return std::nullopt;
    }
}

LRESULT ComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static constexpr Family<ComboState> kFamilies[] = {
        FontFamily<ComboState>, WindowMessage, FocusMessage, InputMessage,
        FieldMessage,           TextMessage,   ItemMessage,  PartMessage};
    return DispatchFamilies(hwnd, Message{msg, wParam, lParam}, kFamilies);
}

} // namespace

// --- Shared with the drop-down list ------------------------------------------------------------

int VisibleCount(const ComboState& s) {
    int n = int(s.items.size());
    return std::max(1, std::min(n, std::max(1, s.minVisible)));
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

void ScrollList(ComboState& s, int lines) {
    ListState* l = s.list ? State<ListState>(s.list) : nullptr;
    if (!l)
        return;
    l->top += lines;
    // Scrolling moves the list, not the highlighted item.
    int hot = l->hot;
    l->hot = -1;
    ListEnsureVisible(s);
    l->hot = hot;
}

// The lines a turn of the wheel scrolls the list by (down is positive).
int WheelLines(WPARAM wParam) {
    constexpr int kLinesPerNotch = 3;
    return -WheelNotches(wParam) * kLinesPerNotch;
}

void RegisterComboClasses(WindowManager& wm) {
    RegisterStandardClass(wm, WC_COMBOBOX, ComboProc, CS_DBLCLKS);
    RegisterStandardClass(wm, WC_COMBOLBOX, ComboListProc, CS_SAVEBITS);
}

bool ComboFieldKey(HWND combo, WPARAM vk, bool alt) {
    ComboState* s = StateOf<ComboState>(combo);
    return s && FieldKey(combo, *s, vk, alt);
}

// --- The typed calls ---------------------------------------------------------------------------

int ComboBoxWindow::AddString(const std::string& item) {
    ComboState* s = StateOf<ComboState>(m_hwnd);
    return s ? InsertItem(m_hwnd, *s, -1, item, true) : CB_ERR;
}

int ComboBoxWindow::InsertString(int index, const std::string& item) {
    ComboState* s = StateOf<ComboState>(m_hwnd);
    return s ? InsertItem(m_hwnd, *s, index, item, false) : CB_ERR;
}

int ComboBoxWindow::DeleteString(int index) {
    ComboState* s = StateOf<ComboState>(m_hwnd);
    return s ? DeleteItem(m_hwnd, *s, index) : CB_ERR;
}

void ComboBoxWindow::Clear() {
    if (ComboState* s = StateOf<ComboState>(m_hwnd))
        ClearItems(m_hwnd, *s);
}

int ComboBoxWindow::Count() const {
    ComboState* s = StateOf<ComboState>(m_hwnd);
    return s ? int(s->items.size()) : 0;
}

std::string ComboBoxWindow::ItemText(int index) const {
    ComboState* s = StateOf<ComboState>(m_hwnd);
    const std::string* item = s ? Item(*s, index) : nullptr;
    return item ? *item : std::string();
}

int ComboBoxWindow::FindStringExact(int start, const std::string& text) const {
    ComboState* s = StateOf<ComboState>(m_hwnd);
    return s ? FindExact(*s, start, text) : CB_ERR;
}

int ComboBoxWindow::GetCurSel() const {
    ComboState* s = StateOf<ComboState>(m_hwnd);
    return s ? s->cursel : CB_ERR;
}

int ComboBoxWindow::SetCurSel(int index) {
    ComboState* s = StateOf<ComboState>(m_hwnd);
    return s ? stdwin::SetCurSel(m_hwnd, *s, index) : CB_ERR;
}

void ComboBoxWindow::ShowDropDown(bool show) {
    if (StateOf<ComboState>(m_hwnd))
        stdwin::ShowDropDown(m_hwnd, show);
}

bool ComboBoxWindow::DroppedDown() const {
    ComboState* s = StateOf<ComboState>(m_hwnd);
    return s && s->dropped;
}

int ComboBoxWindow::ItemHeight() const {
    ComboState* s = StateOf<ComboState>(m_hwnd);
    return s ? s->itemHeight : 0;
}

bool ComboBoxWindow::SetItemHeight(int height) {
    ComboState* s = StateOf<ComboState>(m_hwnd);
    return s && stdwin::SetItemHeight(*s, height);
}

int ComboBoxWindow::MinVisible() const {
    ComboState* s = StateOf<ComboState>(m_hwnd);
    return s ? s->minVisible : 0;
}

bool ComboBoxWindow::SetMinVisible(int count) {
    ComboState* s = StateOf<ComboState>(m_hwnd);
    return s && stdwin::SetMinVisible(*s, count);
}

void ComboBoxWindow::SetLimit(int count) {
    if (ComboState* s = StateOf<ComboState>(m_hwnd))
        stdwin::SetLimit(*s, count);
}

TextSelection ComboBoxWindow::EditSelection() const {
    ComboState* s = StateOf<ComboState>(m_hwnd);
    return s && s->edit ? EditWindow(s->edit).Selection() : TextSelection{};
}

void ComboBoxWindow::SetEditSelection(int start, int end) {
    if (ComboState* s = StateOf<ComboState>(m_hwnd); s && s->edit)
        EditWindow(s->edit).SetSelection(start, end);
}

} // namespace platform::stdwin
