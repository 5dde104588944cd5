// `formtool picture` decodes the three kinds of block to PNG, or names the exception and exits 1.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include "ImageTestTools.h"

using namespace imagetest;

namespace {

int Formtool(const std::string& args, std::string& output) {
    std::string cmd = std::string(ZORVANE_BINARY_DIR) + "/tools/formtool " + args + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    char buf[512];
    output.clear();
    while (std::size_t n = fread(buf, 1, sizeof buf, p))
        output.append(buf, n);
    int status = pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Image(const std::string& name) {
    return std::string(ZORVANE_SOURCE_DIR) + "/resources/images/" + name;
}

} // namespace

TEST(FormtoolPicture, WritesPngsWithTheSamePixelsOrFailsWithTheException) {
    auto bmp = ReadFile(Image("result.bmp"));
    std::vector<std::uint8_t> block{7, 'T', 'B', 'i', 't', 'm', 'a', 'p'};
    for (int i = 0; i < 4; ++i)
        block.push_back(std::uint8_t(bmp.size() >> (8 * i)));
    block.insert(block.end(), bmp.begin(), bmp.end());
    WriteFile(TempPath("ft_pic.bin"), block);
    std::string out;
    ASSERT_EQ(
        Formtool("picture --kind picture " + TempPath("ft_pic.bin") + " " + TempPath("ft_pic.png"),
                 out),
        0)
        << out;
    EXPECT_EQ(RunCommand("compare -metric AE " + TempPath("ft_pic.png") + " " +
                         Image("result.bmp") + " null: 2>&1 | cat"),
              "0");

    WriteFile(TempPath("ft_icon.bin"), ReadFile(Image("zorvane.ico")));
    ASSERT_EQ(
        Formtool("picture --kind icon " + TempPath("ft_icon.bin") + " " + TempPath("ft_icon.png"),
                 out),
        0);
    EXPECT_EQ(RunCommand("identify -format %wx%h " + TempPath("ft_icon.png")), "32x32");

    WriteFile(TempPath("ft_bad.bin"), {4, 0, 0, 0, 'X', 'X', 'X', 'X'});
    EXPECT_EQ(
        Formtool("picture --kind bitmap " + TempPath("ft_bad.bin") + " " + TempPath("ft_bad.png"),
                 out),
        1);
    EXPECT_EQ(out, "EInvalidGraphic: Bitmap image is not valid\n");

    // A metafile block whose header gives no size has nothing to draw: a message, not an abort.
    WriteFile(TempPath("ft_wmf.bin"),
              {9, 'T', 'M', 'e', 't', 'a', 'f', 'i', 'l', 'e', 8, 0, 0, 0, 'a', 'b', 'c', 'd'});
    EXPECT_EQ(
        Formtool("picture --kind picture " + TempPath("ft_wmf.bin") + " " + TempPath("ft_wmf.png"),
                 out),
        1);
    EXPECT_EQ(out, "EInvalidGraphic: The picture has no size\n");

    // A CMYK JPEG comes out in its colours.
    auto cmyk = MakeWithConvert("-colorspace CMYK", "JPEG:ft_cmyk.jpg");
    std::vector<std::uint8_t> jblock{10, 'T', 'J', 'P', 'E', 'G', 'I', 'm', 'a', 'g', 'e'};
    for (int i = 0; i < 4; ++i)
        jblock.push_back(std::uint8_t(cmyk.size() >> (8 * i)));
    jblock.insert(jblock.end(), cmyk.begin(), cmyk.end());
    WriteFile(TempPath("ft_cmyk.bin"), jblock);
    ASSERT_EQ(Formtool("picture --kind picture " + TempPath("ft_cmyk.bin") + " " +
                           TempPath("ft_cmyk.png"),
                       out),
              0)
        << out;
    std::string ours = RunCommand("convert " + TempPath("ft_cmyk.png") + " -depth 8 rgba:-");
    EXPECT_EQ(ours.size(), 70u * 46u * 4u);
    EXPECT_TRUE(ours == ImDecodeRgba(cmyk, "jpg"));
}
