#include "platform/gdi/PngFile.h"

#include <cairo.h>

#include <stdexcept>

namespace platform::gdi {

namespace {
cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}
} // namespace

std::string EncodePng(const Bitmap& image) {
    if (image.Empty())
        throw std::invalid_argument("empty image");
    cairo_surface_t* s = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image.Data())),
        image.HasAlpha() ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, image.Width(), image.Height(),
        image.Stride());
    std::string out;
    cairo_status_t status = cairo_surface_write_to_png_stream(s, Append, &out);
    cairo_surface_destroy(s);
    if (status != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error(cairo_status_to_string(status));
    return out;
}

} // namespace platform::gdi
