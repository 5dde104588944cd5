#include "platform/gdi/Bitmap.h"

#include <stdexcept>

namespace platform::gdi {

Bitmap::Bitmap(int width, int height, std::uint32_t fill, bool hasAlpha) : m_hasAlpha(hasAlpha) {
    Resize(width, height, fill);
}

void Bitmap::Resize(int width, int height, std::uint32_t fill) {
    if (width < 0 || height < 0 || (width > 0 && height > (1 << 28) / width))
        throw std::length_error("bitmap too large");
    m_width = width;
    m_height = height;
    m_pixels.assign(std::size_t(width) * std::size_t(height),
                    m_hasAlpha ? fill : (fill | 0xFF000000u));
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
