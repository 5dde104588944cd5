#pragma once
// The soak driver: runs the real program (its own start-up and loop, on the headless display) and
// plays a user from a seed. Whenever the program waits for input — in the application's loop, a
// message box's or a modal form's — the driver hands it the next step of a random action (a
// click, a double click, a move, a key, typed text, a close box ...) or lets the clock run for the
// timers. Between actions it checks invariants. A run that the events close (the main form's close
// box, its exit button) ends as the program ends; the next run starts the program again with the
// next event, so one seed is one sequence of events over several runs.
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "SoakRandom.h"
#include "SoakTargets.h"
#include "platform/display/WindowTypes.h"

namespace soak {

// A message box may stay up for this many random events (they may answer it, or not); then the
// driver answers it.
inline constexpr int kFreeBoxEvents = 3;

struct TSoakOptions {
    std::uint64_t seed = 1;
    std::uint64_t events = 1000;
    std::string outDir;   // the help viewer's log, print files, a screenshot on failure
    bool verbose = false; // every event on standard output
    std::string replay;   // the command that replays this run
};

// One step of an action, as the host would deliver it.
struct TStep {
    enum TStepKind { Move, Down, Up, Wheel, KeyDown, KeyUp, CloseBox, AppFocus };
    TStepKind kind = Move;
    platform::Point at;
    int button = 1;
    int delta = 0;
    int vk = 0;
    char32_t ch = 0;
    platform::HWND window = nullptr; // CloseBox: the window; AppFocus: the window regaining it
    bool focusIn = false;
    int pauseMs = 0; // the clock moves this much before the step
};

struct TAction {
    std::string what;
    std::vector<TStep> steps;
};

struct TSoakStats {
    std::uint64_t events = 0;
    int runs = 0;
    int boxesAnswered = 0; // forced answers to message boxes left up
    int boxesSeen = 0;
    int prints = 0;                // PDF files checked
    std::uint64_t resultShown = 0; // events after which the result form was on screen
    std::size_t maxWindows = 0;
    std::size_t maxTimers = 0;
    std::uint64_t clockMs = 0; // simulated time that passed
    double slowestMs = 0;      // the longest the program took over one step, in wall time
    std::string slowest;       // and the action it belonged to
};

class TSoakDriver {
public:
    explicit TSoakDriver(TSoakOptions options);
    // Runs the program until every event is spent; returns 0, or fails the process with a report.
    int Run();
    const TSoakStats& Stats() const { return m_stats; }

private:
    // The headless display's input source.
    void OnWait(int timeoutMs);
    void Deliver(const TStep& step);
    void NextAction();
    TAction RandomAction();
    TAction AnswerBox(platform::HWND box);
    TAction EndingAction();
    bool PlannedAction(TAction& action);

    // Action makers.
    TAction Click(const TTarget& t, bool twice);
    TAction ClickAnywhere();
    TAction MoveMouse();
    TAction TypeText(bool intoField);
    TAction NavigationKey();
    TAction EditingKey();
    TAction AltLetter();
    TAction CloseBox();
    TAction Wheel();
    TAction Pause();
    TAction SwitchAway();
    TAction ResultButton();
    void PlanEntry();

    int UserPause();
    platform::Point PointIn(const TTarget& t);
    platform::Point Inside(const platform::Rect& r);
    std::u32string RandomText();

    // Checks.
    void AfterAction();
    void AfterRun(int status);
    void CheckCycleState();
    void CheckResultForm();
    void CheckWindows();
    void CheckPrint();
    std::string PrintPath() const;
    [[noreturn]] void Fail(const std::string& why);

    TSoakOptions m_options;
    TSoakRandom m_random;
    TSoakStats m_stats;
    TAction m_action;
    std::size_t m_step = 0;
    int m_pauseLeft = 0;
    std::vector<TTarget> m_targets;
    std::deque<std::function<bool(TAction&)>> m_plan;
    std::deque<std::string> m_recent; // the last events, for a failure report
    bool m_ending = false;
    int m_endingActions = 0;
    // Message boxes: how many events one has been up, and the one that was.
    platform::HWND m_box = nullptr;
    int m_boxEvents = 0;
    int m_modalStreak = 0;
    // The cycle state as last seen, to tell what an action changed.
    double m_lastBirth = 0;
    double m_lastPeriod = 0;
    bool m_delivered = false;
    std::chrono::steady_clock::time_point m_deliveredAt;
};

} // namespace soak
