#pragma once
// Fontconfig reads the system's configuration (some sixty files) before the first font can be
// found. Started as the program starts, that runs on a thread of its own beside the program's
// own start-up (display, classes, forms) instead of holding the first text measured.

namespace platform::gdi {

// Starts the set-up once; later calls do nothing. Without it the first font waits for the
// whole set-up, as before.
void StartFontSetUp();

// Waits until a started set-up is done (the text layer calls it before it first asks pango for
// a font). At exit a set-up still running is waited for.
void AwaitFontSetUp();

} // namespace platform::gdi
