#pragma once
// A pop-up menu of commands, such as the edit field's context menu: a caption-less pop-up at a
// point of the screen that never takes the activation (the window it is for keeps the focus and
// its caret). While it is up it holds the mouse and takes every key: Up and Down (Home, End) move
// among the enabled items, Enter chooses, Escape or a click outside dismisses, an item's
// underlined letter (with Alt or without) chooses it; releasing a mouse button over an item
// chooses it.
#include <string>
#include <vector>

#include "platform/display/WindowTypes.h"

namespace platform::stdwin {

struct MenuItem {
    int id = 0;          // what choosing it answers; 0: a separator line
    std::string caption; // "&" marks the accelerator letter
    bool enabled = true; // a disabled item is greyed and cannot be chosen
};

// Shows the menu with its top-left corner at `screen` (to the left or above the point when it
// would leave the screen) for `owner`, the window with the focus, and runs until an item is
// chosen or the menu is dismissed — also when the focus moves, the mouse is taken away, or the
// program quits (the quit is posted again). Returns the chosen item's id, 0 for none.
int TrackPopupMenu(const std::vector<MenuItem>& items, Point screen, HWND owner);

} // namespace platform::stdwin
