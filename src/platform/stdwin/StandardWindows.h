#pragma once
// The standard windows every window manager offers: push button, edit, combo box with its
// drop-down list, up-down, progress bar, and the message box and pop-up menu built from them.
namespace platform {

class WindowManager;

// Registers the standard window classes with a fresh window manager.
void RegisterStandardWindowClasses(WindowManager& wm);

} // namespace platform
