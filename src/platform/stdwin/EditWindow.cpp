// The single-line edit: text kept as code points so that the caret and the selection step over
// whole characters (Cyrillic included); every change of the text is reported with EN_CHANGE,
// except the text given at creation.
//
// As on a Linux desktop, what the user selects (mouse, Shift with the keys, select all) becomes
// the primary selection, served from the field's selection as it is when someone pastes and
// given up when the selection goes; a middle click pastes it. One change can be undone (Ctrl+Z,
// the context menu): the text and selection before it come back, and undoing again redoes.
// Typing in a row is one change; text set by the program cannot be undone.
#include "platform/stdwin/EditWindow.h"

#include <algorithm>
#include <vector>

#include "platform/gdi/SavedDC.h"
#include "platform/stdwin/EditState.h"
#include "platform/stdwin/StdWinPrivate.h"
#include "rtl/ScopeExit.h"

namespace platform::stdwin {

namespace {

using rtl::ValueRestore;

// The characters the keyboard gives for the editing keys (WM_CHAR).
constexpr char32_t kCtrlA = 0x01, kCtrlC = 0x03, kBackspace = 0x08, kCtrlV = 0x16, kCtrlX = 0x18,
                   kCtrlZ = 0x1A;

bool IsWordChar(char32_t c) {
    return c > U' ' && c != U'.' && c != U',' && c != U';';
}

void Paint(HWND hwnd, EditState& s) {
    PaintScope paint(hwnd);
    HDC dc = paint.dc;
    if (!dc)
        return;
    Rect c = paint.client;
    bool enabled = IsWindowEnabled(hwnd);
    bool focused = GetFocus() == hwnd;
    dc->FillRect(c, SysBrush(enabled ? gdi::COLOR_WINDOW : gdi::COLOR_BTNFACE));
    dc->SetFont(s.font);
    dc->SetBkMode(gdi::TRANSPARENT);
    int th = dc->GetTextMetrics().height;
    int y = std::max(0, (c.Height() - th) / 2);
    int x0 = kEditMargin - s.scroll;
    const std::vector<int>& pos = Positions(s);
    std::string all = ToUtf8(s.text);
    dc->IntersectClipRect(Rect{c.left + 1, c.top, c.right - 1, c.bottom});
    dc->SetTextColor(gdi::GetSysColor(enabled ? gdi::COLOR_WINDOWTEXT : gdi::COLOR_GRAYTEXT));
    dc->TextOut(x0, y, all);
    int a = SelStart(s), b = SelEnd(s);
    if (focused && a != b) {
        Rect sel{x0 + pos[std::size_t(a)], y, x0 + pos[std::size_t(b)], y + th};
        dc->FillRect(sel, SysBrush(gdi::COLOR_HIGHLIGHT));
        gdi::SavedDC saved(*dc);
        dc->IntersectClipRect(sel);
        dc->SetTextColor(gdi::GetSysColor(gdi::COLOR_HIGHLIGHTTEXT));
        dc->TextOut(x0, y, all);
    }
    if (focused) {
        int cx = x0 + pos[std::size_t(s.caret)];
        dc->FillRect(Rect{cx, y, cx + 1, y + th}, SysBrush(gdi::COLOR_WINDOWTEXT));
    }
}

// Keys another window may take: the combo box around the field, or an up-down spinning it.
bool OfferKey(HWND hwnd, WPARAM vk, bool alt) {
    HWND parent = GetParent(hwnd);
    if (parent && GetClassName(parent) == WC_COMBOBOX && ComboFieldKey(parent, vk, alt))
        return true;
    if (HWND ud = UpDownForBuddy(hwnd); ud && !alt && UpDownBuddyKey(ud, vk))
        return true;
    return false;
}

void KeyDown(HWND hwnd, EditState& s, WPARAM vk) {
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    int len = int(s.text.size());
    switch (vk) {
    case VK_LEFT:
    case VK_RIGHT: {
        bool left = vk == VK_LEFT;
        if (!shift && s.caret != s.anchor) {
            s.caret = left ? SelStart(s) : SelEnd(s);
        } else if (ctrl) {
            int i = s.caret;
            if (left) {
                while (i > 0 && !IsWordChar(s.text[std::size_t(i - 1)]))
                    --i;
                while (i > 0 && IsWordChar(s.text[std::size_t(i - 1)]))
                    --i;
            } else {
                while (i < len && IsWordChar(s.text[std::size_t(i)]))
                    ++i;
                while (i < len && !IsWordChar(s.text[std::size_t(i)]))
                    ++i;
            }
            s.caret = i;
        } else {
            s.caret = std::clamp(s.caret + (left ? -1 : 1), 0, len);
        }
        if (!shift)
            s.anchor = s.caret;
        Moved(hwnd, s);
        UserSelected(hwnd, s);
        break;
    }
    case VK_HOME:
    case VK_END:
        s.caret = vk == VK_HOME ? 0 : len;
        if (!shift)
            s.anchor = s.caret;
        Moved(hwnd, s);
        UserSelected(hwnd, s);
        break;
    case VK_DELETE:
        if (shift) {
            Cut(hwnd, s);
        } else if (!ReadOnly(hwnd)) {
            if (s.caret == s.anchor && s.caret < len)
                s.anchor = s.caret + 1;
            Replace(hwnd, s, {});
        }
        break;
    case VK_INSERT:
        if (ctrl)
            Copy(s);
        else if (shift)
            PasteIfWritable(hwnd, s);
        break;
    case VK_APPS:
        SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                    MAKELPARAM(kMenuAtCaret, kMenuAtCaret));
        break;
    default:
        break;
    }
}

void Char(HWND hwnd, EditState& s, char32_t c) {
    switch (c) {
    case kCtrlA:
        SetSelection(hwnd, s, 0, -1);
        UserSelected(hwnd, s);
        return;
    case kCtrlZ:
        Undo(hwnd, s);
        return;
    case kCtrlC:
        Copy(s);
        return;
    case kCtrlV:
        PasteIfWritable(hwnd, s);
        return;
    case kCtrlX:
        Cut(hwnd, s);
        return;
    case kBackspace:
        if (ReadOnly(hwnd))
            return;
        if (s.caret == s.anchor && s.caret > 0)
            s.anchor = s.caret - 1;
        Replace(hwnd, s, {});
        return;
    default:
        break;
    }
    if (c < kFirstPrintable || c == kDeleteChar || ReadOnly(hwnd))
        return;
    Replace(hwnd, s, std::u32string(1, c), true);
}

// --- Message families --------------------------------------------------------------------------

// Creation, painting, size and enabled state.
Answer WindowMessage(HWND hwnd, EditState& s, const Message& m) {
    switch (m.msg) {
    case WM_CREATE: {
        auto* cs = reinterpret_cast<const CREATESTRUCT*>(m.lParam);
        ValueRestore creating(s.creating, true);
        s.text = ToU32(cs->lpszName ? cs->lpszName : "");
        return 0;
    }
    case WM_PAINT:
        Paint(hwnd, s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_ENABLE:
    case WM_SIZE:
        InvalidateRect(hwnd, nullptr, false);
        return 0;
    default:
        return std::nullopt;
    }
}

Answer TextMessage(HWND hwnd, EditState& s, const Message& m) {
    switch (m.msg) {
    case WM_SETTEXT:
        SetText(hwnd, s, reinterpret_cast<const char*>(m.lParam));
        return 1;
    case WM_GETTEXT: {
        std::string t = ToUtf8(s.text);
        if (m.lParam)
            *reinterpret_cast<std::string*>(m.lParam) = t;
        return LRESULT(t.size());
    }
    case WM_GETTEXTLENGTH:
        return LRESULT(ToUtf8(s.text).size());
    default:
        return std::nullopt;
    }
}

Answer FocusMessage(HWND hwnd, EditState& s, const Message& m) {
    switch (m.msg) {
    case WM_SETFOCUS:
        InvalidateRect(hwnd, nullptr, false);
        NotifyParent(hwnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s.selecting = false;
        InvalidateRect(hwnd, nullptr, false);
        NotifyParent(hwnd, EN_KILLFOCUS);
        return 0;
    default:
        return std::nullopt;
    }
}

Answer KeyMessage(HWND hwnd, EditState& s, const Message& m) {
    switch (m.msg) {
    case WM_KEYDOWN:
        if ((m.wParam == VK_UP || m.wParam == VK_DOWN || m.wParam == VK_F4 ||
             m.wParam == VK_RETURN || m.wParam == VK_ESCAPE || m.wParam == VK_PRIOR ||
             m.wParam == VK_NEXT) &&
            OfferKey(hwnd, m.wParam, false))
            return 0;
        KeyDown(hwnd, s, m.wParam);
        return 0;
    case WM_SYSKEYDOWN:
        if ((m.wParam == VK_UP || m.wParam == VK_DOWN) && OfferKey(hwnd, m.wParam, true))
            return 0;
        if (m.wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0) {
            SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                        MAKELPARAM(kMenuAtCaret, kMenuAtCaret));
            return 0;
        }
        return std::nullopt;
    case WM_CHAR:
        Char(hwnd, s, char32_t(m.wParam));
        return 0;
    default:
        return std::nullopt;
    }
}

void SelectWordAt(HWND hwnd, EditState& s, int x) {
    int i = HitTest(hwnd, s, x);
    int a = i, b = i, len = int(s.text.size());
    while (a > 0 && IsWordChar(s.text[std::size_t(a - 1)]))
        --a;
    while (b < len && IsWordChar(s.text[std::size_t(b)]))
        ++b;
    s.anchor = a;
    s.caret = b;
    Moved(hwnd, s);
    UserSelected(hwnd, s);
}

// A middle click puts the caret where it is and pastes the primary selection there.
void PastePrimary(HWND hwnd, int x) {
    if (GetFocus() != hwnd)
        SetFocus(hwnd);
    EditState* s = IsWindow(hwnd) ? State<EditState>(hwnd) : nullptr;
    if (!s || ReadOnly(hwnd))
        return;
    // Fetched before the caret moves: the selection may be this field's own.
    std::u32string text = FirstLine(GetPrimarySelectionText());
    s->caret = s->anchor = HitTest(hwnd, *s, x);
    Moved(hwnd, *s);
    Replace(hwnd, *s, text);
}

Answer MouseMessage(HWND hwnd, EditState& s, const Message& m) {
    switch (m.msg) {
    case WM_LBUTTONDOWN: {
        if (GetFocus() != hwnd)
            SetFocus(hwnd);
        if (!IsWindow(hwnd))
            return 0;
        int i = HitTest(hwnd, s, GET_X_LPARAM(m.lParam));
        s.caret = i;
        if (!(m.wParam & MK_SHIFT))
            s.anchor = i;
        s.selecting = true;
        SetCapture(hwnd);
        Moved(hwnd, s);
        UserSelected(hwnd, s);
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        SelectWordAt(hwnd, s, GET_X_LPARAM(m.lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (s.selecting) {
            s.caret = HitTest(hwnd, s, GET_X_LPARAM(m.lParam));
            Moved(hwnd, s);
            UserSelected(hwnd, s);
        }
        return 0;
    case WM_LBUTTONUP:
        if (s.selecting) {
            s.selecting = false;
            ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        s.selecting = false;
        return 0;
    case WM_MBUTTONDOWN:
        PastePrimary(hwnd, GET_X_LPARAM(m.lParam));
        return 0;
    case WM_MOUSEWHEEL:
        // Turned over an up-down's field, the wheel spins it; otherwise the parent may take it
        // (a combo box steps its selection).
        if (HWND ud = UpDownForBuddy(hwnd); ud && UpDownBuddyWheel(ud, WheelNotches(m.wParam)))
            return 0;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

// The EM_ messages: what EditWindow offers, by message.
Answer EditMessage(HWND hwnd, EditState& s, const Message& m) {
    switch (m.msg) {
    case EM_GETSEL: {
        int a = SelStart(s), b = SelEnd(s);
        if (m.wParam)
            *reinterpret_cast<int*>(m.wParam) = a;
        if (m.lParam)
            *reinterpret_cast<int*>(m.lParam) = b;
        return MAKELPARAM(std::min(a, 0xFFFF), std::min(b, 0xFFFF));
    }
    case EM_SETSEL:
        SetSelection(hwnd, s, int(std::intptr_t(m.wParam)), int(m.lParam));
        return 0;
    case EM_REPLACESEL:
        Replace(hwnd, s, ToU32(m.lParam ? reinterpret_cast<const char*>(m.lParam) : ""));
        return 0;
    case EM_LIMITTEXT:
        SetLimit(s, m.wParam);
        return 0;
    case EM_GETLIMITTEXT:
        return s.limit;
    case EM_SETREADONLY:
        SetReadOnly(hwnd, m.wParam != 0);
        return 1;
    case EM_GETMODIFY:
        return s.modified ? 1 : 0;
    case EM_SETMODIFY:
        s.modified = m.wParam != 0;
        return 0;
    case EM_CANUNDO:
        return s.canUndo ? 1 : 0;
    case EM_UNDO:
        Undo(hwnd, s);
        return 1;
    case EM_EMPTYUNDOBUFFER:
        s.canUndo = false;
        return 0;
    default:
        return std::nullopt;
    }
}

Answer ClipboardMessage(HWND hwnd, EditState& s, const Message& m) {
    switch (m.msg) {
    case WM_COPY:
        Copy(s);
        return 0;
    case WM_CUT:
        Cut(hwnd, s);
        return 0;
    case WM_PASTE:
        PasteIfWritable(hwnd, s);
        return 0;
    case WM_CLEAR:
        Clear(hwnd, s);
        return 0;
    case WM_UNDO:
        Undo(hwnd, s);
        return 1;
    default:
        return std::nullopt;
    }
}

// The context menu, and the primary selection's questions to its owner.
Answer MenuMessage(HWND hwnd, EditState& s, const Message& m) {
    switch (m.msg) {
    case WM_CONTEXTMENU:
        ContextMenu(hwnd, m.lParam);
        return 0;
    case WM_RENDERSELECTION:
        if (m.lParam)
            *reinterpret_cast<std::string*>(m.lParam) = ToUtf8(
                s.text.substr(std::size_t(SelStart(s)), std::size_t(SelEnd(s) - SelStart(s))));
        return 0;
    case WM_SELECTIONLOST:
        // Another selection is the one on the desktop now: this one goes, the caret stays.
        s.anchor = s.caret;
        Moved(hwnd, s);
        return 0;
    default:
        return std::nullopt;
    }
}

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static constexpr Family<EditState> kFamilies[] = {
        FontFamily<EditState>, WindowMessage, TextMessage,      FocusMessage, KeyMessage,
        MouseMessage,          EditMessage,   ClipboardMessage, MenuMessage};
    return DispatchFamilies(hwnd, Message{msg, wParam, lParam}, kFamilies);
}

} // namespace

void RegisterEditClass(WindowManager& wm) {
    RegisterStandardClass(wm, WC_EDIT, EditProc, CS_DBLCLKS);
}

// --- The typed calls ---------------------------------------------------------------------------

void EditWindow::SetLimit(int count) {
    if (EditState* s = StateOf<EditState>(m_hwnd))
        stdwin::SetLimit(*s, WPARAM(std::max(count, 0)));
}

int EditWindow::Limit() const {
    EditState* s = StateOf<EditState>(m_hwnd);
    return s ? s->limit : 0;
}

void EditWindow::SetReadOnly(bool readOnly) {
    if (StateOf<EditState>(m_hwnd))
        stdwin::SetReadOnly(m_hwnd, readOnly);
}

void EditWindow::SetSelection(int start, int end) {
    if (EditState* s = StateOf<EditState>(m_hwnd))
        stdwin::SetSelection(m_hwnd, *s, start, end);
}

TextSelection EditWindow::Selection() const {
    EditState* s = StateOf<EditState>(m_hwnd);
    return s ? TextSelection{SelStart(*s), SelEnd(*s)} : TextSelection{};
}

void EditWindow::ReplaceSelection(const std::string& text) {
    if (EditState* s = StateOf<EditState>(m_hwnd))
        Replace(m_hwnd, *s, ToU32(text));
}

bool EditWindow::Modified() const {
    EditState* s = StateOf<EditState>(m_hwnd);
    return s && s->modified;
}

void EditWindow::SetModified(bool modified) {
    if (EditState* s = StateOf<EditState>(m_hwnd))
        s->modified = modified;
}

void EditWindow::Copy() {
    if (EditState* s = StateOf<EditState>(m_hwnd))
        stdwin::Copy(*s);
}

void EditWindow::Cut() {
    if (EditState* s = StateOf<EditState>(m_hwnd))
        stdwin::Cut(m_hwnd, *s);
}

void EditWindow::Paste() {
    if (EditState* s = StateOf<EditState>(m_hwnd))
        PasteIfWritable(m_hwnd, *s);
}

void EditWindow::Clear() {
    if (EditState* s = StateOf<EditState>(m_hwnd))
        stdwin::Clear(m_hwnd, *s);
}

bool EditWindow::CanUndo() const {
    EditState* s = StateOf<EditState>(m_hwnd);
    return s && s->canUndo;
}

void EditWindow::Undo() {
    if (EditState* s = StateOf<EditState>(m_hwnd))
        stdwin::Undo(m_hwnd, *s);
}

} // namespace platform::stdwin