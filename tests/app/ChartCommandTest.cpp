// zorvane-cli chart: the image at each scale, the month command's rules for bad input, files
// that cannot be written, and the pixels against the result form on the screen.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "ProgramTestSupport.h"
#include "ResultTestSupport.h"
#include "app/forms/TResult.h"
#include "controls/TBitBtn.h"

namespace apptest {
namespace {

namespace fs = std::filesystem;
namespace hl = platform::headless;

struct TRun {
    int status = -1;
    std::string out, err;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class ChartCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("zorvane-chart-" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // zorvane-cli with `args`, its output and errors kept apart.
    TRun Chart(const std::string& args, const std::string& lang = "C") {
        std::string out = (dir / "stdout").string(), err = (dir / "stderr").string();
        std::string cmd = "LC_ALL= LANG=" + lang + " " ZORVANE_BINARY_DIR "/src/app/zorvane-cli " +
                          args + " >" + out + " 2>" + err;
        int status = std::system(cmd.c_str());
        TRun r;
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = ReadAll(out);
        r.err = ReadAll(err);
        return r;
    }
    std::string Png(const std::string& name) { return (dir / name).string(); }
    static std::string Size(const std::string& path) {
        int w = 0, h = 0;
        charttest::DecodePngRgb(path, w, h);
        return std::to_string(w) + "x" + std::to_string(h);
    }

    fs::path dir;
};

TEST_F(ChartCommandTest, DrawsTheFourChartsAtEachScale) {
    const char* birth = "--birth 15.3.1980 --period 3.2000";
    TRun one = Chart(std::string("chart ") + birth + " --png " + Png("one.png"));
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out, "");
    EXPECT_EQ(one.err.find("zorvane-cli"), std::string::npos) << one.err;
    EXPECT_EQ(Size(Png("one.png")), "633x377");
    EXPECT_EQ(
        Chart(std::string("chart ") + birth + " --png=" + Png("two.png") + " --scale 2").status, 0);
    EXPECT_EQ(Size(Png("two.png")), "1266x754");
    EXPECT_EQ(Chart(std::string("chart ") + birth + " --scale=4 --png " + Png("four.png")).status,
              0);
    EXPECT_EQ(Size(Png("four.png")), "2532x1508");
    // The same picture under every locale; nothing is left beside the file.
    EXPECT_EQ(
        Chart(std::string("chart ") + birth + " --png " + Png("ru.png"), "ru_RU.UTF-8").status, 0);
    EXPECT_EQ(ReadAll(Png("ru.png")), ReadAll(Png("one.png")));
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir))
        files += entry.path().extension() == ".png";
    EXPECT_EQ(files, 4);
}

TEST_F(ChartCommandTest, BadInputAsTheMonthCommand) {
    std::string png = " --png " + Png("bad.png");
    struct Case {
        std::string args;
        int status;
        const char* message;
    };
    for (const Case& c : {
             Case{"chart --birth 15.3.1980" + png, 2, "missing option --period"},
             Case{"chart --period 3.2000" + png, 2, "missing option --birth"},
             Case{"chart --birth 31.2.1980 --period 3.2000" + png, 2,
                  "'31.2.1980' is not a valid date"},
             Case{"chart --birth 15.3.1980 --period 13.2000" + png, 2, "is not a month"},
             Case{"chart --birth 15.3.1980 --period 3" + png, 2, "is not a period"},
             Case{"chart --birth 15/3/1980 --period 3.2000" + png, 2, "is not a valid date"},
             Case{"chart --birth 15.3.1980 --period 3.20000" + png, 2, "is not a valid period"},
             Case{"chart --birth 15.3.1980 --period 3.2000", 2, "missing option --png FILE"},
             Case{"chart --birth 15.3.1980 --period 3.2000 --png=", 2, "missing option --png"},
             Case{"chart --birth 15.3.1980 --period 3.2000 --scale 5" + png, 2,
                  "'5' is not a scale (1 to 4)"},
             Case{"chart --birth 15.3.1980 --period 3.2000 --scale 0" + png, 2, "is not a scale"},
             Case{"chart --birth 15.3.1980 --period 3.2000 --scale x" + png, 2, "is not a scale"},
             Case{"chart --birth 15.3.1980 --period 3.2000 --colour red" + png, 2,
                  "unexpected argument '--colour'"},
             Case{"chart --birth 1.3.2000 --period 3.2000" + png, 1,
                  "the birth date 1.3.2000 is not before the period 3.2000"},
             Case{"chart --birth 15.3.2001 --period 3.2000" + png, 1, "not before the period"},
         }) {
        TRun r = Chart(c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
        EXPECT_EQ(r.out, "") << c.args;
        EXPECT_FALSE(fs::exists(Png("bad.png"))) << c.args;
    }
    EXPECT_NE(Chart("--help").out.find("chart --birth D.M.YYYY --period M.YYYY --png FILE"),
              std::string::npos);
}

TEST_F(ChartCommandTest, AFileThatCannotBeWrittenLosesNothing) {
    // A folder that does not exist.
    TRun r = Chart("chart --birth 15.3.1980 --period 3.2000 --png " + Png("none/x.png"));
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("cannot write '" + Png("none/x.png") + "'"), std::string::npos) << r.err;
    // A file that is there stays as it was when the new one cannot be written beside it.
    std::ofstream(Png("kept.png")) << "old";
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    bool canStillWrite = access(dir.c_str(), W_OK) == 0; // root writes anyway
    r = Chart("chart --birth 15.3.1980 --period 3.2000 --png " + Png("kept.png"));
    fs::permissions(dir, fs::perms::owner_all);
    if (!canStillWrite) {
        EXPECT_EQ(r.status, 3);
        EXPECT_EQ(ReadAll(Png("kept.png")), "old");
    }
    // A month that is not drawn leaves the file alone too.
    std::ofstream(Png("kept.png")) << "old";
    EXPECT_EQ(Chart("chart --birth 1.4.2000 --period 3.2000 --png " + Png("kept.png")).status, 1);
    EXPECT_EQ(ReadAll(Png("kept.png")), "old");
}

