#pragma once
// The progress window of a print: "Printing progress", an info line, a gauge and "Cancel",
// which cancels the report printer's job. A small dialog on top of the program's windows,
// centred on the screen and shown without being modal while a report prints. Its form source
// is part of the report engine.
#include <memory>

#include "frame/forms/TCustomForm.h"

namespace controls {
class TLabel;
class TProgressBar;
class TButton;
} // namespace controls

namespace report {

class TRepPrinter;

class TRepProgressForm : public frame::TForm {
public:
    ZORVANE_CLASS(TRepProgressForm)
    explicit TRepProgressForm(frame::TComponent* owner);

    // The window for a print on `printer`, owned by the application and read from its form
    // source; null when the program has no application object to show it in (a command-line
    // print).
    static std::unique_ptr<TRepProgressForm> ForPrint(TRepPrinter& printer);

    TRepPrinter* Printer() const { return m_printer; }
    void SetPrinter(TRepPrinter* printer) { m_printer = printer; }
    // Shows the window, not modal.
    void ShowProgress();

    void CancelButtonClick(frame::TObject* sender);

    controls::TLabel* Info = nullptr;
    controls::TProgressBar* Gauge = nullptr;
    controls::TButton* CancelButton = nullptr;

private:
    TRepPrinter* m_printer = nullptr;
};

// The form source the window is read from.
const char* RepProgressFormText();

} // namespace report
