// formtool picture-data and the "{ file '...' }" blocks of form sources: blocks made from the
// program's pictures read back into the same pictures inside controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "app/ProgramClasses.h"
#include "controls/TBitBtn.h"
#include "controls/TCustomPanel.h"
#include "controls/TImage.h"
#include "frame/TReader.h"
#include "frame/graphics/TBitmap.h"
#include "frame/graphics/TIcon.h"
#include "frame/graphics/TJPEGImage.h"
#include "rtl/TMemoryStream.h"

namespace {

namespace fs = std::filesystem;

std::string RunFormtool(const std::string& args, int& status) {
    std::string cmd = ZORVANE_BINARY_DIR "/tools/formtool " + args + " 2>&1";
    std::string out;
    FILE* pipe = popen(cmd.c_str(), "r");
    if (!pipe)
        return out;
    std::array<char, 4096> buf{};
    while (size_t n = fread(buf.data(), 1, buf.size(), pipe))
        out.append(buf.data(), n);
    int s = pclose(pipe);
    status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    return out;
}

std::string Image(const std::string& name) {
    return std::string(ZORVANE_SOURCE_DIR) + "/resources/images/" + name;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class PictureDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        app::RegisterProgramClasses();
        m_dir = fs::temp_directory_path() / ("picture-data-" + std::to_string(getpid()));
        fs::create_directories(m_dir / "images");
    }
    void TearDown() override { fs::remove_all(m_dir); }
    // Compiles a form source with formtool and reads it.
    std::unique_ptr<controls::TPanel> CompileAndRead(const std::string& source) {
        std::string form = (m_dir / "Test.form").string(), bin = (m_dir / "Test.bin").string();
        std::ofstream(form) << source;
        int status = -1;
        std::string out = RunFormtool("compile '" + form + "' '" + bin + "'", status);
        EXPECT_EQ(status, 0) << out;
        std::string bytes = ReadFile(bin);
        rtl::TBytesStream stream(bytes);
        frame::TReader reader(stream);
        return std::unique_ptr<controls::TPanel>(
            frame::As<controls::TPanel>(reader.ReadRootComponent(nullptr)));
    }
    fs::path m_dir;
};

TEST_F(PictureDataTest, BlocksRoundTripToTheSamePictures) {
    int status = -1;
    std::string glyph =
        RunFormtool("picture-data --kind glyph '" + Image("glyph_next.bmp") + "'", status);
    ASSERT_EQ(status, 0) << glyph;
    std::string jpeg =
        RunFormtool("picture-data --kind picture '" + Image("intro.jpg") + "'", status);
    ASSERT_EQ(status, 0) << jpeg;
    std::string bmp =
        RunFormtool("picture-data --kind picture '" + Image("result.bmp") + "'", status);
    ASSERT_EQ(status, 0) << bmp;
    std::string icon =
        RunFormtool("picture-data --kind picture '" + Image("zorvane.ico") + "'", status);
    ASSERT_EQ(status, 0) << icon;
    auto root = CompileAndRead("object Root: TPanel\n"
                               "  object BitBtn1: TBitBtn\n    Glyph.Data = " +
                               glyph +
                               "\n    NumGlyphs = 2\n  end\n"
                               "  object Image1: TImage\n    Picture.Data = " +
                               jpeg +
                               "\n  end\n"
                               "  object Image2: TImage\n    Picture.Data = " +
                               bmp +
                               "\n  end\n"
                               "  object Image3: TImage\n    Picture.Data = " +
                               icon +
                               "\n  end\n"
                               "end\n");
    ASSERT_TRUE(root);
    auto* btn = frame::As<controls::TBitBtn>(root->FindComponent("BitBtn1"));
    ASSERT_TRUE(btn);
    frame::TBitmap glyphFile;
    glyphFile.LoadFromFile(Image("glyph_next.bmp"));
    EXPECT_EQ(btn->Glyph()->Width(), 32);
    EXPECT_EQ(btn->NumGlyphs(), 2);
    EXPECT_TRUE(btn->Glyph()->Image() == glyphFile.Image());

    auto* img1 = frame::As<controls::TImage>(root->FindComponent("Image1"));
    auto* jpg = frame::As<frame::TJPEGImage>(img1->Picture()->Graphic());
    ASSERT_TRUE(jpg);
    frame::TJPEGImage jpegFile;
    jpegFile.LoadFromFile(Image("intro.jpg"));
    EXPECT_TRUE(jpg->Bitmap()->Image() == jpegFile.Bitmap()->Image());

    auto* img2 = frame::As<controls::TImage>(root->FindComponent("Image2"));
    auto* b = frame::As<frame::TBitmap>(img2->Picture()->Graphic());
    ASSERT_TRUE(b);
    frame::TBitmap bmpFile;
    bmpFile.LoadFromFile(Image("result.bmp"));
    EXPECT_TRUE(b->Image() == bmpFile.Image());

    auto* img3 = frame::As<controls::TImage>(root->FindComponent("Image3"));
    EXPECT_TRUE(frame::As<frame::TIcon>(img3->Picture()->Graphic()));
    // The block of a 144 x 144 true-colour picture is the class name and a 62 262-byte file.
    EXPECT_EQ(std::count_if(bmp.begin(), bmp.end(), isxdigit), 2 * 62274);
}

