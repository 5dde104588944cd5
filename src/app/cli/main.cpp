// zorvane-cli: the desktop program's computation on the command line, for scripts and checks.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "app/BiorhythmModel.h"
#include "app/MonthSession.h"
#include "app/ProgramClasses.h"
#include "app/ProgramForms.h"
#include "app/forms/TReport1.h"
#include "app/forms/TResult.h"
#include "frame/forms/TApplication.h"
#include "platform/files/OutputFile.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/FontSetUp.h"
#include "platform/gdi/PngFile.h"
#include "platform/locale/LocaleSettings.h"
#include "platform/spool/Destinations.h"
#include "rtl/DateTime.h"
#include "rtl/Exception.h"
#include "rtl/NumberText.h"
#include "rtl/ScopeExit.h"

namespace {

constexpr int MinScale = 1, MaxScale = 4;

constexpr const char* MonthUsage =
    "  month --birth D.M.YYYY --period M.YYYY\n"
    "      Prints, in UTF-8:\n"
    "        c=<day count> phases=<p23>,<p28>,<p33> days=<days in month>\n"
    "        the especially dangerous, dangerous and unfavourable day lists\n"
    "        one line per point: x physical emotional intellectual sum\n";
constexpr const char* ChartUsage =
    "  chart --birth D.M.YYYY --period M.YYYY --png FILE [--scale N]\n"
    "      Draws the month's four charts, as the desktop program shows them, into one PNG\n"
    "      image N times their size (N from 1 to 4; 1 when not given).\n";
constexpr const char* ReportUsage =
    "  report --birth D.M.YYYY --period M.YYYY (--pdf FILE | --printer NAME)\n"
    "      Makes the one-page printed report of the desktop program and writes it as a PDF\n"
    "      file or sends it to the named print queue; needs no display.\n";
constexpr const char* Rules =
    "\n"
    "Numbers are decimal; each option is given once. FILE '-' is standard output. A file is\n"
    "replaced whole or not at all; a symlink is written through, a device or FIFO in place.\n"
    "\n"
    "Exit status: 0 done; 1 the birth date is not before the period; 2 bad arguments;\n"
    "3 the output could not be written (standard output included), the print service\n"
    "cannot be asked, or the print queue is not listed or refuses the page.\n";

// The usage of what is being run: the whole program's, or one command's once it is known.
std::string UsageText(const char* command = nullptr) {
    std::string text;
    if (command) {
        text = "Usage: zorvane-cli ";
        text += std::string_view(command).substr(2);
    } else {
        text = "Usage: zorvane-cli COMMAND [OPTIONS]\n"
               "       zorvane-cli COMMAND --help\n"
               "       zorvane-cli --help | --version\n"
               "\n"
               "Zorvane computes a person's biorhythms for one calendar month.\n"
               "\n"
               "Commands:\n";
        text += std::string(MonthUsage) + ChartUsage + ReportUsage;
    }
    return text + Rules;
}

const char* s_commandUsage = nullptr;

int BadArguments(const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "zorvane-cli: %s\n\n%s", message.c_str(),
                 UsageText(s_commandUsage).c_str());
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

// The options of one command: each known option once, as "--name VALUE" or "--name=VALUE".
class TOptions {
public:
    // Reads argv[2..]; false (with the message for BadArguments) on anything unknown or given
    // twice: a second value would silently win over the first.
    bool Read(int argc, char** argv, std::initializer_list<std::string_view> known,
              std::string& error) {
        for (int i = 2; i < argc; ++i) {
            std::string_view arg = argv[i];
            bool taken = false;
            for (std::string_view name : known) {
                std::string value;
                if (arg == name && i + 1 < argc) {
                    value = argv[++i];
                } else if (arg.size() > name.size() && arg.starts_with(name) &&
                           arg[name.size()] == '=') {
                    value = std::string(arg.substr(name.size() + 1));
                } else {
                    continue;
                }
                if (!m_values.emplace(std::string(name), std::move(value)).second) {
                    error = "option " + std::string(name) + " given more than once";
                    return false;
                }
                taken = true;
                break;
            }
            if (!taken) {
                error = "unexpected argument '" + std::string(arg) + "'";
                return false;
            }
        }
        return true;
    }
    const std::string* Find(const std::string& name) const {
        auto it = m_values.find(name);
        return it == m_values.end() ? nullptr : &it->second;
    }

private:
    std::map<std::string, std::string> m_values;
};

// A number as a person types it on a command line: decimal digits only. The runtime's reader
// also takes "$1F" and "0x1F", which nobody means in a date or a scale.
std::optional<int> DecimalNumber(std::string_view text) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return rtl::TryStrToInt(text);
}

// The month a command computes: the birth date and the period as typed, and the program's month
// session holding what they give. Messages quote what the user typed, never a text built from it.
struct TRequest {
    std::string birth, period;
    app::TMonthSession session{nullptr};
};

