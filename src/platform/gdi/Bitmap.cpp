#include "platform/gdi/Bitmap.h"

#include <stdexcept>
#include <utility>

namespace platform::gdi {

Bitmap::Bitmap(int width, int height, std::uint32_t fill, bool hasAlpha) : m_hasAlpha(hasAlpha) {
    Resize(width, height, fill);
}

Bitmap::Bitmap(const Bitmap& other)
    : m_width(other.m_width), m_height(other.m_height), m_hasAlpha(other.m_hasAlpha),
      m_pixels(other.m_pixels) {}

Bitmap::Bitmap(Bitmap&& other) noexcept
    : m_width(std::exchange(other.m_width, 0)), m_height(std::exchange(other.m_height, 0)),
      m_hasAlpha(other.m_hasAlpha), m_pixels(std::move(other.m_pixels)) {
    other.m_pixels.clear();
    other.PixelsReplaced();
}

Bitmap& Bitmap::operator=(const Bitmap& other) {
    if (this != &other) {
        m_width = other.m_width;
        m_height = other.m_height;
        m_hasAlpha = other.m_hasAlpha;
        m_pixels = other.m_pixels;
        PixelsReplaced();
    }
    return *this;
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this != &other) {
        m_width = std::exchange(other.m_width, 0);
        m_height = std::exchange(other.m_height, 0);
        m_hasAlpha = other.m_hasAlpha;
        m_pixels = std::move(other.m_pixels);
        other.m_pixels.clear();
        PixelsReplaced();
        other.PixelsReplaced();
    }
    return *this;
}

Bitmap::~Bitmap() {
    if (m_binding)
        m_binding->bitmap = nullptr;
}

bool operator==(const Bitmap& a, const Bitmap& b) {
    return a.m_width == b.m_width && a.m_height == b.m_height && a.m_hasAlpha == b.m_hasAlpha &&
           a.m_pixels == b.m_pixels;
}

std::shared_ptr<const Bitmap::Binding> Bitmap::Bind() {
    if (!m_binding)
        m_binding = std::make_shared<Binding>(Binding{this, 0});
    return m_binding;
}

void Bitmap::PixelsReplaced() {
    if (m_binding)
        ++m_binding->generation;
}

void Bitmap::SetHasAlpha(bool hasAlpha) {
    if (hasAlpha == m_hasAlpha)
        return;
    m_hasAlpha = hasAlpha;
    PixelsReplaced(); // a context reads the pixels in another format now
}

void Bitmap::Resize(int width, int height, std::uint32_t fill) {
    if (width < 0 || height < 0 || (width > 0 && height > (1 << 28) / width))
        throw std::length_error("bitmap too large");
    m_width = width;
    m_height = height;
    m_pixels.assign(std::size_t(width) * std::size_t(height),
                    m_hasAlpha ? fill : (fill | 0xFF000000u));
    PixelsReplaced();
}

ColorRef Bitmap::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0xFFFFFFFFu;
    return WordToColor(Row(y)[x] & 0xFFFFFF);
}

void Bitmap::SetPixel(int x, int y, ColorRef color) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    Row(y)[x] = ColorToWord(color) | 0xFF000000u;
}

} // namespace platform::gdi
