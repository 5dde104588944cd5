// zorvane-cli report: the desktop program's page without a display or a print service, its
// argument rules, and the failures it reports (a file that cannot be written, an unknown queue,
// a print service that cannot be asked, a queue that refuses jobs).
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "../platform/spool/SpoolTestSupport.h"

namespace {

namespace fs = std::filesystem;
using spooltest::Quote;
using spooltest::Run;

const std::string Cli = ZORVANE_BINARY_DIR "/src/app/zorvane-cli";

// The command with no display and no print service, in the Russian locale; `env` adds to it.
std::string Report(const std::string& args, int* status, const std::string& env = "") {
    std::string server = env.find("CUPS_SERVER=") == std::string::npos
                             ? "CUPS_SERVER=" + spooltest::ClosedAddress() + " "
                             : std::string();
    return Run("env -u DISPLAY -u LPDEST -u PRINTER LC_ALL= LANG=ru_RU.UTF-8 " + server + env +
                   " " + Cli + " report " + args,
               status);
}

class ReportCommandTest : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("zorvane-report-cli-" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    fs::path dir;
};

TEST_F(ReportCommandTest, ThePageWithoutDisplayOrPrintService) {
    std::string pdf = Path("page.pdf");
    int status = -1;
    std::string out = Report("--birth 15.3.1980 --period 3.2000 --pdf " + Quote(pdf), &status);
    ASSERT_EQ(status, 0) << out;
    EXPECT_EQ(out.find("zorvane-cli:"), std::string::npos) << out;
    spooltest::PdfFacts facts = spooltest::ReadPdf(pdf);
    EXPECT_EQ(facts.pages, 1);
    EXPECT_NE(facts.pageSize.find("(A4)"), std::string::npos) << facts.pageSize;
    for (const char* text :
         {"Zorvane", "Дата рождения: 15.3.1980", "Расчетный период: Март 2000 г.",
          "Неблагоприятные дни: 1 3 4 13 18 20 24", "Опасные дни: нет.", "Особо опасные дни: нет.",
          "Физический цикл", "Эмоциональный цикл", "Интеллектуальный цикл", "Суммирующий график"})
        EXPECT_NE(facts.text.find(text), std::string::npos) << text << "\n" << facts.text;
    // The stamp in the Russian short date and long time.
    EXPECT_TRUE(
        std::regex_search(facts.text, std::regex("\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d")))
        << facts.text;
    // Nothing is left beside the page.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(ReportCommandTest, APageOnStandardOutputNamesTheYearAsRead) {
    int status = -1;
    std::string out = spooltest::Run("{ env -u DISPLAY LANG=ru_RU.UTF-8 " + Cli +
                                         " report --birth 15.3.1980 --period 2.0 --pdf - > " +
                                         Quote(Path("o.pdf")) + "; }",
                                     &status);
    ASSERT_EQ(status, 0) << out;
    spooltest::PdfFacts facts = spooltest::ReadPdf(Path("o.pdf"));
    EXPECT_EQ(facts.pages, 1);
    EXPECT_NE(facts.text.find("Расчетный период: Февраль 2000 г."), std::string::npos)
        << facts.text;
}

TEST_F(ReportCommandTest, BadInputWritesNothing) {
    struct Case {
        std::string args;
        int status;
        const char* message;
    };
    std::string pdf = Quote(Path("page.pdf"));
    for (const Case& c : {
             Case{"--birth 15.3.1980 --period 3.2000", 2, "missing option --pdf FILE or --printer"},
             Case{"--birth 15.3.1980 --period 3.2000 --pdf " + pdf + " --printer PDF", 2,
                  "exclude each other"},
             Case{"--birth 15.3.1980 --period 3.2000 --pdf ''", 2, "missing option --pdf FILE"},
             Case{"--period 3.2000 --pdf " + pdf, 2, "missing option --birth"},
             Case{"--birth 31.2.1980 --period 3.2000 --pdf " + pdf, 2, "is not a valid date"},
             Case{"--birth 15.3.1980 --period 13.2000 --pdf " + pdf, 2, "is not a month"},
             Case{"--birth 1.3.2000 --period 3.2000 --pdf " + pdf, 1, "not before the period"},
             Case{"--birth 15.3.1980 --period 3.2000 --pdf " + Quote(Path("none/page.pdf")), 3,
                  "none/page.pdf"},
             // No print service: it has not said it lacks the queue.
             Case{"--birth 15.3.1980 --period 3.2000 --printer nosuchqueue", 3,
                  "cannot be reached"},
         }) {
        int status = -1;
        std::string out = Report(c.args, &status);
        EXPECT_EQ(status, c.status) << c.args << ": " << out;
        EXPECT_NE(out.find(c.message), std::string::npos) << c.args << ": " << out;
        EXPECT_TRUE(fs::is_empty(dir)) << c.args;
    }
}

// A PDF file needs no print service: a silent one is never asked (it would hold the command for
// seconds), and its client library is not even loaded (LD_DEBUG lists every library searched).
TEST_F(ReportCommandTest, TheFileSinkLeavesThePrintServiceAlone) {
    spooltest::SilentServer silent;
    auto start = std::chrono::steady_clock::now();
    int status = -1;
    std::string out = Report("--birth 15.3.1980 --period 3.2000 --pdf " + Quote(Path("page.pdf")),
                             &status, "LD_DEBUG=libs CUPS_SERVER=" + silent.Address());
    EXPECT_LT(spooltest::SecondsSince(start), 5.0);
    ASSERT_EQ(status, 0) << out;
    EXPECT_EQ(silent.Accepted(), 0);
    EXPECT_EQ(out.find("libcups"), std::string::npos);
    EXPECT_EQ(spooltest::ReadPdf(Path("page.pdf")).pages, 1);
}

TEST_F(ReportCommandTest, ASilentServerDoesNotHoldANamedQueue) {
    spooltest::SilentServer silent;
    auto start = std::chrono::steady_clock::now();
    int status = -1;
    std::string out = Report("--birth 15.3.1980 --period 3.2000 --printer PDF", &status,
                             "CUPS_SERVER=" + silent.Address());
    EXPECT_LT(spooltest::SecondsSince(start), 5.0);
    EXPECT_EQ(status, 3) << out;
    EXPECT_NE(out.find("did not answer"), std::string::npos) << out;
}

TEST_F(ReportCommandTest, ToAQueueAndToARefusingOne) {
    SKIP_WITHOUT_CUPS();
    spooltest::TempQueue queue("cli_report");
    ASSERT_TRUE(queue.Ok()) << queue.Output();
    std::string env = "CUPS_SERVER=" + Quote(spooltest::Env("CUPS_SERVER"));
    int status = -1;
    std::string out =
        Report("--birth 15.3.1980 --period 3.2000 --printer nosuchqueue", &status, env);
    EXPECT_EQ(status, 3) << out;
    EXPECT_NE(out.find("no queue 'nosuchqueue'"), std::string::npos) << out;
    out = Report("--birth 15.3.1980 --period 3.2000 --printer " + queue.Name(), &status, env);
    EXPECT_EQ(status, 0) << out;
    EXPECT_EQ(queue.JobCount(), 1);
    queue.Reject();
    out = Report("--birth 15.3.1980 --period 3.2000 --printer " + queue.Name(), &status, env);
    EXPECT_EQ(status, 3) << out;
    EXPECT_NE(out.find(queue.Name()), std::string::npos) << out;
    EXPECT_EQ(queue.JobCount(), 1);
}

} // namespace
