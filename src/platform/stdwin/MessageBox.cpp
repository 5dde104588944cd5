// The system message box: an icon, word-wrapped text and a row of buttons in a dialog window.
// It runs its own loop until a button is chosen, with its owner disabled meanwhile; Enter
// presses the focused (else the default) button, Escape the cancel one — or OK when OK is the
// only button — and the arrow and Tab keys move between the buttons.
#include <algorithm>
#include <vector>

#include "platform/a11y/Accessibility.h"
#include "platform/stdwin/ButtonWindow.h"
#include "platform/stdwin/MessageBoxAccessible.h"
#include "platform/stdwin/StdWinCommon.h"
#include "platform/stdwin/StdWinPrivate.h"
#include "rtl/ScopeExit.h"

namespace platform {

namespace stdwin {

namespace {

constexpr const char* kBoxClass = "ZorvaneMessageBox";
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kGap = 6;
constexpr int kMargin = 12;
constexpr int kIconSize = 32;
// The parts of the flags that choose the buttons and the icon.
constexpr UINT kButtonsMask = 0xF;
constexpr UINT kIconMask = 0xF0;

struct BoxState : ControlState {
    std::string text;
    UINT icon = 0;
    Rect textRect;
    std::vector<HWND> buttons;
    int escapeId = 0; // what Escape and the close box answer; 0: they do nothing
    int result = 0;
    MessageBoxAccessible* accessible = nullptr;
};

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
        ButtonWindow(b).SetStyle(b == button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    SetFocus(button);
    if (s.accessible)
        a11y::NotifyFocus(s.accessible->ButtonNode(button));
    (void)box;
}

// The button whose caption marks `c` as its accelerator ("&Yes": Y), or none.
HWND AcceleratorButton(const BoxState& s, char32_t c) {
    for (HWND b : s.buttons) {
        char32_t accel = AcceleratorOf(GetWindowText(b));
        if (accel && FoldCase(accel) == FoldCase(c))
            return b;
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
        // A button's underlined letter answers with it, typed alone or with Alt (with Alt
        // also the letter the key types in another keyboard layout).
        std::u32string letters(1, char32_t(m.wParam));
        if (m.message == WM_SYSCHAR)
            letters += GetKeyInOtherLayouts();
        for (char32_t c : letters) {
            if (HWND b = AcceleratorButton(*s, c)) {
                s->result = GetDlgCtrlID(b);
                return true;
            }
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

// The buttons a box's flags ask for, which one Enter presses first, and what Escape answers.
struct BoxButtons {
    std::vector<int> ids;
    int escapeId = 0;
    int defIndex = 0;
};

BoxButtons ButtonsFor(UINT flags) {
    BoxButtons b;
    switch (flags & kButtonsMask) {
    case MB_OKCANCEL:
        b.ids = {IDOK, IDCANCEL};
        b.escapeId = IDCANCEL;
        break;
    case MB_YESNO:
        b.ids = {IDYES, IDNO};
        break;
    case MB_YESNOCANCEL:
        b.ids = {IDYES, IDNO, IDCANCEL};
        b.escapeId = IDCANCEL;
        break;
    default:
        b.ids = {IDOK};
        b.escapeId = IDOK;
        break;
    }
    b.defIndex = (flags & MB_DEFBUTTON2) && b.ids.size() > 1 ? 1 : 0;
    return b;
}

UINT IconFor(UINT flags) {
    UINT icon = flags & kIconMask;
    return icon == MB_ICONSTOP || icon == MB_ICONQUESTION || icon == MB_ICONWARNING ||
                   icon == MB_ICONINFORMATION
               ? icon
               : 0;
}

// Where everything goes: the text wraps at a width that keeps the box readable.
struct BoxLayout {
    Rect text;
    int width = 0;
    int height = 0;
    int buttonTop = 0;
    int rowWidth = 0;
};

BoxLayout LayOut(const std::string& text, UINT icon, int buttonCount) {
    auto measure = gdi::DeviceContext::ForMeasure();
    measure->SetFont(ControlState::DefaultFont());
    Rect textRect{0, 0, 420, 0};
    measure->DrawText(text.empty() ? " " : text, textRect,
                      gdi::DT_CALCRECT | gdi::DT_LEFT | gdi::DT_WORDBREAK | gdi::DT_NOPREFIX |
                          gdi::DT_EXPANDTABS);
    int textLeft = icon ? kMargin + kIconSize + kMargin : kMargin;
    int textTop = kMargin;
    if (icon && textRect.Height() < kIconSize)
        textTop += (kIconSize - textRect.Height()) / 2;
    BoxLayout l;
    l.text = Rect{textLeft, textTop, textLeft + textRect.Width(), textTop + textRect.Height()};
    l.rowWidth = buttonCount * kButtonWidth + (buttonCount - 1) * kGap;
    l.width = std::max({l.text.right + kMargin, l.rowWidth + 2 * kMargin, 120});
    int contentBottom = std::max(l.text.bottom, icon ? kMargin + kIconSize : 0);
    l.buttonTop = contentBottom + 14;
    l.height = l.buttonTop + kButtonHeight + kMargin;
    return l;
}

// Makes the box, centred on its owner (or the screen), with its buttons. Null on failure.
HWND MakeBox(HWND ownerTop, const std::string& text, const std::string& caption, UINT icon,
             const BoxButtons& buttons) {
    int n = int(buttons.ids.size());
    BoxLayout l = LayOut(text, icon, n);
    Rect around = GetCentringArea();
    if (ownerTop && IsWindowVisible(ownerTop) && !IsIconic(ownerTop))
        GetWindowRect(ownerTop, around);
    int x = std::max(0, around.left + (around.Width() - l.width) / 2);
    int y = std::max(0, around.top + (around.Height() - l.height) / 2);
    HWND box =
        CreateWindowEx(WS_EX_DLGMODALFRAME, kBoxClass, caption, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                       x, y, l.width, l.height, ownerTop);
    if (!box)
        return nullptr;
    BoxState* s = State<BoxState>(box);
    s->text = text;
    s->icon = icon;
    s->textRect = l.text;
    s->escapeId = buttons.escapeId;
    int bx = (l.width - l.rowWidth) / 2;
    for (int i = 0; i < n; ++i) {
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                      (i == buttons.defIndex ? DWORD(BS_DEFPUSHBUTTON) : DWORD(BS_PUSHBUTTON));
        int id = buttons.ids[std::size_t(i)];
        HWND b = CreateWindowEx(0, WC_BUTTON, Caption(id), style, bx + i * (kButtonWidth + kGap),
                                l.buttonTop, kButtonWidth, kButtonHeight, box, id);
        if ((s = State<BoxState>(box)) == nullptr)
            return nullptr;
        s->buttons.push_back(b);
    }
    return box;
}

// The box's own loop: until a button answers, the box goes, or the program quits. 0: no answer.
int RunBox(HWND box) {
    MSG m;
    while (IsWindow(box)) {
        if (int result = State<BoxState>(box)->result)
            return result;
        if (!GetMessage(m, nullptr, 0, 0)) {
            // Quitting ends the box; the outer loop must still see the quit.
            PostQuitMessage(int(m.wParam));
            return 0;
        }
        if (DialogKey(box, m))
            continue;
        TranslateMessage(m);
        DispatchMessage(m);
    }
    return 0;
}

} // namespace

void RegisterMessageBoxClass(WindowManager& wm) {
    RegisterStandardClass(wm, kBoxClass, BoxProc);
}

} // namespace stdwin

int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    using namespace stdwin;
    HWND ownerTop = owner && IsWindow(owner) ? GetAncestor(owner, GA_ROOT) : nullptr;
    BoxButtons buttons = ButtonsFor(flags);
    UINT icon = IconFor(flags);
    HWND box = MakeBox(ownerTop, text, caption, icon, buttons);
    if (!box)
        return 0;
    // The desktop keeps the box above the window it belongs to: its owner, or without a visible
    // one the window that was active.
    HWND belongsTo = ownerTop && IsWindowVisible(ownerTop) ? ownerTop : GetActiveWindow();
    SetWindowModal(box, true, belongsTo);
    // Modal to the owner: its window takes no input while the box is up.
    bool reenable = ownerTop && IsWindowEnabled(ownerTop);
    if (reenable)
        EnableWindow(ownerTop, false);
    // Screen readers meet it among the application's windows while it is up.
    MessageBoxAccessible accessible(box, text, State<BoxState>(box)->buttons);
    State<BoxState>(box)->accessible = &accessible;
    rtl::ScopeExit gone([&accessible] { a11y::RemoveHostWindow(accessible); });
    MessageBeep(icon);
    ShowWindow(box, SW_SHOW);
    a11y::AddHostWindow(accessible);
    if (BoxState* s = State<BoxState>(box); s && !s->buttons.empty())
        FocusButton(box, *s, s->buttons[std::size_t(buttons.defIndex)]);
    int result = RunBox(box);
    if (!result)
        result = buttons.escapeId ? buttons.escapeId : IDCANCEL;
    if (reenable && IsWindow(ownerTop))
        EnableWindow(ownerTop, true);
    DestroyWindow(box);
    return result;
}

} // namespace platform
