#include "platform/display/X11Keys.h"

#include <algorithm>
#include <string_view>

#include "platform/display/Messages.h"
#include "rtl/Utf8.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace platform::x11 {

int KeysymToVk(KeySym ks) {
    if (ks >= XK_a && ks <= XK_z)
        return int(ks - XK_a + 'A');
    if (ks >= XK_A && ks <= XK_Z)
        return int(ks);
    if (ks >= XK_0 && ks <= XK_9)
        return int(ks);
    if (ks >= XK_F1 && ks <= XK_F12)
        return int(VK_F1 + (ks - XK_F1));
    switch (ks) {
    case XK_BackSpace:
        return VK_BACK;
    case XK_Tab:
    case XK_ISO_Left_Tab:
        return VK_TAB;
    case XK_Return:
    case XK_KP_Enter:
        return VK_RETURN;
    case XK_Escape:
        return VK_ESCAPE;
    case XK_space:
        return VK_SPACE;
    case XK_Prior:
    case XK_KP_Prior:
        return VK_PRIOR;
    case XK_Next:
    case XK_KP_Next:
        return VK_NEXT;
    case XK_End:
    case XK_KP_End:
        return VK_END;
    case XK_Home:
    case XK_KP_Home:
        return VK_HOME;
    case XK_Left:
    case XK_KP_Left:
        return VK_LEFT;
    case XK_Up:
    case XK_KP_Up:
        return VK_UP;
    case XK_Right:
    case XK_KP_Right:
        return VK_RIGHT;
    case XK_Down:
    case XK_KP_Down:
        return VK_DOWN;
    case XK_Insert:
    case XK_KP_Insert:
        return VK_INSERT;
    case XK_Delete:
    case XK_KP_Delete:
        return VK_DELETE;
    case XK_Menu:
        return VK_APPS;
    case XK_Shift_L:
    case XK_Shift_R:
        return VK_SHIFT;
    case XK_Control_L:
    case XK_Control_R:
        return VK_CONTROL;
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Meta_R:
        return VK_MENU;
    case XK_Pause:
        return VK_PAUSE;
    case XK_Caps_Lock:
        return VK_CAPITAL;
    default:
        return 0;
    }
}

namespace {

bool Printable(char32_t c) {
    return c >= 0x20 && c != 0x7F;
}

// Keysyms 0x1000000 + c are the code point c.
constexpr KeySym kUnicodeKeysymBase = 0x1000000;
constexpr char32_t kMaxCodePoint = 0x10FFFF;
// The legacy Cyrillic block: 0x6a1..0x6bf the letters of the other Cyrillic alphabets and "№",
// 0x6c0..0x6df the lower case Russian letters in KOI8 order, 0x6e0..0x6ff their capitals.
constexpr KeySym kCyrillicFirst = 0x6a1;
constexpr KeySym kCyrillicLower = 0x6c0;
constexpr KeySym kCyrillicUpper = 0x6e0;
constexpr KeySym kCyrillicLast = 0x6ff;
constexpr char32_t kCyrillicOthers[] = {
    0x0452, 0x0453, 0x0451, 0x0454, 0x0455, 0x0456, 0x0457, 0x0458, 0x0459, 0x045A, 0x045B,
    0x045C, 0x0491, 0x045E, 0x045F, 0x2116, 0x0402, 0x0403, 0x0401, 0x0404, 0x0405, 0x0406,
    0x0407, 0x0408, 0x0409, 0x040A, 0x040B, 0x040C, 0x0490, 0x040E, 0x040F,
};
constexpr char32_t kCyrillicKoi8Lower[] = {
    0x044E, 0x0430, 0x0431, 0x0446, 0x0434, 0x0435, 0x0444, 0x0433, 0x0445, 0x0438, 0x0439,
    0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x044F, 0x0440, 0x0441, 0x0442, 0x0443,
    0x0436, 0x0432, 0x044C, 0x044B, 0x0437, 0x0448, 0x044D, 0x0449, 0x0447, 0x044A,
};
constexpr char32_t kCapitalOffset = 0x20; // А..Я lie 0x20 below а..я

} // namespace

std::u32string DecodeUtf8(const char* s, int n) {
    std::u32string out;
    for (char32_t c : rtl::Utf8ToU32(std::string_view(s, std::size_t(std::max(n, 0))))) {
        if (Printable(c))
            out.push_back(c);
    }
    return out;
}

char32_t KeysymToCodePoint(KeySym ks) {
    if ((ks >= 0x20 && ks <= 0x7E) || (ks >= 0xA0 && ks <= 0xFF))
        return char32_t(ks); // Latin-1 keysyms are their code points
    if (ks >= kUnicodeKeysymBase && ks - kUnicodeKeysymBase <= kMaxCodePoint)
        return char32_t(ks - kUnicodeKeysymBase);
    if (ks >= kCyrillicFirst && ks < kCyrillicLower)
        return kCyrillicOthers[ks - kCyrillicFirst];
    if (ks >= kCyrillicLower && ks < kCyrillicUpper)
        return kCyrillicKoi8Lower[ks - kCyrillicLower];
    if (ks >= kCyrillicUpper && ks <= kCyrillicLast)
        return kCyrillicKoi8Lower[ks - kCyrillicUpper] - kCapitalOffset;
    if (ks == XK_EuroSign)
        return 0x20AC;
    return 0;
}

std::u32string TextWithoutInputMethod(const char* bytes, int n, KeySym ks) {
    std::u32string out;
    bool ascii = n > 0;
    for (int i = 0; i < n && ascii; ++i)
        ascii = static_cast<unsigned char>(bytes[i]) < 0x80;
    if (ascii) {
        for (int i = 0; i < n; ++i) {
            if (Printable(char32_t(bytes[i])))
                out.push_back(char32_t(bytes[i]));
        }
        return out;
    }
    if (char32_t c = KeysymToCodePoint(ks); Printable(c))
        out.push_back(c);
    return out;
}

std::u32string KeyInOtherLayouts(_XDisplay* display, unsigned keycode, bool shift, char32_t typed) {
    constexpr std::size_t kMost = 3;
    std::u32string out;
    for (int group = 0; group < XkbNumKbdGroups && out.size() < kMost; ++group) {
        KeySym ks = XkbKeycodeToKeysym(display, KeyCode(keycode), group, shift ? 1 : 0);
        char32_t c = KeysymToCodePoint(ks);
        if (Printable(c) && c != typed && out.find(c) == std::u32string::npos)
            out.push_back(c);
    }
    return out;
}

} // namespace platform::x11
