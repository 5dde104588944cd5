#include "platform/display/MonitorChoice.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

constexpr Size kScreen{2560, 1024};
const Rect kLeft{0, 0, 1280, 1024};
const Rect kRight{1280, 0, 2560, 1024};

TEST(MonitorChoiceTest, CentresOnTheMonitorWithThePointerWithinTheWorkArea) {
    // One monitor (or none known): the whole screen, whatever the work area, as always.
    EXPECT_EQ(CentringArea({}, Point{2000, 500}, Rect{0, 30, 2560, 1024}, kScreen),
              (Rect{0, 0, 2560, 1024}));
    EXPECT_EQ(CentringArea({kLeft}, Point{100, 100}, std::nullopt, Size{1280, 1024}), kLeft);
    // Two: the one holding the pointer, its edges included.
    EXPECT_EQ(CentringArea({kLeft, kRight}, Point{1900, 500}, std::nullopt, kScreen), kRight);
    EXPECT_EQ(CentringArea({kLeft, kRight}, Point{1279, 1023}, std::nullopt, kScreen), kLeft);
    EXPECT_EQ(CentringArea({kLeft, kRight}, Point{1280, 0}, std::nullopt, kScreen), kRight);
    // A panel along the top of the whole desktop takes its strip off the chosen monitor.
    EXPECT_EQ(CentringArea({kLeft, kRight}, Point{1900, 500}, Rect{0, 30, 2560, 1024}, kScreen),
              (Rect{1280, 30, 2560, 1024}));
    // A work area that leaves nothing of the monitor is ignored.
    EXPECT_EQ(CentringArea({kLeft, kRight}, Point{1900, 500}, Rect{0, 0, 1280, 1024}, kScreen),
              kRight);
    // Monitors of different sizes, the pointer in the gap below the smaller one: the nearest.
    const Rect small{1280, 0, 2304, 768};
    EXPECT_EQ(CentringArea({kLeft, small}, Point{2000, 900}, std::nullopt, kScreen), small);
    EXPECT_EQ(CentringArea({kLeft, small}, Point{1250, 1000}, std::nullopt, kScreen), kLeft);
}

} // namespace
} // namespace platform
