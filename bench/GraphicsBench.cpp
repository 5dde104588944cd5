// Picture decoding and text drawing: the 112 x 112 JPEG of the input form, the 144 x 144 bitmap
// of the result form, and one line of text on an image target.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "frame/graphics/TBitmap.h"
#include "frame/graphics/TJPEGImage.h"
#include "platform/gdi/DeviceContext.h"
#include "rtl/TMemoryStream.h"

namespace {

std::string Resource(const char* name) {
    std::ifstream f(std::string(ZORVANE_SOURCE_DIR) + "/resources/images/" + name,
                    std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), {});
}

void BM_DecodeJpeg112(benchmark::State& state) {
    std::string jpg = Resource("intro.jpg");
    for (auto _ : state) {
        rtl::TBytesStream in(jpg);
        frame::TJPEGImage image;
        image.LoadFromStream(in);
        benchmark::DoNotOptimize(image.Bitmap()->Image().Data());
    }
}
BENCHMARK(BM_DecodeJpeg112);

void BM_DecodeBitmap144(benchmark::State& state) {
    std::string bmp = Resource("result.bmp");
    for (auto _ : state) {
        rtl::TBytesStream in(bmp);
        frame::TBitmap bitmap;
        bitmap.LoadFromStream(in);
        benchmark::DoNotOptimize(bitmap.Image().Data());
    }
}
BENCHMARK(BM_DecodeBitmap144);

void BM_DrawTextLine(benchmark::State& state) {
    platform::gdi::Bitmap target(400, 20);
    auto dc = platform::gdi::DeviceContext::ForBitmap(target);
    platform::gdi::FontSpec font;
    font.name = "Arial";
    font.height = -11;
    dc->SetFont(font);
    dc->SetBkMode(platform::gdi::TRANSPARENT);
    for (auto _ : state)
        dc->TextOut(2, 2, "Неблагоприятные дни: 3, 7, 12, 19, 26");
}
BENCHMARK(BM_DrawTextLine);

} // namespace
