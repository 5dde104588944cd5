#pragma once
// The X keyboard's side of the X11 display: keysyms to the windows' virtual keys, the UTF-8
// text an input method returns to code points, and the text of a key without one. Only the X11
// backend includes this.
#include <string>

#include <X11/X.h>

struct _XDisplay; // Display

namespace platform::x11 {

// The virtual key of a keysym (VK_* or the letter or digit itself); 0 for a key without one.
int KeysymToVk(KeySym ks);
// The printable code points of UTF-8 text; control characters are left out, malformed bytes
// are U+FFFD.
std::u32string DecodeUtf8(const char* s, int n);
// The character a keysym types: Unicode keysyms, Latin-1 and the legacy Cyrillic block; 0 for a
// keysym that types none the program knows.
char32_t KeysymToCodePoint(KeySym ks);
// The printable text of a key without an input method: XLookupString's `bytes` are ASCII
// (control characters included, as Ctrl makes them) or the locale's legacy encoding of the
// keysym, which is not UTF-8; anything but ASCII is taken from the keysym instead.
std::u32string TextWithoutInputMethod(const char* bytes, int n, KeySym ks);
// What a key types in each of the keyboard's layouts (XKB groups) other than `typed`, the
// character it gave in the active one: at most three, each once, in group order.
std::u32string KeyInOtherLayouts(_XDisplay* display, unsigned keycode, bool shift, char32_t typed);
// Hands a key to the screen readers that take keys before the program (X11KeyListeners.cpp);
// true when one took it, and the program must then not see it.
bool OfferKeyToListeners(bool press, unsigned state, KeySym ks, unsigned keycode, Time time,
                         const std::u32string& text);

} // namespace platform::x11
