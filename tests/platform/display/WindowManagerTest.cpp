#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

#include "WindowTestSupport.h"
#include "platform/display/WindowManager.h"
#include "platform/gdi/DeviceContext.h"

namespace platform {
namespace {

using namespace test;
namespace hl = headless;

constexpr ColorRef kRed = 0x0000FF;
constexpr ColorRef kBlue = 0xFF0000;
constexpr ColorRef kGreen = 0x00FF00;
constexpr ColorRef kGrey = 0x808080;

class WindowManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        hl::Start();
        UseLogWindows();
    }
    void TearDown() override {
        State().hook = nullptr;
        hl::Stop();
    }
};

// ---------------------------------------------------------------------------------------------
// Queue order

TEST_F(WindowManagerTest, PostedAndInputComeBeforePaintAndPaintBeforeTimers) {
    HWND top = MakeTop(Rect{100, 100, 300, 200}, kGrey);
    hl::Run();
    State().log.clear();

    SetTimer(top, 7, 10);
    hl::Advance(0);
    EXPECT_TRUE(Only({WM_TIMER}).empty());        // not due yet
    WindowManager::Instance().Backend().Poll(20); // the clock passes the timer's time
    InvalidateRect(top, nullptr, false);
    PostMessage(top, WM_USER + 1);
    hl::MouseMove(Point{150, 150});
    PostMessage(top, WM_USER + 2);
    hl::Run();

    std::vector<UINT> order =
        Numbers(Only({WM_USER + 1, WM_USER + 2, WM_MOUSEMOVE, WM_PAINT, WM_TIMER}));
    std::vector<UINT> want{WM_USER + 1, WM_MOUSEMOVE, WM_USER + 2, WM_PAINT, WM_TIMER};
    EXPECT_EQ(order, want);
}

TEST_F(WindowManagerTest, TimerRepeatsAndStopsWhenKilled) {
    HWND top = MakeTop(Rect{0, 0, 50, 50}, kGrey);
    hl::Run();
    SetTimer(top, 3, 100);
    State().log.clear();
    hl::Advance(99);
    EXPECT_EQ(Only({WM_TIMER}).size(), 0u);
    hl::Advance(1);
    ASSERT_EQ(Only({WM_TIMER}).size(), 1u);
    EXPECT_EQ(Only({WM_TIMER})[0].wParam, 3u);
    hl::Advance(100);
    EXPECT_EQ(Only({WM_TIMER}).size(), 2u);
    KillTimer(top, 3);
    hl::Advance(500);
    EXPECT_EQ(Only({WM_TIMER}).size(), 2u);
}

int g_procTicks = 0;
void TickProc(HWND, UINT, UINT_PTR, DWORD) {
    ++g_procTicks;
}

TEST_F(WindowManagerTest, ThreadTimerWithoutWindowCallsItsProcedure) {
    g_procTicks = 0;
    UINT_PTR id = SetTimer(nullptr, 0, 50, TickProc);
    EXPECT_NE(id, 0u);
    hl::Advance(50);
    EXPECT_EQ(g_procTicks, 1);
    EXPECT_TRUE(KillTimer(nullptr, id));
    hl::Advance(200);
    EXPECT_EQ(g_procTicks, 1);
}

