#include "frame/graphics/DibImage.h"

#include <algorithm>
#include <cstring>

#include "rtl/Exception.h"

namespace frame {

namespace {

const char* const kInvalid = "Bitmap image is not valid";

[[noreturn]] void Invalid() {
    throw rtl::EInvalidGraphic(std::string(kInvalid));
}

std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
std::uint16_t U16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | (p[1] << 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

// Widest images we accept: large enough for any real picture, small enough that a hostile header
// cannot make us allocate gigabytes.
constexpr long long kMaxPixels = 1LL << 24;

int MaskShift(std::uint32_t mask) {
    int s = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++s;
    }
    return s;
}

// Widens a masked channel to 8 bits. Narrow channels repeat their bits downwards (5-bit 31 and
// 6-bit 63 become 255, 5-bit 3 becomes 24), as displays and other readers expand them; wider
// ones keep their top 8 bits.
struct Channel {
    std::uint32_t mask;
    int shift;
    int bits;
    explicit Channel(std::uint32_t m) : mask(m), shift(MaskShift(m)), bits(0) {
        for (std::uint32_t v = m ? m >> shift : 0; v & 1; v >>= 1)
            ++bits;
    }
    std::uint32_t Get(std::uint32_t v) const {
        if (!bits)
            return 0;
        std::uint32_t c = (v & mask) >> shift;
        if (bits >= 8)
            return (c >> (bits - 8)) & 0xFF;
        std::uint32_t out = 0;
        for (int s = 8 - bits; s > -bits; s -= bits)
            out |= s >= 0 ? c << s : c >> -s;
        return out & 0xFF;
    }
};

} // namespace

std::size_t DibImage::RowBytes() const {
    return ((std::size_t(std::max(width, 0)) * std::size_t(bitCount) + 31) / 32) * 4;
}

namespace {

constexpr std::uint16_t kBmpSignature = 0x4D42; // "BM"
constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12; // OS/2 1.x: 16-bit sizes, 3-byte colours
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kV2HeaderBytes = 52; // the info header with the colour masks inside
constexpr std::size_t kMaskBlockBytes = 12;

// The header's fields; returns its length.
std::uint32_t ReadInfoHeader(const std::uint8_t* p, std::size_t left, DibImage& dib) {
    std::uint32_t headerSize = U32(p);
    if (headerSize == kCoreHeaderBytes) {
        if (left < kCoreHeaderBytes)
            Invalid();
        dib.os2 = true;
        dib.width = U16(p + 4);
        dib.height = std::int16_t(U16(p + 6));
        dib.planes = U16(p + 8);
        dib.bitCount = U16(p + 10);
        return headerSize;
    }
    if (headerSize < 16 || headerSize > left)
        Invalid();
    // A header shorter than 40 bytes (OS/2 2.x) leaves the rest of the fields zero.
    std::uint8_t h[kInfoHeaderBytes] = {};
    std::memcpy(h, p, std::min<std::size_t>(headerSize, kInfoHeaderBytes));
    dib.width = std::int32_t(U32(h + 4));
    dib.height = std::int32_t(U32(h + 8));
    dib.planes = U16(h + 12);
    dib.bitCount = U16(h + 14);
    dib.compression = U32(h + 16);
    dib.imageSize = U32(h + 20);
    dib.xPelsPerMeter = std::int32_t(U32(h + 24));
    dib.yPelsPerMeter = std::int32_t(U32(h + 28));
    dib.clrUsed = U32(h + 32);
    dib.clrImportant = U32(h + 36);
    return headerSize;
}

void CheckFormat(const DibImage& dib) {
    if (dib.planes != 1)
        Invalid();
    switch (dib.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        Invalid();
    }
    if (dib.width < 0 || dib.height == std::int32_t(0x80000000) ||
        (dib.width > 0 && dib.AbsHeight() > kMaxPixels / dib.width))
        Invalid();
    if (dib.compression > BI_BITFIELDS || (dib.compression == BI_RLE8 && dib.bitCount != 8) ||
        (dib.compression == BI_RLE4 && dib.bitCount != 4) ||
        (dib.compression == BI_BITFIELDS && dib.bitCount != 16 && dib.bitCount != 32))
        Invalid();
}

// The colour masks of a bit-field image: a block after a 40-byte header, or inside a longer
// one. Returns the bytes the block took.
std::size_t ReadMasks(const std::uint8_t* p, std::size_t left, std::uint32_t headerSize,
                      DibImage& dib) {
    if (dib.compression != BI_BITFIELDS)
        return 0;
    if (headerSize == kInfoHeaderBytes) {
        if (left < kMaskBlockBytes)
            Invalid();
        dib.hasMaskBlock = true;
        for (int i = 0; i < 3; ++i)
            dib.masks[i] = U32(p + 4 * i);
        return kMaskBlockBytes;
    }
    if (headerSize < kV2HeaderBytes)
        Invalid();
    for (int i = 0; i < 3; ++i)
        dib.masks[i] = U32(dib.header.data() + kInfoHeaderBytes + 4 * i);
    return 0;
}

// Returns the bytes the colour table took.
std::size_t ReadColorTable(const std::uint8_t* p, std::size_t left, DibImage& dib) {
    std::size_t count = dib.clrUsed;
    if (count == 0 && dib.bitCount <= 8)
        count = std::size_t(1) << dib.bitCount;
    std::size_t entry = dib.os2 ? 3 : 4;
    if (count > 256 && dib.bitCount <= 8)
        count = std::size_t(1) << dib.bitCount; // more entries than indexes: the rest is unused
    if (count > left / entry)
        Invalid();
    dib.colors.resize(count);
    for (std::size_t i = 0; i < count; ++i, p += entry)
        dib.colors[i] = (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
    return count * entry;
}

} // namespace

DibImage ReadBmpFile(const std::uint8_t* data, std::size_t size) {
    if (size < kFileHeaderBytes + 4 || U16(data) != kBmpSignature)
        Invalid();
    const std::uint8_t* p = data + kFileHeaderBytes;
    std::size_t left = size - kFileHeaderBytes;
    DibImage dib;
    std::uint32_t headerSize = ReadInfoHeader(p, left, dib);
    dib.header.assign(p, p + headerSize);
    p += headerSize;
    left -= headerSize;
    CheckFormat(dib);
    std::size_t used = ReadMasks(p, left, headerSize, dib);
    p += used;
    left -= used;
    used = ReadColorTable(p, left, dib);
    p += used;
    left -= used;
    std::size_t pixelBytes = dib.imageSize;
    if (pixelBytes == 0)
        pixelBytes = dib.RowBytes() * std::size_t(dib.AbsHeight());
    pixelBytes = std::min(pixelBytes, left);
    dib.pixels.assign(p, p + pixelBytes);
    return dib;
}

std::vector<std::uint8_t> WriteBmpFile(const DibImage& dib) {
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> header = dib.header;
    if (header.empty()) {
        if (dib.os2) {
            Put32(header, 12);
            Put16(header, std::uint16_t(dib.width));
            Put16(header, std::uint16_t(dib.height));
            Put16(header, 1);
            Put16(header, std::uint16_t(dib.bitCount));
        } else {
            Put32(header, 40);
            Put32(header, std::uint32_t(dib.width));
            Put32(header, std::uint32_t(dib.height));
            Put16(header, 1);
            Put16(header, std::uint16_t(dib.bitCount));
            Put32(header, dib.compression);
            Put32(header, dib.imageSize);
            Put32(header, std::uint32_t(dib.xPelsPerMeter));
            Put32(header, std::uint32_t(dib.yPelsPerMeter));
            Put32(header, dib.clrUsed);
            Put32(header, dib.clrImportant);
        }
    }
    std::size_t entry = dib.os2 ? 3 : 4;
    std::size_t offset =
        14 + header.size() + (dib.hasMaskBlock ? 12 : 0) + dib.colors.size() * entry;
    std::size_t total = offset + dib.pixels.size();
    Put16(out, 0x4D42);
    Put32(out, std::uint32_t(total));
    Put32(out, 0);
    Put32(out, std::uint32_t(offset));
    out.insert(out.end(), header.begin(), header.end());
    if (dib.hasMaskBlock)
        for (std::uint32_t m : dib.masks)
            Put32(out, m);
    for (std::uint32_t c : dib.colors) {
        out.push_back(std::uint8_t(c));
        out.push_back(std::uint8_t(c >> 8));
        out.push_back(std::uint8_t(c >> 16));
        if (!dib.os2)
            out.push_back(0);
    }
    out.insert(out.end(), dib.pixels.begin(), dib.pixels.end());
    return out;
}

namespace {

// Expands run-length data into one index per pixel, rows bottom-up as stored.
std::vector<std::uint8_t> ExpandRle(const DibImage& dib) {
    int w = dib.width, h = dib.AbsHeight();
    std::vector<std::uint8_t> idx(std::size_t(w) * std::size_t(h), 0);
    bool four = dib.compression == BI_RLE4;
    const std::uint8_t* p = dib.pixels.data();
    const std::uint8_t* end = p + dib.pixels.size();
    int x = 0, y = 0;
    auto put = [&](std::uint8_t v) {
        if (x < w && y < h)
            idx[std::size_t(y) * std::size_t(w) + std::size_t(x)] = v;
        ++x;
    };
    while (end - p >= 2 && y < h) {
        std::uint8_t n = p[0], v = p[1];
        p += 2;
        if (n > 0) {
            for (int i = 0; i < n && x < w; ++i)
                put(four ? ((i & 1) ? (v & 0x0F) : (v >> 4)) : v);
            continue;
        }
        if (v == 0) { // end of line
            x = 0;
            ++y;
        } else if (v == 1) { // end of bitmap
            break;
        } else if (v == 2) { // delta
            if (end - p < 2)
                break;
            x += p[0];
            y += p[1];
            p += 2;
        } else { // absolute run of v pixels, padded to a 16-bit boundary
            std::size_t bytes = four ? (std::size_t(v) + 1) / 2 : std::size_t(v);
            if (std::size_t(end - p) < bytes)
                break;
            for (int i = 0; i < v; ++i)
                put(four ? ((i & 1) ? (p[i / 2] & 0x0F) : (p[i / 2] >> 4)) : p[i]);
            p += bytes + (bytes & 1);
        }
    }
    return idx;
}

} // namespace

platform::gdi::Bitmap DibToBitmap(const DibImage& dib) {
    if (dib.Empty())
        return platform::gdi::Bitmap();
    int w = dib.width, h = dib.AbsHeight();
    platform::gdi::Bitmap out(w, h, 0);
    bool topDown = dib.height < 0;
    auto color = [&](std::size_t i) -> std::uint32_t {
        return i < dib.colors.size() ? dib.colors[i] : 0u;
    };
    auto outRow = [&](int storedRow) { return out.Row(topDown ? storedRow : h - 1 - storedRow); };
    if (dib.compression == BI_RLE8 || dib.compression == BI_RLE4) {
        std::vector<std::uint8_t> idx = ExpandRle(dib);
        for (int y = 0; y < h; ++y) {
            std::uint32_t* row = outRow(y);
            for (int x = 0; x < w; ++x)
                row[x] = color(idx[std::size_t(y) * std::size_t(w) + std::size_t(x)]) | 0xFF000000u;
        }
        return out;
    }
    std::uint32_t m[3] = {dib.masks[0], dib.masks[1], dib.masks[2]};
    if (dib.compression != BI_BITFIELDS) {
        if (dib.bitCount == 16) {
            m[0] = 0x7C00;
            m[1] = 0x03E0;
            m[2] = 0x001F;
        } else {
            m[0] = 0xFF0000;
            m[1] = 0x00FF00;
            m[2] = 0x0000FF;
        }
    }
    Channel r(m[0]), g(m[1]), b(m[2]);
    std::size_t rowBytes = dib.RowBytes();
    std::vector<std::uint8_t> row(rowBytes);
    for (int y = 0; y < h; ++y) {
        std::size_t start = std::size_t(y) * rowBytes;
        std::fill(row.begin(), row.end(), 0);
        if (start < dib.pixels.size())
            std::memcpy(row.data(), dib.pixels.data() + start,
                        std::min(rowBytes, dib.pixels.size() - start));
        std::uint32_t* o = outRow(y);
        const std::uint8_t* s = row.data();
        for (int x = 0; x < w; ++x) {
            std::uint32_t v;
            switch (dib.bitCount) {
            case 1:
                v = color((s[x >> 3] >> (7 - (x & 7))) & 1);
                break;
            case 4:
                v = color((x & 1) ? (s[x >> 1] & 0x0F) : (s[x >> 1] >> 4));
                break;
            case 8:
                v = color(s[x]);
                break;
            case 24:
                v = (std::uint32_t(s[3 * x + 2]) << 16) | (std::uint32_t(s[3 * x + 1]) << 8) |
                    s[3 * x];
                break;
            default: {
                std::uint32_t px = dib.bitCount == 16 ? U16(s + 2 * x) : U32(s + 4 * x);
                v = (r.Get(px) << 16) | (g.Get(px) << 8) | b.Get(px);
                break;
            }
            }
            o[x] = v | 0xFF000000u;
        }
    }
    return out;
}

DibImage BitmapToDib(const platform::gdi::Bitmap& bitmap) {
    DibImage dib;
    dib.width = bitmap.Width();
    dib.height = bitmap.Height();
    dib.bitCount = 24;
    if (dib.Empty())
        return dib;
    std::size_t rowBytes = dib.RowBytes();
    dib.pixels.assign(rowBytes * std::size_t(dib.height), 0);
    for (int y = 0; y < dib.height; ++y) {
        const std::uint32_t* s = bitmap.Row(dib.height - 1 - y);
        std::uint8_t* d = dib.pixels.data() + std::size_t(y) * rowBytes;
        for (int x = 0; x < dib.width; ++x) {
            d[3 * x] = std::uint8_t(s[x]);
            d[3 * x + 1] = std::uint8_t(s[x] >> 8);
            d[3 * x + 2] = std::uint8_t(s[x] >> 16);
        }
    }
    return dib;
}

} // namespace frame
