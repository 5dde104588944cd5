#pragma once
// The push button's calls: its kind (BS_PUSHBUTTON, BS_DEFPUSHBUTTON, BS_OWNERDRAW), its pushed
// look and a click. A click is reported to the parent (WM_COMMAND BN_CLICKED).
#include "platform/stdwin/StandardWindow.h"

namespace platform::stdwin {

class ButtonWindow : public StandardWindow {
public:
    using StandardWindow::StandardWindow;

    // Replaces the low word of the window's style (the button kind); `redraw` repaints it now.
    void SetStyle(DWORD style, bool redraw = true);
    // BST_PUSHED and BST_FOCUS as they hold now.
    unsigned State() const;
    // Draws it pushed or not, as a held mouse button or Space would.
    void SetPushed(bool pushed);
    void Click();
};

} // namespace platform::stdwin
