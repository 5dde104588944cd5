#pragma once
// A window class that logs the messages it gets and paints itself in a colour of its own, for the
// window manager's tests.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/display/Headless.h"

namespace platform::test {

struct Logged {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// The log, the colour each window paints with, and an optional hook run for each message.
struct LogState {
    std::vector<Logged> log;
    std::map<HWND, ColorRef> colours;
    std::map<HWND, std::vector<Rect>> paints;             // rcPaint of each WM_PAINT
    std::function<bool(HWND, UINT, WPARAM, LPARAM)> hook; // true: handled
};

LogState& State();
// Registers "LogWindow" (once per display) and resets the log.
void UseLogWindows();
HWND MakeTop(Rect screen, ColorRef colour, DWORD style = WS_POPUP | WS_CAPTION | WS_VISIBLE,
             DWORD exStyle = 0, HWND owner = nullptr);
HWND MakeChild(HWND parent, Rect rect, ColorRef colour, DWORD style = WS_CHILD | WS_VISIBLE,
               int id = 0);
// The messages of the given numbers in the log, in order.
std::vector<Logged> Only(std::initializer_list<UINT> messages);
std::vector<UINT> Numbers(const std::vector<Logged>& log);

} // namespace platform::test
