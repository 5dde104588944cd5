// Paint and window contexts whose target changes while they are held: a window that resizes itself
// or is resized by the host during its paint, a window destroyed while its context is held, and
// contexts of several windows of one top-level held at once. The context must stay usable (drawing
// clipped to what exists) until it is released; under AddressSanitizer any stale pixel pointer
// shows up here.
#include <gtest/gtest.h>

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

const gdi::BrushSpec kGreenBrush{gdi::BrushStyle::Solid, kGreen};

// Every drawing path that touches the pixels: raster operation, fill, line stepper, text, copy.
void DrawEverything(HDC dc, const Rect& r) {
    dc->InvertRect(r);
    dc->FillRect(r, kGreenBrush);
    dc->MoveTo(r.left, r.top);
    dc->LineTo(r.right, r.bottom);
    dc->SetPixel(r.right - 1, r.bottom - 1, kRed);
    dc->TextOut(r.left, r.top, "Текст");
    gdi::Bitmap tile(16, 16, 0x00FF00);
    dc->BitBlt(r.right - 16, r.bottom - 16, tile, Rect{0, 0, 16, 16});
    dc->FillRect(r, kGreenBrush);
}

class PaintContextTest : public ::testing::Test {
protected:
    void SetUp() override {
        hl::Start();
        UseLogWindows();
    }
    void TearDown() override {
        State().hook = nullptr;
        hl::Stop();
    }

    // Runs `during` once inside the next WM_PAINT of `hwnd`, between BeginPaint and EndPaint.
    void OnNextPaint(HWND hwnd, std::function<void(HDC)> during) {
        State().hook = [hwnd, during, done = false](HWND h, UINT msg, WPARAM, LPARAM) mutable {
            if (h != hwnd || msg != WM_PAINT || done)
                return false;
            done = true;
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, ps);
            if (dc)
                during(dc);
            EndPaint(h, ps);
            return true;
        };
    }
};

TEST_F(PaintContextTest, WindowShrinkingItselfDuringPaintKeepsDrawingInsideItsBuffer) {
    HWND top = MakeTop(Rect{0, 0, 400, 300}, kGrey);
    hl::Run();
    InvalidateRect(top, nullptr, true);
    OnNextPaint(top, [&](HDC dc) {
        SetWindowPos(top, nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER);
        DrawEverything(dc, Rect{0, 0, 400, 300});
        Rect box = dc->GetClipBox();
        EXPECT_LE(box.right, 100);
        EXPECT_LE(box.bottom, 80);
    });
    hl::Run();
    ASSERT_EQ(hl::Buffer(top)->Width(), 100);
    EXPECT_EQ(hl::Pixel(top, Point{10, 10}), kGrey); // repainted at the new size afterwards
}

