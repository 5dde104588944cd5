#include <gtest/gtest.h>

#include <set>

#include <jerror.h>

#include "ImageTestTools.h"
#include "frame/graphics/IconFile.h"
#include "frame/graphics/JpegDecoder.h"
#include "rtl/Exception.h"

using namespace frame;
using namespace imagetest;

TEST(IconDecode, SixteenColourAndTrueColourIconsMatchImageMagick) {
    auto ico = MakeWithConvert("-resize 32x32! -colors 16 -type Palette", "ICO:i16.ico");
    ASSERT_EQ(ico.size(), 766u); // the size of every form's icon block
    auto bmp = DecodeIconFile(ico.data(), ico.size());
    EXPECT_EQ(MaxDifference(bmp, ImDecodeRgba(ico, "ico"), true), 0);
    auto ico32 = MakeWithConvert("-resize 32x32! -alpha on", "ICO:i32.ico");
    auto bmp32 = DecodeIconFile(ico32.data(), ico32.size());
    EXPECT_LE(MaxDifference(bmp32, ImDecodeRgba(ico32, "ico"), true), 1);
}

TEST(IconDecode, TransparencyComesFromTheMask) {
    // A 16-colour icon whose left half is masked out.
    RunCommand("convert -size 16x32 xc:none -size 16x32 xc:red +append -colors 16 ICO:" +
               TempPath("masked.ico"));
    auto ico = ReadFile(TempPath("masked.ico"));
    ASSERT_GT(ico.size(), 22u);
    auto bmp = DecodeIconFile(ico.data(), ico.size());
    EXPECT_EQ(bmp.Word(3, 3) >> 24, 0u);
    EXPECT_EQ(bmp.Word(20, 3), 0xFFFF0000u);
}

TEST(IconDecode, ChoiceRuleAndErrors) {
    std::vector<IconDirEntry> e(3);
    e[0].colorCount = 16;
    e[1].colorCount = 2;
    e[2].colorCount = 0;
    EXPECT_EQ(ChooseIconEntry(e, 0), 2u);  // 24-bit display: the true-colour entry
    EXPECT_EQ(ChooseIconEntry(e, 16), 0u); // exact match
    e[2].colorCount = 8;
    EXPECT_EQ(ChooseIconEntry(e, 256), 0u); // most colours not above the display's
    EXPECT_EQ(ChooseIconEntry(e, 4), 1u);
    EXPECT_EQ(ChooseIconEntry(e, 1), 0u); // none fits: the first

    auto expectInvalid = [](std::vector<std::uint8_t> bytes) {
        try {
            DecodeIconFile(bytes.data(), bytes.size());
            ADD_FAILURE() << "no exception";
        } catch (const rtl::EInvalidGraphic& ex) {
            EXPECT_STREQ(ex.what(), "Icon image is not valid");
        }
    };
    expectInvalid({0, 0, 2, 0, 1, 0}); // a cursor
    expectInvalid({0, 0});
    expectInvalid({0, 0, 1, 0, 1, 0, 32, 32}); // directory cut short
    auto ico = MakeWithConvert("-resize 32x32! -colors 16 -type Palette", "ICO:e16.ico");
    auto badOffset = ico;
    badOffset[18] = 0xFF;
    badOffset[19] = 0xFF;
    expectInvalid(badOffset);
    // Type 0 is the default application icon.
    std::vector<std::uint8_t> zero{0, 0, 0, 0, 0, 0};
    EXPECT_EQ(DecodeIconFile(zero.data(), zero.size()).Width(), kSystemIconSize);
}

TEST(JpegDecode, FullColourMatchesImageMagick) {
    for (const char* opts : {"-quality 90", "-quality 75 -interlace Plane"}) {
        auto jpg = MakeWithConvert(opts, "JPEG:r.jpg");
        JpegHeader h = ReadJpegHeader(jpg.data(), jpg.size());
        EXPECT_EQ(h.width, 70);
        EXPECT_EQ(h.height, 46);
        EXPECT_FALSE(h.grayscale);
        DibImage dib = DecodeJpeg(jpg.data(), jpg.size(), JpegDecodeSettings{});
        EXPECT_EQ(dib.bitCount, 24);
        EXPECT_LT(dib.height, 0); // top-down rows
        auto bmp = DibToBitmap(dib);
        EXPECT_LE(MaxDifference(bmp, ImDecodeRgba(jpg, "jpg", "-define jpeg:dct-method=islow")), 1)
            << opts;
    }
}

