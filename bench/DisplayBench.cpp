// The window manager's hot paths: putting a form-sized back buffer on screen and passing a
// message through the queue to a window procedure.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "platform/display/Headless.h"
#include "platform/display/WindowManager.h"

using namespace platform;

namespace {

LRESULT Quiet(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER)
        return LRESULT(wParam + 1);
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

HWND MakeForm(int width, int height) {
    if (!ClassRegistered("BenchForm")) {
        WNDCLASS cls;
        cls.className = "BenchForm";
        cls.lpfnWndProc = Quiet;
        cls.background = 0xC0C0C0;
        RegisterClass(cls);
    }
    HWND h = CreateWindowEx(0, "BenchForm", "bench", WS_POPUP | WS_CAPTION, 20, 20, width, height,
                            nullptr);
    ShowWindow(h, SW_SHOW);
    return h;
}

// Presents the whole 649 x 489 back buffer of a form on the X server (Xvfb under the test
// scripts); `shm` chooses shared memory or plain XPutImage.
void PresentOnX11(benchmark::State& state, bool shm) {
    const char* display = std::getenv("ZORVANE_E2E_DISPLAY");
    if (display)
        setenv("DISPLAY", display, 1);
    if (shm)
        unsetenv("ZORVANE_X11_NOSHM");
    else
        setenv("ZORVANE_X11_NOSHM", "1", 1);
    auto backend = MakeX11Backend();
    if (!backend) {
        state.SkipWithError("no X display (set DISPLAY or ZORVANE_E2E_DISPLAY)");
        return;
    }
    WindowManager::Reset(std::move(backend));
    WindowManager& wm = WindowManager::Instance();
    HWND form = MakeForm(649, 489);
    // Wait for the window to be mapped; until then nothing is presented.
    for (int i = 0; i < 200; ++i) {
        wm.PumpUntilIdle();
        wm.Backend().Poll(5);
    }
    Window* w = wm.Get(form);
    Rect all{0, 0, 649, 489};
    for (auto _ : state)
        wm.Backend().Present(form, wm.BufferOf(w), all);
    state.SetBytesProcessed(state.iterations() * 649LL * 489 * 4);
    WindowManager::Reset(nullptr);
    unsetenv("ZORVANE_X11_NOSHM");
}

void BM_PresentBackBufferShm(benchmark::State& state) {
    PresentOnX11(state, true);
}
void BM_PresentBackBufferPutImage(benchmark::State& state) {
    PresentOnX11(state, false);
}
BENCHMARK(BM_PresentBackBufferShm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PresentBackBufferPutImage)->Unit(benchmark::kMicrosecond);

// Post, peek with removal, dispatch: one message through the queue.
void BM_PostPeekDispatch(benchmark::State& state) {
    headless::Start();
    HWND form = MakeForm(649, 489);
    headless::Run();
    MSG msg;
    for (auto _ : state) {
        PostMessage(form, WM_USER, 1, 0);
        PeekMessage(msg, nullptr, 0, 0, PM_REMOVE);
        benchmark::DoNotOptimize(DispatchMessage(msg));
    }
    headless::Stop();
}
BENCHMARK(BM_PostPeekDispatch);

void BM_SendMessage(benchmark::State& state) {
    headless::Start();
    HWND form = MakeForm(649, 489);
    for (auto _ : state)
        benchmark::DoNotOptimize(SendMessage(form, WM_USER, 1, 0));
    headless::Stop();
}
BENCHMARK(BM_SendMessage);

// A whole form repainted: invalidation, WM_PAINT, erase with the class colour, presentation.
void BM_RepaintForm(benchmark::State& state) {
    headless::Start();
    HWND form = MakeForm(649, 489);
    for (int i = 0; i < 20; ++i)
        CreateWindowEx(WS_EX_CLIENTEDGE, WC_EDIT, "1900", WS_CHILD | WS_VISIBLE, 10 + 30 * i,
                       10 + 20 * i, 60, 21, form);
    headless::Run();
    for (auto _ : state) {
        InvalidateRect(form, nullptr, true);
        headless::Run();
    }
    headless::Stop();
}
BENCHMARK(BM_RepaintForm)->Unit(benchmark::kMicrosecond);

// One key typed at the end of a long single-line edit text (a big paste, then typing).
void BM_EditTypeInLongText(benchmark::State& state) {
    headless::Start();
    HWND form = MakeForm(649, 489);
    HWND edit =
        CreateWindowEx(WS_EX_CLIENTEDGE, WC_EDIT, std::string(std::size_t(state.range(0)), 'x'),
                       WS_CHILD | WS_VISIBLE, 10, 10, 200, 21, form);
    SetFocus(edit);
    headless::Run();
    headless::Key(VK_END);
    for (auto _ : state) {
        headless::Type("a");
        headless::Key(VK_BACK);
    }
    headless::Stop();
}
BENCHMARK(BM_EditTypeInLongText)->Arg(200)->Arg(4000)->Unit(benchmark::kMillisecond);

} // namespace
