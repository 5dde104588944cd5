#pragma once
// What the standard windows ask of each other (the edit field inside a combo box, the edit box an
// up-down spins), and their class registrations.
#include "platform/display/WindowTypes.h"

namespace platform {
class WindowManager;
}

namespace platform::stdwin {

// A navigation key pressed in an edit field, offered to the combo box around it (Alt held:
// `alt`) or to the up-down spinning it. True: taken.
bool ComboFieldKey(HWND combo, WPARAM vk, bool alt);
bool UpDownBuddyKey(HWND updown, WPARAM vk);
// The wheel turned over an edit field an up-down spins (notches away from the user positive).
// True: taken.
bool UpDownBuddyWheel(HWND updown, int notches);

// The up-down whose buddy is `edit`, if any.
HWND UpDownForBuddy(HWND edit);

void RegisterButtonClass(WindowManager& wm);
void RegisterEditClass(WindowManager& wm);
void RegisterComboClasses(WindowManager& wm);
void RegisterUpDownClass(WindowManager& wm);
void RegisterProgressClass(WindowManager& wm);
void RegisterMessageBoxClass(WindowManager& wm);
void RegisterPopupMenuClass(WindowManager& wm);

} // namespace platform::stdwin
