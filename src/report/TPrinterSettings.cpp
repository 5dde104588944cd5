#include "report/TPrinterSettings.h"

#include <algorithm>

#include "controls/TPrinter.h"
#include "frame/ClassBuilder.h"
#include "platform/spool/DeviceMode.h"
#include "platform/spool/JobName.h"

namespace report {

namespace spool = platform::spool;
using frame::Default;

namespace {
// The driver name is kept as the classic driver file name was: at most this many characters.
constexpr std::size_t kMaxDriverNameChars = 63;

int32_t PixelsToTenths(int pixels, int ppi) {
    return ppi > 0 ? RoundEven(pixels / static_cast<long double>(ppi) * kTenthsPerInch) : 0;
}
} // namespace

const frame::TClassInfo* TPrinterSettings::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TPrinterSettings>("TPrinterSettings", frame::TObject::StaticClass())
            .Build();
    return info.get();
}

void TPrinterSettings::SetPrinter(controls::TPrinter* printer) {
    m_printer = printer;
    if (m_printer)
        ReadSettings();
}

bool TPrinterSettings::Declares(unsigned field) const {
    if (!m_printer)
        return false;
    std::string device, driver, port;
    controls::TDeviceMode* mode = nullptr;
    m_printer->GetPrinter(device, driver, port, mode);
    return mode && (mode->fields & field);
}

void TPrinterSettings::ReadSettings() {
    controls::TDeviceMode* mode = nullptr;
    m_printer->GetPrinter(m_device, m_driver, m_port, mode);
    if (!mode) {
        m_printer->SetPrinter(m_device, m_driver, m_port, nullptr);
        m_printer->GetPrinter(m_device, m_driver, m_port, mode);
    }
    // A copy: the questions below may make the printer object read its destination again.
    const controls::TDeviceMode record = mode ? *mode : controls::TDeviceMode{};
    const unsigned fields = mode ? record.fields : 0;
    m_driver = spool::CutToCharacters(m_printer->DriverName(), kMaxDriverNameChars);

    m_pixelsPerInchX = m_printer->PixelsPerInchX();
    m_pixelsPerInchY = m_printer->PixelsPerInchY();
    m_copies = (fields & spool::DM_COPIES) ? int16_t(std::clamp(record.copies, 1, 32767)) : 1;
    m_outputBin = TRepBin::First;
    if (fields & spool::DM_DEFAULTSOURCE)
        BinForCode(record.defaultSource, m_outputBin);
    m_duplex = (fields & spool::DM_DUPLEX) && record.duplex != spool::DMDUP_SIMPLEX;

    frame::TPoint offset = m_printer->PhysicalOffset();
    m_leftOffset = PixelsToTenths(offset.x, m_pixelsPerInchX);
    m_topOffset = PixelsToTenths(offset.y, m_pixelsPerInchY);

    m_paperSize = TRepPaperSize::Default;
    if (fields & spool::DM_PAPERSIZE)
        PaperSizeForCode(record.paperSize, m_paperSize);

    frame::TPoint page = m_printer->PhysicalPageSize();
    m_paperWidth = PixelsToTenths(page.x, m_pixelsPerInchX);
    m_paperLength = PixelsToTenths(page.y, m_pixelsPerInchY);

    m_supported.fill(false);
    for (int code : m_printer->PaperCodes()) {
        TRepPaperSize size;
        if (PaperSizeForCode(code, size))
            m_supported[std::size_t(size)] = true;
    }
}

void TPrinterSettings::SetPrinterIndex(int index) {
    if (!m_printer)
        return;
    m_printer->SetPrinterIndex(index);
    std::string device, driver, port;
    controls::TDeviceMode* mode = nullptr;
    m_printer->GetPrinter(device, driver, port, mode);
    m_printer->SetPrinter(device, driver, port, nullptr);
    ReadSettings();
}

