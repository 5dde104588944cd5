// The single-line edit: text kept as code points so that the caret and the selection step over
// whole characters (Cyrillic included); every change of the text is reported with EN_CHANGE,
// except the text given at creation.
#include "platform/stdwin/EditWindow.h"

#include <algorithm>
#include <vector>

#include "platform/gdi/SavedDC.h"
#include "platform/stdwin/StdWinCommon.h"
#include "platform/stdwin/StdWinPrivate.h"
#include "rtl/ScopeExit.h"

namespace platform::stdwin {

namespace {

using rtl::ValueRestore;

constexpr int kMargin = 2;
constexpr int kNoLimit = 0x7FFFFFFE;
// The characters the keyboard gives for the editing keys (WM_CHAR).
constexpr char32_t kCtrlA = 0x01, kCtrlC = 0x03, kBackspace = 0x08, kCtrlV = 0x16, kCtrlX = 0x18;
constexpr char32_t kFirstPrintable = 0x20, kDelete = 0x7F;

struct EditState : ControlState {
    std::u32string text;
    int caret = 0;
    int anchor = 0;
    int scroll = 0;
    int limit = kNoLimit;
    bool modified = false;
    bool creating = false;
    bool selecting = false;
    std::vector<int> positions; // x of each caret place; empty when stale

