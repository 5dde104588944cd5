#pragma once
// The canvas of a printer object: it draws on the job's current page and measures on a context
// at the device's resolution outside a job. Fonts keep their size in points and are realised at
// the device's vertical resolution.
#include "frame/graphics/TCanvas.h"

namespace controls {

class TPrinter;

class TPrinterCanvas : public frame::TCanvas {
public:
    ZORVANE_CLASS(TPrinterCanvas)
    explicit TPrinterCanvas(TPrinter* printer);

    // Gives the font the device's resolution, keeping its size in points.
    void UpdateFont();
    // Takes up the printer's current page: pen, brush and font go to it afresh.
    void Refresh();

protected:
    void CreateHandle() override;

private:
    // Drawing needs a running job.
    void BeforeDrawing(frame::TObject* sender);

    TPrinter* m_printer;
};

} // namespace controls
