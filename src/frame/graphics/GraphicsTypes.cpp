#include "frame/graphics/GraphicsTypes.h"

#include "platform/gdi/SysColors.h"

namespace frame {

platform::gdi::ColorRef ColorToRGB(TColor color) {
    auto c = static_cast<std::uint32_t>(color);
    if (c & 0x80000000u)
        return platform::gdi::GetSysColor(int(c & 0xFF));
    return c & 0xFFFFFFu;
}

} // namespace frame
