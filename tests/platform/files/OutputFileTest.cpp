// Output files: replaced whole or not at all, never through a planted link, keeping what the
// user set on the file, and written in place when the target is not a regular file.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files/OutputFile.h"

namespace {

namespace fs = std::filesystem;
using platform::files::WriteOutputFile;

class OutputFileTest : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("zorvane-output-" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static mode_t Mode(const std::string& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 07777;
    }
    size_t Entries() const {
        return size_t(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }
    fs::path dir;
};

TEST_F(OutputFileTest, RegularFilesAreReplacedWholeKeepingModeAndTheUsersOtherFiles) {
    std::string cause;
    mode_t mask = ::umask(022);
    ASSERT_TRUE(WriteOutputFile(Path("new.pdf"), "one", cause)) << cause;
    EXPECT_EQ(Mode(Path("new.pdf")), 0644u);
    ::umask(mask);

    // A private file stays private; the name once used for the temporary is the user's.
    std::ofstream(Path("out.pdf")) << "old";
    ::chmod(Path("out.pdf").c_str(), 0600);
    std::ofstream(Path("out.pdf.partial")) << "mine";
    ASSERT_TRUE(WriteOutputFile(Path("out.pdf"), "new", cause)) << cause;
    EXPECT_EQ(Read(Path("out.pdf")), "new");
    EXPECT_EQ(Mode(Path("out.pdf")), 0600u);
    EXPECT_EQ(Read(Path("out.pdf.partial")), "mine");
    EXPECT_EQ(Entries(), 3u); // nothing left beside them

    // A symlinked target: the file it names is written, the link stays a link.
    std::ofstream(Path("real.png")) << "old";
    fs::create_symlink("real.png", Path("link.png"));
    ASSERT_TRUE(WriteOutputFile(Path("link.png"), "through", cause)) << cause;
    EXPECT_TRUE(fs::is_symlink(Path("link.png")));
    EXPECT_EQ(Read(Path("real.png")), "through");

    // A folder, or one that does not exist, is a failure with its cause and no trace.
    int error = 0;
    EXPECT_FALSE(WriteOutputFile(Path("none/x.pdf"), "x", cause, &error));
    EXPECT_EQ(cause, "No such file or directory");
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(WriteOutputFile(dir.string(), "x", cause));
    EXPECT_EQ(cause, "Is a directory");
}

TEST_F(OutputFileTest, DevicesAndPipesAreWrittenInPlaceAndTheirErrorsReported) {
    std::string cause;
    int error = 0;
    EXPECT_FALSE(WriteOutputFile("/dev/full", "x", cause, &error));
    EXPECT_EQ(cause, "No space left on device");
    EXPECT_EQ(error, ENOSPC);
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    ASSERT_TRUE(WriteOutputFile("/dev/null", "x", cause)) << cause;
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = Read(Path("fifo")); });
    EXPECT_TRUE(WriteOutputFile(Path("fifo"), "piped", cause)) << cause;
    reader.join();
    EXPECT_EQ(received, "piped");
    EXPECT_TRUE(fs::is_fifo(Path("fifo")));
}

} // namespace
