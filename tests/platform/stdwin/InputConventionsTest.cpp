// The desktop's input conventions in the standard windows, on the headless display: the primary
// selection and the middle click, the edit field's undo and context menu, the wheel on a focused
// combo box and up-down.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/display/Headless.h"
#include "platform/gdi/SysColors.h"
#include "platform/stdwin/EditState.h"
#include "platform/stdwin/EditWindow.h"
#include "rtl/ScopeExit.h"

namespace platform {
namespace {

namespace hl = headless;
using Lines = std::vector<std::string>;
using stdwin::EditWindow;

// What the parent heard: text changes, selections, and the up-down's steps.
std::vector<std::string> g_heard;

LRESULT ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND: {
        HWND from = reinterpret_cast<HWND>(lParam);
        if (HIWORD(wParam) == EN_CHANGE && GetClassName(from) == WC_EDIT)
            g_heard.push_back("EN_CHANGE " + GetWindowText(from));
        else if (HIWORD(wParam) == CBN_SELCHANGE && GetClassName(from) == WC_COMBOBOX)
            g_heard.push_back("CBN_SELCHANGE " + GetWindowText(from));
        else if (HIWORD(wParam) == BN_CLICKED && GetClassName(from) == WC_BUTTON)
            g_heard.push_back("BN_CLICKED");
        return 0;
    }
    case WM_NOTIFY: {
        auto* nm = reinterpret_cast<const NMUPDOWN*>(lParam);
        g_heard.push_back("UDN_DELTAPOS " + std::to_string(nm->iPos) + " " +
                          std::to_string(nm->iDelta));
        return 0;
    }
    case WM_VSCROLL:
        if (LOWORD(wParam) == SB_THUMBPOSITION)
            g_heard.push_back("VSCROLL " + std::to_string(int(std::int16_t(HIWORD(wParam)))));
        return 0;
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

// Input a timer plays while a window's own loop (the menu's) waits, as a user would.
std::function<void()> g_whileUp;
void WhileUp(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (g_whileUp)
        g_whileUp();
}

// Queued for the menu's loop, not pumped here.
void Press(int vk) {
    hl::KeyDown(vk);
    hl::KeyUp(vk);
}
void PressLetter(int vk, char32_t character) {
    hl::KeyDown(vk, std::u32string(1, character));
    hl::KeyUp(vk);
}

HWND MenuWindow() {
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
        if (GetClassName(h) == WC_POPUPMENU && IsWindowVisible(h))
            return h;
    return nullptr;
}

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        hl::Start();
        WNDCLASS cls;
        cls.className = "InputTestParent";
        cls.lpfnWndProc = ParentProc;
        cls.background = gdi::GetSysColor(gdi::COLOR_BTNFACE);
        RegisterClass(cls);
        g_heard.clear();
        m_form = CreateWindowEx(0, "InputTestParent", "form", WS_POPUP | WS_CAPTION, 100, 100, 400,
                                300, nullptr);
        ShowWindow(m_form, SW_SHOW);
        hl::Run();
    }
    void TearDown() override {
        g_whileUp = nullptr;
        hl::Stop();
    }

