#include <gtest/gtest.h>

#include "platform/spool/DeviceMode.h"
#include "platform/spool/PaperTable.h"

using namespace platform::spool;

TEST(PaperTable, SizesComeFromSelfDescribingNames) {
    EXPECT_EQ(MediaSizeFromName("iso_a4_210x297mm"), (MediaSize{21000, 29700}));
    EXPECT_EQ(MediaSizeFromName("na_letter_8.5x11in"), (MediaSize{21590, 27940}));
    EXPECT_EQ(MediaSizeFromName("iso_a4_210x297mm_borderless"), (MediaSize{21000, 29700}));
    EXPECT_EQ(MediaSizeFromName("custom_148.52x209.9mm_148.52x209.9mm"), (MediaSize{14852, 20990}));
    EXPECT_FALSE(MediaSizeFromName("A4"));
    EXPECT_FALSE(MediaSizeFromName("iso_a4_x297mm"));
    EXPECT_FALSE(MediaSizeFromName("iso_a4_210x297cm"));
    EXPECT_FALSE(MediaSizeFromName("custom_-5x7in"));
    EXPECT_FALSE(MediaSizeFromName(""));
}

TEST(PaperTable, MediaNamesMapToPaperCodesByNameThenSize) {
    EXPECT_EQ(PaperCodeForMedia("iso_a4_210x297mm"), DMPAPER_A4);
    EXPECT_EQ(PaperCodeForMedia("na_letter_8.5x11in"), DMPAPER_LETTER);
    EXPECT_EQ(PaperCodeForMedia("na_ledger_11x17in"), 3); // tabloid, before its 11 x 17 twin
    EXPECT_EQ(PaperCodeForMedia("A4"), DMPAPER_A4);
    EXPECT_EQ(PaperCodeForMedia("letter"), DMPAPER_LETTER);
    // By size: print services round sizes through points.
    EXPECT_EQ(PaperCodeForMedia("custom_148.52x209.9mm_148.52x209.9mm"), 11); // A5
    EXPECT_EQ(PaperCodeForMedia("custom_17x11in_17x11in"), 4);                // ledger
    EXPECT_EQ(PaperCodeForMedia("iso_a4_210x297mm_borderless"), DMPAPER_A4);
    EXPECT_EQ(PaperCodeForMedia("iso_a0_841x1189mm"), 0);
    EXPECT_EQ(PaperCodeForMedia("mystery"), 0);
    EXPECT_EQ(PaperCodeForMedia(""), 0);
}

TEST(PaperTable, PaperCodesGiveMediaNamesAndSizes) {
    EXPECT_EQ(MediaForPaperCode(DMPAPER_A4), "iso_a4_210x297mm");
    EXPECT_EQ(MediaForPaperCode(8), "iso_a3_297x420mm");
    EXPECT_EQ(MediaForPaperCode(4), ""); // 17 x 11 in has no name of its own
    EXPECT_EQ(MediaForPaperCode(DMPAPER_USER), "");
    EXPECT_EQ(PaperCodeSize(4), (MediaSize{43180, 27940}));
    EXPECT_FALSE(PaperCodeSize(0));
    // Every named code reads back as itself or as the first code of the same paper.
    for (int code = 1; code < DMPAPER_USER; ++code) {
        if (std::string media = MediaForPaperCode(code); !media.empty()) {
            EXPECT_EQ(MediaForPaperCode(PaperCodeForMedia(media)), media) << code;
        }
    }
}

TEST(PaperTable, CustomNamesCarryTheSizeInMillimetres) {
    EXPECT_EQ(CustomMediaName(1000, 1500), "custom_100x150mm_100x150mm");
    EXPECT_EQ(CustomMediaName(1005, 2970), "custom_100.5x297mm_100.5x297mm");
    EXPECT_EQ(MediaSizeFromName(CustomMediaName(1005, 2970)), (MediaSize{10050, 29700}));
}

TEST(PaperTable, SourcesGetClassicBinCodesOrUserCodes) {
    EXPECT_EQ(StandardBinCode("auto"), DMBIN_AUTO);
    EXPECT_EQ(StandardBinCode("manual"), DMBIN_MANUAL);
    EXPECT_EQ(StandardBinCode("tray-1"), 0);
    EXPECT_EQ(
        AssignBinCodes({"auto", "tray-1", "manual", "tray-2", "auto"}),
        (std::vector<int>{DMBIN_AUTO, DMBIN_USER, DMBIN_MANUAL, DMBIN_USER + 1, DMBIN_USER + 2}));
}
