// Copies between image contexts: an off-screen chart image onto a window's back buffer (the
// result form's four charts are painted this way), unscaled and stretched.
#include <benchmark/benchmark.h>

#include "platform/gdi/DeviceContext.h"

namespace {

using platform::gdi::Bitmap;
using platform::gdi::DeviceContext;
using platform::gdi::Rect;

void BlitInto(benchmark::State& state, int w, int h, bool alphaTarget) {
    Bitmap source(w, h, 0x336699);
    Bitmap target(w + 20, h + 20, 0xFFFFFF, alphaTarget);
    auto dc = DeviceContext::ForBitmap(target);
    for (auto _ : state) {
        dc->BitBlt(10, 10, source, Rect{0, 0, w, h});
        benchmark::DoNotOptimize(target.Data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * w * h * 4);
}

void BM_BitBltChart1000x600(benchmark::State& state) {
    BlitInto(state, 1000, 600, false);
}
BENCHMARK(BM_BitBltChart1000x600);

void BM_BitBltChart633x137(benchmark::State& state) {
    BlitInto(state, 633, 137, false);
}
BENCHMARK(BM_BitBltChart633x137);

void BM_BitBltOntoAlphaImage1000x600(benchmark::State& state) {
    BlitInto(state, 1000, 600, true);
}
BENCHMARK(BM_BitBltOntoAlphaImage1000x600);

// The stretched copy keeps its nearest-pixel walk: the reference for the unscaled path.
void BM_StretchBlt1000x600(benchmark::State& state) {
    Bitmap source(500, 300, 0x336699);
    Bitmap target(1000, 600);
    auto dc = DeviceContext::ForBitmap(target);
    for (auto _ : state) {
        dc->StretchBlt(Rect{0, 0, 1000, 600}, source, Rect{0, 0, 500, 300});
        benchmark::DoNotOptimize(target.Data());
    }
}
BENCHMARK(BM_StretchBlt1000x600);

} // namespace