TEST_F(WindowManagerTest, QuitComesAfterPostedMessagesAndEndsGetMessage) {
    HWND top = MakeTop(Rect{0, 0, 50, 50}, kGrey);
    hl::Run();
    PostMessage(top, WM_USER);
    PostQuitMessage(3);
    MSG msg;
    ASSERT_TRUE(GetMessage(msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_USER));
    EXPECT_FALSE(GetMessage(msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(WindowManagerTest, PeekWithoutRemovalLeavesTheMessageAndFiltersByRange) {
    HWND top = MakeTop(Rect{0, 0, 50, 50}, kGrey);
    hl::Run();
    PostMessage(top, WM_USER + 5);
    PostMessage(top, WM_COMMAND);
    MSG msg;
    ASSERT_TRUE(PeekMessage(msg, nullptr, WM_COMMAND, WM_COMMAND, PM_NOREMOVE));
    EXPECT_EQ(msg.message, UINT(WM_COMMAND));
    ASSERT_TRUE(PeekMessage(msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_USER + 5));
    ASSERT_TRUE(PeekMessage(msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_COMMAND));
    EXPECT_FALSE(PeekMessage(msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowManagerTest, PeekForOneWindowLeavesTheTimersOfOthers) {
    HWND a = MakeTop(Rect{0, 0, 50, 50}, kGrey);
    HWND b = MakeTop(Rect{60, 0, 110, 50}, kGrey);
    hl::Run();
    SetTimer(a, 1, 10);
    SetTimer(b, 2, 20);
    WindowManager::Instance().Backend().Poll(30); // both are due, a's first
    MSG msg;
    ASSERT_TRUE(PeekMessage(msg, b, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, b);
    EXPECT_EQ(msg.wParam, 2u);
    // a's tick was not spent by the look at b's messages.
    ASSERT_TRUE(PeekMessage(msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, a);
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_FALSE(PeekMessage(msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
}

TEST_F(WindowManagerTest, SendMessageCallsTheProcedureAtOnceAndPostingToAStaleHandleFails) {
    HWND top = MakeTop(Rect{0, 0, 50, 50}, kGrey);
    State().log.clear();
    SendMessage(top, WM_USER + 9, 4, 5);
    ASSERT_EQ(State().log.size(), 1u);
    EXPECT_EQ(State().log[0].wParam, 4u);
    DestroyWindow(top);
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(PostMessage(top, WM_USER));
    EXPECT_EQ(SendMessage(top, WM_USER), 0);
}

TEST_F(WindowManagerTest, TranslateMakesCharactersFromKeysAndLayoutText) {
    HWND top = MakeTop(Rect{0, 0, 50, 50}, kGrey);
    hl::Run();
    ASSERT_EQ(GetFocus(), top);
    State().log.clear();
    hl::KeyDown(0xE5, U"я");
    hl::Run();
    hl::Key('A', hl::kShift);
    hl::Key('B');
    hl::Key(VK_RETURN);
    hl::Key('C', hl::kCtrl);
    std::vector<Logged> chars = Only({WM_CHAR});
    ASSERT_EQ(chars.size(), 5u);
    EXPECT_EQ(chars[0].wParam, WPARAM(U'я'));
    EXPECT_EQ(chars[1].wParam, WPARAM('A'));
    EXPECT_EQ(chars[2].wParam, WPARAM('b'));
    EXPECT_EQ(chars[3].wParam, 13u);
    EXPECT_EQ(chars[4].wParam, 3u);
    // The character follows its key at once.
    std::vector<UINT> n = Numbers(Only({WM_KEYDOWN, WM_CHAR}));
    EXPECT_EQ(n[0], UINT(WM_KEYDOWN));
    EXPECT_EQ(n[1], UINT(WM_CHAR));
}

TEST_F(WindowManagerTest, KeyStateIsThatOfTheMessageTakenNotOfTheKeyboardNow) {
    HWND top = MakeTop(Rect{0, 0, 50, 50}, kGrey);
    hl::Run();
    ASSERT_EQ(GetFocus(), top);
    // Alt+letter typed faster than the program takes it: all four events wait in the queue.
    std::vector<std::tuple<UINT, WPARAM, bool>> seen; // message, key, Alt down as handled
    State().hook = [&](HWND, UINT m, WPARAM w, LPARAM) {
        if (m == WM_SYSKEYDOWN || m == WM_SYSCHAR || m == WM_SYSKEYUP)
            seen.push_back({m, w, GetKeyState(VK_MENU) < 0});
        return false;
    };
    hl::KeyDown(VK_MENU);
    hl::KeyDown('O', U"o");
    hl::KeyUp('O');
    hl::KeyUp(VK_MENU);
    EXPECT_GE(GetKeyState(VK_MENU), 0) << "nothing taken yet: the state before the Alt press";
    hl::Run();
    using Seen = std::tuple<UINT, WPARAM, bool>;
    EXPECT_EQ(seen, (std::vector<Seen>{{WM_SYSKEYDOWN, VK_MENU, true},
                                       {WM_SYSKEYDOWN, 'O', true},
                                       {WM_SYSCHAR, 'o', true},
                                       {WM_SYSKEYUP, 'O', true},
                                       {WM_SYSKEYUP, VK_MENU, false}}));
    EXPECT_GE(GetKeyState(VK_MENU), 0);
    // A key with no window to take it still shows at once.
    State().hook = nullptr;
    SetFocus(nullptr);
    DestroyWindow(top);
    hl::KeyDown(VK_SHIFT);
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    hl::KeyUp(VK_SHIFT);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

// ---------------------------------------------------------------------------------------------
// Painting

TEST_F(WindowManagerTest, PaintCoversTheInvalidAreaAndParentsDoNotPaintOverChildren) {
    HWND top = MakeTop(Rect{10, 10, 210, 110}, kGrey);
    HWND child = MakeChild(top, Rect{20, 20, 60, 50}, kBlue);
    hl::Run();
    EXPECT_EQ(hl::Pixel(top, Point{5, 5}), kGrey);
    EXPECT_EQ(hl::Pixel(top, Point{30, 30}), kBlue);
    EXPECT_EQ(hl::Pixel(child, Point{0, 0}), kBlue);

    State().colours[top] = kRed;
    State().paints.clear();
    Rect r{0, 0, 200, 100};
    InvalidateRect(top, &r, true);
    hl::Run();
    ASSERT_EQ(State().paints[top].size(), 1u);
    EXPECT_EQ(State().paints[top][0], (Rect{0, 0, 200, 100}));
    EXPECT_TRUE(State().paints[child].empty());
    EXPECT_EQ(hl::Pixel(top, Point{5, 5}), kRed);
    EXPECT_EQ(hl::Pixel(top, Point{30, 30}), kBlue); // the child's pixels stay
    EXPECT_EQ(hl::Pixel(top, Point{60, 50}), kRed);  // right and bottom edges exclusive
}

TEST_F(WindowManagerTest, InvalidRectanglesAccumulateUntilPainted) {
    HWND top = MakeTop(Rect{0, 0, 200, 100}, kGrey);
    hl::Run();
    State().colours[top] = kGreen;
    State().paints.clear();
    Rect a{0, 0, 10, 10};
    Rect b{50, 50, 60, 70};
    InvalidateRect(top, &a, false);
    InvalidateRect(top, &b, false);
    Rect u;
    ASSERT_TRUE(GetUpdateRect(top, u));
    EXPECT_EQ(u, (Rect{0, 0, 60, 70}));
    hl::Run();
    ASSERT_EQ(State().paints[top].size(), 1u);
    EXPECT_EQ(State().paints[top][0], (Rect{0, 0, 60, 70}));
    // Only the invalid pixels were painted: a point between the two rectangles kept its colour.
    EXPECT_EQ(hl::Pixel(top, Point{5, 5}), kGreen);
    EXPECT_EQ(hl::Pixel(top, Point{55, 65}), kGreen);
    EXPECT_EQ(hl::Pixel(top, Point{30, 30}), kGrey);
    EXPECT_FALSE(GetUpdateRect(top, u));
}

TEST_F(WindowManagerTest, SiblingsAboveClipAndHidingAChildRepaintsWhatItCovered) {
    HWND top = MakeTop(Rect{0, 0, 200, 100}, kGrey);
    HWND below = MakeChild(top, Rect{10, 10, 60, 60}, kRed);
    HWND above = MakeChild(top, Rect{40, 40, 90, 90}, kBlue); // made later: in front
    hl::Run();
    EXPECT_EQ(hl::Pixel(top, Point{50, 50}), kBlue);
    InvalidateRect(below, nullptr, true);
    hl::Run();
    EXPECT_EQ(hl::Pixel(top, Point{50, 50}), kBlue);
    EXPECT_EQ(hl::Pixel(top, Point{20, 20}), kRed);

    ShowWindow(above, SW_HIDE);
    hl::Run();
    EXPECT_EQ(hl::Pixel(top, Point{50, 50}), kRed);
    EXPECT_EQ(hl::Pixel(top, Point{80, 80}), kGrey);
}

TEST_F(WindowManagerTest, ChildrenAreClippedToTheirParentAndFollowIt) {
    HWND top = MakeTop(Rect{0, 0, 200, 100}, kGrey);
    HWND panel = MakeChild(top, Rect{10, 10, 60, 60}, kGreen);
    HWND inner = MakeChild(panel, Rect{30, 30, 100, 100}, kBlue); // sticks out of the panel
    hl::Run();
    EXPECT_EQ(hl::Pixel(top, Point{45, 45}), kBlue);
    EXPECT_EQ(hl::Pixel(top, Point{65, 65}), kGrey); // outside the panel: not painted
    Rect wr;
    GetWindowRect(inner, wr);
    EXPECT_EQ(wr, (Rect{40, 40, 110, 110}));

    MoveWindow(panel, 100, 10, 50, 50);
    hl::Run();
    EXPECT_EQ(hl::Pixel(top, Point{20, 20}), kGrey);
    EXPECT_EQ(hl::Pixel(top, Point{105, 15}), kGreen);
    EXPECT_EQ(hl::Pixel(top, Point{135, 45}), kBlue);
}

TEST_F(WindowManagerTest, ChildWithClientEdgeHasASmallerClientArea) {
    HWND top = MakeTop(Rect{0, 0, 200, 100}, kGrey);
    HWND edit = CreateWindowEx(WS_EX_CLIENTEDGE, "LogWindow", "", WS_CHILD, 10, 10, 50, 20, top);
    Rect c;
    GetClientRect(edit, c);
    EXPECT_EQ(c, (Rect{0, 0, 46, 16}));
    Point p{0, 0};
    ClientToScreen(edit, p);
    EXPECT_EQ(p, (Point{12, 12}));
}

// ---------------------------------------------------------------------------------------------
// Activation and focus

TEST_F(WindowManagerTest, ShowingActivatesAndActivationMovesTheFocus) {
    HWND a = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_EQ(GetFocus(), a);
    HWND child = MakeChild(a, Rect{0, 0, 10, 10}, kRed);
    SetFocus(child);
    EXPECT_EQ(GetFocus(), child);

    State().log.clear();
    HWND b = MakeTop(Rect{200, 0, 300, 100}, kGrey);
    std::vector<Logged> act = Only({WM_ACTIVATE, WM_NCACTIVATE, WM_SETFOCUS, WM_KILLFOCUS});
    ASSERT_EQ(act.size(), 6u);
    EXPECT_EQ(act[0].hwnd, a);
    EXPECT_EQ(act[0].message, UINT(WM_NCACTIVATE));
    EXPECT_EQ(act[0].wParam, 0u);
    EXPECT_EQ(act[1].message, UINT(WM_ACTIVATE));
    EXPECT_EQ(LOWORD(act[1].wParam), WA_INACTIVE);
    EXPECT_EQ(HWND(act[1].lParam), b);
    EXPECT_EQ(act[2].hwnd, b);
    EXPECT_EQ(act[2].message, UINT(WM_NCACTIVATE));
    EXPECT_EQ(act[3].message, UINT(WM_ACTIVATE));
    EXPECT_EQ(LOWORD(act[3].wParam), WA_ACTIVE);
    EXPECT_EQ(HWND(act[3].lParam), a);
    EXPECT_EQ(act[4].hwnd, child);
    EXPECT_EQ(act[4].message, UINT(WM_KILLFOCUS));
    EXPECT_EQ(HWND(act[4].wParam), b);
    EXPECT_EQ(act[5].hwnd, b);
    EXPECT_EQ(act[5].message, UINT(WM_SETFOCUS));
    EXPECT_EQ(HWND(act[5].wParam), child);

    // Focusing a child of the inactive window activates that window first.
    State().log.clear();
    SetFocus(child);
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_EQ(GetFocus(), child);
    EXPECT_EQ(Only({WM_SETFOCUS}).back().hwnd, child);
}

TEST_F(WindowManagerTest, ActivateAppGoesToEveryTopLevelWindow) {
    HWND a = MakeTop(Rect{0, 0, 100, 100}, kGrey, WS_POPUP | WS_CAPTION);
    HWND b = MakeTop(Rect{0, 0, 100, 100}, kGrey, WS_POPUP | WS_CAPTION);
    State().log.clear();
    ShowWindow(a, SW_SHOW);
    std::vector<Logged> app = Only({WM_ACTIVATEAPP});
    ASSERT_EQ(app.size(), 2u);
    EXPECT_EQ(app[0].wParam, 1u);
    State().log.clear();
    WindowManager::Instance().HostFocus(a, false);
    app = Only({WM_ACTIVATEAPP});
    ASSERT_EQ(app.size(), 2u);
    EXPECT_EQ(app[0].wParam, 0u);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    (void)b;
}

TEST_F(WindowManagerTest, DisabledHiddenAndDestroyedWindowsLoseTheFocus) {
    HWND top = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    HWND c1 = MakeChild(top, Rect{0, 0, 10, 10}, kRed);
    HWND c2 = MakeChild(top, Rect{20, 0, 30, 10}, kRed);
    EnableWindow(c2, false);
    SetFocus(c1);
    EXPECT_EQ(SetFocus(c2), nullptr); // refused
    EXPECT_EQ(GetFocus(), c1);
    EnableWindow(c1, false);
    EXPECT_EQ(GetFocus(), nullptr);
    EnableWindow(c1, true);
    SetFocus(c1);
    ShowWindow(c1, SW_HIDE);
    EXPECT_EQ(GetFocus(), nullptr);
    ShowWindow(c1, SW_SHOW);
    SetFocus(c1);
    DestroyWindow(c1);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WindowManagerTest, KeysGoToTheFocusOrElseToTheActiveWindow) {
    HWND top = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    HWND child = MakeChild(top, Rect{0, 0, 10, 10}, kRed);
    SetFocus(child);
    State().log.clear();
    hl::Key('X');
    EXPECT_EQ(Only({WM_KEYDOWN})[0].hwnd, child);
    SetFocus(nullptr);
    State().log.clear();
    hl::Key('X');
    EXPECT_EQ(Only({WM_KEYDOWN})[0].hwnd, top);
}

TEST_F(WindowManagerTest, RaisingAVisibleWindowActivatesItUnlessToldNotTo) {
    HWND a = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    HWND child = MakeChild(a, Rect{0, 0, 10, 10}, kRed);
    HWND b = MakeTop(Rect{50, 0, 150, 100}, kGrey);
    ASSERT_EQ(GetActiveWindow(), b);
    // Raised without SWP_NOACTIVATE: in front, active, with the keyboard.
    SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetTopWindow(nullptr), a);
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_EQ(GetFocus(), a);
    SetFocus(child);
    BringWindowToTop(b);
    EXPECT_EQ(GetActiveWindow(), b);
    // With SWP_NOACTIVATE (and for moves, hidden, disabled and no-activate windows) only the
    // place changes.
    SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(GetTopWindow(nullptr), a);
    EXPECT_EQ(GetActiveWindow(), b);
    MoveWindow(a, 5, 5, 100, 100, true);
    EXPECT_EQ(GetActiveWindow(), b);
    HWND hidden = MakeTop(Rect{0, 0, 10, 10}, kGrey, WS_POPUP | WS_CAPTION);
    SetWindowPos(hidden, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_EQ(GetActiveWindow(), b);
    EnableWindow(a, false);
    SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetActiveWindow(), b);
    HWND tip = MakeTop(Rect{0, 0, 10, 10}, kGrey, WS_POPUP | WS_VISIBLE, WS_EX_NOACTIVATE);
    SetWindowPos(tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetActiveWindow(), b);
    (void)child;
}

TEST_F(WindowManagerTest, HidingTheActiveWindowActivatesItsOwner) {
    HWND main = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    HWND other = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    HWND dialog = MakeTop(Rect{0, 0, 50, 50}, kGrey, WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, main);
    EXPECT_EQ(GetActiveWindow(), dialog);
    EXPECT_EQ(GetParent(dialog), main);
    ShowWindow(dialog, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), main);
    (void)other;
    // Destroying the owner takes the owned window with it.
    DestroyWindow(main);
    EXPECT_FALSE(IsWindow(dialog));
}

// ---------------------------------------------------------------------------------------------
// Mouse routing and capture

TEST_F(WindowManagerTest, MouseGoesToTheWindowUnderItInClientCoordinates) {
    HWND top = MakeTop(Rect{100, 100, 300, 200}, kGrey);
    HWND child = MakeChild(top, Rect{10, 10, 50, 50}, kRed);
    hl::Run();
    EXPECT_EQ(WindowFromPoint(Point{115, 115}), child);
    EXPECT_EQ(WindowFromPoint(Point{165, 115}), top);
    EXPECT_EQ(WindowFromPoint(Point{5, 5}), nullptr);
    State().log.clear();
    hl::Click(top, Point{15, 17});
    std::vector<Logged> down = Only({WM_LBUTTONDOWN});
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].hwnd, child);
    EXPECT_EQ(GET_X_LPARAM(down[0].lParam), 5);
    EXPECT_EQ(GET_Y_LPARAM(down[0].lParam), 7);
    EXPECT_EQ(down[0].wParam & MK_LBUTTON, unsigned(MK_LBUTTON));

    // A disabled child's clicks go to its parent.
    EnableWindow(child, false);
    State().log.clear();
    hl::Click(top, Point{15, 17});
    EXPECT_EQ(Only({WM_LBUTTONDOWN})[0].hwnd, top);
}

TEST_F(WindowManagerTest, CaptureTakesTheMouseEverywhereAndReportsItsLoss) {
    HWND top = MakeTop(Rect{100, 100, 300, 200}, kGrey);
    HWND a = MakeChild(top, Rect{0, 0, 50, 50}, kRed);
    HWND b = MakeChild(top, Rect{60, 0, 110, 50}, kRed);
    hl::Run();
    SetCapture(a);
    State().log.clear();
    hl::MouseMove(Point{170, 110}); // over b
    hl::Run();
    hl::MouseMove(Point{5, 5}); // outside every window
    hl::Run();
    std::vector<Logged> moves = Only({WM_MOUSEMOVE});
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0].hwnd, a);
    EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), 70);
    EXPECT_EQ(moves[1].hwnd, a);
    EXPECT_EQ(GET_X_LPARAM(moves[1].lParam), -95);

    State().log.clear();
    SetCapture(b);
    ASSERT_EQ(Only({WM_CAPTURECHANGED}).size(), 1u);
    EXPECT_EQ(Only({WM_CAPTURECHANGED})[0].hwnd, a);
    EXPECT_EQ(HWND(Only({WM_CAPTURECHANGED})[0].lParam), b);
    ShowWindow(b, SW_HIDE);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Only({WM_CAPTURECHANGED}).back().hwnd, b);
}

TEST_F(WindowManagerTest, ClicksOnADisabledWindowAreDroppedAndClicksActivate) {
    HWND owner = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    HWND other = MakeTop(Rect{200, 0, 300, 100}, kGrey);
    EXPECT_EQ(GetActiveWindow(), other);
    hl::Click(owner, Point{10, 10});
    EXPECT_EQ(GetActiveWindow(), owner);
    EnableWindow(owner, false);
    State().log.clear();
    int beeps = hl::Beeps();
    hl::Click(owner, Point{10, 10});
    EXPECT_TRUE(Only({WM_LBUTTONDOWN, WM_LBUTTONUP}).empty());
    EXPECT_EQ(hl::Beeps(), beeps + 1);
}

// A modal dialog can never stay hidden behind the form it blocks: whatever turns the user to
// the form (the window manager's activation, a click) brings the dialog forward with the keys.
TEST_F(WindowManagerTest, TurningToAFormAModalDialogBlocksBringsTheDialogForward) {
    HWND form = MakeTop(Rect{0, 0, 300, 200}, kGrey);
    HWND box = MakeTop(Rect{50, 50, 200, 120}, kBlue, WS_POPUP | WS_CAPTION);
    SetWindowModal(box, true, form);
    EnableWindow(form, false);
    ShowWindow(box, SW_SHOW);
    hl::Run();
    const hl::HostRecord* host = hl::Host(box);
    ASSERT_NE(host, nullptr);
    EXPECT_TRUE(host->modal);
    EXPECT_EQ(host->transientFor, form);
    ASSERT_EQ(GetActiveWindow(), box);
    int raises = host->raises;

    WindowManager::Instance().HostFocus(form, true);
    EXPECT_EQ(GetActiveWindow(), box);
    EXPECT_EQ(hl::Host(box)->raises, raises + 1);
    SetActiveWindow(nullptr);
    hl::Click(form, Point{250, 150});
    EXPECT_EQ(GetActiveWindow(), box);
    EXPECT_EQ(hl::Host(box)->raises, raises + 2);

    // Closed, it no longer comes forward.
    SetWindowModal(box, false, nullptr);
    EXPECT_FALSE(hl::Host(box)->modal);
    EXPECT_EQ(hl::Host(box)->transientFor, nullptr);
    WindowManager::Instance().HostFocus(form, true);
    EXPECT_EQ(hl::Host(box)->raises, raises + 2);
}

TEST_F(WindowManagerTest, QuickSecondClickIsADoubleClickForClassesThatAskForIt) {
    HWND top = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    hl::Run();
    State().log.clear();
    hl::Click(top, Point{10, 10});
    hl::Click(top, Point{11, 10});
    hl::Advance(600);
    hl::Click(top, Point{11, 10});
    std::vector<UINT> n = Numbers(Only({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}));
    EXPECT_EQ(n, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}));
}

