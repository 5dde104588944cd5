// Help: which document a help file name finds, and the viewer it starts — the exact address it
// is given, nothing started for HELP_QUIT, failures told through the handler from inside the
// loop, and every viewer reaped.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/display/Headless.h"
#include "platform/help/Help.h"
#include "platform/help/HelpFile.h"
#include "platform/help/ViewerProcess.h"

namespace platform::help {
namespace {

namespace fs = std::filesystem;
namespace hl = headless;

// A fresh folder of its own, removed at the end.
struct TempDir {
    fs::path path;
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "zv-help-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path); }
    void Write(const fs::path& rel, const std::string& text) const {
        fs::create_directories((path / rel).parent_path());
        std::ofstream(path / rel) << text;
    }
};

TEST(HelpFile, NameIsLowerCaseWithHtmlForHlp) {
    EXPECT_EQ(HelpDocumentName("Zorvane.hlp"), "zorvane.html");
    EXPECT_EQ(HelpDocumentName("ZORVANE.HLP"), "zorvane.html");
    EXPECT_EQ(HelpDocumentName("help/Other.Hlp"), "other.html");
    EXPECT_EQ(HelpDocumentName("page.html"), "page.html");
    EXPECT_EQ(HelpDocumentName(""), "");
}

TEST(HelpFile, InstalledLayoutThenBesideTheProgramThenTheSourceTree) {
    TempDir t;
    std::vector<std::string> folders =
        HelpSearchFolders((t.path / "bin").string(), (t.path / "src/help").string());
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0], (t.path / "share/zorvane").string());

    t.Write("share/zorvane/zorvane.html", "installed");
    t.Write("bin/zorvane.html", "beside");
    t.Write("src/help/zorvane.html", "source");
    EXPECT_EQ(FindHelpDocument("Zorvane.HLP", folders), (t.path / "share/zorvane/zorvane.html"));
    fs::remove(t.path / "share/zorvane/zorvane.html");
    t.Write("share/zorvane/Zorvane.html", "wrong case"); // only the lower-case name counts
    EXPECT_EQ(FindHelpDocument("Zorvane.HLP", folders), (t.path / "bin/zorvane.html"));
    fs::remove(t.path / "bin/zorvane.html");
    EXPECT_EQ(FindHelpDocument("zorvane.hlp", folders), (t.path / "src/help/zorvane.html"));
    fs::remove(t.path / "src/help/zorvane.html");
    EXPECT_EQ(FindHelpDocument("Zorvane.hlp", folders), "");
    fs::create_directories(t.path / "bin/zorvane.html"); // a folder is not a document
    EXPECT_EQ(FindHelpDocument("Zorvane.hlp", folders), "");

    // A name with a folder is looked for there first.
    t.Write("elsewhere/zorvane.html", "here");
    t.Write("src/help/zorvane.html", "source");
    EXPECT_EQ(FindHelpDocument((t.path / "elsewhere/Zorvane.hlp").string(), folders),
              (t.path / "elsewhere/zorvane.html"));
}

TEST(HelpFile, ThisBuildFindsTheSourceTreeDocument) {
    fs::path source = fs::canonical(ZORVANE_SOURCE_DIR "/resources/help/zorvane.html");
    EXPECT_EQ(ResolveHelpFile("Zorvane.hlp"), source.string());
    EXPECT_EQ(ResolveHelpFile("NoSuchHelp.hlp"), "");
}

TEST(HelpFile, UrlEscapesThePathAndNamesTheTopic) {
    std::int64_t topic = 5;
    EXPECT_EQ(HelpUrl("/usr/share/zorvane/zorvane.html", &topic),
              "file:///usr/share/zorvane/zorvane.html#context-5");
    EXPECT_EQ(HelpUrl("/tmp/a b/я#%.html"), "file:///tmp/a%20b/%D1%8F%23%25.html");
}

TEST(HelpFile, MissingMessageNamesTheDocumentAndTheFolders) {
    EXPECT_EQ(MissingHelpMessage("Zorvane.hlp", {"/a", "/b", "/c"}),
              "Help file Zorvane.hlp not found (looked for zorvane.html in /a, /b and /c)");
    EXPECT_EQ(MissingHelpMessage("", {"/a"}), "Help file (none) not found");
}

// ---------------------------------------------------------------------------------------------
// The viewer

class HelpViewerTest : public ::testing::Test {
protected:
    TempDir dir;
    std::vector<std::string> reports;

    void SetUp() override {
        hl::Start();
        // Records its process id, its argument count and its first argument, then exits with
        // the status it is told to.
        dir.Write("viewer.sh", "#!/bin/sh\nprintf '%s\\n' \"$$\" \"$#\" \"$1\" > \"$ZV_RECORD\"\n"
                               "exit ${ZV_EXIT:-0}\n");
        fs::permissions(dir.path / "viewer.sh", fs::perms::owner_all);
        ::setenv("ZORVANE_HELP_VIEWER", (dir.path / "viewer.sh").c_str(), 1);
        ::setenv("ZV_RECORD", (dir.path / "record").c_str(), 1);
        ::unsetenv("ZV_EXIT");
        SetViewerFailureHandler([this](const std::string& m) { reports.push_back(m); });
    }
    void TearDown() override {
        RunUntilViewersEnd();
        SetViewerFailureHandler(nullptr);
        ::unsetenv("ZORVANE_HELP_VIEWER");
        ::unsetenv("ZV_RECORD");
        ::unsetenv("ZV_EXIT");
        hl::Stop();
    }

