#pragma once
// Messages the standard windows trade among themselves (the edit field inside a combo box, the
// edit box an up-down spins), and their class registrations.
#include "platform/display/WindowTypes.h"

namespace platform {
class WindowManager;
}

namespace platform::stdwin {

// A navigation key pressed in an edit field that another window may take (wParam: the key,
// lParam: 1 when Alt is held). Non-zero result: taken.
constexpr UINT kComboEditKey = 0x7F01;
constexpr UINT kUpDownBuddyKey = 0x7F02;

// The up-down whose buddy is `edit`, if any.
HWND UpDownForBuddy(HWND edit);

void RegisterButtonClass(WindowManager& wm);
void RegisterEditClass(WindowManager& wm);
void RegisterComboClasses(WindowManager& wm);
void RegisterUpDownClass(WindowManager& wm);
void RegisterProgressClass(WindowManager& wm);
void RegisterMessageBoxClass(WindowManager& wm);

} // namespace platform::stdwin
