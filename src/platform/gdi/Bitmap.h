#pragma once
// A 32-bit pixel image in memory: the back buffer of a window, a decoded picture, a chart's
// off-screen image. Pixels are 0xAARRGGBB words, rows top-down; without alpha the top byte is
// ignored and the image is opaque. With alpha the colour channels are premultiplied.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/GdiTypes.h"

namespace platform::gdi {

class Bitmap {
public:
    // What a device context drawing on a bitmap holds: it learns from it that the bitmap's pixels
    // were replaced (resized, assigned, moved away, alpha changed) or that the bitmap is gone, so
    // it never draws through a stale pixel pointer. Tied to the bitmap object, not to its pixels.
    struct Binding {
        Bitmap* bitmap = nullptr; // null once the bitmap is destroyed
        std::uint64_t generation = 0;
    };

    Bitmap() = default;
    // A width x height image filled with `fill` (0xRRGGBB words, not ColorRef).
    Bitmap(int width, int height, std::uint32_t fill = 0xFFFFFF, bool hasAlpha = false);
    // Copies and moves carry the pixels; contexts stay with the object they were made on.
    Bitmap(const Bitmap& other);
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(const Bitmap& other);
    Bitmap& operator=(Bitmap&& other) noexcept;
    ~Bitmap();

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Empty() const { return m_width <= 0 || m_height <= 0; }
    bool HasAlpha() const { return m_hasAlpha; }
    void SetHasAlpha(bool hasAlpha);
    // Bytes per row (always width * 4).
    int Stride() const { return m_width * 4; }

    std::uint32_t* Row(int y) { return m_pixels.data() + std::size_t(y) * std::size_t(m_width); }
    const std::uint32_t* Row(int y) const {
        return m_pixels.data() + std::size_t(y) * std::size_t(m_width);
    }
    std::uint32_t* Data() { return m_pixels.data(); }
    const std::uint32_t* Data() const { return m_pixels.data(); }

    // The pixel as a ColorRef (0x00BBGGRR); outside the image 0xFFFFFFFF.
    ColorRef GetPixel(int x, int y) const;
    void SetPixel(int x, int y, ColorRef color);
    // Raw 0xAARRGGBB word; no bounds check.
    std::uint32_t Word(int x, int y) const { return Row(y)[x]; }

    void Resize(int width, int height, std::uint32_t fill = 0xFFFFFF);
    // Same size, alpha flag and pixels.
    friend bool operator==(const Bitmap& a, const Bitmap& b);

    // The binding of this object (made on first use); device contexts keep it.
    std::shared_ptr<const Binding> Bind();

private:
    void PixelsReplaced();

    int m_width = 0;
    int m_height = 0;
    bool m_hasAlpha = false;
    std::vector<std::uint32_t> m_pixels;
    std::shared_ptr<Binding> m_binding;
};

// ColorRef (0x00BBGGRR) <-> pixel word (0x00RRGGBB).
constexpr std::uint32_t ColorToWord(ColorRef c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr ColorRef WordToColor(std::uint32_t w) {
    return ((w & 0xFF) << 16) | (w & 0xFF00) | ((w >> 16) & 0xFF);
}

} // namespace platform::gdi
