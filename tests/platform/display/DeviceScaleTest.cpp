// The device scale: where it comes from, and windows painted on back buffers at scale 2.
#include <gtest/gtest.h>

#include "WindowTestSupport.h"
#include "platform/display/DeviceScale.h"

namespace platform {
namespace {

using std::nullopt;

TEST(DeviceScale, ComesFromTheDesktopsSettingsInTheirOrder) {
    EXPECT_EQ(DeviceScaleFrom(nullopt, nullopt, nullopt), 1);
    // Xft.dpi / 96, rounded to the nearest whole, within 1 to 4.
    EXPECT_EQ(DeviceScaleFrom(nullopt, nullopt, "96"), 1);
    EXPECT_EQ(DeviceScaleFrom(nullopt, nullopt, "192"), 2);
    EXPECT_EQ(DeviceScaleFrom(nullopt, nullopt, " 192.0\n"), 2);
    EXPECT_EQ(DeviceScaleFrom(nullopt, nullopt, "120"), 1); // 1.25
    EXPECT_EQ(DeviceScaleFrom(nullopt, nullopt, "144"), 2); // 1.5
    EXPECT_EQ(DeviceScaleFrom(nullopt, nullopt, "288"), 3);
    EXPECT_EQ(DeviceScaleFrom(nullopt, nullopt, "600"), 4);
    EXPECT_EQ(DeviceScaleFrom(nullopt, nullopt, "30"), 1);
    EXPECT_EQ(DeviceScaleFrom(nullopt, nullopt, "high"), 1);
    // GDK_SCALE before Xft.dpi; a setting that is no number is passed over.
    EXPECT_EQ(DeviceScaleFrom(nullopt, "2", "96"), 2);
    EXPECT_EQ(DeviceScaleFrom(nullopt, "1", "192"), 1);
    EXPECT_EQ(DeviceScaleFrom(nullopt, "", "192"), 2);
    EXPECT_EQ(DeviceScaleFrom(nullopt, "2x", "288"), 3);
    // ZORVANE_SCALE before both; numbers outside 1 to 4 are kept within, fractions rounded.
    EXPECT_EQ(DeviceScaleFrom("3", "2", "192"), 3);
    EXPECT_EQ(DeviceScaleFrom("1", "2", "192"), 1);
    EXPECT_EQ(DeviceScaleFrom("0", "2", nullopt), 1);
    EXPECT_EQ(DeviceScaleFrom("-2", nullopt, nullopt), 1);
    EXPECT_EQ(DeviceScaleFrom("9", nullopt, nullopt), 4);
    EXPECT_EQ(DeviceScaleFrom("1.5", nullopt, nullopt), 2);
    EXPECT_EQ(DeviceScaleFrom("1.4", nullopt, nullopt), 1);
    EXPECT_EQ(DeviceScaleFrom("auto", "2", nullopt), 2);
    EXPECT_EQ(DeviceScaleFrom("nan", nullopt, "192"), 2);

    // Device pixels back to logical ones: the logical pixel that covers them.
    EXPECT_EQ(ToLogical(Point{3, -1}, 2), (Point{1, -1}));
    EXPECT_EQ(ToLogicalCovering(Rect{1, -3, 5, 6}, 2), (Rect{0, -2, 3, 3}));
}

// A form painting over the place of a child control must not reach the child's pixels: the
// pixels a paint context puts back are the buffer's own, at the device scale.
TEST(DeviceScale, WindowsPaintWholeSquaresOfDevicePixels) {
    constexpr ColorRef kRed = 0x0000FF, kBlue = 0xFF0000;
    headless::Start(1280, 1024, 2);
    test::UseLogWindows();
    HWND top = test::MakeTop(Rect{100, 100, 160, 140}, kRed, WS_POPUP | WS_VISIBLE);
    HWND child = test::MakeChild(top, Rect{10, 10, 30, 25}, kBlue);
    headless::Run();
    Rect all{0, 0, 60, 40};
    InvalidateRect(top, &all, true);
    headless::Run();
    const gdi::Bitmap* buffer = headless::Buffer(top);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->Width(), 120);
    EXPECT_EQ(buffer->Height(), 80);
    int wrong = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x) {
            bool inChild = x >= 20 && x < 60 && y >= 20 && y < 50;
            wrong += buffer->GetPixel(x, y) != (inChild ? kBlue : kRed);
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(headless::Pixel(child, Point{19, 14}), kBlue);
    EXPECT_EQ(headless::Pixel(top, Point{30, 25}), kRed);
    headless::Stop();
}

} // namespace
} // namespace platform
