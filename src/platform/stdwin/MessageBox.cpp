// The system message box: an icon, word-wrapped text and a row of buttons in a dialog window.
// It runs its own loop until a button is chosen, with its owner disabled meanwhile; Enter
// presses the focused (else the default) button, Escape the cancel one — or OK when OK is the
// only button — and the arrow and Tab keys move between the buttons.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/stdwin/StdWinCommon.h"
#include "platform/stdwin/StdWinPrivate.h"

namespace platform {

namespace stdwin {

namespace {

constexpr const char* kBoxClass = "ZorvaneMessageBox";
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kGap = 6;
constexpr int kMargin = 12;
constexpr int kIconSize = 32;

struct BoxState : ControlState {
    std::string text;
    UINT icon = 0;
    Rect textRect;
    std::vector<HWND> buttons;
    int escapeId = 0; // what Escape and the close box answer; 0: they do nothing
    int result = 0;
};

bool RussianUi() {
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v)
            return std::string(v).rfind("ru", 0) == 0;
    }
    return false;
}

std::string Caption(int id) {
    bool ru = RussianUi();
    switch (id) {
    case IDOK:
        return ru ? "ОК" : "OK";
    case IDCANCEL:
        return ru ? "Отмена" : "Cancel";
    case IDYES:
        return ru ? "&Да" : "&Yes";
    case IDNO:
        return ru ? "&Нет" : "&No";
    default:
        return "?";
    }
}

void DrawIcon(gdi::DeviceContext& dc, UINT icon, Point at) {
    Rect r{at.x, at.y, at.x + kIconSize, at.y + kIconSize};
    gdi::FontSpec glyph;
    glyph.name = "Arial";
    glyph.height = -24;
    glyph.bold = true;
    dc.SetFont(glyph);
    dc.SetBkMode(gdi::TRANSPARENT);
    const char* mark = "";
    switch (icon) {
    case MB_ICONSTOP:
        dc.SetPen(gdi::PenSpec{gdi::PenStyle::Solid, 1, gdi::RGB(128, 0, 0)});
        dc.SetBrush(Solid(gdi::RGB(255, 0, 0)));
        dc.Ellipse(r);
        dc.SetTextColor(gdi::RGB(255, 255, 255));
        mark = "X";
        break;
    case MB_ICONWARNING:
        dc.SetPen(gdi::PenSpec{gdi::PenStyle::Solid, 1, gdi::RGB(0, 0, 0)});
        dc.SetBrush(Solid(gdi::RGB(255, 255, 0)));
        dc.Polygon({Point{r.left + kIconSize / 2, r.top + 1}, Point{r.right - 1, r.bottom - 2},
                    Point{r.left, r.bottom - 2}});
        dc.SetTextColor(gdi::RGB(0, 0, 0));
        mark = "!";
        r.top += 5;
        break;
    case MB_ICONQUESTION:
    case MB_ICONINFORMATION:
        dc.SetPen(gdi::PenSpec{gdi::PenStyle::Solid, 1, gdi::RGB(0, 0, 128)});
        dc.SetBrush(Solid(gdi::RGB(255, 255, 255)));
        dc.Ellipse(r);
        dc.SetTextColor(gdi::RGB(0, 0, 255));
        mark = icon == MB_ICONQUESTION ? "?" : "i";
        break;
    default:
        return;
    }
    dc.DrawText(mark, r, gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX);
}

void Paint(HWND hwnd, BoxState& s) {
    PaintScope paint(hwnd);
    HDC dc = paint.dc;
    if (!dc)
        return;
    Rect c = paint.client;
    dc->FillRect(c, SysBrush(gdi::COLOR_BTNFACE));
    if (s.icon)
        DrawIcon(*dc, s.icon, Point{kMargin, kMargin});
    dc->SetFont(s.font);
    dc->SetBkMode(gdi::TRANSPARENT);
    dc->SetTextColor(gdi::GetSysColor(gdi::COLOR_WINDOWTEXT));
    Rect tr = s.textRect;
    dc->DrawText(s.text, tr,
                 gdi::DT_LEFT | gdi::DT_WORDBREAK | gdi::DT_NOPREFIX | gdi::DT_EXPANDTABS);
}

LRESULT BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    BoxState* s = State<BoxState>(hwnd);
    if (!s)
        return 0;
    switch (msg) {
    case WM_PAINT:
        Paint(hwnd, *s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            s->result = LOWORD(wParam);
        return 0;
    case WM_CLOSE:
        if (s->escapeId)
            s->result = s->escapeId;
        return 0;
    default:
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

void FocusButton(HWND box, BoxState& s, HWND button) {
    for (HWND b : s.buttons)
        SendMessage(b, BM_SETSTYLE, b == button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 1);
    SetFocus(button);
    (void)box;
}

// The button whose caption marks `c` as its accelerator ("&Yes": Y), or none.
HWND AcceleratorButton(const BoxState& s, char32_t c) {
    for (HWND b : s.buttons) {
        std::u32string caption = ToU32(GetWindowText(b));
        for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
            if (caption[i] != U'&')
                continue;
            if (caption[i + 1] == U'&') {
                ++i; // "&&" is a plain ampersand
                continue;
            }
            if (FoldCase(caption[i + 1]) == FoldCase(c))
                return b;
            break;
        }
    }
    return nullptr;
}

// The keys a dialog takes before the focused window sees them. True: taken.
bool DialogKey(HWND box, const MSG& m) {
    if (!(m.hwnd == box || IsChild(box, m.hwnd)))
        return false;
    BoxState* s = State<BoxState>(box);
    if (!s || s->buttons.empty())
        return false;
    if (m.message == WM_CHAR || m.message == WM_SYSCHAR) {
        // A button's underlined letter answers with it, typed alone or with Alt.
        if (HWND b = AcceleratorButton(*s, char32_t(m.wParam))) {
            s->result = GetDlgCtrlID(b);
            return true;
        }
        return false;
    }
    if (m.message != WM_KEYDOWN)
        return false;
    HWND focus = GetFocus();
    auto it = std::find(s->buttons.begin(), s->buttons.end(), focus);
    switch (m.wParam) {
    case VK_RETURN: {
        HWND b = it != s->buttons.end() ? *it : nullptr;
        if (!b)
            for (HWND x : s->buttons)
                if ((GetWindowLongPtr(x, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                    b = x;
        if (b)
            s->result = GetDlgCtrlID(b);
        return true;
    }
    case VK_ESCAPE:
        if (s->escapeId)
            s->result = s->escapeId;
        return true;
    case VK_TAB:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
        int n = int(s->buttons.size());
        int i = it == s->buttons.end() ? 0 : int(it - s->buttons.begin());
        bool back = m.wParam == VK_LEFT || m.wParam == VK_UP ||
                    (m.wParam == VK_TAB && GetKeyState(VK_SHIFT) < 0);
        i = (i + (back ? n - 1 : 1)) % n;
        FocusButton(box, *s, s->buttons[std::size_t(i)]);
        return true;
    }
    default:
        return false;
    }
}

} // namespace

void RegisterMessageBoxClass(WindowManager& wm) {
    RegisterStandardClass(wm, kBoxClass, BoxProc);
}

} // namespace stdwin

int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    using namespace stdwin;
    HWND ownerTop = owner && IsWindow(owner) ? GetAncestor(owner, GA_ROOT) : nullptr;
    std::vector<int> ids;
    int escapeId = 0;
    switch (flags & 0xF) {
    case MB_OKCANCEL:
        ids = {IDOK, IDCANCEL};
        escapeId = IDCANCEL;
        break;
    case MB_YESNO:
        ids = {IDYES, IDNO};
        break;
    case MB_YESNOCANCEL:
        ids = {IDYES, IDNO, IDCANCEL};
        escapeId = IDCANCEL;
        break;
    default:
        ids = {IDOK};
        escapeId = IDOK;
        break;
    }
    int defIndex = (flags & MB_DEFBUTTON2) && ids.size() > 1 ? 1 : 0;
    UINT icon = flags & 0xF0;
    if (icon != MB_ICONSTOP && icon != MB_ICONQUESTION && icon != MB_ICONWARNING &&
        icon != MB_ICONINFORMATION)
        icon = 0;

    // Layout: the text wraps at a width that keeps the box readable.
    gdi::FontSpec font = ControlState::DefaultFont();
    auto measure = gdi::DeviceContext::ForMeasure();
    measure->SetFont(font);
    Rect textRect{0, 0, 420, 0};
    measure->DrawText(text.empty() ? " " : text, textRect,
                      gdi::DT_CALCRECT | gdi::DT_LEFT | gdi::DT_WORDBREAK | gdi::DT_NOPREFIX |
                          gdi::DT_EXPANDTABS);
    int textLeft = icon ? kMargin + kIconSize + kMargin : kMargin;
    int textTop = kMargin;
    if (icon && textRect.Height() < kIconSize)
        textTop += (kIconSize - textRect.Height()) / 2;
    textRect = Rect{textLeft, textTop, textLeft + textRect.Width(), textTop + textRect.Height()};
    int n = int(ids.size());
    int rowWidth = n * kButtonWidth + (n - 1) * kGap;
    int width = std::max({textRect.right + kMargin, rowWidth + 2 * kMargin, 120});
    int contentBottom = std::max(textRect.bottom, icon ? kMargin + kIconSize : 0);
    int buttonTop = contentBottom + 14;
    int height = buttonTop + kButtonHeight + kMargin;

    Rect around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (ownerTop && IsWindowVisible(ownerTop) && !IsIconic(ownerTop))
        GetWindowRect(ownerTop, around);
    int x = std::max(0, around.left + (around.Width() - width) / 2);
    int y = std::max(0, around.top + (around.Height() - height) / 2);

    HWND box = CreateWindowEx(WS_EX_DLGMODALFRAME, kBoxClass, caption,
                              WS_POPUP | WS_CAPTION | WS_SYSMENU, x, y, width, height, ownerTop);
    if (!box)
        return 0;
    BoxState* s = State<BoxState>(box);
    s->text = text;
    s->icon = icon;
    s->textRect = textRect;
    s->escapeId = escapeId;
    int bx = (width - rowWidth) / 2;
    for (int i = 0; i < n; ++i) {
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                      (i == defIndex ? DWORD(BS_DEFPUSHBUTTON) : DWORD(BS_PUSHBUTTON));
        HWND b = CreateWindowEx(0, WC_BUTTON, Caption(ids[std::size_t(i)]), style,
                                bx + i * (kButtonWidth + kGap), buttonTop, kButtonWidth,
                                kButtonHeight, box, ids[std::size_t(i)]);
        if ((s = State<BoxState>(box)) == nullptr)
            return 0;
        s->buttons.push_back(b);
    }

    // Modal to the owner: its window takes no input while the box is up.
    bool reenable = ownerTop && IsWindowEnabled(ownerTop);
    if (reenable)
        EnableWindow(ownerTop, false);
    MessageBeep(icon);
    ShowWindow(box, SW_SHOW);
    if ((s = State<BoxState>(box)) != nullptr && !s->buttons.empty())
        FocusButton(box, *s, s->buttons[std::size_t(defIndex)]);

    int result = 0;
    MSG m;
    while (IsWindow(box)) {
        s = State<BoxState>(box);
        if (s->result) {
            result = s->result;
            break;
        }
        if (!GetMessage(m, nullptr, 0, 0)) {
            // Quitting ends the box; the outer loop must still see the quit.
            PostQuitMessage(int(m.wParam));
            break;
        }
        if (DialogKey(box, m))
            continue;
        TranslateMessage(m);
        DispatchMessage(m);
    }
    if (!result)
        result = escapeId ? escapeId : IDCANCEL;
    if (reenable && IsWindow(ownerTop))
        EnableWindow(ownerTop, true);
    DestroyWindow(box);
    return result;
}

} // namespace platform
