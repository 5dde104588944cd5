#include "SoakDriver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "SoakSteps.h"
#include "SoakWatchdog.h"
#include "app/BiorhythmModel.h"
#include "app/ProgramForms.h"
#include "app/forms/TAboutBox.h"
#include "app/forms/TIntro.h"
#include "app/forms/TResult.h"
#include "chart/TFastLineSeries.h"
#include "controls/TBitBtn.h"
#include "controls/TCalendar.h"
#include "controls/TComboBox.h"
#include "controls/TEdit.h"
#include "controls/TLabel.h"
#include "frame/controls/ControlBridge.h"
#include "frame/forms/TApplication.h"
#include "frame/forms/TCustomForm.h"
#include "frame/forms/THintWindow.h"
#include "frame/forms/TScreen.h"
#include "platform/display/Headless.h"
#include "platform/display/WindowApi.h"
#include "platform/display/WindowManager.h"
#include "platform/spool/Destinations.h"
#include "rtl/DateTime.h"
#include "rtl/Exception.h"
#include "rtl/NumberText.h"

namespace soak {

using namespace platform;
namespace hl = platform::headless;

namespace {

// A message box that outlives this many answers of the driver is stuck.
constexpr int kMaxBoxAnswers = 12;
// Boxes one after another, each answered, without the program ever getting back to its forms.
constexpr int kMaxModalStreak = 200;
// Ending a run: answers, then the main form's close box; more than this and the program does not
// end.
constexpr int kMaxEndingActions = 100;
// Nothing the program does should need more windows than this at once.
constexpr std::size_t kMaxWindows = 600;
constexpr std::size_t kMaxTimers = 32;
constexpr std::size_t kRecentEvents = 25;

std::string WindowsText() {
    std::string text;
    for (HWND top = GetTopWindow(nullptr); top; top = GetWindow(top, GW_HWNDNEXT)) {
        text += "  " + GetClassName(top) + " '" + GetWindowText(top) + "'" +
                (IsWindowVisible(top) ? " visible" : " hidden") +
                (IsWindowEnabled(top) ? "" : " disabled") + "\n";
    }
    return text;
}

} // namespace

TSoakDriver::TSoakDriver(TSoakOptions options)
    : m_options(std::move(options)), m_random(m_options.seed) {}

// ---------------------------------------------------------------------------------------------
// Runs

int TSoakDriver::Run() {
    hl::Start();
    hl::SetInputSource([this](int timeoutMs) { OnWait(timeoutMs); });
    std::filesystem::remove(PrintPath());
    platform::spool::RouteToFile(PrintPath());
    // Today, as the input form sees it, comes from the seed: a run replays whatever the date.
    rtl::TDateTime today = rtl::EncodeDate(m_random.Between(1995, 2035), m_random.Between(1, 12),
                                           m_random.Between(1, 28));
    app::TIntro::Clock() = [today] { return today + 0.5; };
    std::uint64_t startClock = WindowManager::Instance().Now();
    while (true) {
        ++m_stats.runs;
        m_action = TAction{};
        m_step = 0;
        m_pauseLeft = 0;
        m_plan.clear();
        m_box = nullptr;
        m_boxEvents = 0;
        m_modalStreak = 0;
        m_endingActions = 0;
        m_lastBirth = 0;
        m_lastPeriod = 0;
        m_delivered = false;
        TWatchdog::Beat(m_stats.events, "start-up of run " + std::to_string(m_stats.runs));
        if (m_options.verbose)
            std::printf("-- run %d\n", m_stats.runs);
        int status = app::RunProgramOnce();
        TWatchdog::Beat(m_stats.events, "after run " + std::to_string(m_stats.runs));
        AfterRun(status);
        if (m_stats.events >= m_options.events)
            break;
    }
    m_stats.clockMs = WindowManager::Instance().Now() - startClock;
    hl::SetInputSource({});
    hl::Stop();
    platform::spool::RouteToFile("");
    app::TIntro::Clock() = rtl::Now;
    return 0;
}

void TSoakDriver::AfterRun(int status) {
    if (status != 0)
        Fail("the program ended with status " + std::to_string(status));
    if (app::Session || app::Intro || app::Result || app::AboutBox || app::Report1)
        Fail("a form or session reference outlives the run");
    // Every window goes with the frame: one left now belongs to something nobody destroyed.
    if (std::size_t n = WindowManager::Instance().WindowCount(); n != 0)
        Fail(std::to_string(n) + " windows remain after the program ended:\n" + WindowsText());
}

// ---------------------------------------------------------------------------------------------
// The input source

void TSoakDriver::OnWait(int timeoutMs) {
    // How long the program took over what it was last given, in wall time.
    auto now = std::chrono::steady_clock::now();
    if (m_delivered) {
        double ms = std::chrono::duration<double, std::milli>(now - m_deliveredAt).count();
        if (ms > m_stats.slowestMs) {
            m_stats.slowestMs = ms;
            m_stats.slowest = m_action.what;
        }
        m_delivered = false;
    }
    if (m_step >= m_action.steps.size()) {
        AfterAction();
        NextAction();
    }
    TWatchdog::Beat(m_stats.events, m_action.what);
    if (m_pauseLeft > 0 && timeoutMs >= 0 && timeoutMs < m_pauseLeft) {
        // A timer is due before the user acts: let it fire.
        hl::MoveClock(timeoutMs);
        m_pauseLeft -= timeoutMs;
        return;
    }
    hl::MoveClock(m_pauseLeft);
    TStep step = m_action.steps[m_step++];
    m_pauseLeft = m_step < m_action.steps.size() ? m_action.steps[m_step].pauseMs : 0;
    Deliver(step);
    m_delivered = true;
    m_deliveredAt = std::chrono::steady_clock::now();
}

void TSoakDriver::Deliver(const TStep& s) {
    switch (s.kind) {
    case TStep::Move:
        hl::MouseMove(s.at);
        break;
    case TStep::Down:
        hl::MouseDown(s.at, s.button);
        break;
    case TStep::Up:
        hl::MouseUp(s.at, s.button);
        break;
    case TStep::Wheel:
        hl::Wheel(s.at, s.delta);
        break;
    case TStep::KeyDown:
        hl::KeyDown(s.vk, s.ch ? std::u32string(1, s.ch) : std::u32string());
        break;
    case TStep::KeyUp:
        hl::KeyUp(s.vk);
        break;
    case TStep::CloseBox:
        if (IsWindow(s.window))
            WindowManager::Instance().HostClose(s.window);
        break;
    case TStep::AppFocus:
        if (!s.focusIn)
            WindowManager::Instance().HostFocus(s.window, false);
        else if (IsWindow(s.window) && IsWindowVisible(s.window))
            WindowManager::Instance().HostFocus(s.window, true);
        break;
    }
}

void TSoakDriver::NextAction() {
    m_targets = VisibleTargets();
    HWND box = VisibleBox();
    if (box) {
        if (box != m_box) {
            m_box = box;
            m_boxEvents = 0;
            ++m_stats.boxesSeen;
        }
        ++m_boxEvents;
        ++m_modalStreak;
    } else {
        m_box = nullptr;
        m_boxEvents = 0;
        m_modalStreak = 0;
    }
    if (m_boxEvents > kFreeBoxEvents + kMaxBoxAnswers)
        Fail("a message box stays up whatever answers it: '" + GetWindowText(box) + "'\n" +
             WindowsText());
    if (m_modalStreak > kMaxModalStreak)
        Fail("message boxes without end: " + std::to_string(m_modalStreak) +
             " events in a row with one up\n" + WindowsText());

    if (m_stats.events >= m_options.events) {
        m_action = EndingAction();
    } else {
        ++m_stats.events;
        if (box && m_boxEvents > kFreeBoxEvents) {
            m_action = AnswerBox(box);
            ++m_stats.boxesAnswered;
        } else if (box || !PlannedAction(m_action)) {
            m_action = RandomAction();
        }
        if (m_action.steps.empty())
            m_action = Pause();
    }
    m_step = 0;
    m_pauseLeft = m_action.steps.front().pauseMs;
    std::string line = std::to_string(m_stats.events) + ": " + m_action.what;
    if (m_options.verbose)
        std::printf("%s\n", line.c_str());
    m_recent.push_back(line);
    if (m_recent.size() > kRecentEvents)
        m_recent.pop_front();
}

TAction TSoakDriver::EndingAction() {
    if (++m_endingActions > kMaxEndingActions)
        Fail("the program does not end: its main form stays after " +
             std::to_string(kMaxEndingActions) + " answers and close boxes\n" + WindowsText());
    TAction a;
    if (HWND box = VisibleBox()) {
        a.what = "end: Enter on the box '" + GetWindowText(box) + "'";
        AddKeyStroke(a, m_endingActions % 2 ? VK_RETURN : VK_ESCAPE, 0, 0, 50);
        return a;
    }
    for (const TTarget& t : m_targets) {
        if (t.kind == TKind::DropList) {
            a.what = "end: Escape on the open list";
            AddKeyStroke(a, VK_ESCAPE, 0, 0, 50);
            return a;
        }
    }
    if (HWND main = MainWindow()) {
        a.what = "end: close box of the main form";
        TStep s = MakeStep(TStep::CloseBox, 50);
        s.window = main;
        a.steps.push_back(s);
        return a;
    }
    return Pause();
}

// ---------------------------------------------------------------------------------------------
// Checks

namespace {

bool SamePhases(const app::TCyclePhases& a, const app::TCyclePhases& b) {
    return a.DayCount == b.DayCount && a.PhysicalPhase == b.PhysicalPhase &&
           a.EmotionalPhase == b.EmotionalPhase && a.IntellectualPhase == b.IntellectualPhase;
}

} // namespace

void TSoakDriver::AfterAction() {
    CheckCycleState();
    CheckResultForm();
    CheckWindows();
    CheckPrint();
}

namespace {

// How many pages a PDF holds ("/Type /Page" objects, not the "/Type /Pages" tree), or -1 when
// it is no PDF at all: no header or no end-of-file marker.
int PdfPages(const std::string& bytes) {
    if (bytes.rfind("%PDF-", 0) != 0 ||
        bytes.find("%%EOF", bytes.size() > 1024 ? bytes.size() - 1024 : 0) == std::string::npos)
        return -1;
    int pages = 0;
    const std::string page = "/Type /Page";
    for (std::size_t at = bytes.find(page); at != std::string::npos;
         at = bytes.find(page, at + 1)) {
        char next = at + page.size() < bytes.size() ? bytes[at + page.size()] : ' ';
        if (next != 's')
            ++pages;
    }
    return pages;
}

} // namespace

void TSoakDriver::CheckPrint() {
    // Every print goes to the file sink: a one-page PDF, removed for the next.
    std::string path = PrintPath();
    if (!std::filesystem::exists(path))
        return;
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    int pages = PdfPages(bytes);
    if (pages != 1)
        Fail("a print is not a one-page PDF (" +
             (pages < 0 ? std::string("not a PDF") : std::to_string(pages) + " pages") + ")");
    ++m_stats.prints;
    std::filesystem::remove(path);
}

std::string TSoakDriver::PrintPath() const {
    return m_options.outDir + "/print.pdf";
}

void TSoakDriver::CheckCycleState() {
    app::TIntro* in = app::Intro;
    const app::TMonthSession* session = app::Session;
    if (!in || !session)
        Fail("the program waits for input without its input form or month session");
    app::TCyclePhases stored{session->DayCount(), session->PhysicalPhase(),
                             session->EmotionalPhase(), session->IntellectualPhase()};
    if (session->BirthDate() == 0 && session->PeriodStart() == 0) {
        if (!SamePhases(stored, app::TCyclePhases{}))
            Fail("phases stored without any dates");
    } else if (!SamePhases(stored,
                           app::ComputePhases(session->BirthDate(), session->PeriodStart()))) {
        app::TCyclePhases want = app::ComputePhases(session->BirthDate(), session->PeriodStart());
        Fail("the cycle state does not match its dates: c = " + std::to_string(stored.DayCount) +
             " (want " + std::to_string(want.DayCount) + "), phases " +
             std::to_string(stored.PhysicalPhase) + "/" + std::to_string(stored.EmotionalPhase) +
             "/" + std::to_string(stored.IntellectualPhase));
    }
    if (session->BirthDate() != m_lastBirth) {
        // Only "Next" stores a birth date: the calendar's, written and read back as the program
        // writes and reads its dates (a year of one or two digits lands in this century).
        std::string text =
            app::BirthDateText(in->Calendar->Day(), in->Calendar->Month(), in->Calendar->Year());
        rtl::TDateTime shown = -1;
        try {
            shown = app::DateFromProgramText(text);
        } catch (const rtl::Exception&) {
        }
        if (!session->NextPressed() || shown != session->BirthDate()) {
            rtl::DateParts d = rtl::DecodeDate(session->BirthDate());
            Fail("the birth date " + app::BirthDateText(d.day, d.month, d.year) +
                 " is not the calendar's " + text);
        }
        m_lastBirth = session->BirthDate();
    }
    if (session->PeriodStart() != m_lastPeriod) {
        // "Next" and the month steps store the first of the month the period controls name.
        std::string text = app::PeriodStartText(in->ComboBox2->ItemIndex(), in->Edit2->Text());
        rtl::TDateTime named = 0;
        try {
            named = app::DateFromProgramText(text);
        } catch (const rtl::Exception&) {
            Fail("the period start changed while the period controls name no date: " + text);
        }
        if (named != session->PeriodStart())
            Fail("the period start is not the period the controls name (" + text + ")");
        m_lastPeriod = session->PeriodStart();
    }
}

void TSoakDriver::CheckResultForm() {
    app::TResult* result = app::Result;
    if (!result)
        Fail("the program waits for input without its result form");
    if (result->Visible())
        ++m_stats.resultShown;
    const app::TShownMonth& shown = app::Session->Shown();
    if (!shown.Filled)
        return;
    // What the form shows is the model's month for what it recorded, caption to last point.
    if (!SamePhases(shown.Phases, app::ComputePhases(shown.BirthDate, shown.PeriodStart)))
        Fail("the result form's phases do not match its dates");
    if (shown.Phases.DayCount <= 0)
        Fail("the result form shows a month for a day count of " +
             std::to_string(shown.Phases.DayCount));
    std::string caption = "Zorvane: " + shown.PeriodText + " г.";
    if (result->Caption() != caption)
        Fail("the result form's caption is '" + result->Caption() + "', not '" + caption + "'");
    rtl::DateParts period = rtl::DecodeDate(shown.PeriodStart);
    app::TMonthResult month = app::ComputeMonth(shown.Phases, period.month - 1, period.year);
    const std::vector<double>* values[] = {&month.Physical, &month.Emotional, &month.Intellectual,
                                           &month.Sum};
    auto series = result->CycleSeries();
    for (std::size_t i = 0; i < series.size(); ++i) {
        if (series[i]->Count() != month.Days + 1)
            Fail("series " + std::to_string(i + 1) + " has " + std::to_string(series[i]->Count()) +
                 " points for a month of " + std::to_string(month.Days) + " days");
        for (int x = 0; x <= month.Days; ++x) {
            if (series[i]->XValue(x) != x || series[i]->YValue(x) != (*values[i])[std::size_t(x)])
                Fail("series " + std::to_string(i + 1) +
                     " differs from the model at x = " + std::to_string(x));
        }
    }
    if (result->Label3->Caption() != month.EspeciallyDangerous ||
        result->Label2->Caption() != month.Dangerous ||
        result->Label1->Caption() != month.Unfavourable)
        Fail("the day lists are not the model's: '" + result->Label1->Caption() + "' / '" +
             month.Unfavourable + "'");
}

void TSoakDriver::CheckWindows() {
    WindowManager& wm = WindowManager::Instance();
    m_stats.maxWindows = std::max(m_stats.maxWindows, wm.WindowCount());
    m_stats.maxTimers = std::max(m_stats.maxTimers, wm.TimerCount());
    if (wm.WindowCount() > kMaxWindows)
        Fail(std::to_string(wm.WindowCount()) + " windows at once: windows pile up");
    if (wm.TimerCount() > kMaxTimers)
        Fail(std::to_string(wm.TimerCount()) + " timers at once: timers pile up");
    // Every visible top-level window is a form of the program, the hint, a message box or an
    // open list: a window of a form that is gone would be none of these.
    for (HWND top = GetTopWindow(nullptr); top; top = GetWindow(top, GW_HWNDNEXT)) {
        if (!IsWindowVisible(top))
            continue;
        frame::TWinControl* control = frame::FindControl(top);
        if (!control)
            continue; // a standard window: message box or list
        if (frame::As<frame::THintWindow>(control))
            continue;
        auto* form = frame::As<frame::TCustomForm>(control);
        bool known = false;
        for (int i = 0; form && frame::Screen && i < frame::Screen->CustomFormCount(); ++i)
            known = known || frame::Screen->CustomForms(i) == form;
        if (!known)
            Fail("a visible window belongs to no form of the screen: " + GetClassName(top) + " '" +
                 GetWindowText(top) + "'");
    }
}

void TSoakDriver::Fail(const std::string& why) {
    std::fprintf(stderr, "soak: FAILED at event %llu of %llu (run %d): %s\n",
                 static_cast<unsigned long long>(m_stats.events),
                 static_cast<unsigned long long>(m_options.events), m_stats.runs, why.c_str());
    std::fprintf(stderr, "soak: the last events:\n");
    for (const std::string& line : m_recent)
        std::fprintf(stderr, "  %s\n", line.c_str());
    std::fprintf(stderr, "soak: replay: %s\n", m_options.replay.c_str());
    if (!m_options.outDir.empty()) {
        int n = 0;
        for (HWND top = GetTopWindow(nullptr); top; top = GetWindow(top, GW_HWNDNEXT)) {
            if (!IsWindowVisible(top))
                continue;
            std::string path = m_options.outDir + "/failure-" + std::to_string(++n) + ".png";
            if (hl::SavePng(top, path))
                std::fprintf(stderr, "soak: window '%s' saved as %s\n", GetWindowText(top).c_str(),
                             path.c_str());
        }
    }
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace soak
