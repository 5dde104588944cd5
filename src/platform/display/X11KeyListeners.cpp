// Keys for screen readers that take them before the program (their own commands): the key as X
// gave it, in the accessibility module's terms.
#include "platform/a11y/Accessibility.h"
#include "platform/display/X11Keys.h"
#include "rtl/Utf8.h"

#include <X11/Xlib.h>

namespace platform::x11 {

bool OfferKeyToListeners(bool press, unsigned state, KeySym ks, unsigned keycode, Time time,
                         const std::u32string& text) {
    if (a11y::CurrentBridgeState() != a11y::BridgeState::Started)
        return false;
    a11y::KeyEvent key;
    key.press = press;
    key.modifiers = state;
    key.keysym = unsigned(ks);
    key.keycode = keycode;
    key.timeMs = unsigned(time);
    if (!text.empty()) {
        key.text = rtl::U32ToUtf8(text);
    } else if (const char* name = XKeysymToString(ks)) {
        key.text = name;
    }
    return a11y::NotifyKeyEvent(key);
}

} // namespace platform::x11

namespace platform::a11y {

std::string AltKeyBinding(char32_t letter) {
    // Latin letters are their own keysyms; the others are found among the legacy Cyrillic ones
    // (0x6a1..0x6ff), whose names screen readers know ("Cyrillic_de").
    constexpr KeySym kCyrillicFirst = 0x6a1;
    constexpr KeySym kCyrillicLast = 0x6ff;
    KeySym found = NoSymbol;
    if (letter >= U'a' && letter <= U'z')
        found = KeySym(letter);
    for (KeySym ks = kCyrillicFirst; !found && ks <= kCyrillicLast; ++ks)
        if (x11::KeysymToCodePoint(ks) == letter)
            found = ks;
    const char* name = found != NoSymbol ? XKeysymToString(found) : nullptr;
    return name ? std::string("<Alt>") + name : std::string();
}

} // namespace platform::a11y
