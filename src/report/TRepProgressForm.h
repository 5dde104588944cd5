#pragma once
// The progress window of a print: "Printing progress", an info line, a gauge and "Cancel",
// which cancels the report printer's job.
#include <memory>

namespace report {

class TRepPrinter;

class TRepProgressForm {
public:
    // The window for a print on `printer`, or null when the program has no application frame
    // to show it in (a command-line print).
    static std::unique_ptr<TRepProgressForm> ForPrint(TRepPrinter& printer);
    virtual ~TRepProgressForm() = default;
    // Shows the window, not modal, on top of the program's windows.
    virtual void ShowProgress() {}
};

} // namespace report
