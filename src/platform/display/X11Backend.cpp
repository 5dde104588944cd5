#include "platform/display/DisplayBackend.h"

namespace platform {

std::unique_ptr<DisplayBackend> MakeX11Backend() {
    return nullptr;
}

} // namespace platform
