#include "frame/graphics/IconFile.h"

#include <algorithm>
#include <cstring>

#include "frame/graphics/DibImage.h"
#include "rtl/Exception.h"

namespace frame {

namespace {

[[noreturn]] void Invalid() {
    throw rtl::EInvalidGraphic(std::string("Icon image is not valid"));
}

std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
std::uint16_t U16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | (p[1] << 8));
}

platform::gdi::Bitmap ScaleNearest(const platform::gdi::Bitmap& src, int w, int h) {
    if (src.Width() == w && src.Height() == h)
        return src;
    platform::gdi::Bitmap out(w, h, 0, true);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out.Row(y)[x] = src.Word(x * src.Width() / w, y * src.Height() / h);
    return out;
}

} // namespace

int ReadIconType(const std::uint8_t* data, std::size_t size) {
    if (size < 6)
        Invalid();
    int type = U16(data + 2);
    if (type >= 2)
        Invalid();
    return type;
}

std::vector<IconDirEntry> ReadIconDirectory(const std::uint8_t* data, std::size_t size) {
    if (ReadIconType(data, size) != 1)
        Invalid();
    std::size_t count = U16(data + 4);
    if (count == 0 || count > (size - 6) / 16)
        Invalid();
    std::vector<IconDirEntry> entries(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = data + 6 + 16 * i;
        IconDirEntry& d = entries[i];
        d.width = e[0] ? e[0] : 256;
        d.height = e[1] ? e[1] : 256;
        d.colorCount = e[2];
        d.planes = U16(e + 4);
        d.bitCount = U16(e + 6);
        d.bytesInRes = U32(e + 8);
        d.offset = U32(e + 12);
    }
    return entries;
}

std::size_t ChooseIconEntry(const std::vector<IconDirEntry>& entries, int displayColors) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].colorCount == displayColors)
            return i;
    std::size_t best = entries.size();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].colorCount > displayColors)
            continue;
        if (best == entries.size() || entries[i].colorCount > entries[best].colorCount)
            best = i;
    }
    return best == entries.size() ? 0 : best;
}

platform::gdi::Bitmap DecodeIconImage(const std::uint8_t* data, std::size_t size,
                                      const IconDirEntry& entry) {
    if (entry.offset >= size || entry.bytesInRes < 40)
        Invalid();
    std::size_t avail = std::min<std::size_t>(entry.bytesInRes, size - entry.offset);
    const std::uint8_t* p = data + entry.offset;
    if (avail < 40 || U32(p) < 40 || U32(p) > avail)
        Invalid();
    // The image is a BMP without its file header; its height counts the colour image and the
    // mask together.
    std::vector<std::uint8_t> file(14 + avail);
    file[0] = 'B';
    file[1] = 'M';
    std::memcpy(file.data() + 14, p, avail);
    std::int32_t fullHeight = std::int32_t(U32(p + 8));
    if (fullHeight <= 0 || (fullHeight & 1))
        Invalid();
    std::int32_t h = fullHeight / 2;
    std::memcpy(file.data() + 14 + 8, &h, 4); // host is little-endian, as the format
    DibImage dib;
    try {
        dib = ReadBmpFile(file.data(), file.size());
    } catch (const rtl::EInvalidGraphic&) {
        Invalid();
    }
    if (dib.compression != BI_RGB || dib.Empty())
        Invalid();
    std::size_t colorBytes = dib.RowBytes() * std::size_t(h);
    // ReadBmpFile took the colour image only when the header's image size was 0; the mask
    // follows the colour image in the file in any case.
    std::size_t tableBytes = dib.colors.size() * 4;
    std::size_t pixelStart = U32(p) + tableBytes;
    platform::gdi::Bitmap color = DibToBitmap(dib);
    int w = dib.width;
    std::size_t maskRow = ((std::size_t(w) + 31) / 32) * 4;
    std::size_t maskStart = pixelStart + colorBytes;
    bool useAlpha = false;
    if (dib.bitCount == 32 && pixelStart + colorBytes <= avail) {
        for (std::size_t i = 3; i < colorBytes; i += 4)
            if (p[pixelStart + i] != 0)
                useAlpha = true;
    }
    platform::gdi::Bitmap out(w, h, 0, true);
    for (int y = 0; y < h; ++y) {
        int storedRow = h - 1 - y;
        for (int x = 0; x < w; ++x) {
            std::uint32_t c = color.Word(x, y) & 0xFFFFFF;
            bool transparent = false;
            std::size_t mi = maskStart + std::size_t(storedRow) * maskRow + std::size_t(x >> 3);
            if (mi < avail)
                transparent = (p[mi] >> (7 - (x & 7))) & 1;
            std::uint32_t a = 255;
            if (useAlpha) {
                std::size_t ai = pixelStart + std::size_t(storedRow) * dib.RowBytes() + 4 * x + 3;
                a = ai < avail ? p[ai] : 255;
            } else if (transparent) {
                a = 0;
            }
            std::uint32_t r = ((c >> 16) & 0xFF) * a / 255, g = ((c >> 8) & 0xFF) * a / 255,
                          b = (c & 0xFF) * a / 255;
            out.Row(y)[x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    return ScaleNearest(out, kSystemIconSize, kSystemIconSize);
}

platform::gdi::Bitmap DecodeIconFile(const std::uint8_t* data, std::size_t size,
                                     int displayColors) {
    if (ReadIconType(data, size) == 0)
        return DefaultApplicationIcon();
    auto entries = ReadIconDirectory(data, size);
    return DecodeIconImage(data, size, entries[ChooseIconEntry(entries, displayColors)]);
}

platform::gdi::Bitmap DefaultApplicationIcon() {
    // A window with a blue title bar on a transparent ground.
    const int s = kSystemIconSize;
    platform::gdi::Bitmap icon(s, s, 0, true);
    for (int y = 3; y < s - 3; ++y)
        for (int x = 2; x < s - 2; ++x) {
            bool edge = x == 2 || x == s - 3 || y == 3 || y == s - 4;
            std::uint32_t c = edge ? 0x000000 : (y < 9 ? 0x000080 : 0xFFFFFF);
            icon.Row(y)[x] = 0xFF000000u | c;
        }
    return icon;
}

} // namespace frame