    HWND Make(const char* cls, const std::string& text, DWORD style, Rect r, int id) {
        HWND h = CreateWindowEx(WS_EX_CLIENTEDGE, cls, text, WS_CHILD | WS_VISIBLE | style, r.left,
                                r.top, r.Width(), r.Height(), m_form, id);
        hl::Run();
        return h;
    }
    HWND Edit(const std::string& text, int row) {
        return Make(WC_EDIT, text, 0, Rect{10, 10 + 30 * row, 210, 31 + 30 * row}, row + 1);
    }
    // Selects with the mouse from one x of the field to another.
    static void Drag(HWND e, int from, int to) {
        hl::MouseDown(hl::ToScreen(e, Point{from, 5}));
        hl::Run();
        hl::MouseMove(hl::ToScreen(e, Point{to, 5}));
        hl::MouseUp(hl::ToScreen(e, Point{to, 5}));
        hl::Run();
    }
    static bool NothingSelected(HWND e) {
        stdwin::TextSelection s = EditWindow(e).Selection();
        return s.start == s.end;
    }
    // Right-clicks the field and, once its menu is up, plays `user`.
    static void RightClickThen(HWND e, std::function<void()> user) {
        g_whileUp = std::move(user);
        SetTimer(nullptr, 0, 10, WhileUp);
        hl::Click(e, Point{5, 5}, 3);
        g_whileUp = nullptr;
    }
    // Asks for the menu from the keyboard (Shift+F10) and, once it is up, plays `user`.
    static void ShiftF10Then(std::function<void()> user) {
        g_whileUp = std::move(user);
        SetTimer(nullptr, 0, 10, WhileUp);
        hl::Key(VK_F10, hl::kShift);
        g_whileUp = nullptr;
    }
    // The context menu's items in order (Undo, Cut, Copy, Paste, Delete, Select All): 1 enabled.
    static std::string EnabledItems(HWND e) {
        std::string flags;
        for (const stdwin::MenuItem& item :
             stdwin::ContextMenuItems(e, *stdwin::StateOf<stdwin::EditState>(e)))
            if (item.id)
                flags += item.enabled ? '1' : '0';
        return flags;
    }

    HWND m_form = nullptr;
};

TEST_F(InputTest, PrimarySelectionIsWhatTheUserSelectedLast) {
    HWND a = Edit("Январь 1980", 0);
    HWND b = Edit("1900", 1);
    SetFocus(a);
    SendMessage(a, EM_SETSEL, 0, -1); // the program's selection is not the user's
    EXPECT_EQ(GetPrimarySelectionOwner(), nullptr);
    hl::Key(VK_HOME);
    for (int i = 0; i < 6; ++i)
        hl::Key(VK_RIGHT, hl::kShift);
    EXPECT_EQ(GetPrimarySelectionOwner(), a);
    EXPECT_EQ(GetPrimarySelectionText(), "Январь");
    hl::Key(VK_END, hl::kShift); // the text is the selection as it is when asked
    EXPECT_EQ(GetPrimarySelectionText(), "Январь 1980");

    // Selecting in another field takes it over: the first field's selection goes.
    Drag(b, 1, 190);
    EXPECT_EQ(GetPrimarySelectionOwner(), b);
    EXPECT_EQ(GetPrimarySelectionText(), "1900");
    EXPECT_TRUE(NothingSelected(a));

    // Another program selects: none of ours owns it, and the field's selection goes.
    hl::SelectElsewhere("чужой текст");
    EXPECT_EQ(GetPrimarySelectionOwner(), nullptr);
    EXPECT_EQ(GetPrimarySelectionText(), "чужой текст");
    EXPECT_TRUE(NothingSelected(b));

    // Typing over the selection, the program's text and destroying the field give it up.
    hl::Key('A', hl::kCtrl);
    EXPECT_EQ(GetPrimarySelectionOwner(), b);
    hl::Type("2");
    EXPECT_EQ(GetPrimarySelectionOwner(), nullptr);
    EXPECT_EQ(GetPrimarySelectionText(), "");
    hl::Key(VK_HOME, hl::kShift);
    EXPECT_EQ(GetPrimarySelectionOwner(), b);
    SetWindowText(b, "");
    EXPECT_EQ(GetPrimarySelectionOwner(), nullptr);
    SetFocus(a);
    hl::Key('A', hl::kCtrl);
    EXPECT_EQ(GetPrimarySelectionOwner(), a);
    DestroyWindow(a);
    EXPECT_EQ(GetPrimarySelectionOwner(), nullptr);
    EXPECT_EQ(GetPrimarySelectionText(), "");
}

