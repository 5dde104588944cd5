#pragma once
// What a user could aim at now: every visible window of the program (forms, their windowed and
// windowless controls, a dropped-down list, a message box and its buttons), each with its place on
// the screen and what kind of thing it is.
#include <string>
#include <vector>

#include "platform/display/WindowTypes.h"

namespace frame {
class TControl;
}

namespace soak {

enum class TKind {
    Form,      // a form's own client area
    Button,    // a push or glyph button
    MainExit,  // a close-kind button of the main form: it ends the run
    Edit,      // an edit box (also a combo box's field)
    Combo,     // a combo box
    DropList,  // a combo box's dropped-down list
    Calendar,  // the month calendar
    UpDown,    // a spinner
    Picture,   // an image control
    Chart,     // a chart
    Static,    // labels, panels, bevels and the like
    Box,       // a top-level window that is none of our forms: a message box
    BoxButton, // a button on such a window
    Hint,      // the hint window
};
const char* KindName(TKind kind);

struct TTarget {
    TKind kind = TKind::Static;
    platform::Rect rect;                // on the screen
    platform::HWND top = nullptr;       // its top-level window
    platform::HWND window = nullptr;    // its own window (null for a windowless control)
    frame::TControl* control = nullptr; // null for a standard window with no frame control
    std::string name;                   // for the event log
};

// Front to back, as the windows are stacked.
std::vector<TTarget> VisibleTargets();

// The first visible top-level window that is no frame form and no drop-down list (a message box),
// or null.
platform::HWND VisibleBox();

// The main form's window, or null while there is none.
platform::HWND MainWindow();

} // namespace soak
