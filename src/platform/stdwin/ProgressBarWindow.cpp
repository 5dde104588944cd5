// The progress bar: a sunken well filled from the left in blocks of the highlight colour.
#include "platform/stdwin/ProgressBarWindow.h"

#include <algorithm>
#include <utility>

#include "platform/stdwin/StdWinCommon.h"
#include "platform/stdwin/StdWinPrivate.h"

namespace platform::stdwin {

namespace {

struct ProgressState : ControlState {
    int lower = 0;
    int upper = 100;
    int pos = 0;
    int step = 10;
};

int SetPos(HWND hwnd, ProgressState& s, long long v) {
    int old = s.pos;
    int lo = std::min(s.lower, s.upper), hi = std::max(s.lower, s.upper);
    s.pos = int(std::clamp<long long>(v, lo, hi));
    if (s.pos != old)
        InvalidateRect(hwnd, nullptr, false);
    return old;
}

void Paint(HWND hwnd, ProgressState& s) {
    PaintScope paint(hwnd);
    HDC dc = paint.dc;
    if (!dc)
        return;
    Rect c = paint.client;
    dc->FillRect(c, SysBrush(gdi::COLOR_BTNFACE));
    dc->DrawEdge(c, gdi::BDR_SUNKENOUTER, gdi::BF_RECT);
    Rect well = Inflate(c, -2);
    long long range = (long long)s.upper - s.lower;
    if (range > 0 && well.Width() > 0) {
        int filled = int((long long)(s.pos - s.lower) * well.Width() / range);
        int block = std::max(2, well.Height() * 2 / 3);
        for (int x = 0; x < filled; x += block + 2) {
            Rect b{well.left + x, well.top, well.left + std::min(x + block, filled), well.bottom};
            dc->FillRect(b, SysBrush(gdi::COLOR_HIGHLIGHT));
        }
    }
}

// Sets the range and brings the position within it; returns the range before, packed.
LRESULT SetRange(HWND hwnd, ProgressState& s, int lower, int upper) {
    LRESULT old = MAKELPARAM(s.lower, s.upper);
    s.lower = lower;
    s.upper = upper;
    SetPos(hwnd, s, s.pos);
    InvalidateRect(hwnd, nullptr, false);
    return old;
}

int StepIt(HWND hwnd, ProgressState& s) {
    // Stepping past the end starts again from the beginning.
    long long next = (long long)s.pos + s.step;
    if (next > std::max(s.lower, s.upper))
        next = std::min(s.lower, s.upper) + (next - std::max(s.lower, s.upper));
    return SetPos(hwnd, s, next);
}

Answer WindowMessage(HWND hwnd, ProgressState& s, const Message& m) {
    switch (m.msg) {
    case WM_PAINT:
        Paint(hwnd, s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return std::nullopt;
    }
}

// The PBM_ messages: what ProgressBarWindow offers, by message.
Answer ProgressMessage(HWND hwnd, ProgressState& s, const Message& m) {
    switch (m.msg) {
    case PBM_SETRANGE:
        return SetRange(hwnd, s, LOWORD(std::uintptr_t(m.lParam)),
                        HIWORD(std::uintptr_t(m.lParam)));
    case PBM_SETRANGE32:
        return SetRange(hwnd, s, int(std::intptr_t(m.wParam)), int(m.lParam));
    case PBM_GETRANGE:
        return m.wParam ? s.lower : s.upper;
    case PBM_SETPOS:
        return SetPos(hwnd, s, std::intptr_t(m.wParam));
    case PBM_DELTAPOS:
        return SetPos(hwnd, s, (long long)s.pos + std::intptr_t(m.wParam));
    case PBM_SETSTEP:
        return std::exchange(s.step, int(std::intptr_t(m.wParam)));
    case PBM_STEPIT:
        return StepIt(hwnd, s);
    case PBM_GETPOS:
        return s.pos;
    default:
        return std::nullopt;
    }
}

LRESULT ProgressProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static constexpr Family<ProgressState> kFamilies[] = {WindowMessage, ProgressMessage};
    return DispatchFamilies(hwnd, Message{msg, wParam, lParam}, kFamilies);
}

} // namespace

void RegisterProgressClass(WindowManager& wm) {
    RegisterStandardClass(wm, PROGRESS_CLASS, ProgressProc);
}

// --- The typed calls ---------------------------------------------------------------------------

void ProgressBarWindow::SetRange(int lower, int upper) {
    if (ProgressState* s = StateOf<ProgressState>(m_hwnd))
        stdwin::SetRange(m_hwnd, *s, lower, upper);
}

IntRange ProgressBarWindow::Range() const {
    ProgressState* s = StateOf<ProgressState>(m_hwnd);
    return s ? IntRange{s->lower, s->upper} : IntRange{};
}

int ProgressBarWindow::SetPos(int pos) {
    ProgressState* s = StateOf<ProgressState>(m_hwnd);
    return s ? stdwin::SetPos(m_hwnd, *s, pos) : 0;
}

int ProgressBarWindow::DeltaPos(int delta) {
    ProgressState* s = StateOf<ProgressState>(m_hwnd);
    return s ? stdwin::SetPos(m_hwnd, *s, (long long)s->pos + delta) : 0;
}

int ProgressBarWindow::GetPos() const {
    ProgressState* s = StateOf<ProgressState>(m_hwnd);
    return s ? s->pos : 0;
}

int ProgressBarWindow::SetStep(int step) {
    ProgressState* s = StateOf<ProgressState>(m_hwnd);
    return s ? std::exchange(s->step, step) : 0;
}

int ProgressBarWindow::StepIt() {
    ProgressState* s = StateOf<ProgressState>(m_hwnd);
    return s ? stdwin::StepIt(m_hwnd, *s) : 0;
}

} // namespace platform::stdwin
