#pragma once
// The program's font configuration (FontSetUp.cpp): the system's font folders and caches with the
// program's few rules instead of the system's sixty files of them. Started as the program starts,
// it runs on a thread of its own beside the program's own start-up (display, classes, forms)
// instead of holding the first text measured.

namespace platform::gdi {

// Starts the set-up once; later calls do nothing. Without it the first font does the set-up.
void StartFontSetUp();

// Waits until the set-up is done, doing it when none was started (the text layer calls it
// before it first asks for a font). At exit a set-up still running is waited for.
void AwaitFontSetUp();

} // namespace platform::gdi