// ---------------------------------------------------------------------------------------------
// Tree and life

TEST_F(WindowManagerTest, DestroyingAWindowFromItsOwnHandlerIsSafe) {
    HWND top = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    HWND child = MakeChild(top, Rect{0, 0, 50, 50}, kRed);
    hl::Run();
    State().hook = [&](HWND h, UINT msg, WPARAM, LPARAM) {
        if (h == child && msg == WM_LBUTTONDOWN) {
            DestroyWindow(top);
            return true;
        }
        return false;
    };
    hl::Click(top, Point{10, 10});
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(child));
    // WM_DESTROY parent first, WM_NCDESTROY child first.
    std::vector<Logged> d = Only({WM_DESTROY, WM_NCDESTROY});
    ASSERT_EQ(d.size(), 4u);
    EXPECT_EQ(d[0].hwnd, top);
    EXPECT_EQ(d[1].hwnd, child);
    EXPECT_EQ(d[1].message, UINT(WM_DESTROY));
    EXPECT_EQ(d[2].hwnd, child);
    EXPECT_EQ(d[3].hwnd, top);
}

TEST_F(WindowManagerTest, AnExceptionFromAProcedureLeavesTheTreeUsable) {
    HWND top = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    HWND child = MakeChild(top, Rect{0, 0, 50, 50}, kRed);
    State().hook = [&](HWND h, UINT msg, WPARAM, LPARAM) -> bool {
        if (h == top && msg == WM_USER) {
            DestroyWindow(child);
            throw std::runtime_error("handler failed");
        }
        return false;
    };
    EXPECT_THROW(SendMessage(top, WM_USER), std::runtime_error);
    State().hook = nullptr;
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(GetWindow(top, GW_CHILD), nullptr);
    HWND again = MakeChild(top, Rect{0, 0, 50, 50}, kBlue);
    hl::Run();
    EXPECT_EQ(hl::Pixel(again, Point{1, 1}), kBlue);
}

