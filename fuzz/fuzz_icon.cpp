// An "Icon.Data" block (an ICO file to the end) read, its image made and drawn: no input may
// crash; bad ones raise "Icon image is not valid" or a stream error.
#include <cstdint>
#include <string_view>

#include "frame/graphics/TBitmap.h"
#include "frame/graphics/TCanvas.h"
#include "frame/graphics/TIcon.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    rtl::TBytesStream in(std::string_view(reinterpret_cast<const char*>(data), size));
    try {
        frame::TIcon icon;
        icon.ReadData(in);
        if (icon.Empty())
            return 0;
        icon.Handle();
        frame::TBitmap target;
        target.SetSize(40, 40);
        target.Canvas()->Draw(2, 2, &icon);
    } catch (const rtl::Exception&) {
    }
    return 0;
}
