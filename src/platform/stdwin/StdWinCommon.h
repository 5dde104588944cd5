#pragma once
// What the standard windows share: their per-window state, the font they draw with, the
// notifications to their parent, and the pieces of the classic 3-D look.
#include <memory>
#include <string>

#include "platform/display/WindowApi.h"
#include "platform/display/WindowManager.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/SysColors.h"

namespace platform::stdwin {

// Base of every standard window's state: the font set with WM_SETFONT.
struct ControlState : WindowExtra {
    gdi::FontSpec font = DefaultFont();
    static gdi::FontSpec DefaultFont();
};

// The state of a window, made on first use (T derives from ControlState).
template <typename T> T* State(HWND hwnd) {
    Window* w = WindowManager::Instance().Get(hwnd);
    if (!w)
        return nullptr;
    if (!w->extra)
        w->extra = std::make_unique<T>();
    return static_cast<T*>(w->extra.get());
}

// Handles WM_SETFONT / WM_GETFONT (wParam: a gdi::FontSpec*, copied). True when handled.
bool HandleFont(HWND hwnd, ControlState& state, UINT msg, WPARAM wParam, LPARAM lParam,
                LRESULT& result);

// BeginPaint for the scope of a window's WM_PAINT; EndPaint however the painting ends. `client`
// is the window's client rectangle, which every painter starts from.
struct PaintScope {
    explicit PaintScope(HWND h) : hwnd(h) {
        dc = BeginPaint(hwnd, ps);
        GetClientRect(hwnd, client);
    }
    ~PaintScope() { EndPaint(hwnd, ps); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HWND hwnd;
    PAINTSTRUCT ps;
    HDC dc = nullptr;
    Rect client;
};

// Registers a standard window class.
void RegisterStandardClass(WindowManager& wm, const char* name, WNDPROC proc, UINT style = 0);

// WM_COMMAND to the parent with the window's id and a notification code.
void NotifyParent(HWND hwnd, int code);

gdi::BrushSpec Solid(ColorRef colour);
gdi::BrushSpec SysBrush(int index);
Rect Inflate(const Rect& r, int d);
// Width of a text in a font, in pixels.
int TextWidth(const gdi::FontSpec& font, const std::string& text);
int TextHeight(const gdi::FontSpec& font);

// The raised frame of a push button (pushed: flat shadow frame); shrinks `r` to the face.
void DrawButtonFrame(gdi::DeviceContext& dc, Rect& r, bool pushed);
enum class Arrow { Up, Down, Left, Right };
// A small filled triangle centred in `r`; disabled arrows are embossed grey.
void DrawArrow(gdi::DeviceContext& dc, const Rect& r, Arrow dir, bool enabled);
// A 3-D button with an arrow (combo box button, up-down halves).
void DrawArrowButton(gdi::DeviceContext& dc, const Rect& r, Arrow dir, bool pushed, bool enabled);

// UTF-8 <-> code points.
std::u32string ToU32(const std::string& utf8);
std::string ToUtf8(const std::u32string& text);
// Lower case for comparing without regard to case: Latin and Cyrillic letters.
char32_t FoldCase(char32_t c);
std::u32string FoldCase(const std::string& utf8);

} // namespace platform::stdwin
