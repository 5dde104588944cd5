// The program's pictures in resources/images have the sizes and formats the forms were made for.
#include <gtest/gtest.h>

#include "ImageTestTools.h"
#include "frame/graphics/DibImage.h"
#include "frame/graphics/IconFile.h"
#include "frame/graphics/JpegDecoder.h"

using namespace frame;

namespace {
std::vector<std::uint8_t> Resource(const std::string& name) {
    return imagetest::ReadFile(std::string(ZORVANE_SOURCE_DIR) + "/resources/images/" + name);
}
} // namespace

TEST(ResourceImages, PicturesHaveTheirFormats) {
    auto jpg = Resource("intro.jpg");
    JpegHeader h = ReadJpegHeader(jpg.data(), jpg.size());
    EXPECT_EQ(h.width, 112);
    EXPECT_EQ(h.height, 112);
    EXPECT_FALSE(h.progressive);
    EXPECT_FALSE(h.grayscale);
    EXPECT_EQ(std::string(jpg.begin() + 6, jpg.begin() + 10), "JFIF");

    auto bmp = Resource("result.bmp");
    EXPECT_EQ(bmp.size(), 62262u);
    DibImage d = ReadBmpFile(bmp.data(), bmp.size());
    EXPECT_EQ(d.width, 144);
    EXPECT_EQ(d.height, 144);
    EXPECT_EQ(d.bitCount, 24);
    EXPECT_TRUE(d.colors.empty());

    auto ico = Resource("zorvane.ico");
    EXPECT_EQ(ico.size(), 766u);
    auto entries = ReadIconDirectory(ico.data(), ico.size());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].width, 32);
    EXPECT_EQ(entries[0].colorCount, 16);
    EXPECT_EQ(DecodeIconFile(ico.data(), ico.size()).Width(), 32);
}

TEST(ResourceImages, GlyphsAreFourBitTwoCellBitmaps) {
    for (const char* name : {"glyph_next", "glyph_print", "glyph_prevmonth", "glyph_nextmonth"}) {
        auto b = Resource(std::string(name) + ".bmp");
        EXPECT_EQ(b.size(), 374u) << name;
        DibImage d = ReadBmpFile(b.data(), b.size());
        EXPECT_EQ(d.width, 32);
        EXPECT_EQ(d.height, 16);
        EXPECT_EQ(d.bitCount, 4);
    }
    for (const char* name : {"BBOK", "BBCANCEL", "BBHELP", "BBYES", "BBNO", "BBCLOSE", "BBABORT",
                             "BBRETRY", "BBIGNORE", "BBALL"}) {
        auto b = Resource(std::string(name) + ".bmp");
        ASSERT_FALSE(b.empty()) << name;
        DibImage d = ReadBmpFile(b.data(), b.size());
        EXPECT_EQ(d.width, 36) << name;
        EXPECT_EQ(d.height, std::string(name) == "BBALL" ? 19 : 18) << name;
        EXPECT_EQ(d.bitCount, 4) << name;
        // The transparent colour (bottom-left) is the ground of both cells.
        auto px = DibToBitmap(d);
        EXPECT_EQ(px.GetPixel(0, px.Height() - 1), px.GetPixel(18, px.Height() - 1)) << name;
    }
}
