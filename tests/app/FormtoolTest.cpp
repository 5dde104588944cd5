#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {
struct ToolRun {
    std::string out;
    int status = -1;
};

ToolRun Formtool(const std::string& args) {
    std::string cmd = ZORVANE_BINARY_DIR "/tools/formtool " + args + " 2>&1";
    ToolRun r;
    FILE* pipe = popen(cmd.c_str(), "r");
    if (!pipe)
        return r;
    std::array<char, 4096> buf{};
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0)
        r.out.append(buf.data(), n);
    int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

class FormtoolTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("formtool-test-" + std::to_string(getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::filesystem::path m_dir;
};
} // namespace

TEST_F(FormtoolTest, CompileDecompileCompileKeepsTheBytes) {
    Write("a.form", "object Root: TComponent\n"
                    "  Tag = 12\n"
                    "  object Timer1: TComponent\n"
                    "    Left = 8\n"
                    "    Tag = -70000\n"
                    "  end\n"
                    "end\n");
    ASSERT_EQ(Formtool("compile " + Path("a.form") + " " + Path("a.bin")).status, 0);
    ToolRun text = Formtool("decompile " + Path("a.bin"));
    ASSERT_EQ(text.status, 0);
    Write("b.form", text.out);
    ASSERT_EQ(Formtool("compile " + Path("b.form") + " " + Path("b.bin")).status, 0);
    EXPECT_EQ(Read("a.bin"), Read("b.bin"));

    ToolRun load = Formtool("load " + Path("a.bin"));
    EXPECT_EQ(load.status, 0);
    EXPECT_EQ(load.out, "TComponent Root owner=nil\n"
                        "  Tag = 12\n"
                        "  TComponent Timer1 owner=Root\n"
                        "    Tag = -70000\n");
}

TEST_F(FormtoolTest, FailuresPrintClassAndMessageOnOneLine) {
    Write("bad.bin", "TPF1xxxx");
    ToolRun r = Formtool("load " + Path("bad.bin"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "EReadError: Invalid stream format\n");
    // Neither a stream nor a form text: said so, rather than a parse error on its first line.
    for (std::string bytes : {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
                              std::string("hello, world\n"), std::string()}) {
        Write("other.bin", bytes);
        r = Formtool("load " + Path("other.bin"));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "EReadError: Neither a form stream ('TPF0') nor a form text ('object')\n");
    }

    Write("unknown.form", "object A: TNoSuchClass\nend\n");
    ASSERT_EQ(Formtool("compile " + Path("unknown.form") + " " + Path("u.bin")).status, 0);
    r = Formtool("load " + Path("u.bin"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "EClassNotFound: Class TNoSuchClass not found\n");

    Write("syntax.form", "object A: TComponent\n  Tag = \n");
    r = Formtool("compile " + Path("syntax.form") + " " + Path("s.bin"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "EParserError: Line 3: value expected\n");
    EXPECT_EQ(Formtool("").status, 2);

    r = Formtool("load /dev/zero");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "EStreamError: File \"/dev/zero\" is larger than 64 MB\n");
}
