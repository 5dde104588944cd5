// "Next" to four painted charts: the program started on the headless display, 15.3.1980 entered,
// and each iteration a "Next" that fills the result form (its series, lists and caption) and the
// loop run until every window has painted and been presented. Once with the form hidden before
// (it shows and fills itself), once with it on screen (refilled, brought to the front); each
// again on a screen at device scale 2 (back buffers of four times the pixels, everything drawn
// at that resolution). The goal is 3 ms; `vs_goal` is the time per "Next" divided by it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <stdexcept>

#include "app/ProgramClasses.h"
#include "app/ProgramForms.h"
#include "app/forms/TIntro.h"
#include "app/forms/TResult.h"
#include "chart/TFastLineSeries.h"
#include "controls/TCalendar.h"
#include "controls/TComboBox.h"
#include "controls/TEdit.h"
#include "frame/forms/TApplication.h"
#include "platform/display/Headless.h"
#include "platform/display/WindowManager.h"

namespace {

constexpr double GoalMs = 3.0;

struct ProgramFixture {
    explicit ProgramFixture(int deviceScale) {
        platform::headless::Start(1280, 1024, deviceScale);
        app::RegisterProgramClasses();
        frame::StartFrame();
        frame::Application->MessageBoxFunction = [](platform::HWND, const std::string& text,
                                                    const std::string&, unsigned) -> int {
            throw std::runtime_error(text);
        };
        app::StartProgram();
        Pump();
        app::TIntro* intro = app::Intro;
        intro->MoveCalendar(1980, 3);
        intro->Calendar->SetDay(15);
        intro->ComboBox2->SetItemIndex(2);
        intro->Edit2->SetText("2000");
        // The first "Next" makes the result form's windows; the iterations measure the later ones.
        intro->BitBtn1Click(intro);
        Pump();
    }
    ~ProgramFixture() {
        frame::EndFrame();
        platform::headless::Stop();
    }
    static void Pump() {
        frame::Application->PumpPending();
        platform::WindowManager::Instance().PresentAll();
    }
};

// Out of line, so that a profiler can collect exactly this step
// (valgrind --tool=callgrind "--toggle-collect=(anonymous namespace)::Next(int)").
[[gnu::noinline]] void Next(int month) {
    app::Intro->ComboBox2->SetItemIndex(2 + month); // March and April by turns
    app::Intro->BitBtn1Click(app::Intro);
    ProgramFixture::Pump();
}

// "Next" once per iteration, after `before` (not timed); reports the mean against the goal.
template <typename Before>
void RunNext(benchmark::State& state, Before before, int deviceScale = 1) {
    ProgramFixture program(deviceScale);
    int month = 0;
    double totalMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        before();
        state.ResumeTiming();
        auto started = std::chrono::steady_clock::now();
        Next(month);
        totalMs +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
                .count();
        month = 1 - month;
    }
    if (!app::Result->Visible() || app::Result->Series4->Count() < 31)
        state.SkipWithError("the result form was not filled");
    state.counters["vs_goal"] = totalMs / double(state.iterations()) / GoalMs;
}

void HideResult() {
    app::Result->HideForm();
    ProgramFixture::Pump();
}

void BM_NextShowsTheResultForm(benchmark::State& state) {
    RunNext(state, HideResult);
}
BENCHMARK(BM_NextShowsTheResultForm)->Unit(benchmark::kMillisecond);

void BM_NextRefillsTheShownResultForm(benchmark::State& state) {
    RunNext(state, [] {});
}
BENCHMARK(BM_NextRefillsTheShownResultForm)->Unit(benchmark::kMillisecond);

void BM_NextShowsTheResultFormAtScale2(benchmark::State& state) {
    RunNext(state, HideResult, 2);
}
BENCHMARK(BM_NextShowsTheResultFormAtScale2)->Unit(benchmark::kMillisecond);

void BM_NextRefillsTheShownResultFormAtScale2(benchmark::State& state) {
    RunNext(
        state, [] {}, 2);
}
BENCHMARK(BM_NextRefillsTheShownResultFormAtScale2)->Unit(benchmark::kMillisecond);

} // namespace
