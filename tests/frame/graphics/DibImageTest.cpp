#include "frame/graphics/DibImage.h"

#include <gtest/gtest.h>

#include "ImageTestTools.h"
#include "rtl/Exception.h"

using namespace frame;
using namespace imagetest;

namespace {

DibImage Read(const std::vector<std::uint8_t>& bytes) {
    return ReadBmpFile(bytes.data(), bytes.size());
}

void ExpectSameAsImageMagick(const std::vector<std::uint8_t>& bmp, int tolerance = 0) {
    ASSERT_GT(bmp.size(), 54u);
    DibImage dib = Read(bmp);
    platform::gdi::Bitmap ours = DibToBitmap(dib);
    EXPECT_EQ(ours.Width(), 70);
    EXPECT_EQ(ours.Height(), 46);
    EXPECT_LE(MaxDifference(ours, ImDecodeRgba(bmp, "bmp")), tolerance);
    EXPECT_GE(MaxDifference(ours, ImDecodeRgba(bmp, "bmp")), 0);
}

// Encodes a 4-bit image as run-length 4: runs of equal pixels as encoded pairs, the rest in
// absolute mode, so both kinds of record are exercised.
std::vector<std::uint8_t> EncodeRle4(const DibImage& dib) {
    std::vector<std::uint8_t> out;
    std::size_t rowBytes = dib.RowBytes();
    auto px = [&](int x, int y) {
        std::uint8_t b = dib.pixels[std::size_t(y) * rowBytes + std::size_t(x / 2)];
        return std::uint8_t((x & 1) ? (b & 0x0F) : (b >> 4));
    };
    for (int y = 0; y < dib.AbsHeight(); ++y) {
        int x = 0;
        while (x < dib.width) {
            int n = 1;
            while (x + n < dib.width && n < 255 && px(x + n, y) == px(x, y))
                ++n;
            if (n >= 3 || dib.width - x < 3) {
                out.push_back(std::uint8_t(n));
                out.push_back(std::uint8_t(px(x, y) << 4 | px(x, y)));
                x += n;
                continue;
            }
            int m = std::min(8, dib.width - x);
            if (m < 3) {
                out.push_back(std::uint8_t(m));
                out.push_back(std::uint8_t(px(x, y) << 4 | (m > 1 ? px(x + 1, y) : 0)));
                x += m;
                continue;
            }
            out.push_back(0);
            out.push_back(std::uint8_t(m));
            std::vector<std::uint8_t> bytes((m + 1) / 2, 0);
            for (int i = 0; i < m; ++i)
                bytes[i / 2] |= std::uint8_t(px(x + i, y) << ((i & 1) ? 0 : 4));
            out.insert(out.end(), bytes.begin(), bytes.end());
            if (bytes.size() & 1)
                out.push_back(0);
            x += m;
        }
        out.push_back(0);
        out.push_back(0);
    }
    out.push_back(0);
    out.push_back(1);
    return out;
}

} // namespace

TEST(BmpDecode, EveryDepthMatchesImageMagick) {
    ExpectSameAsImageMagick(MakeWithConvert("-type TrueColor", "BMP3:d24.bmp"));
    ExpectSameAsImageMagick(MakeWithConvert("-type Palette -compress None", "BMP3:d8.bmp"));
    ExpectSameAsImageMagick(MakeWithConvert("-colors 16 -type Palette", "BMP3:d4.bmp"));
    ExpectSameAsImageMagick(MakeWithConvert("-monochrome", "BMP3:d1.bmp"));
    ExpectSameAsImageMagick(MakeWithConvert("-type Palette -compress RLE", "BMP3:rle8.bmp"));
    // Bit fields in a large header.
    ExpectSameAsImageMagick(MakeWithConvert("-alpha on", "BMP:d32v5.bmp"));
    ExpectSameAsImageMagick(MakeWithConvert("-define bmp:subtype=RGB565", "BMP:d565.bmp"));
    ExpectSameAsImageMagick(MakeWithConvert("-define bmp:subtype=RGB555", "BMP:d555.bmp"));
}

TEST(BmpDecode, NarrowChannelsRepeatTheirBits) {
    // One row of 16-bit pixels: 5-bit values 0, 1, 3, 15, 16, 31 in each channel (6-bit green
    // 2v + 1), as 5-6-5 bit fields and as the plain 5-5-5 layout.
    const int values[] = {0, 1, 3, 15, 16, 31};
    for (bool bitFields : {true, false}) {
        DibImage d;
        d.width = 6;
        d.height = 1;
        d.bitCount = 16;
        if (bitFields) {
            d.compression = BI_BITFIELDS;
            d.hasMaskBlock = true;
            d.masks[0] = 0xF800;
            d.masks[1] = 0x07E0;
            d.masks[2] = 0x001F;
        }
        d.pixels.assign(d.RowBytes(), 0);
        for (int x = 0; x < 6; ++x) {
            int v = values[x];
            int word = bitFields ? (v << 11) | ((2 * v + 1) << 5) | v : (v << 10) | (v << 5) | v;
            d.pixels[2 * x] = std::uint8_t(word);
            d.pixels[2 * x + 1] = std::uint8_t(word >> 8);
        }
        auto bytes = WriteBmpFile(d);
        platform::gdi::Bitmap b = DibToBitmap(Read(bytes));
        EXPECT_EQ(b.Word(1, 0) & 0xFF, 8u);             // 1 -> 00001000
        EXPECT_EQ(b.Word(2, 0) & 0xFF, 24u);            // 3 -> 00011000
        EXPECT_EQ(b.Word(3, 0) & 0xFF, 123u);           // 15 -> 01111011
        EXPECT_EQ(b.Word(5, 0) & 0xFFFFFFu, 0xFFFFFFu); // 31 and 63 -> 255
        EXPECT_EQ(MaxDifference(b, ImDecodeRgba(bytes, "bmp")), 0) << bitFields;
    }
}