// Reads --birth and --period and hands them to the session as "Next" does; 0, or the exit status
// after the message.
int ReadRequest(const TOptions& options, TRequest& request) {
    const std::string* birth = options.Find("--birth");
    const std::string* period = options.Find("--period");
    if (!birth) {
        return BadArguments("missing option --birth D.M.YYYY");
    }
    if (!period) {
        return BadArguments("missing option --period M.YYYY");
    }
    request.birth = *birth;
    request.period = *period;
    size_t dot = period->find('.');
    if (dot == std::string::npos) {
        return BadArguments("'" + *period + "' is not a period (M.YYYY)");
    }
    auto month = DecimalNumber(std::string_view(*period).substr(0, dot));
    if (!month || *month < 1 || *month > 12) {
        return BadArguments("'" + period->substr(0, dot) + "' is not a month (1 to 12)");
    }
    if (!DecimalNumber(std::string_view(*period).substr(dot + 1))) {
        return BadArguments("'" + *period + "' is not a period (M.YYYY)");
    }
    rtl::TDateTime birthDate = 0;
    try {
        birthDate = app::DateFromProgramText(*birth);
    } catch (const rtl::Exception& e) {
        return BadArguments(e.Message());
    }
    // Unnamed, the period is named by the year the date reader settled on ("2.0" is February
    // 2000), as every page names it.
    try {
        request.session.Next(birthDate, app::TPeriod{*month - 1, period->substr(dot + 1), ""});
    } catch (const rtl::Exception&) {
        return BadArguments("'" + *period + "' is not a valid period");
    }
    return 0;
}

int BirthNotBeforePeriod(const TRequest& request) {
    std::fflush(stdout); // keep what was printed ahead of the message when both go to one pipe
    std::fprintf(stderr, "zorvane-cli: the birth date %s is not before the period %s\n",
                 request.birth.c_str(), request.period.c_str());
    return 1;
}

int RunMonth(int argc, char** argv) {
    TOptions options;
    std::string error;
    if (!options.Read(argc, argv, {"--birth", "--period"}, error)) {
        return BadArguments(error);
    }
    TRequest request;
    if (int status = ReadRequest(options, request)) {
        return status;
    }
    const app::TCyclePhases& phases = request.session.Phases();
    if (phases.DayCount <= 0) {
        return BirthNotBeforePeriod(request);
    }
    app::TMonthResult result = request.session.Current().Compute();
    std::printf("c=%d phases=%d,%d,%d days=%d\n", phases.DayCount, phases.PhysicalPhase,
                phases.EmotionalPhase, phases.IntellectualPhase, result.Days);
    std::printf("%s\n%s\n%s\n", result.EspeciallyDangerous.c_str(), result.Dangerous.c_str(),
                result.Unfavourable.c_str());
    for (int x = 0; x <= result.Days; ++x) {
        std::printf("%d %s %s %s %s\n", x, Fixed6(result.Physical[x]).c_str(),
                    Fixed6(result.Emotional[x]).c_str(), Fixed6(result.Intellectual[x]).c_str(),
                    Fixed6(result.Sum[x]).c_str());
    }
    return 0;
}

// The result form's four charts, read from the program's own form resource and filled from the
// session as the form fills itself, drawn as on screen. No display is opened: the form is never
// shown.
std::string RenderChartsPng(TRequest& request, int scale) {
    setenv("ZORVANE_DISPLAY", "headless", 1);
    platform::InitLocaleSettings();
    app::RegisterProgramClasses();
    rtl::ValueRestore session(app::Session, &request.session);
    frame::TFrameScope frameScope;
    frame::Application->MakeForm(app::Result);
    app::Result->Refill();
    return platform::gdi::EncodePng(app::Result->ChartsImage(scale));
}

int RunChart(int argc, char** argv) {
    TOptions options;
    std::string error;
    if (!options.Read(argc, argv, {"--birth", "--period", "--png", "--scale"}, error)) {
        return BadArguments(error);
    }
    TRequest request;
    if (int status = ReadRequest(options, request)) {
        return status;
    }
    const std::string* png = options.Find("--png");
    if (!png || png->empty()) {
        return BadArguments("missing option --png FILE");
    }
    int scale = 1;
    if (const std::string* text = options.Find("--scale")) {
        auto value = DecimalNumber(*text);
        if (!value || *value < MinScale || *value > MaxScale) {
            return BadArguments("'" + *text + "' is not a scale (1 to 4)");
        }
        scale = *value;
    }
    if (request.session.DayCount() <= 0) {
        return BirthNotBeforePeriod(request);
    }
    std::string bytes;
    try {
        bytes = RenderChartsPng(request, scale);
    } catch (const rtl::Exception& e) {
        std::fprintf(stderr, "zorvane-cli: %s: %s\n", e.ClassName(), e.Message().c_str());
        return 3;
    }
    std::fflush(stdout);
    if (!platform::files::WriteOutputFile(*png, bytes, error)) {
        std::fprintf(stderr, "zorvane-cli: cannot write '%s': %s\n", png->c_str(), error.c_str());
        return 3;
    }
    return 0;
}

