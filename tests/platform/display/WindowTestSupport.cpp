#include "WindowTestSupport.h"

#include <algorithm>

#include "platform/gdi/DeviceContext.h"

namespace platform::test {

LogState& State() {
    static LogState state;
    return state;
}

namespace {

LRESULT LogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    State().log.push_back(Logged{hwnd, msg, wParam, lParam});
    if (State().hook && State().hook(hwnd, msg, wParam, lParam))
        return 0;
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, ps);
        State().paints[hwnd].push_back(ps.rcPaint);
        Rect r;
        GetClientRect(hwnd, r);
        if (dc)
            dc->FillRect(r, gdi::BrushSpec{gdi::BrushStyle::Solid, State().colours[hwnd]});
        EndPaint(hwnd, ps);
        return 0;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

} // namespace

void UseLogWindows() {
    if (!ClassRegistered("LogWindow")) {
        WNDCLASS cls;
        cls.className = "LogWindow";
        cls.lpfnWndProc = LogProc;
        cls.style = CS_DBLCLKS;
        RegisterClass(cls);
    }
    State() = LogState{};
}

HWND MakeTop(Rect screen, ColorRef colour, DWORD style, DWORD exStyle, HWND owner) {
    HWND h = CreateWindowEx(exStyle, "LogWindow", "top", style & ~WS_VISIBLE, screen.left,
                            screen.top, screen.Width(), screen.Height(), owner);
    State().colours[h] = colour;
    if (style & WS_VISIBLE)
        ShowWindow(h, SW_SHOW);
    return h;
}

HWND MakeChild(HWND parent, Rect rect, ColorRef colour, DWORD style, int id) {
    HWND h = CreateWindowEx(0, "LogWindow", "child", style & ~WS_VISIBLE, rect.left, rect.top,
                            rect.Width(), rect.Height(), parent, id);
    State().colours[h] = colour;
    if (style & WS_VISIBLE)
        ShowWindow(h, SW_SHOWNA);
    return h;
}

std::vector<Logged> Only(std::initializer_list<UINT> messages) {
    std::vector<Logged> out;
    for (const Logged& l : State().log)
        if (std::find(messages.begin(), messages.end(), l.message) != messages.end())
            out.push_back(l);
    return out;
}

std::vector<UINT> Numbers(const std::vector<Logged>& log) {
    std::vector<UINT> out;
    for (const Logged& l : log)
        out.push_back(l.message);
    return out;
}

} // namespace platform::test