TEST(JpegDecode, SettingsShapeTheOutput) {
    auto jpg = MakeWithConvert("-quality 90", "JPEG:s.jpg");
    JpegDecodeSettings eight;
    eight.eightBit = true;
    DibImage q = DecodeJpeg(jpg.data(), jpg.size(), eight);
    EXPECT_EQ(q.bitCount, 8);
    EXPECT_LE(q.colors.size(), 236u);
    EXPECT_GT(q.colors.size(), 16u);
    // Quantised colours stay close to the full-colour decode on average.
    auto full = DibToBitmap(DecodeJpeg(jpg.data(), jpg.size(), JpegDecodeSettings{}));
    auto quant = DibToBitmap(q);
    long long total = 0;
    for (int y = 0; y < 46; ++y)
        for (int x = 0; x < 70; ++x)
            for (int s = 0; s < 24; s += 8)
                total += std::abs(int((full.Word(x, y) >> s) & 0xFF) -
                                  int((quant.Word(x, y) >> s) & 0xFF));
    EXPECT_LT(total / (70 * 46 * 3), 12);

    JpegDecodeSettings half;
    half.scale = 1;
    DibImage h = DecodeJpeg(jpg.data(), jpg.size(), half);
    EXPECT_EQ(h.width, 35);
    EXPECT_EQ(h.AbsHeight(), 23);
    JpegDecodeSettings grey;
    grey.grayscale = true;
    DibImage g = DecodeJpeg(jpg.data(), jpg.size(), grey);
    EXPECT_EQ(g.bitCount, 8);
    EXPECT_EQ(g.colors.size(), 256u);
    JpegDecodeSettings fast;
    fast.fastDecode = true;
    fast.eightBit = true;
    EXPECT_EQ(DecodeJpeg(jpg.data(), jpg.size(), fast).bitCount, 8);

    auto prog = MakeWithConvert("-interlace Plane", "JPEG:p.jpg");
    EXPECT_TRUE(ReadJpegHeader(prog.data(), prog.size()).progressive);
    JpegDecodeSettings display;
    display.progressiveDisplay = true;
    int scans = 0;
    DibImage pd = DecodeJpeg(prog.data(), prog.size(), display, [&] { ++scans; });
    EXPECT_GT(scans, 1);
    EXPECT_EQ(DibToBitmap(pd), DibToBitmap(DecodeJpeg(prog.data(), prog.size(), {})));
}

TEST(JpegDecode, LibraryErrorsBecomeEjpegAndNeverEndTheProcess) {
    auto expectJpegError = [](std::vector<std::uint8_t> bytes) {
        try {
            DecodeJpeg(bytes.data(), bytes.size(), JpegDecodeSettings{});
            ADD_FAILURE() << "no exception";
        } catch (const rtl::EJPEG& e) {
            EXPECT_EQ(std::string(e.what()).rfind("JPEG error #", 0), 0u) << e.what();
        }
    };
    expectJpegError({});
    expectJpegError({'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'});
    auto jpg = MakeWithConvert("-quality 90", "JPEG:c.jpg");
    expectJpegError(std::vector<std::uint8_t>(jpg.begin(), jpg.begin() + 100));
    try {
        DecodeJpeg(nullptr, 0, {});
    } catch (const rtl::EJPEG& e) {
        EXPECT_STREQ(e.what(), "JPEG error #42") << "empty input";
    }
    // A header claiming a huge progressive image is refused before any memory is taken.
    auto prog = MakeWithConvert("-interlace Plane", "JPEG:huge.jpg");
    for (std::size_t i = 0; i + 9 < prog.size(); ++i)
        if (prog[i] == 0xFF && prog[i + 1] == 0xC2) {
            prog[i + 5] = prog[i + 7] = 0x75; // 30000 x 30000
            prog[i + 6] = prog[i + 8] = 0x30;
            break;
        }
    EXPECT_EQ(ReadJpegHeader(prog.data(), prog.size()).width, 30000);
    try {
        DecodeJpeg(prog.data(), prog.size(), JpegDecodeSettings{});
        ADD_FAILURE() << "no exception";
    } catch (const rtl::EJPEG& e) {
        EXPECT_EQ(std::string(e.what()), rtl::Format("JPEG error #%d", int(JERR_IMAGE_TOO_BIG)));
    }
    // A truncated body decodes what is there (the library warns and pads).
    std::vector<std::uint8_t> cut(jpg.begin(), jpg.begin() + std::ptrdiff_t(jpg.size() / 2));
    EXPECT_EQ(DecodeJpeg(cut.data(), cut.size(), {}).width, 70);
}

TEST(JpegDecode, CmykFilesDecodeToTheirColoursNotPastTheRows) {
    // Four components per pixel: read as they are, rows would overrun a 3-byte-per-pixel image.
    auto cmyk = MakeWithConvert("-resize 31x19! -colorspace CMYK", "JPEG:cmyk.jpg");
    ASSERT_GT(cmyk.size(), 100u);
    DibImage dib = DecodeJpeg(cmyk.data(), cmyk.size(), JpegDecodeSettings{});
    EXPECT_EQ(dib.bitCount, 24);
    EXPECT_EQ(dib.width, 31);
    EXPECT_EQ(dib.pixels.size(), dib.RowBytes() * 19);
    EXPECT_LE(MaxDifference(DibToBitmap(dib), ImDecodeRgba(cmyk, "jpg")), 1);
    // Grey and 8-bit requests give grey and full colour, still in bounds.
    JpegDecodeSettings grey;
    grey.grayscale = true;
    DibImage g = DecodeJpeg(cmyk.data(), cmyk.size(), grey);
    EXPECT_EQ(g.bitCount, 8);
    EXPECT_EQ(g.pixels.size(), g.RowBytes() * 19);
    std::uint32_t c = DibToBitmap(g).Word(5, 5);
    EXPECT_EQ((c >> 16) & 0xFF, c & 0xFF);
    JpegDecodeSettings eight;
    eight.eightBit = true;
    eight.scale = 1;
    DibImage e = DecodeJpeg(cmyk.data(), cmyk.size(), eight);
    EXPECT_EQ(e.width, 16);
    EXPECT_EQ(e.pixels.size(), e.RowBytes() * std::size_t(e.AbsHeight()));
}
