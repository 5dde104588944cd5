#include "platform/stdwin/StandardWindows.h"

namespace platform {

void RegisterStandardWindowClasses(WindowManager&) {}

} // namespace platform