    void FontChanged(HWND, bool) override { positions.clear(); }
};

int SelStart(const EditState& s) {
    return std::min(s.caret, s.anchor);
}
int SelEnd(const EditState& s) {
    return std::max(s.caret, s.anchor);
}

bool ReadOnly(HWND hwnd) {
    return (GetWindowLongPtr(hwnd, GWL_STYLE) & ES_READONLY) != 0;
}

const std::vector<int>& Positions(EditState& s) {
    if (s.positions.size() != s.text.size() + 1) {
        s.positions.assign(1, 0);
        auto dc = gdi::DeviceContext::ForMeasure();
        dc->SetFont(s.font);
        // Each place is measured from the start of its run, so kerning and shaping count; a long
        // text is measured in runs so that a big paste costs linear, not quadratic, time.
        constexpr std::size_t kWhole = 256, kRun = 64;
        std::size_t run = s.text.size() <= kWhole ? s.text.size() : kRun;
        int base = 0;
        for (std::size_t start = 0; start < s.text.size(); start += run) {
            std::size_t end = std::min(s.text.size(), start + run);
            for (std::size_t i = start + 1; i <= end; ++i)
                s.positions.push_back(
                    base + dc->GetTextExtent(ToUtf8(s.text.substr(start, i - start))).cx);
            base = s.positions.back();
        }
    }
    return s.positions;
}

int VisibleWidth(HWND hwnd) {
    Rect c;
    GetClientRect(hwnd, c);
    return std::max(1, c.Width() - 2 * kMargin);
}

void EnsureCaretVisible(HWND hwnd, EditState& s) {
    const std::vector<int>& pos = Positions(s);
    int x = pos[std::size_t(s.caret)];
    int width = VisibleWidth(hwnd);
    if (x - s.scroll > width - 1)
        s.scroll = x - width + 1 + width / 4;
    if (x < s.scroll)
        s.scroll = std::max(0, x - width / 4);
    s.scroll = std::clamp(s.scroll, 0, std::max(0, pos.back() - width + 1));
}

int HitTest(HWND hwnd, EditState& s, int x) {
    const std::vector<int>& pos = Positions(s);
    int tx = x - kMargin + s.scroll;
    int best = 0;
    for (std::size_t i = 1; i < pos.size(); ++i)
        if (std::abs(pos[i] - tx) < std::abs(pos[std::size_t(best)] - tx))
            best = int(i);
    (void)hwnd;
    return best;
}

void Changed(HWND hwnd, EditState& s) {
    s.positions.clear();
    s.modified = true;
    EnsureCaretVisible(hwnd, s);
    InvalidateRect(hwnd, nullptr, false);
    if (!s.creating) {
        NotifyParent(hwnd, EN_UPDATE);
        if (IsWindow(hwnd))
            NotifyParent(hwnd, EN_CHANGE);
    }
}

void Moved(HWND hwnd, EditState& s) {
    EnsureCaretVisible(hwnd, s);
    InvalidateRect(hwnd, nullptr, false);
}

// Replaces the selection with `insert`, keeping within the length limit. False: nothing changed.
bool Replace(HWND hwnd, EditState& s, std::u32string insert) {
    int start = SelStart(s), end = SelEnd(s);
    long long room = (long long)s.limit - ((long long)s.text.size() - (end - start));
    if ((long long)insert.size() > room) {
        insert.resize(std::size_t(std::max(0LL, room)));
        MessageBeep();
        NotifyParent(hwnd, EN_MAXTEXT);
        if (!IsWindow(hwnd))
            return false;
    }
    if (insert.empty() && start == end)
        return false;
    s.text.replace(std::size_t(start), std::size_t(end - start), insert);
    s.caret = s.anchor = start + int(insert.size());
    Changed(hwnd, s);
    return true;
}

void Copy(EditState& s) {
    if (SelStart(s) != SelEnd(s))
        SetClipboardText(
            ToUtf8(s.text.substr(std::size_t(SelStart(s)), std::size_t(SelEnd(s) - SelStart(s)))));
}

void Paste(HWND hwnd, EditState& s) {
    std::u32string clip = ToU32(GetClipboardText());
    // One line: the text stops at the first line break; other control characters go.
    std::u32string line;
    for (char32_t c : clip) {
        if (c == U'\r' || c == U'\n')
            break;
        if (c >= kFirstPrintable && c != kDelete)
            line.push_back(c);
    }
    Replace(hwnd, s, line);
}

void SetLimit(EditState& s, WPARAM count) {
    s.limit = count ? int(std::min<WPARAM>(count, kNoLimit)) : kNoLimit;
}

void SetReadOnly(HWND hwnd, bool readOnly) {
    auto style = GetWindowLongPtr(hwnd, GWL_STYLE);
    SetWindowLongPtr(hwnd, GWL_STYLE, readOnly ? (style | ES_READONLY) : (style & ~ES_READONLY));
    InvalidateRect(hwnd, nullptr, false);
}

void SetSelection(HWND hwnd, EditState& s, int start, int end) {
    int len = int(s.text.size());
    if (start == -1) {
        s.anchor = s.caret;
    } else {
        if (end < 0 || end > len)
            end = len;
        s.anchor = std::clamp(start, 0, len);
        s.caret = end;
    }
    Moved(hwnd, s);
}

void Cut(HWND hwnd, EditState& s) {
    if (ReadOnly(hwnd))
        return;
    Copy(s);
    Replace(hwnd, s, {});
}

void Clear(HWND hwnd, EditState& s) {
    if (!ReadOnly(hwnd))
        Replace(hwnd, s, {});
}

void PasteIfWritable(HWND hwnd, EditState& s) {
    if (!ReadOnly(hwnd))
        Paste(hwnd, s);
}

void SetText(HWND hwnd, EditState& s, const char* text) {
    s.text = ToU32(text ? text : "");
    s.caret = s.anchor = 0;
    s.scroll = 0;
    Changed(hwnd, s);
    if (EditState* again = State<EditState>(hwnd))
        again->modified = false;
}

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
    int x0 = kMargin - s.scroll;
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
        break;
    }
    case VK_HOME:
    case VK_END:
        s.caret = vk == VK_HOME ? 0 : len;
        if (!shift)
            s.anchor = s.caret;
        Moved(hwnd, s);
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
    default:
        break;
    }
}

void Char(HWND hwnd, EditState& s, char32_t c) {
    switch (c) {
    case kCtrlA:
        SetSelection(hwnd, s, 0, -1);
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
    if (c < kFirstPrintable || c == kDelete || ReadOnly(hwnd))
        return;
    Replace(hwnd, s, std::u32string(1, c));
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
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        SelectWordAt(hwnd, s, GET_X_LPARAM(m.lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (s.selecting) {
            s.caret = HitTest(hwnd, s, GET_X_LPARAM(m.lParam));
            Moved(hwnd, s);
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
    default:
        return std::nullopt;
    }
}

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static constexpr Family<EditState> kFamilies[] = {
        FontFamily<EditState>, WindowMessage, TextMessage,     FocusMessage, KeyMessage,
        MouseMessage,          EditMessage,   ClipboardMessage};
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

} // namespace platform::stdwin