TEST_F(InputTest, MiddleClickPastesThePrimarySelectionCtrlVTheClipboard) {
    HWND other = Edit("", 0);
    HWND e = Edit("ab", 1);
    SetFocus(other);
    SetClipboardText("буфер");
    hl::SelectElsewhere("выбор\nвторая строка");
    hl::Click(e, Point{1, 5}, 2); // the caret goes where the click is
    EXPECT_EQ(GetFocus(), e);
    EXPECT_EQ(GetWindowText(e), "выборab");
    EXPECT_EQ(g_heard, (Lines{"EN_CHANGE выборab"}));
    hl::Key('V', hl::kCtrl);
    EXPECT_EQ(GetWindowText(e), "выборбуферab");
    // The field's own selection, pasted at its end.
    hl::Key(VK_HOME);
    for (int i = 0; i < 5; ++i)
        hl::Key(VK_RIGHT, hl::kShift);
    hl::Click(e, Point{190, 5}, 2);
    EXPECT_EQ(GetWindowText(e), "выборбуферabвыбор");
    EXPECT_EQ(GetPrimarySelectionOwner(), nullptr);
    SendMessage(e, EM_SETREADONLY, 1);
    hl::Click(e, Point{1, 5}, 2);
    EXPECT_EQ(GetWindowText(e), "выборбуферabвыбор");
}

TEST_F(InputTest, CtrlZUndoesTheLastChangeAndAgainRedoesIt) {
    HWND e = Edit("1900", 0);
    SetFocus(e);
    EXPECT_FALSE(EditWindow(e).CanUndo());
    hl::Key(VK_END);
    hl::Type("12"); // typing in a row is one change
    g_heard.clear();
    hl::Key('Z', hl::kCtrl);
    EXPECT_EQ(GetWindowText(e), "1900");
    EXPECT_EQ(g_heard, (Lines{"EN_CHANGE 1900"}));
    hl::Key('Z', hl::kCtrl);
    EXPECT_EQ(GetWindowText(e), "190012");
    // What was deleted comes back selected, as it was before.
    hl::Key(VK_LEFT);
    hl::Key(VK_HOME, hl::kShift);
    hl::Key(VK_DELETE);
    EXPECT_EQ(GetWindowText(e), "2");
    hl::Key('Z', hl::kCtrl);
    EXPECT_EQ(GetWindowText(e), "190012");
    EXPECT_EQ(EditWindow(e).Selection().start, 0);
    EXPECT_EQ(EditWindow(e).Selection().end, 5);
    // The program's text is no change the user can undo.
    SetWindowText(e, "2000");
    EXPECT_FALSE(EditWindow(e).CanUndo());
    hl::Key('Z', hl::kCtrl);
    EXPECT_EQ(GetWindowText(e), "2000");
}

TEST_F(InputTest, ContextMenuOffersWhatAppliesAndRunsTheChosenCommand) {
    const char* was = std::getenv("LC_ALL");
    std::string saved = was ? was : "";
    rtl::ScopeExit restore([&] {
        if (was)
            setenv("LC_ALL", saved.c_str(), 1);
        else
            unsetenv("LC_ALL");
    });
    setenv("LC_ALL", "ru_RU.UTF-8", 1);
    HWND e = Edit("Январь", 0);
    HWND button = Make(WC_BUTTON, "OK", BS_PUSHBUTTON, Rect{300, 200, 375, 225}, 9);
    SetFocus(e);
    // Nothing selected, to undo or to paste: "Выделить все" alone applies, the arrow's first.
    bool up = false, focusKept = false;
    RightClickThen(e, [&] {
        up = MenuWindow() != nullptr;
        focusKept = GetFocus() == e && GetActiveWindow() == m_form;
        Press(VK_DOWN);
        Press(VK_RETURN);
    });
    EXPECT_TRUE(up);
    EXPECT_TRUE(focusKept);
    EXPECT_EQ(MenuWindow(), nullptr);
    EXPECT_EQ(EditWindow(e).Selection().end, 6);
    EXPECT_EQ(GetPrimarySelectionOwner(), e); // selected by the user

    // "Вы&резать" by its letter.
    RightClickThen(e, [] { PressLetter('H', U'Р'); });
    EXPECT_EQ(GetClipboardText(), "Январь");
    EXPECT_EQ(GetWindowText(e), "");
    // "&Копировать" has nothing to copy now: its letter does nothing, Escape dismisses.
    SetClipboardText("");
    RightClickThen(e, [] {
        PressLetter('R', U'к');
        Press(VK_ESCAPE);
    });
    EXPECT_EQ(GetClipboardText(), "");
    // A press outside dismisses the menu and reaches nothing.
    g_heard.clear();
    RightClickThen(e, [&] {
        Point p = hl::ToScreen(button, Point{20, 10});
        hl::MouseDown(p);
        hl::MouseUp(p);
    });
    EXPECT_EQ(MenuWindow(), nullptr);
    EXPECT_EQ(g_heard, Lines{});
    // From the keyboard: "&Отменить" is the first item that applies now, and brings the text back.
    ShiftF10Then([] {
        Press(VK_DOWN);
        Press(VK_RETURN);
    });
    EXPECT_EQ(GetWindowText(e), "Январь");
}

