#include "platform/gdi/PdfDocument.h"

#include <cairo-pdf.h>

#include <algorithm>

#include "platform/gdi/DeviceContextImpl.h"

namespace platform::gdi {

namespace {

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

} // namespace

PdfDocument::PdfDocument(int pixelsPerInch)
    : m_pixelsPerInch(pixelsPerInch > 0 ? pixelsPerInch : 72) {}

PdfDocument::~PdfDocument() {
    m_page.reset();
    if (m_surface)
        cairo_surface_destroy(static_cast<cairo_surface_t*>(m_surface));
}

DeviceContext& PdfDocument::BeginPage(int widthPx, int heightPx) {
    if (m_page)
        EndPage();
    double scale = 72.0 / m_pixelsPerInch;
    double w = std::max(1, widthPx) * scale, h = std::max(1, heightPx) * scale;
    if (!m_surface)
        m_surface = cairo_pdf_surface_create_for_stream(AppendBytes, &m_bytes, w, h);
    else
        cairo_pdf_surface_set_size(static_cast<cairo_surface_t*>(m_surface), w, h);
    auto* s = cairo_surface_reference(static_cast<cairo_surface_t*>(m_surface));
    m_page = std::make_unique<DeviceContext>(std::make_unique<DeviceContext::Impl>(
        TargetKind::PrinterPage, s, nullptr, m_pixelsPerInch, Size{widthPx, heightPx}, scale));
    return *m_page;
}

void PdfDocument::EndPage() {
    if (!m_page)
        return;
    cairo_show_page(m_page->GetImpl().cr);
    m_page.reset();
    ++m_pages;
}

std::string PdfDocument::Finish() {
    EndPage();
    if (!m_surface)
        m_surface = cairo_pdf_surface_create_for_stream(AppendBytes, &m_bytes, 595, 842);
    auto* s = static_cast<cairo_surface_t*>(m_surface);
    cairo_surface_finish(s);
    cairo_surface_destroy(s);
    m_surface = nullptr;
    return std::move(m_bytes);
}

} // namespace platform::gdi
