#pragma once
// What a cycle chart shows, in words, for screen readers: the chart's title, the month, the days
// of its highs and lows and the days it crosses zero, read from the chart's own points.
#include <string>
#include <vector>

namespace app {

// `values` holds one point a day from the first of the month, then the first of the next month;
// day d is values[d - 1]. Values are compared as shown to six decimals. A high (low) is a day
// above (below) the day before and not below (above) the day after; a zero crossing is a day
// at zero, or one after which the curve changes sign. Lists read "7 и 30", "1, 13 и 25", or
// "нет":
//   "Физический цикл, Апрель 2024 г.: максимум 7; минимум 19; через ноль 1 и 13."
std::string CycleChartWords(const std::string& title, const std::string& period,
                            const std::vector<double>& values);

} // namespace app
