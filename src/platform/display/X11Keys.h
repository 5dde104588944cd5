#pragma once
// The X keyboard's side of the X11 display: keysyms to the windows' virtual keys, and the UTF-8
// text an input method returns to code points. Only the X11 backend includes this.
#include <string>

#include <X11/X.h>

namespace platform::x11 {

// The virtual key of a keysym (VK_* or the letter or digit itself); 0 for a key without one.
int KeysymToVk(KeySym ks);
// The printable code points of UTF-8 text; control characters are left out.
std::u32string DecodeUtf8(const char* s, int n);

} // namespace platform::x11
