#include <benchmark/benchmark.h>

#include "app/BiorhythmModel.h"

// One month as the result form computes it: 32 points of four series and the three lists.
static void BM_ComputeMonth(benchmark::State& state) {
    app::TCyclePhases phases = app::ComputePhases(app::DateFromProgramText("15.3.1980"),
                                                  app::DateFromProgramText("1.3.2000"));
    for (auto _ : state) {
        app::TMonthResult r = app::ComputeMonth(phases, 2, 2000);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_ComputeMonth);

// The whole "Next" step: both date texts read, phases, and the month.
static void BM_NextStep(benchmark::State& state) {
    for (auto _ : state) {
        app::TCyclePhases phases =
            app::ComputePhases(app::DateFromProgramText(app::BirthDateText(15, 3, 1980)),
                               app::DateFromProgramText(app::PeriodStartText(2, "2000")));
        app::TMonthResult r = app::ComputeMonth(phases, 2, 2000);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_NextStep);
