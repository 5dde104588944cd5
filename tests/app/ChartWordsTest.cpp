// The words a screen reader says for a cycle chart, from its points.
#include <gtest/gtest.h>

#include "app/ChartWords.h"

TEST(ChartWords, HighsLowsAndZeroCrossingsAsShownToSixDecimals) {
    // Day 1 rises (no day before it: not a high), 3 is a high, 5 a low; the curve is at zero on
    // day 2 (-1e-9 shows as zero) and changes sign after day 4. Days 7 and 8 are equal to six
    // decimals, so 7 is the high of that plateau; the last point is the next month's first day,
    // which only serves as day 8's neighbour (its fall after day 8 makes no low of it).
    std::vector<double> values{-0.5, -1e-9, 0.8, 0.3, -0.6, 0.2, 0.9000001, 0.9, -0.1};
    EXPECT_EQ(app::CycleChartWords("Физический цикл", "Март 1980", values),
              "Физический цикл, Март 1980 г.: максимум 3 и 7; минимум 5; через ноль 2, 4, 5 и 8.");
    EXPECT_EQ(app::CycleChartWords("Сумма", "Март 1980", {1, 2, 3}),
              "Сумма, Март 1980 г.: максимум нет; минимум нет; через ноль нет.");
}