TEST_F(PictureDataTest, FileBlocksInFormSourcesAreExpandedRelativeToTheForm) {
    fs::copy_file(Image("glyph_print.bmp"), m_dir / "images" / "print.bmp");
    fs::copy_file(Image("intro.jpg"), m_dir / "images" / "intro.jpg");
    auto root = CompileAndRead("object Root: TPanel\n"
                               "  object BitBtn1: TBitBtn\n"
                               "    Glyph.Data = { file 'images/print.bmp' }\n"
                               "    NumGlyphs = 2\n  end\n"
                               "  object Image1: TImage\n"
                               "    Picture.Data = {file 'images/intro.jpg'}\n  end\n"
                               "end\n");
    ASSERT_TRUE(root);
    auto* btn = frame::As<controls::TBitBtn>(root->FindComponent("BitBtn1"));
    frame::TBitmap file;
    file.LoadFromFile(Image("glyph_print.bmp"));
    EXPECT_TRUE(btn->Glyph()->Image() == file.Image());
    auto* img = frame::As<controls::TImage>(root->FindComponent("Image1"));
    EXPECT_TRUE(frame::As<frame::TJPEGImage>(img->Picture()->Graphic()));

    // A missing or wrong file is a clear error and no output.
    std::string form = (m_dir / "Bad.form").string(), bin = (m_dir / "Bad.bin").string();
    std::ofstream(form) << "object Root: TPanel\n  object B: TBitBtn\n"
                           "    Glyph.Data = { file 'images/intro.jpg' }\n  end\nend\n";
    int status = -1;
    std::string out = RunFormtool("compile '" + form + "' '" + bin + "'", status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find("A bitmap block needs a .bmp file"), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(bin));
    out =
        RunFormtool("picture-data --kind picture '" + (m_dir / "none.bmp").string() + "'", status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find("Cannot open file"), std::string::npos) << out;
    out = RunFormtool("picture-data --kind sound x.wav", status);
    EXPECT_EQ(status, 1);
}

TEST_F(PictureDataTest, EveryCommandThatReadsASourceExpandsItsFileBlocks) {
    // load and show read sources as compile does: pictures named relative to the form's folder
    // (not the working directory), whichever folder formtool runs in.
    fs::copy_file(Image("glyph_print.bmp"), m_dir / "images" / "print.bmp");
    std::string form = (m_dir / "Shown.form").string();
    std::ofstream(form) << "object Root: TPanel\n  object BitBtn1: TBitBtn\n"
                           "    Glyph.Data = { file 'images/print.bmp' }\n"
                           "    NumGlyphs = 2\n  end\nend\n";
    int status = -1;
    std::string out = RunFormtool("load '" + form + "'", status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("TBitBtn BitBtn1 owner=Root"), std::string::npos) << out;

    // A picture that is missing is named by its place beside the form, for load and show alike.
    std::string missing = (m_dir / "Missing.form").string();
    std::ofstream(missing) << "object Root: TForm\n  Icon.Data = { file 'images/none.ico' }\nend\n";
    std::string want = "Cannot open file \"" + (m_dir / "images" / "none.ico").string() + "\"";
    out = RunFormtool("load '" + missing + "'", status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find(want), std::string::npos) << out;
    out = RunFormtool("show '" + missing + "'", status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find(want), std::string::npos) << out;
    EXPECT_EQ(out.find("hexadecimal"), std::string::npos) << out;
}

} // namespace
