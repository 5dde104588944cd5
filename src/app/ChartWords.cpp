#include "app/ChartWords.h"

#include <cmath>
#include <cstdint>

namespace app {

namespace {

constexpr double kShownScale = 1e6; // six decimals, as the month's numbers are printed

std::string DayList(const std::vector<int>& days) {
    if (days.empty())
        return "нет";
    std::string list;
    for (std::size_t i = 0; i < days.size(); ++i) {
        if (i > 0)
            list += i + 1 == days.size() ? " и " : ", ";
        list += std::to_string(days[i]);
    }
    return list;
}

int Sign(std::int64_t v) {
    return (v > 0) - (v < 0);
}

} // namespace

std::string CycleChartWords(const std::string& title, const std::string& period,
                            const std::vector<double>& values) {
    std::vector<std::int64_t> shown;
    for (double v : values)
        shown.push_back(std::llround(v * kShownScale));
    // The last point is the next month's first day: a neighbour, not a day of the month.
    int days = int(shown.size()) - 1;
    std::vector<int> highs, lows, zeros;
    for (int x = 0; x < days; ++x) {
        std::int64_t v = shown[std::size_t(x)], next = shown[std::size_t(x) + 1];
        if (x > 0) {
            std::int64_t before = shown[std::size_t(x) - 1];
            if (v > before && v >= next)
                highs.push_back(x + 1);
            if (v < before && v <= next)
                lows.push_back(x + 1);
        }
        if (v == 0 || Sign(v) * Sign(next) < 0)
            zeros.push_back(x + 1);
    }
    return title + ", " + period + " г.: максимум " + DayList(highs) + "; минимум " +
           DayList(lows) + "; через ноль " + DayList(zeros) + ".";
}

} // namespace app
