// A JPEG file decoded through the picture object; the first byte picks the decoding settings
// (scale, 8-bit, grey, fast, progressive display). No input may crash or end the process; bad
// ones raise EJPEG.
#include <cstdint>
#include <string_view>

#include "frame/graphics/TJPEGImage.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    uint8_t flags = data[0];
    rtl::TBytesStream in(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    try {
        frame::TJPEGImage jpeg;
        jpeg.LoadFromStream(in);
        jpeg.SetScale(frame::TJPEGScale(flags & 3));
        jpeg.SetPixelFormat(flags & 4 ? frame::jf8Bit : frame::jf24Bit);
        jpeg.SetGrayscale(flags & 8);
        jpeg.SetPerformance(flags & 16 ? frame::jpBestSpeed : frame::jpBestQuality);
        jpeg.SetProgressiveDisplay(flags & 32);
        jpeg.SetSmoothing(flags & 64);
        if (frame::TBitmap* b = jpeg.Bitmap())
            b->Image();
    } catch (const rtl::Exception&) {
    }
    return 0;
}