TEST(BmpDecode, CraftedVariantsMatchImageMagick) {
    // Bit fields after a 40-byte header.
    DibImage d = Read(MakeWithConvert("-define bmp:subtype=RGB565", "BMP:m565.bmp"));
    ASSERT_EQ(d.compression, BI_BITFIELDS);
    d.header.clear();
    d.hasMaskBlock = true;
    auto bytes = WriteBmpFile(d);
    EXPECT_EQ(Read(bytes).masks[0], 0xF800u);
    ExpectSameAsImageMagick(bytes, 4);
    // 32 bits without bit fields, and rows stored top-down.
    DibImage t = Read(MakeWithConvert("-type TrueColor", "BMP3:t24.bmp"));
    DibImage x32 = t;
    x32.header.clear();
    x32.bitCount = 32;
    x32.imageSize = 0;
    x32.pixels.assign(x32.RowBytes() * 46, 0xAB);
    for (int y = 0; y < 46; ++y)
        for (int x = 0; x < 70; ++x)
            for (int c = 0; c < 3; ++c)
                x32.pixels[std::size_t(y) * x32.RowBytes() + 4 * x + c] =
                    t.pixels[std::size_t(y) * t.RowBytes() + 3 * x + c];
    ExpectSameAsImageMagick(WriteBmpFile(x32));
    DibImage down = t;
    down.header.clear();
    down.height = -46;
    for (int y = 0; y < 46; ++y)
        std::copy_n(t.pixels.begin() + std::ptrdiff_t(y * t.RowBytes()), t.RowBytes(),
                    down.pixels.begin() + std::ptrdiff_t((45 - y) * t.RowBytes()));
    EXPECT_EQ(DibToBitmap(down), DibToBitmap(t));
    // Run-length 4, which ImageMagick reads but does not write.
    DibImage four = Read(MakeWithConvert("-colors 16 -type Palette", "BMP3:f4.bmp"));
    ASSERT_EQ(four.bitCount, 4);
    DibImage rle = four;
    rle.header.clear();
    rle.compression = BI_RLE4;
    rle.pixels = EncodeRle4(four);
    rle.imageSize = std::uint32_t(rle.pixels.size());
    auto rleBytes = WriteBmpFile(rle);
    EXPECT_EQ(DibToBitmap(Read(rleBytes)), DibToBitmap(four));
    ExpectSameAsImageMagick(rleBytes);
}

TEST(BmpDecode, Os2HeadersReadAsTheirWindowsTwinsAndWriteBackAsOs2) {
    for (const char* opts :
         {"-type Palette", "-type TrueColor", "-monochrome", "-colors 16 -type Palette"}) {
        auto os2 = MakeWithConvert(opts, "BMP2:os2.bmp");
        DibImage dib = Read(os2);
        EXPECT_TRUE(dib.os2) << opts;
        ExpectSameAsImageMagick(os2);
        // Written back byte for byte as read (same headers, 3-byte colour entries).
        auto again = WriteBmpFile(dib);
        EXPECT_EQ(again.size(), os2.size()) << opts;
        EXPECT_TRUE(std::equal(again.begin() + 14, again.end(), os2.begin() + 14)) << opts;
    }
}

TEST(BmpDecode, BadFilesRaiseBitmapImageIsNotValid) {
    auto good = MakeWithConvert("-type TrueColor", "BMP3:g.bmp");
    auto expectInvalid = [](std::vector<std::uint8_t> bytes) {
        try {
            ReadBmpFile(bytes.data(), bytes.size());
            ADD_FAILURE() << "no exception";
        } catch (const rtl::EInvalidGraphic& e) {
            EXPECT_STREQ(e.what(), "Bitmap image is not valid");
        }
    };
    auto noSignature = good;
    noSignature[0] = 'X';
    expectInvalid(noSignature);
    auto planes = good;
    planes[26] = 2;
    expectInvalid(planes);
    expectInvalid(std::vector<std::uint8_t>(good.begin(), good.begin() + 20));
    auto huge = good;
    huge[18 + 3] = 0x7F; // width 2^31 - ...
    expectInvalid(huge);
    // Truncated pixels are not an error: what is missing reads as black.
    std::vector<std::uint8_t> cut(good.begin(), good.begin() + 60);
    DibImage d = ReadBmpFile(cut.data(), cut.size());
    platform::gdi::Bitmap b = DibToBitmap(d);
    EXPECT_EQ(b.GetPixel(0, 0), 0u);
}

TEST(BmpWrite, GlyphLayoutIs374BytesWithTable) {
    DibImage g;
    g.width = 32;
    g.height = 16;
    g.bitCount = 4;
    g.colors.assign(16, 0x808080);
    g.pixels.assign(g.RowBytes() * 16, 0x12);
    auto bytes = WriteBmpFile(g);
    EXPECT_EQ(bytes.size(), 374u);
    EXPECT_EQ(bytes[10], 118);
    DibImage back = ReadBmpFile(bytes.data(), bytes.size());
    EXPECT_EQ(back.pixels.size(), 256u);
    EXPECT_EQ(back.colors.size(), 16u);
}
