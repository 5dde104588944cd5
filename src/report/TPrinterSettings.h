#pragma once
// Printer settings of the report engine:
// - TPrinterSettings mirrors the selected printer's settings record (the device mode) in report
//   terms: paper, orientation, copies, two-sided printing, bin, the physical page and offsets in
//   tenths of a millimetre, the resolution, and which papers the printer offers. Setters take a
//   value only when the printer lets a job change that field; ApplySettings writes them back.
// - TReportPrinterSettings is the report's published request: copies, two-sided, page range,
//   bin.
#include <array>
#include <string>

#include "frame/TPersistent.h"
#include "report/ReportTypes.h"

namespace controls {
class TPrinter;
}

namespace report {

class TPrinterSettings : public frame::TObject {
public:
    ZORVANE_CLASS(TPrinterSettings)
    TPrinterSettings() = default;

    // Attaches the printer object (not owned) and reads its current settings.
    void SetPrinter(controls::TPrinter* printer);
    controls::TPrinter* Printer() const { return m_printer; }
    // Selects a printer of the list (-1: the default), dropping the printer object's held
    // settings record so the destination's own is read again.
    void SetPrinterIndex(int index);
    // Writes paper, two-sided printing, copies, bin and orientation into the printer's settings
    // record, for the fields the destination lets a job change.
    void ApplySettings();

    const std::string& Device() const { return m_device; }
    const std::string& Driver() const { return m_driver; }
    const std::string& Port() const { return m_port; }

    TRepPaperSize PaperSize() const { return m_paperSize; }
    void SetPaperSize(TRepPaperSize value);
    TPrinterOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TPrinterOrientation value);
    int16_t Copies() const { return m_copies; }
    void SetCopies(int16_t value);
    bool Duplex() const { return m_duplex; }
    void SetDuplex(bool value);
    TRepBin OutputBin() const { return m_outputBin; }
    void SetOutputBin(TRepBin value);
    // Tenths of mm: the table size of a named paper, otherwise the stored one (the physical page
    // read from the printer, or the custom size).
    int32_t PaperWidth() const;
    void SetPaperWidth(int32_t value);
    int32_t PaperLength() const;
    void SetPaperLength(int32_t value);
    int32_t LeftOffset() const { return m_leftOffset; }
    int32_t TopOffset() const { return m_topOffset; }
    int32_t PixelsPerInchX() const { return m_pixelsPerInchX; }
    int32_t PixelsPerInchY() const { return m_pixelsPerInchY; }
    bool PaperSupported(TRepPaperSize size) const { return m_supported[std::size_t(size)]; }

    // The settings record declares the field (DM_*), so a job may change it.
    bool Declares(unsigned field) const;

private:
    void ReadSettings();

    controls::TPrinter* m_printer = nullptr;
    std::string m_device, m_driver, m_port;
    TRepPaperSize m_paperSize = TRepPaperSize::A4;
    TPrinterOrientation m_orientation = TPrinterOrientation::poPortrait;
    int16_t m_copies = 1;
    bool m_duplex = false;
    TRepBin m_outputBin = TRepBin::First;
    int32_t m_paperWidth = 0;
    int32_t m_paperLength = 0;
    int32_t m_leftOffset = 0;
    int32_t m_topOffset = 0;
    int32_t m_pixelsPerInchX = 0;
    int32_t m_pixelsPerInchY = 0;
    std::array<bool, kPaperSizeCount> m_supported{};
};

class TRepPrinterSettings : public frame::TPersistent {
public:
    ZORVANE_CLASS(TRepPrinterSettings)
    TRepPrinterSettings() = default;

    int16_t Copies() const { return m_copies; }
    void SetCopies(int16_t value) { m_copies = value; }
    bool Duplex() const { return m_duplex; }
    void SetDuplex(bool value) { m_duplex = value; }
    int32_t FirstPage() const { return m_firstPage; }
    void SetFirstPage(int32_t value) { m_firstPage = value; }
    int32_t LastPage() const { return m_lastPage; }
    void SetLastPage(int32_t value) { m_lastPage = value; }
    TRepBin OutputBin() const { return m_outputBin; }
    void SetOutputBin(TRepBin value) { m_outputBin = value; }
    int32_t PrinterIndex() const { return m_printerIndex; }
    void SetPrinterIndex(int32_t value) { m_printerIndex = value; }
    const std::string& Title() const { return m_title; }
    void SetTitle(std::string value) { m_title = std::move(value); }

    void Assign(const frame::TPersistent* source) override;

private:
    int16_t m_copies = 1;
    bool m_duplex = false;
    int32_t m_firstPage = 0;
    int32_t m_lastPage = 0;
    TRepBin m_outputBin = TRepBin::Auto;
    int32_t m_printerIndex = -1;
    std::string m_title;
};

class TReportPrinterSettings : public TRepPrinterSettings {
public:
    ZORVANE_CLASS(TReportPrinterSettings)
    TReportPrinterSettings() = default;
};

} // namespace report
