#include "platform/stdwin/StandardWindows.h"

#include "platform/stdwin/StdWinPrivate.h"

namespace platform {

void RegisterStandardWindowClasses(WindowManager& wm) {
    stdwin::RegisterButtonClass(wm);
    stdwin::RegisterEditClass(wm);
    stdwin::RegisterComboClasses(wm);
    stdwin::RegisterUpDownClass(wm);
    stdwin::RegisterProgressClass(wm);
    stdwin::RegisterMessageBoxClass(wm);
    stdwin::RegisterPopupMenuClass(wm);
}

} // namespace platform
