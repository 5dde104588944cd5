#pragma once
// Where a window centred "on the screen" goes when the screen is several monitors: the monitor
// the user is looking at (the one holding the pointer), less the panels the window manager
// publishes. Pure, so the rule is testable without a display.
#include <optional>
#include <vector>

#include "platform/display/WindowTypes.h"

namespace platform {

// `monitors` as the host lists them (the first is the primary one), `workArea` the window
// manager's when it publishes one. Fewer than two monitors: the whole screen, exactly as a
// single screen has always been centred on. Otherwise the monitor under the pointer (else the
// nearest to it), cut to the work area when that leaves anything of it.
Rect CentringArea(const std::vector<Rect>& monitors, Point pointer,
                  const std::optional<Rect>& workArea, Size screen);

} // namespace platform