TEST_F(ChartCommandTest, DashIsStandardOutputAndADeviceStaysADevice) {
    ASSERT_EQ(Chart("chart --birth 15.3.1980 --period 3.2000 --png " + Png("a.png")).status, 0);
    TRun r = Chart("chart --birth 15.3.1980 --period 3.2000 --png -");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, ReadAll(Png("a.png")));
    r = Chart("chart --birth 15.3.1980 --period 3.2000 --png /dev/full");
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

class ChartCommandOnScreenTest : public ProgramTest {};

TEST_F(ChartCommandOnScreenTest, TheImageIsTheFormsChartsAsShown) {
    Start(rtl::EncodeDate(2024, 6, 15));
    app::TResult* result = app::Result;
    ASSERT_TRUE(result);
    intro->MoveCalendar(1980, 3);
    intro->Calendar->SetDay(15);
    intro->ComboBox2->SetItemIndex(2);
    intro->Edit2->SetText("2000");
    ClickAt(intro->BitBtn1, TPoint{20, 15});
    ASSERT_TRUE(result->Visible());
    Pump();
    const platform::gdi::Bitmap* shown = hl::Buffer(result->Handle());
    ASSERT_TRUE(shown);
    TRect area = result->ChartsBounds();
    ASSERT_EQ(area, (TRect{8, 8, 641, 385}));
    platform::gdi::Bitmap charts(area.Width(), area.Height());
    for (int y = 0; y < area.Height(); ++y)
        for (int x = 0; x < area.Width(); ++x)
            charts.Row(y)[x] = shown->Word(area.left + x, area.top + y);

    std::string dir = AppArtifactDir();
    std::string one = dir + "/chart_command_1.png", two = dir + "/chart_command_2.png";
    std::string cli = ZORVANE_BINARY_DIR "/src/app/zorvane-cli chart --birth 15.3.1980 "
                                         "--period 3.2000 --png ";
    ASSERT_EQ(std::system((cli + one).c_str()), 0);
    ASSERT_EQ(std::system((cli + two + " --scale 2").c_str()), 0);
    // At scale 1 the very pixels of the screen.
    double share = DifferingShare(charts, one, 8);
    EXPECT_LE(share, 0.001) << "the screen's charts: " << dir << "/chart_command_screen.png";
    // At scale 2 the same drawing, reduced again: only edges and text differ.
    std::string reduced = dir + "/chart_command_2_reduced.png";
    ASSERT_EQ(std::system(("convert " + two + " -filter box -resize 50% " + reduced).c_str()), 0);
    EXPECT_LE(DifferingShare(charts, reduced, 64), 0.05);
    if (::testing::Test::HasFailure())
        charttest::SavePng(charts, dir + "/chart_command_screen.png");
}

} // namespace
} // namespace apptest
