#pragma once
// What the drawing layer's text cache holds on the calling thread, and its bounds (for tests and
// benchmarks; the cache itself is private to src/platform/gdi).
#include <cstddef>

namespace platform::gdi {

struct TextCacheCounts {
    std::size_t setups = 0; // font set-ups, one per kind of target seen
    std::size_t fonts = 0;  // realised fonts
    std::size_t texts = 0;  // shaped texts
};
TextCacheCounts CurrentTextCacheCounts();

constexpr std::size_t MaxCachedTexts = 1024;
// Longer texts are shaped for the call only.
constexpr std::size_t MaxCachedTextBytes = 256;
constexpr std::size_t MaxCachedFonts = 64;

} // namespace platform::gdi
