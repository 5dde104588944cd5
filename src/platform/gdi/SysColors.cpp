#include "platform/gdi/SysColors.h"

namespace platform::gdi {

ColorRef GetSysColor(int index) {
    static constexpr ColorRef table[COLOR_ENDCOLORS] = {
        RGB(192, 192, 192), // scroll bar
        RGB(0, 128, 128),   // desktop
        RGB(0, 0, 128),     // active caption
        RGB(128, 128, 128), // inactive caption
        RGB(192, 192, 192), // menu
        RGB(255, 255, 255), // window
        RGB(0, 0, 0),       // window frame
        RGB(0, 0, 0),       // menu text
        RGB(0, 0, 0),       // window text
        RGB(255, 255, 255), // caption text
        RGB(192, 192, 192), // active border
        RGB(192, 192, 192), // inactive border
        RGB(128, 128, 128), // application workspace
        RGB(0, 0, 128),     // highlight
        RGB(255, 255, 255), // highlight text
        RGB(192, 192, 192), // button face
        RGB(128, 128, 128), // button shadow
        RGB(128, 128, 128), // grey text
        RGB(0, 0, 0),       // button text
        RGB(192, 192, 192), // inactive caption text
        RGB(255, 255, 255), // button highlight
        RGB(0, 0, 0),       // 3-D dark shadow
        RGB(223, 223, 223), // 3-D light
        RGB(0, 0, 0),       // info text
        RGB(255, 255, 225), // info background
    };
    if (index < 0 || index >= COLOR_ENDCOLORS)
        return 0;
    return table[index];
}

} // namespace platform::gdi
