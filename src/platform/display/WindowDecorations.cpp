#include "platform/display/WindowDecorations.h"

#include "platform/display/Messages.h"

namespace platform {

MotifWmHints MotifHintsFor(DWORD style) {
    using H = MotifWmHints;
    H hints;
    hints.functions = H::kFuncMove;
    hints.decorations = H::kDecorBorder;
    bool caption = (style & WS_CAPTION) == WS_CAPTION;
    if (caption)
        hints.decorations |= H::kDecorTitle;
    if (style & WS_THICKFRAME) {
        hints.functions |= H::kFuncResize;
        hints.decorations |= H::kDecorResizeHandle;
    }
    if (caption && (style & WS_SYSMENU)) {
        hints.functions |= H::kFuncClose;
        hints.decorations |= H::kDecorMenu;
        if (style & WS_MINIMIZEBOX) {
            hints.functions |= H::kFuncMinimize;
            hints.decorations |= H::kDecorMinimize;
        }
        if (style & WS_MAXIMIZEBOX) {
            hints.functions |= H::kFuncMaximize;
            hints.decorations |= H::kDecorMaximize;
        }
    }
    return hints;
}

} // namespace platform
