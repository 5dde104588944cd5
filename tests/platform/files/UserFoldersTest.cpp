// The user's documents folder: what the desktop's tool answers when that is a folder, otherwise
// the home folder — also when the tool is missing, says nothing useful or never ends.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "../spool/SpoolTestSupport.h"
#include "platform/files/UserFolders.h"

namespace {

namespace fs = std::filesystem;
using platform::files::ChooseDocumentsFolder;
using platform::files::DocumentsFolder;
using spooltest::EnvVar;

class UserFoldersTest : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("zorvane-folders-" + std::to_string(getpid()));
        fs::create_directories(dir / "bin");
        fs::create_directories(dir / "home" / "Документы");
    }
    void TearDown() override { fs::remove_all(dir); }
    // A stand-in for xdg-user-dir, alone on PATH, running `body` as a shell script.
    void FakeTool(const std::string& body) {
        fs::path tool = dir / "bin" / "xdg-user-dir";
        std::ofstream(tool) << "#!/bin/sh\n" << body << "\n";
        fs::permissions(tool, fs::perms::owner_all);
    }
    fs::path dir;
};

TEST_F(UserFoldersTest, TheToolsFolderWhenItIsOneElseHome) {
    std::string home = (dir / "home").string();
    std::string documents = (dir / "home" / "Документы").string();
    EXPECT_EQ(ChooseDocumentsFolder(documents + "\n", home), documents);
    EXPECT_EQ(ChooseDocumentsFolder(documents + "/\n", home), documents);
    EXPECT_EQ(ChooseDocumentsFolder("", home), home);
    EXPECT_EQ(ChooseDocumentsFolder("Документы\n", home), home);            // not absolute
    EXPECT_EQ(ChooseDocumentsFolder(documents + "-missing\n", home), home); // not there
    EXPECT_EQ(ChooseDocumentsFolder("/etc/passwd\n", home), home);          // not a folder

    EnvVar homeVar("HOME", home.c_str());
    EnvVar path("PATH", (dir / "bin").c_str());
    EXPECT_EQ(DocumentsFolder(), home) << "no tool";
    FakeTool("[ \"$1\" = DOCUMENTS ] && echo '" + documents + "'");
    EXPECT_EQ(DocumentsFolder(), documents);
    FakeTool("exit 1");
    EXPECT_EQ(DocumentsFolder(), home);
    // A tool that never ends costs its bound, not more.
    FakeTool("exec /bin/sleep 30");
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(DocumentsFolder(), home);
    EXPECT_LT(std::chrono::steady_clock::now() - start,
              platform::files::kFolderToolBudget + std::chrono::seconds(1));
}

} // namespace
