#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {
struct CliRun {
    std::string out;
    int status = -1;
};

// Runs the command line with the given LANG, capturing standard output (standard error is
// appended after a marker when `withErr`; `redirect` replaces the standard error's redirection).
CliRun Cli(const std::string& args, const std::string& lang = "C", bool withErr = false,
           const char* redirect = nullptr) {
    std::string cmd = "LC_ALL= LANG=" + lang + " " ZORVANE_BINARY_DIR "/src/app/zorvane-cli " +
                      args + (redirect ? redirect : withErr ? " 2>&1" : " 2>/dev/null");
    CliRun r;
    FILE* pipe = popen(cmd.c_str(), "r");
    if (!pipe) {
        return r;
    }
    std::array<char, 4096> buf{};
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) {
        r.out.append(buf.data(), n);
    }
    int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}
} // namespace

TEST(ZorvaneCli, MonthOutput) {
    CliRun r = Cli("month --birth 15.3.1980 --period 3.2000");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find("0 -0.269797")),
              "c=7291 phases=23,17,2 days=31\n"
              "Особо опасные дни: нет.\n"
              "Опасные дни: нет.\n"
              "Неблагоприятные дни: 1 3 4 13 18 20 24\n");
    EXPECT_NE(r.out.find("\n0 -0.269797 0.781831 -0.540641 -0.028606\n"
                         "1 0.000000 0.623490 -0.371662 0.251827\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("\n31 "), std::string::npos);
    EXPECT_EQ(r.out.find("\n32 "), std::string::npos);
}

TEST(ZorvaneCli, SameOutputUnderEveryLocale) {
    for (const char* args :
         {"month --birth 15.3.1980 --period 3.2000", "month --birth 1.1.1970 --period 2.2024",
          "month --birth 31.12.1999 --period 1.2000"}) {
        CliRun c = Cli(args, "C");
        CliRun en = Cli(args, "en_US.UTF-8");
        CliRun ru = Cli(args, "ru_RU.UTF-8");
        EXPECT_EQ(c.status, 0) << args;
        EXPECT_EQ(c.out, en.out) << args;
        EXPECT_EQ(c.out, ru.out) << args;
    }
}

TEST(ZorvaneCli, BirthNotBeforePeriod) {
    // A clear error and nothing on standard output: no day count or phases of a month not drawn.
    CliRun r = Cli("month --birth 1.3.2000 --period 3.2000", "C", true);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "zorvane-cli: the birth date 1.3.2000 is not before the period 3.2000\n");
}

TEST(ZorvaneCli, BadArguments) {
    struct Case {
        const char* args;
        const char* message;
    };
    for (const Case& c :
         {Case{"month --birth 15.3.1980", "missing option --period"},
          Case{"month --period 3.2000", "missing option --birth"},
          Case{"month --birth 31.2.1980 --period 3.2000", "'31.2.1980' is not a valid date"},
          Case{"month --birth 15.3.1980 --period 13.2000", "is not a month"},
          Case{"month --birth 15.3.1980 --period 3", "is not a period"},
          Case{"month --birth 15/3/1980 --period 3.2000", "is not a valid date"},
          Case{"month --birth 15.3.1980 --period 3.20000", "'3.20000' is not a valid period"},
          Case{"month --birth 15.3.1980 --period 1.", "'1.' is not a period"},
          Case{"month --birth 15.3.1980 --period $A.2000", "is not a month"},
          Case{"month --birth 15.3.1980 --period 0x1.2000", "is not a month"},
          Case{"month --birth 15.3.1980 --period 3.$7D0", "is not a period"},
          Case{"chart --birth 15.3.1980 --period 3.2000 --png x.png --scale '$4'",
               "is not a scale"},
          Case{"month --birth 15.3.1980 --period 3.2000 --birth 1.1.1990", "more than once"},
          Case{"frobnicate", "unknown command"}, Case{"", "missing command"}}) {
        CliRun r = Cli(c.args, "C", true);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << ": " << r.out;
    }
    CliRun help = Cli("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("month --birth D.M.YYYY --period M.YYYY"), std::string::npos);
}

TEST(ZorvaneCli, APeriodYearIsNamedAsTheDateReaderTookIt) {
    // "2.0" is February 2000 to the date reader; the output must say so, not "0".
    CliRun typed = Cli("month --birth 15.3.1980 --period 2.0");
    EXPECT_EQ(typed.status, 0);
    EXPECT_EQ(typed.out, Cli("month --birth 15.3.1980 --period 2.2000").out);
}

TEST(ZorvaneCli, LostStandardOutputIsAFailure) {
    for (const char* args : {"month --birth 15.3.1980 --period 3.2000", "--help"}) {
        // Standard error to the pipe, standard output to a full disk.
        CliRun r = Cli(args, "C", true, " 2>&1 >/dev/full");
        EXPECT_NE(r.status, 0) << args;
        EXPECT_NE(r.out.find("cannot write to standard output: No space left on device"),
                  std::string::npos)
            << args << ": " << r.out;
    }
}

TEST(ZorvaneCli, HelpVersionAndUnknownOptionsOfBothPrograms) {
    const std::string version = "zorvane-cli " ZORVANE_VERSION "\n";
    EXPECT_EQ(Cli("--version").out, version);
    CliRun help = Cli("report --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: zorvane-cli report --birth", 0), 0u) << help.out;
    CliRun unknown = Cli("--frobnicate", "C", false, " 2>&1 >/dev/null");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.out.find("Usage: zorvane-cli COMMAND"), std::string::npos) << unknown.out;

    auto gui = [](const std::string& args) {
        CliRun r;
        std::string cmd = "env DISPLAY=:55 " ZORVANE_BINARY_DIR "/src/app/zorvane " + args;
        FILE* pipe = popen(cmd.c_str(), "r");
        std::array<char, 4096> buf{};
        size_t n;
        while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0)
            r.out.append(buf.data(), n);
        int status = pclose(pipe);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return r;
    };
    EXPECT_EQ(gui("--version").out, "zorvane " ZORVANE_VERSION "\n");
    EXPECT_EQ(gui("--help").status, 0);
    CliRun bad = gui("--frobnicate 2>&1 >/dev/null");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.out.find("Usage: zorvane"), std::string::npos) << bad.out;
    CliRun noServer = gui("2>&1");
    EXPECT_EQ(noServer.status, 1);
    EXPECT_EQ(noServer.out, "zorvane: cannot open display ':55'\n");
}