    // Runs the loop (moving its clock) until every viewer has ended and been reaped.
    void RunUntilViewersEnd() {
        for (int i = 0; i < 1000 && RunningViewers() > 0; ++i) {
            ::usleep(10 * 1000);
            hl::Advance(100);
        }
        hl::Advance(100); // reports wait for the loop's next look
    }
    std::vector<std::string> Record() const {
        std::ifstream in(dir.path / "record");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
};

TEST_F(HelpViewerTest, ContextOpensTheTopicAddressAsTheOneArgumentAndTheViewerIsReaped) {
    std::string error;
    ASSERT_TRUE(WinHelp(nullptr, "Zorvane.hlp", HELP_CONTEXT, 3, &error)) << error;
    RunUntilViewersEnd();
    std::vector<std::string> rec = Record();
    ASSERT_EQ(rec.size(), 3u);
    EXPECT_EQ(rec[1], "1");
    EXPECT_EQ(rec[2], "file://" + ResolveHelpFile("Zorvane.hlp") + "#context-3");
    EXPECT_TRUE(reports.empty());
    // No zombie: the viewer is no longer a child to wait for.
    pid_t pid = pid_t(std::stol(rec[0]));
    int status = 0;
    EXPECT_EQ(::waitpid(pid, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(HelpViewerTest, ContentsOpenTheTopAndQuitStartsNothing) {
    ASSERT_TRUE(WinHelp(nullptr, "ZORVANE.HLP", HELP_CONTENTS, 0));
    RunUntilViewersEnd();
    ASSERT_EQ(Record().size(), 3u);
    EXPECT_EQ(Record()[2], "file://" + ResolveHelpFile("Zorvane.hlp"));

    fs::remove(dir.path / "record");
    EXPECT_TRUE(WinHelp(nullptr, "Zorvane.hlp", HELP_QUIT, 0));
    EXPECT_TRUE(WinHelp(nullptr, "Missing.hlp", HELP_QUIT, 0));
    EXPECT_TRUE(WinHelp(nullptr, "Zorvane.hlp", HELP_SETPOPUP_POS, 0));
    EXPECT_EQ(RunningViewers(), 0);
    RunUntilViewersEnd();
    EXPECT_FALSE(fs::exists(dir.path / "record"));
    EXPECT_TRUE(reports.empty());
}

TEST_F(HelpViewerTest, MissingDocumentIsAClearMessageAndStartsNothing) {
    std::string error;
    EXPECT_FALSE(WinHelp(nullptr, "Missing.hlp", HELP_CONTEXT, 3, &error));
    EXPECT_EQ(error.rfind("Help file Missing.hlp not found (looked for missing.html in ", 0), 0u)
        << error;
    EXPECT_EQ(RunningViewers(), 0);
    // Without a place for the message it still reaches the user, from the loop.
    EXPECT_FALSE(WinHelp(nullptr, "Missing.hlp", HELP_CONTEXT, 3));
    EXPECT_TRUE(reports.empty());
    hl::Advance(100);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], error);
}

TEST_F(HelpViewerTest, ViewerEndingWithAFailureIsReportedFromTheLoop) {
    ::setenv("ZV_EXIT", "3", 1);
    ASSERT_TRUE(WinHelp(nullptr, "Zorvane.hlp", HELP_CONTEXT, 5));
    EXPECT_TRUE(reports.empty()); // never from inside the call
    RunUntilViewersEnd();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("ended with status 3"), std::string::npos) << reports[0];
    EXPECT_NE(reports[0].find("zorvane.html#context-5"), std::string::npos) << reports[0];
}

TEST_F(HelpViewerTest, ViewerThatCannotBeStartedIsAClearMessage) {
    ::setenv("ZORVANE_HELP_VIEWER", (dir.path / "no-such-viewer").c_str(), 1);
    std::string error;
    EXPECT_FALSE(WinHelp(nullptr, "Zorvane.hlp", HELP_CONTEXT, 3, &error));
    EXPECT_EQ(error, "No help viewer could be started: " + (dir.path / "no-such-viewer").string() +
                         ": No such file or directory");
    EXPECT_FALSE(WinHelp(nullptr, "Zorvane.hlp", HELP_CONTEXT, 3));
    hl::Advance(100);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], error);
}

TEST_F(HelpViewerTest, SeveralViewersAtOnceAreAllReaped) {
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(WinHelp(nullptr, "Zorvane.hlp", HELP_CONTEXT, std::uintptr_t(i)));
    RunUntilViewersEnd();
    EXPECT_EQ(RunningViewers(), 0);
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1); // no child left at all
}

} // namespace
} // namespace platform::help
