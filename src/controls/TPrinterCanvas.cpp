#include "controls/TPrinterCanvas.h"

#include "controls/TPrinter.h"
#include "frame/ClassBuilder.h"
#include "rtl/Exception.h"

namespace controls {

const frame::TClassInfo* TPrinterCanvas::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TPrinterCanvas>("TPrinterCanvas", frame::TCanvas::StaticClass())
            .Build();
    return info.get();
}

TPrinterCanvas::TPrinterCanvas(TPrinter* printer) : m_printer(printer) {
    // Every drawing call announces itself through this event before it touches the context.
    OnChanging = frame::TNotifyEvent::Of<&TPrinterCanvas::BeforeDrawing>(this);
}

void TPrinterCanvas::CreateHandle() {
    SetHandle(m_printer->Handle());
    if (HandleAllocated())
        UpdateFont();
}

void TPrinterCanvas::BeforeDrawing(frame::TObject*) {
    if (!m_printer->Printing())
        throw rtl::EPrinter(std::string(SNotPrinting));
    UpdateFont();
}

void TPrinterCanvas::UpdateFont() {
    int ppi = Handle()->PixelsPerInch();
    frame::TFont* font = Font();
    if (ppi != font->PixelsPerInch()) {
        int size = font->Size();
        font->SetPixelsPerInch(ppi);
        font->SetSize(size);
    }
}

void TPrinterCanvas::Refresh() {
    if (HandleAllocated())
        UpdateFont();
}

} // namespace controls
