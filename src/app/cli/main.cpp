// zorvane-cli: the desktop program's computation on the command line, for scripts and checks.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "app/BiorhythmModel.h"
#include "rtl/Exception.h"
#include "rtl/NumberText.h"

namespace {

constexpr const char* Usage =
    "Usage: zorvane-cli COMMAND [OPTIONS]\n"
    "\n"
    "Zorvane computes a person's biorhythms for one calendar month.\n"
    "\n"
    "Commands:\n"
    "  month --birth D.M.YYYY --period M.YYYY\n"
    "      Prints, in UTF-8:\n"
    "        c=<day count> phases=<p23>,<p28>,<p33> days=<days in month>\n"
    "        the especially dangerous, dangerous and unfavourable day lists\n"
    "        one line per point: x physical emotional intellectual sum\n"
    "      Exit status 1 when the birth date is not before the period, 2 on bad arguments.\n"
    "  --help\n"
    "      Shows this text.\n";

int BadArguments(const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "zorvane-cli: %s\n", message.c_str());
    std::fprintf(stderr, "Try 'zorvane-cli --help'.\n");
    return 2;
}

// Six decimals without the "-0.000000" a tiny negative value would print.
std::string Fixed6(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6f", value);
    if (std::strcmp(buf, "-0.000000") == 0) {
        return "0.000000";
    }
    return buf;
}

int RunMonth(int argc, char** argv) {
    std::string birth, period;
    bool haveBirth = false, havePeriod = false;
    for (int i = 2; i < argc; ++i) {
        std::string_view arg = argv[i];
        if ((arg == "--birth" || arg == "--period") && i + 1 < argc) {
            (arg == "--birth" ? birth : period) = argv[++i];
            (arg == "--birth" ? haveBirth : havePeriod) = true;
        } else if (arg.starts_with("--birth=")) {
            birth = arg.substr(8);
            haveBirth = true;
        } else if (arg.starts_with("--period=")) {
            period = arg.substr(9);
            havePeriod = true;
        } else {
            return BadArguments("unexpected argument '" + std::string(arg) + "'");
        }
    }
    if (!haveBirth) {
        return BadArguments("missing option --birth D.M.YYYY");
    }
    if (!havePeriod) {
        return BadArguments("missing option --period M.YYYY");
    }
    size_t dot = period.find('.');
    if (dot == std::string::npos || period.find('.', dot + 1) != std::string::npos) {
        return BadArguments("'" + period + "' is not a period (M.YYYY)");
    }
    auto month = rtl::TryStrToInt(period.substr(0, dot));
    if (!month || *month < 1 || *month > 12) {
        return BadArguments("'" + period.substr(0, dot) + "' is not a month (1 to 12)");
    }
    std::string yearText = period.substr(dot + 1);
    try {
        rtl::TDateTime birthDate = app::DateFromProgramText(birth);
        rtl::TDateTime periodStart =
            app::DateFromProgramText(app::PeriodStartText(*month - 1, yearText));
        int year = rtl::StrToInt(yearText);
        app::TCyclePhases phases = app::ComputePhases(birthDate, periodStart);
        app::TMonthResult result = app::ComputeMonth(phases, *month - 1, year);
        std::printf("c=%d phases=%d,%d,%d days=%d\n", phases.DayCount, phases.PhysicalPhase,
                    phases.EmotionalPhase, phases.IntellectualPhase, result.Days);
        if (phases.DayCount <= 0) {
            std::fflush(stdout); // keep line 1 ahead of the message when both go to one pipe
            std::fprintf(stderr, "zorvane-cli: the birth date %s is not before the period %s\n",
                         birth.c_str(), period.c_str());
            return 1;
        }
        std::printf("%s\n%s\n%s\n", result.EspeciallyDangerous.c_str(), result.Dangerous.c_str(),
                    result.Unfavourable.c_str());
        for (int x = 0; x <= result.Days; ++x) {
            std::printf("%d %s %s %s %s\n", x, Fixed6(result.Physical[x]).c_str(),
                        Fixed6(result.Emotional[x]).c_str(), Fixed6(result.Intellectual[x]).c_str(),
                        Fixed6(result.Sum[x]).c_str());
        }
    } catch (const rtl::Exception& e) {
        return BadArguments(e.Message());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return BadArguments("missing command");
    }
    std::string_view command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (command == "month") {
        return RunMonth(argc, argv);
    }
    return BadArguments("unknown command '" + std::string(command) + "'");
}
