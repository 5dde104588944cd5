// A "Glyph.Data" block (length, then a BMP file) read, decoded, drawn and written back: no input
// may crash; bad ones raise the frame's exceptions.
#include <cstdint>
#include <string_view>

#include "frame/graphics/TBitmap.h"
#include "frame/graphics/TCanvas.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    rtl::TBytesStream in(std::string_view(reinterpret_cast<const char*>(data), size));
    try {
        frame::TBitmap bitmap;
        bitmap.ReadData(in);
        // Huge pictures decode correctly but slowly; the fuzzer learns more from many small ones.
        if (bitmap.Empty() || (long long)bitmap.Width() * bitmap.Height() > (1 << 20))
            return 0;
        bitmap.Image();
        frame::TBitmap target;
        target.SetSize(8, 8);
        target.Canvas()->StretchDraw(frame::Rect(0, 0, 8, 8), &bitmap);
        bitmap.SetTransparent(true);
        target.Canvas()->Draw(1, 1, &bitmap);
        rtl::TMemoryStream out;
        bitmap.WriteData(out);
    } catch (const rtl::Exception&) {
    }
    return 0;
}
