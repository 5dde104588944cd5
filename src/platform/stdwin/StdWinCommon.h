#pragma once
// What the standard windows share: their per-window state, the font they draw with, the
// dispatch of their messages by family, the notifications to their parent, and the pieces of
// the classic 3-D look.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "platform/display/WindowApi.h"
#include "platform/display/WindowManager.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/SysColors.h"

namespace platform::stdwin {

// Base of every standard window's state: the font it draws with.
struct ControlState : WindowExtra {
    gdi::FontSpec font = DefaultFont();
    static gdi::FontSpec DefaultFont();
    // The font has just changed; windows that measure or hold other windows follow it here.
    virtual void FontChanged(HWND hwnd, bool redraw) {
        (void)hwnd;
        (void)redraw;
    }
};

// The state of a window, made on first use (T derives from ControlState). Only a window's own
// procedure calls this: the state is made as its first message arrives.
template <typename T> T* State(HWND hwnd) {
    Window* w = WindowManager::Instance().Get(hwnd);
    if (!w)
        return nullptr;
    if (!w->extra)
        w->extra = std::make_unique<T>();
    return static_cast<T*>(w->extra.get());
}

// The state of a window of kind T for the typed calls: null when the handle is not (or no
// longer) a window, or a window of another kind.
template <typename T> T* StateOf(HWND hwnd) {
    if (!WindowManager::Exists())
        return nullptr;
    Window* w = WindowManager::Instance().Get(hwnd);
    return w ? dynamic_cast<T*>(w->extra.get()) : nullptr;
}

// One window message as the procedure's family handlers see it.
struct Message {
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
// A family handler's answer: the result for a message of its family, nothing for the others.
using Answer = std::optional<LRESULT>;
template <typename T> using Family = Answer (*)(HWND, T&, const Message&);

// A standard window's procedure: its state, then each family in turn until one answers; what
// none takes goes to DefWindowProc. A family may destroy the window: nothing is touched after it.
template <typename T, std::size_t N>
LRESULT DispatchFamilies(HWND hwnd, const Message& m, const Family<T> (&families)[N]) {
    T* state = State<T>(hwnd);
    if (!state)
        return 0;
    for (Family<T> family : families) {
        if (Answer answer = family(hwnd, *state, m))
            return *answer;
    }
    return DefWindowProc(hwnd, m.msg, m.wParam, m.lParam);
}

// Sets the font a window draws with and tells its state.
void ApplyFont(HWND hwnd, ControlState& state, const gdi::FontSpec& font, bool redraw);
// WM_SETFONT (wParam: a gdi::FontSpec*, copied; null: the default font; lParam: redraw) and
// WM_GETFONT (answers a pointer to the window's font).
Answer FontMessage(HWND hwnd, ControlState& state, const Message& m);
template <typename T> Answer FontFamily(HWND hwnd, T& state, const Message& m) {
    return FontMessage(hwnd, state, m);
}

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

// Whether the user's language (LC_ALL, LC_MESSAGES, LANG) is Russian: the standard windows'
// own captions (message box buttons, the edit field's menu) follow it.
bool RussianUi();
// The letter a caption marks as its accelerator with "&" ("&Yes": Y; "&&" is a plain
// ampersand), or 0.
char32_t AcceleratorOf(const std::string& caption);
// The whole notches of a turn of the wheel (WM_MOUSEWHEEL's wParam); away from the user is
// positive.
int WheelNotches(WPARAM wParam);

// UTF-8 <-> code points.
std::u32string ToU32(const std::string& utf8);
std::string ToUtf8(const std::u32string& text);
// Lower case for comparing without regard to case: Latin and Cyrillic letters.
char32_t FoldCase(char32_t c);
std::u32string FoldCase(const std::string& utf8);

} // namespace platform::stdwin
