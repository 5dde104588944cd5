#include "platform/display/PngFile.h"

#include <cairo.h>

namespace platform {

bool SavePng(const gdi::Bitmap& image, const std::string& path) {
    if (image.Empty())
        return false;
    cairo_surface_t* s = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image.Data())),
        image.HasAlpha() ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, image.Width(), image.Height(),
        image.Stride());
    bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

} // namespace platform
