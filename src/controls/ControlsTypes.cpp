#include "controls/ControlsTypes.h"

#include "platform/gdi/GdiTypes.h"

namespace controls {

unsigned AlignmentTextFlag(TAlignment alignment) {
    switch (alignment) {
    case taRightJustify:
        return platform::gdi::DT_RIGHT;
    case taCenter:
        return platform::gdi::DT_CENTER;
    default:
        return platform::gdi::DT_LEFT;
    }
}

} // namespace controls
