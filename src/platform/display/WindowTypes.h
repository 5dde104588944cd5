#pragma once
// The plain values the window manager trades in: handles, message parameters, the message record
// and the records that messages point at. They keep the shapes the frame was written against.
//
// Conventions where the classic API would use character buffers: text is UTF-8 throughout;
// WM_SETTEXT, CB_ADDSTRING and the like take a `const char*` in lParam; WM_GETTEXT and
// CB_GETLBTEXT take a `std::string*` in lParam and fill it; WM_CHAR carries a Unicode code point.
#include <cstdint>
#include <string>

#include "platform/gdi/GdiTypes.h"

namespace platform {

using gdi::ColorRef;
using gdi::Point;
using gdi::Rect;
using gdi::Size;

// A window handle. Handles are never reused while the process runs, so a stale one is simply not
// a window any more.
struct HWND__;
using HWND = HWND__*;

using UINT = unsigned;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using DWORD = std::uint32_t;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

constexpr LPARAM MAKELPARAM(int lo, int hi) {
    return LPARAM(std::uint32_t((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}
constexpr WPARAM MAKEWPARAM(int lo, int hi) {
    return WPARAM(MAKELPARAM(lo, hi));
}
constexpr int LOWORD(std::uintptr_t v) {
    return int(v & 0xFFFF);
}
constexpr int HIWORD(std::uintptr_t v) {
    return int((v >> 16) & 0xFFFF);
}
// Signed coordinates packed in an lParam.
constexpr int GET_X_LPARAM(LPARAM l) {
    return int(std::int16_t(l & 0xFFFF));
}
constexpr int GET_Y_LPARAM(LPARAM l) {
    return int(std::int16_t((l >> 16) & 0xFFFF));
}
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM w) {
    return int(std::int16_t((w >> 16) & 0xFFFF));
}

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    Point pt;
    // For key-down messages that came with text from the keyboard layout: the character that
    // TranslateMessage turns into WM_CHAR (0 when the key produces none or the layout is unknown).
    char32_t character = 0;
    // With Alt held: what the same key types in the keyboard's other layouts (0 where none), so
    // an accelerator letter is found whichever layout is active.
    char32_t otherLayouts[3] = {};
    // For input (key and mouse) messages: the modifiers and buttons held as the input came
    // (kInputState bits), which GetKeyState reports once the message is taken from the queue.
    std::uint8_t inputState = 0;
};
enum : std::uint8_t {
    kStateShift = 1,
    kStateControl = 2,
    kStateMenu = 4,
    kStateLButton = 8,
    kStateRButton = 16,
    kStateMButton = 32,
    kStateCarried = 0x80 // the message carries a state
};

struct CREATESTRUCT {
    void* lpCreateParams = nullptr;
    HWND hwndParent = nullptr;
    std::intptr_t hMenu = 0; // the control id of a child window
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    DWORD style = 0;
    const char* lpszName = "";
    const char* lpszClass = "";
    DWORD dwExStyle = 0;
};

struct WINDOWPOS {
    HWND hwnd = nullptr;
    HWND hwndInsertAfter = nullptr;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
};

struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    // The colour that WM_ERASEBKGND fills with, or -1 (no background: the window paints all).
    std::int64_t background = -1;
    std::string className;
};

namespace gdi {
class DeviceContext;
}
using HDC = gdi::DeviceContext*;

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    bool fErase = false;
    Rect rcPaint;
};

struct DRAWITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = 0;
    UINT itemState = 0;
    HWND hwndItem = nullptr;
    HDC hDC = nullptr;
    Rect rcItem;
    std::uintptr_t itemData = 0;
};

struct NMHDR {
    HWND hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    int code = 0;
};

struct NMUPDOWN {
    NMHDR hdr;
    int iPos = 0;
    int iDelta = 0;
};

struct MONITORINFO {
    Rect rcMonitor;
    Rect rcWork;
    DWORD dwFlags = 0; // MONITORINFOF_PRIMARY
};
using HMONITOR = std::uintptr_t;

} // namespace platform
