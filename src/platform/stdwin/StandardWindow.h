#pragma once
// The standard windows' own calls, typed: what a program asks of an edit box, a combo box, an
// up-down, a progress bar or a button it made. Each kind has a class of its own (EditWindow.h,
// ComboBoxWindow.h ...), a handle with that kind's calls. A handle that is not (or no longer) a
// window of the kind makes every call a quiet no-op answering 0, false or empty, as a message to
// it would. What a window tells its parent still comes as a message (WM_COMMAND, WM_NOTIFY,
// WM_VSCROLL ...), through the window procedures.
#include "platform/display/WindowTypes.h"
#include "platform/gdi/GdiTypes.h"

namespace platform::stdwin {

// The ends of an up-down's or a progress bar's range, as they were set (lower may exceed upper).
struct IntRange {
    int lower = 0;
    int upper = 0;
};

class StandardWindow {
public:
    explicit StandardWindow(HWND hwnd) : m_hwnd(hwnd) {}
    HWND Handle() const { return m_hwnd; }

    // The font the window draws with (copied); `redraw` repaints it now.
    void SetFont(const gdi::FontSpec& font, bool redraw = true);

protected:
    HWND m_hwnd;
};

} // namespace platform::stdwin
