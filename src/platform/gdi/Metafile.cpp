#include "platform/gdi/Metafile.h"

#include <cairo.h>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DeviceContextImpl.h"

namespace platform::gdi {

namespace {
// How far from the origin a recording keeps what is drawn, in logical pixels.
constexpr double kRecordingReach = 32768;
} // namespace

MetafileRecorder::MetafileRecorder(int width, int height, int pixelsPerInch) {
    // What is drawn past the nominal size is kept, as a metafile keeps it, within a bound far
    // past any page: an unbounded recording painted onto a PDF page is copied by cairo (1.16)
    // and the copy never freed, megabytes for every chart printed.
    cairo_rectangle_t bounds{-kRecordingReach, -kRecordingReach, 2.0 * kRecordingReach,
                             2.0 * kRecordingReach};
    cairo_surface_t* s = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &bounds);
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
