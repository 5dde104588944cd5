#pragma once
// The soak's one source of chance. Everything random in a run comes from here, in a fixed order,
// so a seed replays exactly. The engine is specified bit for bit by the standard; the bounded
// draws are our own (the standard distributions differ between libraries).
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace soak {

class TSoakRandom {
public:
    explicit TSoakRandom(std::uint64_t seed) : m_engine(seed) {}

    // 0 .. n - 1 (0 when n <= 0).
    int Below(int n) { return n <= 0 ? 0 : int(m_engine() % std::uint64_t(n)); }
    int Between(int lo, int hi) { return hi <= lo ? lo : lo + Below(hi - lo + 1); }
    bool Chance(int percent) { return Below(100) < percent; }
    // An index chosen with the given weights (all zero: -1).
    int Weighted(const std::vector<int>& weights) {
        int total = 0;
        for (int w : weights)
            total += w > 0 ? w : 0;
        if (total == 0)
            return -1;
        int at = Below(total);
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if (weights[i] <= 0)
                continue;
            if (at < weights[i])
                return int(i);
            at -= weights[i];
        }
        return -1;
    }
    template <typename T> const T& Pick(const std::vector<T>& items) {
        return items[std::size_t(Below(int(items.size())))];
    }

private:
    std::mt19937_64 m_engine;
};

} // namespace soak
