// The progress bar: a sunken well filled from the left in blocks of the highlight colour.
#include <algorithm>

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

LRESULT ProgressProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ProgressState* s = State<ProgressState>(hwnd);
    if (!s)
        return 0;
    switch (msg) {
    case WM_PAINT:
        Paint(hwnd, *s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case PBM_SETRANGE: {
        LRESULT old = MAKELPARAM(s->lower, s->upper);
        s->lower = LOWORD(std::uintptr_t(lParam));
        s->upper = HIWORD(std::uintptr_t(lParam));
        SetPos(hwnd, *s, s->pos);
        InvalidateRect(hwnd, nullptr, false);
        return old;
    }
    case PBM_SETRANGE32: {
        LRESULT old = MAKELPARAM(s->lower, s->upper);
        s->lower = int(std::intptr_t(wParam));
        s->upper = int(lParam);
        SetPos(hwnd, *s, s->pos);
        InvalidateRect(hwnd, nullptr, false);
        return old;
    }
    case PBM_GETRANGE:
        return wParam ? s->lower : s->upper;
    case PBM_SETPOS:
        return SetPos(hwnd, *s, std::intptr_t(wParam));
    case PBM_DELTAPOS:
        return SetPos(hwnd, *s, (long long)s->pos + std::intptr_t(wParam));
    case PBM_SETSTEP: {
        int old = s->step;
        s->step = int(std::intptr_t(wParam));
        return old;
    }
    case PBM_STEPIT: {
        // Stepping past the end starts again from the beginning.
        long long next = (long long)s->pos + s->step;
        if (next > std::max(s->lower, s->upper))
            next = std::min(s->lower, s->upper) + (next - std::max(s->lower, s->upper));
        return SetPos(hwnd, *s, next);
    }
    case PBM_GETPOS:
        return s->pos;
    default:
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

} // namespace

void RegisterProgressClass(WindowManager& wm) {
    RegisterStandardClass(wm, PROGRESS_CLASS, ProgressProc);
}

} // namespace platform::stdwin
