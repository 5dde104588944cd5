#pragma once
// Private to src/platform/display: small helpers the WindowManager's files share.
#include "platform/display/WindowManager.h"

namespace platform::detail {

// Calls stay balanced even when a window procedure throws.
struct DepthGuard {
    int& depth;
    explicit DepthGuard(int& d) : depth(d) { ++depth; }
    ~DepthGuard() { --depth; }
};

inline bool HasCaption(DWORD style) {
    return (style & WS_CAPTION) == WS_CAPTION;
}

// Width of the frame we draw ourselves: every child's, and that of top-level windows the host
// does not decorate (pop-ups without a caption).
inline int FrameWidth(const Window* w) {
    if (!w->IsChild() && HasCaption(w->style))
        return 0;
    int t = 0;
    if (w->exStyle & WS_EX_CLIENTEDGE)
        t += 2;
    if (w->exStyle & WS_EX_STATICEDGE)
        t += 1;
    if ((w->exStyle & WS_EX_DLGMODALFRAME) || (w->style & WS_DLGFRAME))
        t += 3;
    else if (w->style & WS_BORDER)
        t += 1;
    return t;
}

inline bool InRange(UINT msg, UINT first, UINT last) {
    if (first == 0 && last == 0)
        return true;
    return msg >= first && msg <= last;
}

} // namespace platform::detail