TEST_F(WindowManagerTest, CreationRefusedByTheProcedureLeavesNoWindow) {
    State().hook = [](HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_CREATE; };
    // The hook answers 0 for WM_CREATE, which accepts; make it refuse with -1 instead.
    State().hook = nullptr;
    WNDCLASS cls;
    cls.className = "Refuser";
    cls.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        return m == WM_CREATE ? -1 : DefWindowProc(h, m, w, l);
    };
    ASSERT_TRUE(RegisterClass(cls));
    EXPECT_FALSE(RegisterClass(cls));
    EXPECT_EQ(CreateWindowEx(0, "Refuser", "", WS_POPUP, 0, 0, 10, 10, nullptr), nullptr);
    EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr), nullptr);
    EXPECT_EQ(CreateWindowEx(0, "LogWindow", "", WS_CHILD, 0, 0, 10, 10, nullptr), nullptr);
}

TEST_F(WindowManagerTest, ZOrderTopMostAndTreeWalking) {
    HWND a = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    HWND b = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    EXPECT_EQ(WindowFromPoint(Point{5, 5}), b);
    SetWindowPos(a, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(WindowFromPoint(Point{5, 5}), a);
    SetActiveWindow(b); // activation does not lift b above a top-most window
    EXPECT_EQ(WindowFromPoint(Point{5, 5}), a);
    EXPECT_EQ(GetTopWindow(nullptr), a);

    HWND c1 = MakeChild(b, Rect{0, 0, 10, 10}, kRed, WS_CHILD | WS_VISIBLE, 11);
    HWND c2 = MakeChild(b, Rect{0, 0, 10, 10}, kRed, WS_CHILD | WS_VISIBLE, 12);
    EXPECT_EQ(GetWindow(b, GW_CHILD), c2);
    EXPECT_EQ(GetWindow(c2, GW_HWNDNEXT), c1);
    EXPECT_EQ(GetDlgItem(b, 11), c1);
    EXPECT_EQ(GetDlgCtrlID(c2), 12);
    BringWindowToTop(c1);
    EXPECT_EQ(GetWindow(b, GW_CHILD), c1);
    EXPECT_TRUE(IsChild(b, c1));
    EXPECT_FALSE(IsChild(a, c1));
    EXPECT_EQ(GetAncestor(c1, GA_ROOT), b);
}

TEST_F(WindowManagerTest, RaisingTheWindowInFrontRepaintsNothingRaisingOneBehindRepaintsIt) {
    HWND back = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    HWND front = MakeTop(Rect{50, 50, 150, 150}, kGrey);
    HWND under = MakeChild(front, Rect{0, 0, 40, 40}, kRed);
    HWND over = MakeChild(front, Rect{20, 20, 60, 60}, kBlue);
    hl::Run();
    State().paints.clear();
    Rect u;

    BringWindowToTop(front);
    SetWindowPos(over, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    for (HWND w : {back, front, under, over})
        EXPECT_FALSE(GetUpdateRect(w, u));
    hl::Run();
    EXPECT_TRUE(State().paints.empty());
    EXPECT_EQ(GetTopWindow(nullptr), front);

    BringWindowToTop(under);
    BringWindowToTop(back);
    EXPECT_TRUE(GetUpdateRect(under, u));
    EXPECT_TRUE(GetUpdateRect(back, u));
    hl::Run();
    EXPECT_EQ(GetTopWindow(nullptr), back);
    EXPECT_EQ(GetWindow(front, GW_CHILD), under);
    EXPECT_EQ(hl::Pixel(front, Point{30, 30}), kRed);
    EXPECT_FALSE(State().paints[back].empty());
    EXPECT_TRUE(State().paints[over].empty());
}

TEST_F(WindowManagerTest, TextStylesAndSubclassing) {
    HWND top = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    SetWindowText(top, "Биоритмы");
    EXPECT_EQ(GetWindowText(top), "Биоритмы");
    EXPECT_EQ(GetWindowTextLength(top), 16);
    EXPECT_EQ(hl::Host(top)->title, "Биоритмы");

    static WNDPROC previous = nullptr;
    static int seen = 0;
    seen = 0;
    previous = reinterpret_cast<WNDPROC>(SetWindowLongPtr(
        top, GWLP_WNDPROC,
        reinterpret_cast<std::intptr_t>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            if (m == WM_USER)
                ++seen;
            return CallWindowProc(previous, h, m, w, l);
        })));
    SendMessage(top, WM_USER);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(State().log.back().message, UINT(WM_USER));
    SetWindowLongPtr(top, GWLP_USERDATA, 42);
    EXPECT_EQ(GetWindowLongPtr(top, GWLP_USERDATA), 42);
}

