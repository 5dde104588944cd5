#pragma once
// What the window manager offers for a top-level window, from the window's style: the functions
// and decorations of the Motif window-manager hints (_MOTIF_WM_HINTS), which current X window
// managers read. Without them a manager gives every window minimise and maximise buttons; with
// them a fixed-border form whose border icons are the system menu alone gets a title, a close
// box and moving, and nothing else. Pure, so the rule is tested without a display.
#include "platform/display/WindowTypes.h"

namespace platform {

struct MotifWmHints {
    enum : unsigned long { kFunctions = 1, kDecorations = 2 };
    enum : unsigned long {
        kFuncResize = 2,
        kFuncMove = 4,
        kFuncMinimize = 8,
        kFuncMaximize = 16,
        kFuncClose = 32
    };
    enum : unsigned long {
        kDecorBorder = 2,
        kDecorResizeHandle = 4,
        kDecorTitle = 8,
        kDecorMenu = 16,
        kDecorMinimize = 32,
        kDecorMaximize = 64
    };
    // The property's five 32-bit fields, in their order.
    unsigned long flags = kFunctions | kDecorations;
    unsigned long functions = 0;
    unsigned long decorations = 0;
    long inputMode = 0;
    unsigned long status = 0;
};

// As the classic window styles draw a frame: a title with WS_CAPTION; the system menu's close
// box with WS_SYSMENU, and the minimise and maximise boxes only beside it; resizing only with
// WS_THICKFRAME.
MotifWmHints MotifHintsFor(DWORD style);

} // namespace platform
