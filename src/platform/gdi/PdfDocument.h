#pragma once
// The printer page target: a PDF document whose pages are drawn through device contexts at the
// printer's resolution (e.g. 600 pixels per inch; the page size is given in those pixels).
#include <memory>
#include <string>

#include "platform/gdi/DeviceContext.h"

namespace platform::gdi {

class PdfDocument {
public:
    PdfDocument(int pixelsPerInch);
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    // Starts a page of widthPx x heightPx device pixels; the context lives until EndPage.
    DeviceContext& BeginPage(int widthPx, int heightPx);
    void EndPage();
    // Ends the document and returns its bytes; no pages can follow.
    std::string Finish();
    int PageCount() const { return m_pages; }

private:
    int m_pixelsPerInch;
    int m_pages = 0;
    void* m_surface = nullptr;
    std::unique_ptr<DeviceContext> m_page;
    std::string m_bytes;
};

} // namespace platform::gdi