TEST_F(WindowManagerTest, ScreenMetricsAndMonitor) {
    hl::Start(1024, 768);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    EXPECT_EQ(GetSystemMetrics(SM_CYVSCROLL), 16);
    MONITORINFO mi;
    ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint(Point{10, 10}, MONITOR_DEFAULTTONEAREST), mi));
    EXPECT_EQ(mi.rcMonitor, (Rect{0, 0, 1024, 768}));
    EXPECT_EQ(MonitorFromPoint(Point{-10, 10}, MONITOR_DEFAULTTONULL), 0u);
}

TEST_F(WindowManagerTest, MinimisingIconifiesAndGivesTheActivationAway) {
    HWND a = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    HWND b = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    ASSERT_EQ(GetActiveWindow(), b);
    ShowWindow(b, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(b));
    EXPECT_TRUE(hl::Host(b)->minimized);
    EXPECT_EQ(GetActiveWindow(), a);
    ShowWindow(b, SW_RESTORE);
    EXPECT_FALSE(IsIconic(b));
    EXPECT_FALSE(hl::Host(b)->minimized);
    EXPECT_EQ(GetActiveWindow(), b);
}

TEST_F(WindowManagerTest, UpdateWindowPaintsAtOnceAndPresentsTheBuffer) {
    HWND top = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    HWND child = MakeChild(top, Rect{10, 10, 30, 30}, kRed);
    int presents = hl::Host(top)->presents;
    UpdateWindow(top);
    EXPECT_EQ(hl::Pixel(child, Point{1, 1}), kRed); // painted without running the queue
    EXPECT_GT(hl::Host(top)->presents, presents);
    MSG msg;
    EXPECT_FALSE(PeekMessage(msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));

    // Drawing outside a paint reaches the buffer too, clipped to the window.
    HDC dc = GetDC(child);
    ASSERT_NE(dc, nullptr);
    dc->FillRect(Rect{-50, -50, 500, 500}, gdi::BrushSpec{gdi::BrushStyle::Solid, kBlue});
    ReleaseDC(child, dc);
    EXPECT_EQ(hl::Pixel(child, Point{1, 1}), kBlue);
    EXPECT_EQ(hl::Pixel(top, Point{5, 5}), kGrey);
    EXPECT_EQ(hl::Pixel(top, Point{30, 30}), kGrey);
}

