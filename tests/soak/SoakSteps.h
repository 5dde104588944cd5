#pragma once
// Building actions from steps: mouse steps and key strokes with their modifiers.
#include "SoakDriver.h"
#include "platform/display/Headless.h"

namespace soak {

inline TStep MakeStep(TStep::TStepKind kind, int pauseMs) {
    TStep s;
    s.kind = kind;
    s.pauseMs = pauseMs;
    return s;
}

inline void AddMouse(TAction& a, TStep::TStepKind kind, platform::Point at, int pauseMs,
                     int button = 1) {
    TStep s = MakeStep(kind, pauseMs);
    s.at = at;
    s.button = button;
    a.steps.push_back(s);
}

// Modifiers down (Shift, Ctrl, Alt), the key with the character it types, the key up, the
// modifiers up in reverse order.
inline void AddKeyStroke(TAction& a, int vk, unsigned mods, char32_t ch, int pauseMs) {
    namespace hl = platform::headless;
    const int modKeys[][2] = {{hl::kShift, platform::VK_SHIFT},
                              {hl::kCtrl, platform::VK_CONTROL},
                              {hl::kAlt, platform::VK_MENU}};
    for (auto& m : modKeys) {
        if (mods & unsigned(m[0])) {
            TStep s = MakeStep(TStep::KeyDown, pauseMs);
            s.vk = m[1];
            a.steps.push_back(s);
            pauseMs = 0;
        }
    }
    TStep down = MakeStep(TStep::KeyDown, pauseMs);
    down.vk = vk;
    down.ch = ch;
    a.steps.push_back(down);
    TStep up = MakeStep(TStep::KeyUp, 0);
    up.vk = vk;
    a.steps.push_back(up);
    for (int i = 2; i >= 0; --i) {
        if (mods & unsigned(modKeys[i][0])) {
            TStep s = MakeStep(TStep::KeyUp, 0);
            s.vk = modKeys[i][1];
            a.steps.push_back(s);
        }
    }
}

} // namespace soak
