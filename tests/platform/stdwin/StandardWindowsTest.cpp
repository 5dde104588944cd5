#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/display/Headless.h"
#include "platform/display/WindowManager.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/SysColors.h"
#include "platform/stdwin/ComboBoxWindow.h"
#include "platform/stdwin/EditWindow.h"
#include "platform/stdwin/ProgressBarWindow.h"
#include "platform/stdwin/UpDownWindow.h"
#include "rtl/FormatSettings.h"

namespace platform {
namespace {

namespace hl = headless;

// What the parent heard, one line per notification, with the sender's text at that moment.
std::vector<std::string> g_heard;
std::function<LRESULT(UINT, WPARAM, LPARAM)> g_parentHook;
ColorRef g_ownerColour = 0x00FF00;
std::vector<UINT> g_drawStates;

std::string Name(int code, const std::string& cls) {
    if (cls == WC_BUTTON)
        return code == BN_CLICKED ? "BN_CLICKED" : "BN_" + std::to_string(code);
    if (cls == WC_EDIT) {
        switch (code) {
        case EN_CHANGE:
            return "EN_CHANGE";
        case EN_UPDATE:
            return "EN_UPDATE";
        case EN_SETFOCUS:
            return "EN_SETFOCUS";
        case EN_KILLFOCUS:
            return "EN_KILLFOCUS";
        case EN_MAXTEXT:
            return "EN_MAXTEXT";
        default:
            return "EN_?";
        }
    }
    switch (code) {
    case CBN_SELCHANGE:
        return "CBN_SELCHANGE";
    case CBN_EDITCHANGE:
        return "CBN_EDITCHANGE";
    case CBN_EDITUPDATE:
        return "CBN_EDITUPDATE";
    case CBN_DROPDOWN:
        return "CBN_DROPDOWN";
    case CBN_CLOSEUP:
        return "CBN_CLOSEUP";
    case CBN_SELENDOK:
        return "CBN_SELENDOK";
    case CBN_SELENDCANCEL:
        return "CBN_SELENDCANCEL";
    case CBN_SETFOCUS:
        return "CBN_SETFOCUS";
    case CBN_KILLFOCUS:
        return "CBN_KILLFOCUS";
    default:
        return "CBN_?";
    }
}

LRESULT ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (g_parentHook) {
        LRESULT r = g_parentHook(msg, wParam, lParam);
        if (r)
            return r;
    }
    switch (msg) {
    case WM_COMMAND: {
        HWND from = reinterpret_cast<HWND>(lParam);
        std::string line = std::to_string(LOWORD(wParam)) + " " +
                           Name(HIWORD(wParam), GetClassName(from)) + " " + GetWindowText(from);
        g_heard.push_back(line);
        return 0;
    }
    case WM_NOTIFY: {
        auto* nm = reinterpret_cast<const NMUPDOWN*>(lParam);
        g_heard.push_back("UDN_DELTAPOS " + std::to_string(nm->iPos) + " " +
                          std::to_string(nm->iDelta));
        return 0;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (LOWORD(wParam) == SB_THUMBPOSITION)
            g_heard.push_back(std::string(msg == WM_VSCROLL ? "VSCROLL " : "HSCROLL ") +
                              std::to_string(int(std::int16_t(HIWORD(wParam)))));
        return 0;
    case WM_DRAWITEM: {
        auto* di = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        g_drawStates.push_back(di->itemState);
        EXPECT_EQ(di->CtlType, UINT(ODT_BUTTON));
        di->hDC->FillRect(di->rcItem, gdi::BrushSpec{gdi::BrushStyle::Solid, g_ownerColour});
        return 1;
    }
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

class StandardWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        hl::Start();
        WNDCLASS cls;
        cls.className = "TestParent";
        cls.lpfnWndProc = ParentProc;
        cls.background = gdi::GetSysColor(gdi::COLOR_BTNFACE);
        RegisterClass(cls);
        g_heard.clear();
        g_drawStates.clear();
        g_parentHook = nullptr;
        m_form = CreateWindowEx(0, "TestParent", "form", WS_POPUP | WS_CAPTION, 100, 100, 400, 300,
                                nullptr);
        ShowWindow(m_form, SW_SHOW);
        hl::Run();
    }
    void TearDown() override {
        g_parentHook = nullptr;
        hl::Stop();
    }

    HWND Make(const char* cls, const std::string& text, DWORD style, Rect r, int id,
              DWORD exStyle = 0) {
        HWND h = CreateWindowEx(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                r.Width(), r.Height(), m_form, id);
        hl::Run();
        return h;
    }

    std::vector<std::string> Heard(const std::string& needle = "") {
        std::vector<std::string> out;
        for (const std::string& s : g_heard)
            if (needle.empty() || s.find(needle) != std::string::npos)
                out.push_back(s);
        return out;
    }

    HWND m_form = nullptr;
};

using Lines = std::vector<std::string>;

// ---------------------------------------------------------------------------------------------
// Push button

TEST_F(StandardWindowsTest, ButtonClicksWhenReleasedOverItOnly) {
    HWND b = Make(WC_BUTTON, "OK", BS_PUSHBUTTON, Rect{10, 10, 85, 35}, 7);
    hl::Click(b, Point{20, 10});
    EXPECT_EQ(Heard(), (Lines{"7 BN_CLICKED OK"}));
    EXPECT_EQ(GetFocus(), b);

    // Pressed, dragged off and released: no click.
    g_heard.clear();
    hl::MouseDown(hl::ToScreen(b, Point{5, 5}));
    hl::Run();
    EXPECT_EQ(SendMessage(b, BM_GETSTATE) & BST_PUSHED, BST_PUSHED);
    hl::MouseMove(hl::ToScreen(b, Point{200, 5}));
    hl::Run();
    EXPECT_EQ(SendMessage(b, BM_GETSTATE) & BST_PUSHED, 0);
    hl::MouseUp(hl::ToScreen(b, Point{200, 5}));
    hl::Run();
    EXPECT_TRUE(Heard().empty());
    EXPECT_EQ(GetCapture(), nullptr);

    // Released elsewhere with no move in between (the host may fold moves away): no click.
    hl::MouseDown(hl::ToScreen(b, Point{5, 5}));
    hl::Run();
    SendMessage(b, WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
    hl::Run();
    EXPECT_TRUE(Heard().empty());
    EXPECT_EQ(SendMessage(b, BM_GETSTATE) & BST_PUSHED, 0);

    // Space, and the program's own click.
    hl::Key(VK_SPACE);
    SendMessage(b, BM_CLICK);
    EXPECT_EQ(Heard().size(), 2u);

    // Disabled: the parent gets the mouse, the button says nothing.
    g_heard.clear();
    EnableWindow(b, false);
    hl::Click(b, Point{20, 10});
    EXPECT_TRUE(Heard().empty());
}

TEST_F(StandardWindowsTest, ButtonLooksRaisedAndDrawsItsFace) {
    HWND b = Make(WC_BUTTON, "", BS_PUSHBUTTON, Rect{10, 10, 85, 35}, 7);
    hl::Run();
    EXPECT_EQ(hl::Pixel(b, Point{0, 0}), gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(hl::Pixel(b, Point{74, 24}), gdi::GetSysColor(gdi::COLOR_3DDKSHADOW));
    EXPECT_EQ(hl::Pixel(b, Point{30, 12}), gdi::GetSysColor(gdi::COLOR_BTNFACE));
}

TEST_F(StandardWindowsTest, OwnerDrawnButtonAsksItsParentWithTheItemState) {
    HWND b = Make(WC_BUTTON, "", BS_OWNERDRAW, Rect{10, 10, 60, 40}, 9);
    ASSERT_FALSE(g_drawStates.empty());
    EXPECT_EQ(g_drawStates.back() & (ODS_SELECTED | ODS_FOCUS | ODS_DISABLED), 0u);
    EXPECT_EQ(hl::Pixel(b, Point{25, 15}), g_ownerColour);

    hl::MouseDown(hl::ToScreen(b, Point{5, 5}));
    hl::Run();
    EXPECT_EQ(g_drawStates.back() & (ODS_SELECTED | ODS_FOCUS), UINT(ODS_SELECTED | ODS_FOCUS));
    hl::MouseUp(hl::ToScreen(b, Point{5, 5}));
    hl::Run();
    EXPECT_EQ(g_drawStates.back() & ODS_SELECTED, 0u);
    EXPECT_EQ(Heard(), (Lines{"9 BN_CLICKED "}));

    EnableWindow(b, false);
    hl::Run();
    EXPECT_EQ(g_drawStates.back() & ODS_DISABLED, UINT(ODS_DISABLED));
}

// ---------------------------------------------------------------------------------------------
// Edit

TEST_F(StandardWindowsTest, EditReportsEveryChangeButNotItsCreation) {
    HWND e = Make(WC_EDIT, "1900", 0, Rect{10, 10, 110, 31}, 3, WS_EX_CLIENTEDGE);
    EXPECT_TRUE(Heard("EN_CHANGE").empty());
    EXPECT_EQ(GetWindowText(e), "1900");
    SetWindowText(e, "1901");
    EXPECT_EQ(Heard("EN_CHANGE"), (Lines{"3 EN_CHANGE 1901"}));

    g_heard.clear();
    SetFocus(e);
    SendMessage(e, EM_SETSEL, 0, -1);
    hl::Type("Март");
    EXPECT_EQ(Heard("EN_CHANGE"),
              (Lines{"3 EN_CHANGE М", "3 EN_CHANGE Ма", "3 EN_CHANGE Мар", "3 EN_CHANGE Март"}));
    // EN_UPDATE comes before each EN_CHANGE.
    EXPECT_EQ(Heard("EN_UPDATE").size(), 4u);
}

TEST_F(StandardWindowsTest, EditKeysMoveTheCaretSelectAndDelete) {
    HWND e = Make(WC_EDIT, "abcdef", 0, Rect{10, 10, 110, 31}, 3, WS_EX_CLIENTEDGE);
    SetFocus(e);
    hl::Key(VK_END);
    hl::Key(VK_BACK); // abcde
    hl::Key(VK_HOME);
    hl::Key(VK_DELETE); // bcde
    hl::Key(VK_RIGHT);
    hl::Key(VK_RIGHT, hl::kShift);
    hl::Key(VK_RIGHT, hl::kShift); // "cd" selected
    int a = 0, b = 0;
    SendMessage(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 3);
    hl::Type("X"); // replaces the selection
    EXPECT_EQ(GetWindowText(e), "bXe");
    hl::Key(VK_HOME, hl::kShift); // selects back to the start
    hl::Key(VK_DELETE);
    EXPECT_EQ(GetWindowText(e), "e");
    g_heard.clear();
    hl::Key(VK_LEFT);
    hl::Key(VK_BACK); // nothing before the caret: no change, no report
    EXPECT_TRUE(Heard("EN_CHANGE").empty());
}

TEST_F(StandardWindowsTest, EditKeepsItsLengthLimit) {
    HWND e = Make(WC_EDIT, "", 0, Rect{10, 10, 110, 31}, 3, WS_EX_CLIENTEDGE);
    SendMessage(e, EM_LIMITTEXT, 4);
    EXPECT_EQ(SendMessage(e, EM_GETLIMITTEXT), 4);
    SetFocus(e);
    hl::Type("19000");
    EXPECT_EQ(GetWindowText(e), "1900");
    EXPECT_EQ(Heard("EN_MAXTEXT").size(), 1u);
    // The program's own text is not limited.
    SetWindowText(e, "123456");
    EXPECT_EQ(GetWindowText(e), "123456");
}

TEST_F(StandardWindowsTest, EditCutCopyPasteThroughTheClipboard) {
    HWND e = Make(WC_EDIT, "Январь", 0, Rect{10, 10, 110, 31}, 3, WS_EX_CLIENTEDGE);
    SetFocus(e);
    hl::Key('A', hl::kCtrl);
    hl::Key('C', hl::kCtrl);
    EXPECT_EQ(GetClipboardText(), "Январь");
    hl::Key(VK_END);
    hl::Key(VK_LEFT, hl::kShift);
    hl::Key(VK_LEFT, hl::kShift);
    hl::Key('X', hl::kCtrl);
    EXPECT_EQ(GetClipboardText(), "рь");
    EXPECT_EQ(GetWindowText(e), "Янва");
    hl::Key(VK_HOME);
    hl::Key('V', hl::kCtrl);
    EXPECT_EQ(GetWindowText(e), "рьЯнва");
    // Only the first line of a pasted text, and only printable characters.
    SetClipboardText("1\t9\r\nsecond");
    hl::Key(VK_INSERT, hl::kShift);
    EXPECT_EQ(GetWindowText(e), "рь19Янва");
}

TEST_F(StandardWindowsTest, EditSelectsWithTheMouse) {
    HWND e = Make(WC_EDIT, "12345678", 0, Rect{10, 10, 210, 31}, 3, WS_EX_CLIENTEDGE);
    hl::MouseDown(hl::ToScreen(e, Point{1, 5}));
    hl::Run();
    EXPECT_EQ(GetFocus(), e);
    hl::MouseMove(hl::ToScreen(e, Point{190, 5}));
    hl::MouseUp(hl::ToScreen(e, Point{190, 5}));
    hl::Run();
    int a = 0, b = 0;
    SendMessage(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 8);
    // A click with Shift moves only the caret end.
    SendMessage(e, EM_SETSEL, 2, 2);
    hl::Advance(1000); // not a double click
    hl::KeyDown(VK_SHIFT);
    hl::Click(e, Point{1, 5});
    hl::KeyUp(VK_SHIFT);
    SendMessage(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 2);
    // The selection is painted in the highlight colour.
    SendMessage(e, EM_SETSEL, 0, -1);
    hl::Run();
    int highlighted = 0;
    for (int x = 2; x < 40; ++x)
        highlighted += hl::Pixel(e, Point{x, 8}) == gdi::GetSysColor(gdi::COLOR_HIGHLIGHT);
    EXPECT_GT(highlighted, 10);
}

TEST_F(StandardWindowsTest, DefaultButtonHasTheDarkOuterFrame) {
    HWND b = Make(WC_BUTTON, "", BS_PUSHBUTTON, Rect{10, 10, 85, 35}, 7);
    EXPECT_NE(hl::Pixel(b, Point{0, 0}), gdi::GetSysColor(gdi::COLOR_WINDOWFRAME));
    SendMessage(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, 1);
    hl::Run();
    EXPECT_EQ(hl::Pixel(b, Point{0, 0}), gdi::GetSysColor(gdi::COLOR_WINDOWFRAME));
    EXPECT_EQ(hl::Pixel(b, Point{1, 1}), gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT));
}

TEST_F(StandardWindowsTest, EditPlacesTheCaretRightInALongText) {
    // Long texts are measured in runs; a click still lands on the character under it.
    MoveWindow(m_form, 0, 0, 1250, 200);
    HWND e = Make(WC_EDIT, "", 0, Rect{0, 10, 1240, 31}, 9);
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += (i % 2) ? "i" : "l";
    SetWindowText(e, text);
    auto dc = gdi::DeviceContext::ForMeasure();
    dc->SetFont(*reinterpret_cast<const gdi::FontSpec*>(SendMessage(e, WM_GETFONT)));
    ASSERT_LT(dc->GetTextExtent(text).cx, 1200);
    for (int at : {10, 64, 130, 200, 299}) {
        int x = 2 + dc->GetTextExtent(text.substr(0, std::size_t(at))).cx;
        hl::Click(e, Point{x, 10});
        int start = -1, end = -1;
        SendMessage(e, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, at);
        EXPECT_EQ(end, at);
    }
}

TEST_F(StandardWindowsTest, EditReadOnlyReplaceSelectionAndWordSelection) {
    HWND e = Make(WC_EDIT, "один два", 0, Rect{10, 10, 210, 31}, 3, WS_EX_CLIENTEDGE);
    SetFocus(e);
    SendMessage(e, EM_SETREADONLY, 1);
    hl::Type("x");
    hl::Key(VK_BACK);
    EXPECT_EQ(GetWindowText(e), "один два");
    SendMessage(e, EM_SETREADONLY, 0);
    SendMessage(e, EM_SETSEL, 5, 8);
    SendMessage(e, EM_REPLACESEL, 0, LPARAM("три"));
    EXPECT_EQ(GetWindowText(e), "один три");
    EXPECT_EQ(SendMessage(e, EM_GETMODIFY), 1);
    // A double click selects the word under the mouse.
    hl::Click(e, Point{3, 5});
    hl::Click(e, Point{3, 5});
    int a = -1, b = -1;
    SendMessage(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 4);
}

TEST_F(StandardWindowsTest, EditFocusNotificationsAndInvalidBytes) {
    HWND e1 = Make(WC_EDIT, "", 0, Rect{10, 10, 110, 31}, 1, WS_EX_CLIENTEDGE);
    HWND e2 = Make(WC_EDIT, "", 0, Rect{10, 40, 110, 61}, 2, WS_EX_CLIENTEDGE);
    SetFocus(e1);
    SetFocus(e2);
    EXPECT_EQ(Heard(), (Lines{"1 EN_SETFOCUS ", "1 EN_KILLFOCUS ", "2 EN_SETFOCUS "}));
    // Malformed UTF-8 is taken byte by byte and does not upset the caret.
    SetWindowText(e2, std::string("a\xC3\xFF\x80z"));
    hl::Key(VK_END);
    hl::Key(VK_BACK);
    hl::Key(VK_LEFT, hl::kShift);
    hl::Key(VK_DELETE);
    EXPECT_FALSE(GetWindowText(e2).empty());
}

// The typed calls act on a window of their kind and on nothing else: a window of another kind
// or one that is gone makes them answer nothing, as a message to it would.
TEST_F(StandardWindowsTest, TypedCallsReachOnlyALiveWindowOfTheirKind) {
    HWND edit = Make(WC_EDIT, "abcdef", 0, Rect{10, 10, 110, 31}, 1);
    HWND combo = Make(WC_COMBOBOX, "", CBS_DROPDOWNLIST, Rect{10, 40, 110, 61}, 2);
    stdwin::EditWindow(edit).SetLimit(4);
    stdwin::EditWindow(edit).SetSelection(1, 3);
    EXPECT_EQ(SendMessage(edit, EM_GETLIMITTEXT), 4);
    EXPECT_EQ(SendMessage(edit, EM_GETSEL), MAKELPARAM(1, 3));
    EXPECT_EQ(stdwin::ComboBoxWindow(combo).AddString("x"), 0);
    EXPECT_EQ(stdwin::ComboBoxWindow(combo).SetCurSel(0), 0);

    stdwin::EditWindow(combo).SetSelection(0, -1);
    stdwin::EditWindow(combo).ReplaceSelection("y");
    EXPECT_EQ(stdwin::ComboBoxWindow(edit).AddString("z"), CB_ERR);
    stdwin::UpDownWindow(edit).SetPos(7);
    stdwin::ProgressBarWindow(combo).StepIt();
    EXPECT_EQ(GetWindowText(combo), "x");
    EXPECT_EQ(GetWindowText(edit), "abcdef");
    EXPECT_TRUE(Heard().empty());

    DestroyWindow(edit);
    stdwin::EditWindow(edit).SetSelection(0, -1);
    EXPECT_EQ(stdwin::EditWindow(edit).Selection().end, 0);
    EXPECT_EQ(stdwin::ComboBoxWindow(combo).Count(), 1);
}

// ---------------------------------------------------------------------------------------------
// Combo box

class ComboTest : public StandardWindowsTest {
protected:
    void SetUp() override {
        StandardWindowsTest::SetUp();
        m_combo = Make(WC_COMBOBOX, "", CBS_DROPDOWN, Rect{10, 10, 155, 31}, 5);
        for (const char* m : {"Январь", "Февраль", "Март", "Апрель", "Май", "Июнь", "Июль",
                              "Август", "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"})
            SendMessage(m_combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m));
        SendMessage(m_combo, CB_SETMINVISIBLE, 8);
        g_heard.clear();
    }
    HWND List() const {
        // The drop-down list is the visible top-level window other than the form.
        for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
            if (GetClassName(h) == WC_COMBOBOX + std::string() || GetClassName(h) == WC_COMBOLBOX)
                return h;
        return nullptr;
    }
    HWND m_combo = nullptr;
};

TEST_F(ComboTest, ItemsAndProgramSelectionSendNothing) {
    EXPECT_EQ(SendMessage(m_combo, CB_GETCOUNT), 12);
    std::string item;
    EXPECT_EQ(SendMessage(m_combo, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(&item)), 8);
    EXPECT_EQ(item, "Март");
    EXPECT_EQ(SendMessage(m_combo, CB_GETCURSEL), CB_ERR);
    EXPECT_EQ(SendMessage(m_combo, CB_SETCURSEL, 4), 4);
    EXPECT_EQ(GetWindowText(m_combo), "Май");
    EXPECT_EQ(SendMessage(m_combo, CB_GETCURSEL), 4);
    EXPECT_EQ(SendMessage(m_combo, CB_SETCURSEL, 40), CB_ERR);
    EXPECT_EQ(GetWindowText(m_combo), "");
    EXPECT_EQ(SendMessage(m_combo, CB_GETCURSEL), CB_ERR);
    EXPECT_TRUE(Heard().empty());
    EXPECT_EQ(SendMessage(m_combo, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("Июль")), 6);
}

TEST_F(ComboTest, ChoosingWithTheMouseSetsTheTextThenReportsTheSelection) {
    std::string textAtSelChange;
    g_parentHook = [&](UINT msg, WPARAM wParam, LPARAM) -> LRESULT {
        if (msg == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE)
            textAtSelChange = GetWindowText(m_combo);
        return 0;
    };
    Rect wr;
    GetWindowRect(m_combo, wr);
    hl::Click(m_combo, Point{wr.Width() - 8, 10}); // the button
    EXPECT_EQ(SendMessage(m_combo, CB_GETDROPPEDSTATE), 1);
    HWND list = List();
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(IsWindowVisible(list));
    Rect lr;
    GetWindowRect(list, lr);
    EXPECT_EQ(lr.Height(), 8 * 16 + 2);
    EXPECT_EQ(lr.top, wr.bottom);
    EXPECT_EQ(lr.Width(), wr.Width());
    EXPECT_EQ(GetActiveWindow(), m_form); // the list never takes the activation
    // A picture of the dropped list for whoever looks into a failure.
    EXPECT_TRUE(hl::SavePng(list, std::string(ZORVANE_BINARY_DIR) + "/combo-list.png"));

    hl::Click(list, Point{20, 2 * 16 + 8}); // the third item
    EXPECT_EQ(Heard(), (Lines{"5 CBN_SETFOCUS ", "5 CBN_DROPDOWN ", "5 CBN_SELENDOK ",
                              "5 CBN_CLOSEUP ", "5 CBN_SELCHANGE Март"}));
    EXPECT_EQ(textAtSelChange, "Март");
    EXPECT_EQ(SendMessage(m_combo, CB_GETCURSEL), 2);
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(GetCapture(), nullptr);
    // The field's text changed without a CBN_EDITCHANGE.
    EXPECT_TRUE(Heard("EDITCHANGE").empty());
}

TEST_F(ComboTest, ClickOutsideClosesWithoutChoosing) {
    SendMessage(m_combo, CB_SETCURSEL, 1);
    SendMessage(m_combo, CB_SHOWDROPDOWN, 1);
    HWND list = List();
    ASSERT_TRUE(IsWindowVisible(list));
    g_heard.clear();
    hl::Click(m_form, Point{300, 250});
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(Heard(), (Lines{"5 CBN_SELENDCANCEL Февраль", "5 CBN_CLOSEUP Февраль"}));
    EXPECT_EQ(SendMessage(m_combo, CB_GETCURSEL), 1);
}

TEST_F(ComboTest, DropDownIsAnnouncedBeforeTheListIsSized) {
    HWND small = Make(WC_COMBOBOX, "", CBS_DROPDOWN, Rect{10, 60, 155, 81}, 6);
    SendMessage(small, CB_ADDSTRING, 0, LPARAM("a"));
    g_parentHook = [&](UINT msg, WPARAM wParam, LPARAM) -> LRESULT {
        if (msg == WM_COMMAND && LOWORD(wParam) == 6 && HIWORD(wParam) == CBN_DROPDOWN)
            SendMessage(small, CB_ADDSTRING, 0, LPARAM("b"));
        return 0;
    };
    SendMessage(small, CB_SETITEMHEIGHT, 0, 20);
    EXPECT_EQ(SendMessage(small, CB_GETITEMHEIGHT, 0), 20);
    SendMessage(small, CB_SHOWDROPDOWN, 1);
    HWND list = List();
    Rect lr;
    GetWindowRect(list, lr);
    EXPECT_EQ(lr.Height(), 2 * 20 + 2);
}

TEST_F(ComboTest, KeysStepTheSelectionAndDriveTheList) {
    SetFocus(m_combo); // passes the focus to the edit field
    EXPECT_EQ(GetParent(GetFocus()), m_combo);
    hl::Key(VK_DOWN);
    hl::Key(VK_DOWN);
    EXPECT_EQ(Heard("SELCHANGE"), (Lines{"5 CBN_SELCHANGE Январь", "5 CBN_SELCHANGE Февраль"}));
    g_heard.clear();
    hl::Key(VK_F4);
    EXPECT_EQ(SendMessage(m_combo, CB_GETDROPPEDSTATE), 1);
    hl::Key(VK_DOWN);
    hl::Key(VK_RETURN);
    EXPECT_EQ(SendMessage(m_combo, CB_GETDROPPEDSTATE), 0);
    EXPECT_EQ(Heard(), (Lines{"5 CBN_DROPDOWN Февраль", "5 CBN_SELCHANGE Март",
                              "5 CBN_SELENDOK Март", "5 CBN_CLOSEUP Март"}));
    g_heard.clear();
    hl::Key(VK_DOWN, hl::kAlt);
    EXPECT_EQ(SendMessage(m_combo, CB_GETDROPPEDSTATE), 1);
    hl::Key(VK_ESCAPE);
    EXPECT_EQ(SendMessage(m_combo, CB_GETDROPPEDSTATE), 0);
    EXPECT_EQ(Heard("SELENDCANCEL").size(), 1u);
}

TEST_F(ComboTest, TypingReportsEditChangesAndSelectsOnlyAnExactItem) {
    SendMessage(m_combo, CB_SETCURSEL, 0);
    SetFocus(m_combo);
    SendMessage(GetFocus(), EM_SETSEL, 0, -1);
    hl::Type("Ма");
    EXPECT_EQ(Heard("CBN_EDIT"), (Lines{"5 CBN_EDITUPDATE М", "5 CBN_EDITCHANGE М",
                                        "5 CBN_EDITUPDATE Ма", "5 CBN_EDITCHANGE Ма"}));
    EXPECT_EQ(SendMessage(m_combo, CB_GETCURSEL), CB_ERR);
    hl::Type("й");
    EXPECT_EQ(SendMessage(m_combo, CB_GETCURSEL), 4);
    EXPECT_TRUE(Heard("SELCHANGE").empty());
    // Case does not matter, in Cyrillic as in Latin.
    SendMessage(GetFocus(), EM_SETSEL, 0, -1);
    hl::Type("мАРТ");
    EXPECT_EQ(SendMessage(m_combo, CB_GETCURSEL), 2);
    EXPECT_EQ(SendMessage(m_combo, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("АВГУСТ")), 7);
}

TEST_F(ComboTest, ListEditingKeepsTheSelectionOnItsItem) {
    SendMessage(m_combo, CB_SETCURSEL, 3); // Апрель
    EXPECT_EQ(SendMessage(m_combo, CB_INSERTSTRING, 0, LPARAM("Нулевой")), 0);
    EXPECT_EQ(SendMessage(m_combo, CB_GETCURSEL), 4);
    EXPECT_EQ(SendMessage(m_combo, CB_DELETESTRING, 0), 12);
    EXPECT_EQ(SendMessage(m_combo, CB_GETCURSEL), 3);
    EXPECT_EQ(SendMessage(m_combo, CB_DELETESTRING, 3), 11);
    EXPECT_EQ(SendMessage(m_combo, CB_GETCURSEL), CB_ERR);
    EXPECT_EQ(SendMessage(m_combo, CB_DELETESTRING, 40), CB_ERR);
    EXPECT_EQ(SendMessage(m_combo, CB_INSERTSTRING, 40, LPARAM("x")), CB_ERR);
    SendMessage(m_combo, CB_RESETCONTENT);
    EXPECT_EQ(SendMessage(m_combo, CB_GETCOUNT), 0);
    EXPECT_TRUE(Heard().empty());
}

TEST_F(StandardWindowsTest, SortedDropDownListComboTakesKeysItself) {
    HWND c = Make(WC_COMBOBOX, "", CBS_DROPDOWNLIST | CBS_SORT, Rect{10, 10, 155, 31}, 8);
    for (const char* m : {"в", "а", "б"})
        SendMessage(c, CB_ADDSTRING, 0, LPARAM(m));
    std::string first;
    SendMessage(c, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(&first));
    EXPECT_EQ(first, "а");
    EXPECT_EQ(GetWindow(c, GW_CHILD), nullptr); // no edit field
    hl::Click(c, Point{20, 10});
    EXPECT_EQ(GetFocus(), c);
    EXPECT_EQ(SendMessage(c, CB_GETDROPPEDSTATE), 1);
    hl::Key(VK_ESCAPE);
    g_heard.clear();
    hl::Key(VK_DOWN);
    hl::Key(VK_DOWN);
    EXPECT_EQ(Heard("SELCHANGE"), (Lines{"8 CBN_SELCHANGE а", "8 CBN_SELCHANGE б"}));
    EXPECT_EQ(GetWindowText(c), "б");
}

TEST_F(ComboTest, DestroyingTheComboWhileItsListIsDownIsSafe) {
    SendMessage(m_combo, CB_SHOWDROPDOWN, 1);
    HWND list = List();
    ASSERT_TRUE(IsWindow(list));
    DestroyWindow(m_combo);
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(GetCapture(), nullptr);
    hl::Click(m_form, Point{20, 20});
}

// ---------------------------------------------------------------------------------------------
// Up-down

class UpDownTest : public StandardWindowsTest {
protected:
    void SetUp() override {
        StandardWindowsTest::SetUp();
        m_edit = Make(WC_EDIT, "", 0, Rect{10, 10, 59, 31}, 1, WS_EX_CLIENTEDGE);
        m_ud = Make(UPDOWN_CLASS, "",
                    UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                    Rect{0, 0, 15, 21}, 2);
        SendMessage(m_ud, UDM_SETBUDDY, reinterpret_cast<WPARAM>(m_edit));
        SendMessage(m_ud, UDM_SETRANGE32, 1900, 2100);
        SendMessage(m_ud, UDM_SETPOS32, 0, 1900);
        hl::Run();
        g_heard.clear();
    }
    void ClickUp() { hl::Click(m_ud, Point{7, 3}); }
    void ClickDown() { hl::Click(m_ud, Point{7, 17}); }
    HWND m_edit = nullptr;
    HWND m_ud = nullptr;
};

TEST_F(UpDownTest, ArrowsStepTheBuddyAndReportInOrder) {
    EXPECT_EQ(GetWindowText(m_edit), "1900");
    Rect er, ur;
    GetWindowRect(m_edit, er);
    GetWindowRect(m_ud, ur);
    EXPECT_EQ(ur.left, er.right); // placed right of its buddy
    EXPECT_EQ(ur.top, er.top);
    ClickUp();
    EXPECT_EQ(Heard(), (Lines{"UDN_DELTAPOS 1900 1", "1 EN_UPDATE 1901", "1 EN_CHANGE 1901",
                              "VSCROLL 1901"}));
    EXPECT_EQ(SendMessage(m_ud, UDM_GETPOS32), 1901);
    ClickDown();
    ClickDown(); // at the lower end: nothing happens
    EXPECT_EQ(GetWindowText(m_edit), "1900");
    EXPECT_EQ(Heard("EN_CHANGE").size(), 2u);
}

TEST_F(UpDownTest, EndsStopOrWrapAndIncrementsAndRefusals) {
    SendMessage(m_ud, UDM_SETPOS32, 0, 2100);
    g_heard.clear();
    ClickUp();
    EXPECT_TRUE(Heard().empty());
    EXPECT_EQ(GetWindowText(m_edit), "2100");

    SetWindowLongPtr(m_ud, GWL_STYLE, GetWindowLongPtr(m_ud, GWL_STYLE) | UDS_WRAP);
    ClickUp();
    EXPECT_EQ(GetWindowText(m_edit), "1900");

    UDACCEL accel{0, 10};
    SendMessage(m_ud, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    ClickUp();
    EXPECT_EQ(GetWindowText(m_edit), "1910");

    g_parentHook = [](UINT msg, WPARAM, LPARAM) -> LRESULT { return msg == WM_NOTIFY ? 1 : 0; };
    ClickUp();
    EXPECT_EQ(GetWindowText(m_edit), "1910");
}

TEST_F(UpDownTest, ArrowKeysInTheBuddyAndTypedNumbers) {
    SetFocus(m_edit);
    hl::Key(VK_UP);
    hl::Key(VK_UP);
    hl::Key(VK_DOWN);
    EXPECT_EQ(GetWindowText(m_edit), "1901");
    // A number typed into the buddy is where the next step starts, and what the position reads.
    SetWindowText(m_edit, "1950");
    EXPECT_EQ(SendMessage(m_ud, UDM_GETPOS32), 1950);
    ClickUp();
    EXPECT_EQ(GetWindowText(m_edit), "1951");
    // Text outside the range is pulled back in by the next step.
    SetWindowText(m_edit, "2105");
    ClickUp();
    EXPECT_EQ(GetWindowText(m_edit), "2100");
}

TEST_F(UpDownTest, ThousandsAreGroupedUnlessAskedNotTo) {
    rtl::TFormatSettings saved = rtl::FormatSettings();
    rtl::FormatSettings().ThousandSeparator = " ";
    SetWindowLongPtr(m_ud, GWL_STYLE, GetWindowLongPtr(m_ud, GWL_STYLE) & ~UDS_NOTHOUSANDS);
    SendMessage(m_ud, UDM_SETRANGE32, 0, 5000);
    SendMessage(m_ud, UDM_SETPOS32, 0, 1999);
    EXPECT_EQ(GetWindowText(m_edit), "1 999");
    ClickUp();
    EXPECT_EQ(GetWindowText(m_edit), "2 000");
    EXPECT_EQ(SendMessage(m_ud, UDM_GETPOS32), 2000);
    rtl::FormatSettings() = saved;
}

TEST_F(UpDownTest, HorizontalSixteenBitRangeAndALostBuddy) {
    HWND ud = Make(UPDOWN_CLASS, "", UDS_HORZ, Rect{100, 100, 130, 115}, 9);
    SendMessage(ud, UDM_SETRANGE, 0, MAKELPARAM(5, -5)); // upper in the low word
    SendMessage(ud, UDM_SETPOS, 0, MAKELPARAM(4, 0));
    int lo = 0, hi = 0;
    SendMessage(ud, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    EXPECT_EQ(lo, -5);
    EXPECT_EQ(hi, 5);
    g_heard.clear();
    hl::Click(ud, Point{25, 7}); // right half
    hl::Click(ud, Point{25, 7});
    EXPECT_EQ(Heard("SCROLL"), (Lines{"HSCROLL 5"}));
    hl::Click(ud, Point{3, 7});
    EXPECT_EQ(Heard("SCROLL").back(), "HSCROLL 4");

    // The buddy goes away: steps go on without it.
    DestroyWindow(m_edit);
    ClickUp();
    EXPECT_EQ(SendMessage(m_ud, UDM_GETPOS32), 1901);
}

// ---------------------------------------------------------------------------------------------
// Progress bar

TEST_F(StandardWindowsTest, ProgressBarKeepsItsPositionInRangeAndFillsFromTheLeft) {
    HWND p = Make(PROGRESS_CLASS, "", 0, Rect{10, 10, 210, 30}, 4);
    SendMessage(p, PBM_SETRANGE32, 0, 200);
    EXPECT_EQ(SendMessage(p, PBM_SETPOS, 100), 0);
    EXPECT_EQ(SendMessage(p, PBM_GETPOS), 100);
    SendMessage(p, PBM_SETPOS, 500);
    EXPECT_EQ(SendMessage(p, PBM_GETPOS), 200);
    SendMessage(p, PBM_SETPOS, 50);
    SendMessage(p, PBM_SETSTEP, 30);
    SendMessage(p, PBM_STEPIT);
    EXPECT_EQ(SendMessage(p, PBM_GETPOS), 80);
    hl::Run();
    ColorRef hi = gdi::GetSysColor(gdi::COLOR_HIGHLIGHT);
    EXPECT_EQ(hl::Pixel(p, Point{3, 10}), hi);
    EXPECT_NE(hl::Pixel(p, Point{190, 10}), hi);
}

// ---------------------------------------------------------------------------------------------
// Message box

// Keys (or a click) fed to the box from a timer, as a user would press them while it waits.
std::function<void()> g_whileUp;
void WhileUp(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (g_whileUp)
        g_whileUp();
}

// Input queued for the box's own loop (not pumped here, or the box would not see it first).
void Press(int vk) {
    hl::KeyDown(vk);
    hl::KeyUp(vk);
}

void QueueClick(HWND hwnd, Point client) {
    Point p = hl::ToScreen(hwnd, client);
    hl::MouseDown(p);
    hl::MouseUp(p);
}

int ShowWith(HWND owner, UINT flags, std::function<void()> action) {
    g_whileUp = std::move(action);
    SetTimer(nullptr, 0, 10, WhileUp);
    int r = MessageBox(owner, "Текст сообщения", "Заголовок", flags);
    g_whileUp = nullptr;
    return r;
}

TEST_F(StandardWindowsTest, MessageBoxAnswersEnterAndEscapeByItsButtons) {
    EXPECT_EQ(ShowWith(m_form, MB_OK | MB_ICONSTOP, [] { Press(VK_RETURN); }), IDOK);
    EXPECT_EQ(ShowWith(m_form, MB_OK, [] { Press(VK_ESCAPE); }), IDOK);
    EXPECT_EQ(ShowWith(m_form, MB_OKCANCEL | MB_ICONWARNING, [] { Press(VK_ESCAPE); }), IDCANCEL);
    EXPECT_EQ(ShowWith(m_form, MB_YESNO | MB_ICONQUESTION, [] { Press(VK_RETURN); }), IDYES);
    EXPECT_EQ(ShowWith(m_form, MB_YESNO | MB_DEFBUTTON2, [] { Press(VK_RETURN); }), IDNO);
    // Escape does nothing in a box without Cancel or a lone OK; the arrows move to "No".
    EXPECT_EQ(ShowWith(m_form, MB_YESNO | MB_ICONINFORMATION,
                       [] {
                           Press(VK_ESCAPE);
                           Press(VK_RIGHT);
                           Press(VK_RETURN);
                       }),
              IDNO);
}

TEST_F(StandardWindowsTest, MessageBoxIsModalToItsOwnerAndTakesClicks) {
    bool ownerDisabled = false;
    std::string title;
    int r = ShowWith(m_form, MB_OKCANCEL, [&] {
        ownerDisabled = !IsWindowEnabled(m_form);
        HWND box = GetActiveWindow();
        title = GetWindowText(box);
        EXPECT_EQ(GetParent(box), m_form);
        // Clicks on the owner are refused while the box is up.
        QueueClick(m_form, Point{5, 5});
        QueueClick(GetDlgItem(box, IDCANCEL), Point{10, 10});
    });
    EXPECT_EQ(r, IDCANCEL);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_EQ(title, "Заголовок");
    EXPECT_TRUE(IsWindowEnabled(m_form));
    EXPECT_EQ(GetActiveWindow(), m_form);
}

TEST_F(StandardWindowsTest, MessageBoxTabCyclesAndTheCloseBoxCancels) {
    EXPECT_EQ(ShowWith(m_form, MB_YESNOCANCEL,
                       [] {
                           Press(VK_TAB);
                           Press(VK_TAB);
                           Press(VK_TAB); // back on "Yes"
                           Press(VK_TAB);
                           Press(VK_RETURN);
                       }),
              IDNO);
    EXPECT_EQ(ShowWith(m_form, MB_YESNOCANCEL,
                       [] { WindowManager::Instance().HostClose(GetActiveWindow()); }),
              IDCANCEL);
    // Without an owner the box still works and leaves no window behind.
    EXPECT_EQ(ShowWith(nullptr, MB_OK, [] { Press(VK_RETURN); }), IDOK);
    EXPECT_EQ(GetWindow(m_form, GW_HWNDFIRST), m_form);
}

// A letter key as a layout delivers it, queued for the box's loop.
void PressLetter(int vk, char32_t character) {
    hl::KeyDown(vk, std::u32string(1, character));
    hl::KeyUp(vk);
}

TEST_F(StandardWindowsTest, MessageBoxAnswersTheUnderlinedLetterOfAButton) {
    const char* vars[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::vector<std::pair<std::string, bool>> saved;
    for (const char* v : vars) {
        const char* was = std::getenv(v);
        saved.emplace_back(was ? was : "", was != nullptr);
        unsetenv(v);
    }
    setenv("LANG", "en_US.UTF-8", 1);
    EXPECT_EQ(ShowWith(m_form, MB_YESNO, [] { PressLetter('N', U'n'); }), IDNO);
    EXPECT_EQ(ShowWith(m_form, MB_YESNO | MB_DEFBUTTON2, [] { PressLetter('Y', U'Y'); }), IDYES);
    // A letter no button marks does nothing.
    EXPECT_EQ(ShowWith(m_form, MB_YESNO,
                       [] {
                           PressLetter('Q', U'q');
                           Press(VK_RETURN);
                       }),
              IDYES);
    // Russian captions: the Cyrillic letter, in either case.
    setenv("LANG", "ru_RU.UTF-8", 1);
    EXPECT_EQ(ShowWith(m_form, MB_YESNO, [] { PressLetter('Y', U'Н'); }), IDNO);
    EXPECT_EQ(ShowWith(m_form, MB_YESNO | MB_DEFBUTTON2, [] { PressLetter('L', U'д'); }), IDYES);
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i].second)
            setenv(vars[i], saved[i].first.c_str(), 1);
        else
            unsetenv(vars[i]);
    }
}

TEST_F(StandardWindowsTest, QuitWhileAMessageBoxIsUpEndsItAndReachesTheOuterLoop) {
    int r = ShowWith(m_form, MB_OKCANCEL, [] { PostQuitMessage(4); });
    EXPECT_EQ(r, IDCANCEL);
    MSG msg;
    EXPECT_FALSE(GetMessage(msg, nullptr, 0, 0));
    EXPECT_EQ(msg.wParam, 4u);
}

} // namespace
} // namespace platform