TEST_F(WindowManagerTest, HostMovesAndResizesReachTheWindow) {
    HWND top = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    hl::Run();
    State().log.clear();
    WindowManager::Instance().HostMoved(top, Rect{50, 60, 250, 160});
    hl::Run();
    Rect r;
    GetWindowRect(top, r);
    EXPECT_EQ(r, (Rect{50, 60, 250, 160}));
    std::vector<Logged> size = Only({WM_SIZE});
    ASSERT_EQ(size.size(), 1u);
    EXPECT_EQ(LOWORD(size[0].lParam), 200);
    EXPECT_EQ(HIWORD(size[0].lParam), 100);
    EXPECT_EQ(Only({WM_MOVE}).size(), 1u);
    EXPECT_EQ(hl::Buffer(top)->Width(), 200);
    EXPECT_EQ(hl::Pixel(top, Point{150, 50}), kGrey); // the new part was painted
}

TEST_F(WindowManagerTest, WaitingOnTheHeadlessDisplayNeverHangs) {
    MakeTop(Rect{0, 0, 10, 10}, kGrey);
    hl::Run();
    EXPECT_TRUE(WaitMessage()); // returns at once: nothing can come
    MSG msg;
    EXPECT_DEATH(GetMessage(msg, nullptr, 0, 0), "can never come");
}

TEST_F(WindowManagerTest, CloseBoxBecomesWmClose) {
    HWND top = MakeTop(Rect{0, 0, 100, 100}, kGrey);
    State().log.clear();
    WindowManager::Instance().HostClose(top);
    hl::Run();
    EXPECT_EQ(Only({WM_CLOSE}).size(), 1u);
    EXPECT_FALSE(IsWindow(top)); // the default answer destroys
}

} // namespace
} // namespace platform