void TPrinterSettings::ApplySettings() {
    if (!m_printer)
        return;
    std::string device, driver, port;
    controls::TDeviceMode* held = nullptr;
    m_printer->GetPrinter(device, driver, port, held);
    controls::TDeviceMode mode = held ? *held : controls::TDeviceMode{};
    unsigned fields = mode.fields;
    if (m_paperSize == TRepPaperSize::Custom) {
        if (fields & spool::DM_PAPERLENGTH)
            mode.paperLength = m_paperLength;
        if (fields & spool::DM_PAPERWIDTH)
            mode.paperWidth = m_paperWidth;
    }
    // Two-sided only when asked for; the job then asks only for sides the queue offers.
    if (fields & spool::DM_DUPLEX)
        mode.duplex = m_duplex ? spool::DMDUP_HORIZONTAL : spool::DMDUP_SIMPLEX;
    if ((fields & spool::DM_PAPERSIZE) && m_paperSize != TRepPaperSize::Default)
        mode.paperSize = PaperInfo(m_paperSize).code;
    if (fields & spool::DM_COPIES)
        mode.copies = m_copies;
    if (fields & spool::DM_DEFAULTSOURCE) {
        // Codes from 256 up name the destination's own sources: a bin is written only when
        // the destination has it, so an unknown one never replaces a working choice.
        std::vector<int> bins = m_printer->BinCodes();
        int code = BinCode(m_outputBin);
        if (std::find(bins.begin(), bins.end(), code) != bins.end())
            mode.defaultSource = code;
    }
    if (fields & spool::DM_ORIENTATION)
        mode.orientation = m_orientation == TPrinterOrientation::poLandscape
                               ? spool::DMORIENT_LANDSCAPE
                               : spool::DMORIENT_PORTRAIT;
    m_printer->SetPrinter(device, driver, port, &mode);
}

// Without a printer (pages recorded for the screen) every paper is there.
void TPrinterSettings::SetPaperSize(TRepPaperSize value) {
    if (!m_printer || value == TRepPaperSize::Default || PaperSupported(value))
        m_paperSize = value;
}

void TPrinterSettings::SetOrientation(TPrinterOrientation value) {
    if (Declares(spool::DM_ORIENTATION))
        m_orientation = value;
}

void TPrinterSettings::SetCopies(int16_t value) {
    if (Declares(spool::DM_COPIES))
        m_copies = value;
}

void TPrinterSettings::SetDuplex(bool value) {
    if (!value || Declares(spool::DM_DUPLEX))
        m_duplex = value;
}

void TPrinterSettings::SetOutputBin(TRepBin value) {
    if (Declares(spool::DM_DEFAULTSOURCE))
        m_outputBin = value;
}

int32_t TPrinterSettings::PaperWidth() const {
    if (IsNamedPaper(m_paperSize))
        return RoundEven(PaperInfo(m_paperSize).width * 10);
    return m_paperWidth;
}

int32_t TPrinterSettings::PaperLength() const {
    if (IsNamedPaper(m_paperSize))
        return RoundEven(PaperInfo(m_paperSize).length * 10);
    return m_paperLength;
}

void TPrinterSettings::SetPaperWidth(int32_t value) {
    if (m_paperSize == TRepPaperSize::Custom)
        m_paperWidth = value;
}

void TPrinterSettings::SetPaperLength(int32_t value) {
    if (m_paperSize == TRepPaperSize::Custom)
        m_paperLength = value;
}

// ---------------------------------------------------------------------------------------------

const frame::TClassInfo* TRepPrinterSettings::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TRepPrinterSettings>("TRepPrinterSettings",
                                                  frame::TPersistent::StaticClass())
            .Property("Copies", &TRepPrinterSettings::Copies, &TRepPrinterSettings::SetCopies,
                      Default(1))
            .Property("Duplex", &TRepPrinterSettings::Duplex, &TRepPrinterSettings::SetDuplex,
                      Default(0))
            .Property("FirstPage", &TRepPrinterSettings::FirstPage,
                      &TRepPrinterSettings::SetFirstPage, Default(0))
            .Property("LastPage", &TRepPrinterSettings::LastPage, &TRepPrinterSettings::SetLastPage,
                      Default(0))
            .Property("OutputBin", &TRepPrinterSettings::OutputBin,
                      &TRepPrinterSettings::SetOutputBin, Default(int(TRepBin::Auto)))
            .Build();
    return info.get();
}

void TRepPrinterSettings::Assign(const frame::TPersistent* source) {
    if (auto* other = dynamic_cast<const TRepPrinterSettings*>(source)) {
        m_copies = other->m_copies;
        m_duplex = other->m_duplex;
        m_firstPage = other->m_firstPage;
        m_lastPage = other->m_lastPage;
        m_outputBin = other->m_outputBin;
        m_printerIndex = other->m_printerIndex;
        m_title = other->m_title;
        return;
    }
    frame::TPersistent::Assign(source);
}

const frame::TClassInfo* TReportPrinterSettings::StaticClass() {
    static const auto info = frame::TClassBuilder<TReportPrinterSettings>(
                                 "TReportPrinterSettings", TRepPrinterSettings::StaticClass())
                                 .Build();
    return info.get();
}

} // namespace report
