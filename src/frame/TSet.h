#pragma once
// A set of enumeration values as the stream format stores it: bit n for ordinal n, ordinals
// 0..31.
#include <cstdint>
#include <initializer_list>

namespace frame {

template <typename E> class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> values) {
        for (E v : values)
            Include(v);
    }
    static constexpr TSet FromMask(uint32_t mask) {
        TSet s;
        s.m_mask = mask;
        return s;
    }

    constexpr bool Contains(E v) const { return (m_mask & Bit(v)) != 0; }
    constexpr void Include(E v) { m_mask |= Bit(v); }
    constexpr void Exclude(E v) { m_mask &= ~Bit(v); }
    constexpr bool Empty() const { return m_mask == 0; }
    constexpr uint32_t Mask() const { return m_mask; }
    constexpr bool operator==(const TSet&) const = default;
    constexpr TSet operator+(E v) const {
        TSet s = *this;
        s.Include(v);
        return s;
    }
    constexpr TSet operator-(E v) const {
        TSet s = *this;
        s.Exclude(v);
        return s;
    }
    constexpr TSet operator+(TSet other) const { return FromMask(m_mask | other.m_mask); }

private:
    static constexpr uint32_t Bit(E v) {
        auto n = static_cast<unsigned>(v);
        return n < 32 ? uint32_t{1} << n : 0;
    }
    uint32_t m_mask = 0;
};

} // namespace frame
