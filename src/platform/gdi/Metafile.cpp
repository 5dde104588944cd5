#include "platform/gdi/Metafile.h"

#include <cairo.h>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DeviceContextImpl.h"

namespace platform::gdi {

MetafileRecorder::MetafileRecorder(int width, int height, int pixelsPerInch) {
    // Unbounded: what is drawn past the nominal size is kept, as a metafile keeps it.
    cairo_surface_t* s = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr);
    m_metafile.m_width = width;
    m_metafile.m_height = height;
    m_metafile.m_recording = std::shared_ptr<void>(cairo_surface_reference(s), [](void* p) {
        cairo_surface_destroy(static_cast<cairo_surface_t*>(p));
    });
    m_context = std::make_unique<DeviceContext>(std::make_unique<DeviceContext::Impl>(
        TargetKind::Metafile, s, nullptr, pixelsPerInch, Size{width, height}, 1.0));
}

MetafileRecorder::~MetafileRecorder() = default;

Metafile MetafileRecorder::Finish() {
    m_context.reset();
    return std::move(m_metafile);
}

} // namespace platform::gdi