TEST_F(PaintContextTest, WindowGrowingItselfDuringPaintDrawsIntoTheNewBuffer) {
    HWND top = MakeTop(Rect{0, 0, 100, 80}, kGrey);
    hl::Run();
    InvalidateRect(top, nullptr, false);
    OnNextPaint(top, [&](HDC dc) {
        SetWindowPos(top, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
        DrawEverything(dc, Rect{0, 0, 400, 300});
    });
    State().colours[top] = kBlue;
    hl::Run();
    ASSERT_EQ(hl::Buffer(top)->Width(), 400);
    // What the paint drew after the resize reached the pixels that show; the paint was clipped
    // to the update area it began with.
    EXPECT_EQ(hl::Pixel(top, Point{50, 40}), kGreen);
}

TEST_F(PaintContextTest, HostResizingTheWindowDuringPaintIsSafe) {
    HWND top = MakeTop(Rect{0, 0, 300, 200}, kGrey);
    hl::Run();
    InvalidateRect(top, nullptr, true);
    OnNextPaint(top, [&](HDC dc) {
        WindowManager::Instance().HostMoved(top, Rect{0, 0, 50, 40});
        DrawEverything(dc, Rect{0, 0, 300, 200});
        WindowManager::Instance().HostMoved(top, Rect{0, 0, 500, 400});
        DrawEverything(dc, Rect{0, 0, 500, 400});
    });
    hl::Run();
    EXPECT_EQ(hl::Buffer(top)->Width(), 500);
    EXPECT_EQ(hl::Pixel(top, Point{450, 350}), kGrey);
}

TEST_F(PaintContextTest, WindowContextHeldAcrossResizeAndRelease) {
    HWND top = MakeTop(Rect{0, 0, 300, 200}, kGrey);
    HWND child = MakeChild(top, Rect{10, 10, 110, 60}, kRed);
    hl::Run();
    HDC dc = GetDC(child);
    ASSERT_NE(dc, nullptr);
    MoveWindow(top, 0, 0, 40, 30); // the child is now mostly outside the buffer
    DrawEverything(dc, Rect{0, 0, 100, 50});
    MoveWindow(top, 0, 0, 300, 200);
    DrawEverything(dc, Rect{0, 0, 100, 50});
    EXPECT_EQ(ReleaseDC(child, dc), 1);
    hl::Run();
    EXPECT_EQ(hl::Pixel(child, Point{50, 25}), kRed);
}

TEST_F(PaintContextTest, WindowDestroyedWhileItsContextIsHeldDrawsNothing) {
    HWND top = MakeTop(Rect{0, 0, 300, 200}, kGrey);
    HWND child = MakeChild(top, Rect{10, 10, 110, 60}, kRed);
    hl::Run();
    HDC topDc = GetDC(top);
    HDC childDc = GetDC(child);
    ASSERT_NE(topDc, nullptr);
    ASSERT_NE(childDc, nullptr);
    DestroyWindow(top); // frees the back buffer both contexts draw on
    ASSERT_FALSE(IsWindow(top));
    DrawEverything(childDc, Rect{0, 0, 100, 50});
    DrawEverything(topDc, Rect{0, 0, 300, 200});
    EXPECT_TRUE(topDc->GetClipBox().IsEmpty());
    ReleaseDC(child, childDc);
    ReleaseDC(top, topDc);
}

TEST_F(PaintContextTest, WindowDestroyedInsideItsOwnPaintIsSafe) {
    HWND top = MakeTop(Rect{0, 0, 300, 200}, kGrey);
    hl::Run();
    InvalidateRect(top, nullptr, true);
    OnNextPaint(top, [&](HDC dc) {
        DestroyWindow(top);
        DrawEverything(dc, Rect{0, 0, 300, 200});
    });
    hl::Run();
    EXPECT_FALSE(IsWindow(top));
}

// A parent that has its child painted from inside its own paint (UpdateWindow of the child, as a
// control does to show a change at once): the child's pixels survive the parent's EndPaint, and a
// resize by the inner paint leaves the outer context valid.
TEST_F(PaintContextTest, NestedPaintOfAnotherWindowOfTheSameTopLevel) {
    HWND top = MakeTop(Rect{0, 0, 300, 200}, kGrey);
    HWND child = MakeChild(top, Rect{10, 10, 110, 60}, kRed);
    hl::Run();
    State().colours[child] = kBlue;
    InvalidateRect(top, nullptr, false);
    InvalidateRect(child, nullptr, false);
    bool resized = false;
    State().hook = [&](HWND h, UINT msg, WPARAM, LPARAM) {
        if (msg != WM_PAINT)
            return false;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, ps);
        Rect r;
        GetClientRect(h, r);
        dc->FillRect(r, gdi::BrushSpec{gdi::BrushStyle::Solid, State().colours[h]});
        if (h == top) {
            UpdateWindow(child);
            DrawEverything(dc, Rect{150, 100, 300, 200});
        } else if (!resized) {
            resized = true;
            SetWindowPos(top, nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER);
        }
        EndPaint(h, ps);
        return true;
    };
    hl::Run();
    EXPECT_EQ(hl::Pixel(child, Point{50, 25}), kBlue);
    EXPECT_EQ(hl::Pixel(top, Point{5, 5}), kGrey);
}

// A wholly invalid child is painted after its parent, so the parent's paint does not keep its
// pixels; one painted inside the parent's paint, before the parent draws over it, keeps them.
TEST_F(PaintContextTest, ChildPaintedInsideAParentThatDrawsOverIt) {
    HWND top = MakeTop(Rect{0, 0, 300, 200}, kGrey);
    HWND child = MakeChild(top, Rect{10, 10, 110, 60}, kRed);
    hl::Run();
    State().colours[child] = kBlue;
    InvalidateRect(top, nullptr, true);
    State().hook = [&](HWND h, UINT msg, WPARAM, LPARAM) {
        if (msg != WM_PAINT)
            return false;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, ps);
        if (h == top)
            UpdateWindow(child);
        dc->FillRect(Rect{0, 0, 300, 200},
                     gdi::BrushSpec{gdi::BrushStyle::Solid, State().colours[h]});
        if (h == top)
            dc->InvertRect(Rect{0, 0, 150, 100});
        EndPaint(h, ps);
        return true;
    };
    hl::Run();
    EXPECT_EQ(hl::Pixel(child, Point{50, 25}), kBlue);
    EXPECT_EQ(hl::Pixel(top, Point{200, 150}), kGrey);
}

} // namespace
} // namespace platform