// The report as the desktop program prints it: the result form and the report form read from
// the program's own resources, the form filled from the session, and the report's own print,
// whose before-print handler fills the page from the form and the session. No display is opened.
void PrintReport(TRequest& request, const std::string& pdf, const std::string& queue) {
    setenv("ZORVANE_DISPLAY", "headless", 1);
    // Routed before the report prints: it asks the default destination for its paper then.
    if (!pdf.empty())
        platform::spool::RouteToFile(pdf);
    else
        platform::spool::SetDefaultDestination(queue);
    platform::InitLocaleSettings();
    app::RegisterProgramClasses();
    rtl::ValueRestore session(app::Session, &request.session);
    frame::TFrameScope frameScope;
    frame::Application->MakeForm(app::Result);
    app::Result->Refill();
    app::MakeReport();
    // Nobody would see a progress window here.
    app::Report1->SetShowProgress(false);
    app::Report1->Print();
}

// A queue the print service does not list cannot be the default: say which name was wrong
// rather than that there is no default printer. A service that could not be asked has not said
// it lacks the queue: say what happened instead. 0, or the exit status after the message.
int CheckQueue(const std::string& queue) {
    platform::spool::DestinationList list = platform::spool::ListDestinations();
    if (list.failure != platform::spool::ServiceFailure::None) {
        std::fprintf(stderr, "zorvane-cli: %s\n", list.error.c_str());
        return 3;
    }
    if (std::find(list.names.begin(), list.names.end(), queue) == list.names.end()) {
        std::fprintf(stderr, "zorvane-cli: the print service has no queue '%s'\n", queue.c_str());
        return 3;
    }
    return 0;
}

int RunReport(int argc, char** argv) {
    TOptions options;
    std::string error;
    if (!options.Read(argc, argv, {"--birth", "--period", "--pdf", "--printer"}, error)) {
        return BadArguments(error);
    }
    TRequest request;
    if (int status = ReadRequest(options, request)) {
        return status;
    }
    const std::string* pdf = options.Find("--pdf");
    const std::string* queue = options.Find("--printer");
    if (pdf && queue) {
        return BadArguments("--pdf and --printer exclude each other");
    }
    if (!pdf && !queue) {
        return BadArguments("missing option --pdf FILE or --printer NAME");
    }
    if (pdf && pdf->empty()) {
        return BadArguments("missing option --pdf FILE");
    }
    if (queue && queue->empty()) {
        return BadArguments("missing option --printer NAME");
    }
    if (request.session.DayCount() <= 0) {
        return BirthNotBeforePeriod(request);
    }
    try {
        if (int status = queue ? CheckQueue(*queue) : 0)
            return status;
        PrintReport(request, pdf ? *pdf : std::string(), queue ? *queue : std::string());
    } catch (const rtl::Exception& e) {
        std::fprintf(stderr, "zorvane-cli: %s\n", e.Message().c_str());
        return 3;
    }
    return 0;
}

bool AsksForHelp(int argc, char** argv) {
    for (int i = 2; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h")
            return true;
    }
    return false;
}

int RunCommand(int argc, char** argv) {
    if (argc < 2) {
        return BadArguments("missing command");
    }
    std::string_view command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (command == "--version") {
        std::printf("zorvane-cli %s\n", ZORVANE_VERSION);
        return 0;
    }
    struct TCommand {
        std::string_view name;
        const char* usage;
        int (*run)(int, char**);
    };
    for (const TCommand& c :
         {TCommand{"month", MonthUsage, RunMonth}, TCommand{"chart", ChartUsage, RunChart},
          TCommand{"report", ReportUsage, RunReport}}) {
        if (command != c.name)
            continue;
        s_commandUsage = c.usage;
        if (AsksForHelp(argc, argv)) {
            std::fputs(UsageText(c.usage).c_str(), stdout);
            return 0;
        }
        if (c.run != RunMonth) {
            // Both draw text: fontconfig reads its configuration while the arguments are
            // checked and the forms are read.
            platform::gdi::StartFontSetUp();
        }
        return c.run(argc, argv);
    }
    return BadArguments("unknown command '" + std::string(command) + "'");
}

} // namespace

// What went to standard output must have arrived: a full disk or a closed pipe is an error, not
// a success with the output lost.
int main(int argc, char** argv) {
    int status = RunCommand(argc, argv);
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        int error = errno ? errno : EIO;
        std::fprintf(stderr, "zorvane-cli: cannot write to standard output: %s\n",
                     std::strerror(error));
        return status ? status : 3;
    }
    return status;
}