TEST_F(InputTest, ContextMenuEnablesWhatAStandardFieldDoes) {
    HWND e = Edit("1900", 0);
    EditWindow edit(e);
    SetClipboardText("");
    EXPECT_EQ(EnabledItems(e), "000001"); // nothing selected, changed or on the clipboard
    edit.SetSelection(0, 2);
    EXPECT_EQ(EnabledItems(e), "011011");
    edit.SelectAll();
    EXPECT_EQ(EnabledItems(e), "011010"); // all of it selected already
    SetClipboardText("2");
    EXPECT_EQ(EnabledItems(e), "011110");
    edit.ReplaceSelection("20");
    EXPECT_EQ(EnabledItems(e), "100101"); // a change to undo, nothing selected
    edit.SetReadOnly(true);
    EXPECT_EQ(EnabledItems(e), "000001"); // nothing can change a read-only field
    edit.SelectAll();
    EXPECT_EQ(EnabledItems(e), "001000"); // but what is selected can be copied
    edit.SetReadOnly(false);
    SetWindowText(e, "");
    EXPECT_EQ(EnabledItems(e), "000100"); // an empty field has nothing to select
}

TEST_F(InputTest, WheelStepsAFocusedComboBoxAndUpDownAsTheirKeysDo) {
    HWND combo = Make(WC_COMBOBOX, "", CBS_DROPDOWN, Rect{10, 10, 155, 31}, 1);
    for (const char* m : {"Январь", "Февраль", "Март", "Апрель"})
        SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m));
    SendMessage(combo, CB_SETCURSEL, 2);
    SetFocus(combo);
    Point over = hl::ToScreen(combo, Point{5, 5});
    hl::Wheel(over, -WHEEL_DELTA); // towards the user: the next item
    hl::Run();
    EXPECT_EQ(g_heard, (Lines{"CBN_SELCHANGE Апрель"}));
    hl::Wheel(over, 5 * WHEEL_DELTA); // a notch an item, up to the first
    hl::Run();
    EXPECT_EQ(g_heard, (Lines{"CBN_SELCHANGE Апрель", "CBN_SELCHANGE Март", "CBN_SELCHANGE Февраль",
                              "CBN_SELCHANGE Январь"}));

    HWND edit = Make(WC_EDIT, "", 0, Rect{10, 50, 59, 71}, 2);
    HWND ud =
        Make(UPDOWN_CLASS, "", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
             Rect{0, 0, 15, 21}, 3);
    SendMessage(ud, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit));
    SendMessage(ud, UDM_SETRANGE32, 1900, 2100);
    SendMessage(ud, UDM_SETPOS32, 0, 2099);
    SetFocus(edit);
    g_heard.clear();
    hl::Wheel(hl::ToScreen(edit, Point{5, 5}), 2 * WHEEL_DELTA); // stops at the end
    hl::Run();
    EXPECT_EQ(g_heard, (Lines{"UDN_DELTAPOS 2099 1", "EN_CHANGE 2100", "VSCROLL 2100"}));
    hl::Wheel(hl::ToScreen(edit, Point{5, 5}), -WHEEL_DELTA);
    hl::Run();
    EXPECT_EQ(GetWindowText(edit), "2099");
}

} // namespace
} // namespace platform
