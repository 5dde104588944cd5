#include "controls/TPrinter.h"

#include "controls/TPrinterCanvas.h"
#include "frame/ClassBuilder.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/spool/Destinations.h"
#include "platform/spool/DeviceInfo.h"
#include "platform/spool/JobName.h"
#include "platform/spool/MessagePump.h"
#include "platform/spool/PrintJob.h"
#include "rtl/Exception.h"
#include "rtl/ScopeExit.h"

namespace controls {

namespace spool = platform::spool;
using Clock = std::chrono::steady_clock;

namespace {

std::unique_ptr<TPrinter>& ProcessPrinter() {
    static std::unique_ptr<TPrinter> printer;
    return printer;
}

// The process-wide object's aborted flag, without making the object just to ask.
bool ProcessPrinterAborted() {
    return ProcessPrinter() && ProcessPrinter()->Aborted();
}

std::string DisplayName(const std::string& device, const std::string& port) {
    return port.empty() ? device : device + " on " + port;
}

} // namespace

const frame::TClassInfo* TPrinter::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TPrinter>("TPrinter", frame::TObject::StaticClass()).Build();
    return info.get();
}

TPrinter::TPrinter() = default;

TPrinter::~TPrinter() {
    // A job nobody ended is incomplete: it is dropped, never sent.
    if (m_printing && !m_handingOver)
        Abort();
    m_printing = false;
    delete m_canvas;
}

void TPrinter::CheckPrinting(bool value) const {
    if (m_printing != value)
        throw rtl::EPrinter(std::string(value ? SNotPrinting : SPrinting));
}

// ---------------------------------------------------------------------------------------------
// The printer list

frame::TStrings* TPrinter::Printers() {
    EnsurePrinterList();
    return m_printers.get();
}

TPrinterDevice* TPrinter::PrinterDevice(int index) {
    EnsurePrinterList();
    return Entry(index);
}

// The entry at an index of the list as it stands: an index found is used on the list it was
// found in, never on one read in between.
TPrinterDevice* TPrinter::Entry(int index) const {
    return index >= 0 && index < int(m_devices.size()) ? m_devices[std::size_t(index)].get()
                                                       : nullptr;
}

void TPrinter::EnsurePrinterList() {
    if (!m_printers || (!m_printing && Clock::now() - m_listRead > kPrinterListLifetime))
        ReadPrinterList();
}

void TPrinter::Refresh() {
    CheckPrinting(false);
    ReadPrinterList();
}

void TPrinter::ReadPrinterList() {
    spool::DestinationList list = spool::ListDestinations();
    // Entries the program added, and the selected one even when the service no longer lists
    // it, keep their place at the end: callers hold indexes and settings records.
    std::vector<std::unique_ptr<TPrinterDevice>> kept;
    std::string selectedDevice, selectedPort;
    if (m_printerIndex >= 0 && m_printerIndex < int(m_devices.size())) {
        selectedDevice = m_devices[std::size_t(m_printerIndex)]->Device;
        selectedPort = m_devices[std::size_t(m_printerIndex)]->Port;
    }
    for (auto& device : m_devices) {
        bool listed = false;
        for (const std::string& name : list.names)
            listed = listed || device->IsEqual(name, "");
        if (!listed && (device->Added || device->IsEqual(selectedDevice, selectedPort))) {
            device->Added = true;
            kept.push_back(std::move(device));
        }
    }
    if (!m_printers)
        m_printers = std::make_unique<frame::TStringList>();
    m_printers->BeginUpdate();
    m_printers->Clear();
    m_devices.clear();
    for (const std::string& name : list.names) {
        m_printers->Add(name);
        m_devices.push_back(std::make_unique<TPrinterDevice>("", name, ""));
    }
    for (auto& device : kept) {
        m_printers->Add(DisplayName(device->Device, device->Port));
        m_devices.push_back(std::move(device));
    }
    m_printers->EndUpdate();
    m_defaultName = list.defaultName;
    m_serviceError = list.error;
    m_listRead = Clock::now();
    if (m_printerIndex >= 0) {
        m_printerIndex = -1;
        for (std::size_t i = 0; i < m_devices.size() && m_printerIndex < 0; ++i)
            if (m_devices[i]->IsEqual(selectedDevice, selectedPort))
                m_printerIndex = int(i);
    }
}

// ---------------------------------------------------------------------------------------------
// Selection

int TPrinter::PrinterIndex() {
    if (m_printerIndex == -1)
        SelectDefault();
    return m_printerIndex;
}

void TPrinter::SetPrinterIndex(int value) {
    CheckPrinting(false);
    if (value == -1) {
        SelectDefault();
    } else {
        if (value < 0 || value >= Printers()->Count())
            throw rtl::EPrinter(std::string(SPrinterIndexError));
        // A settings record belongs to its destination: another one brings its own.
        const TPrinterDevice& entry = *m_devices[std::size_t(value)];
        if (!m_deviceMode || m_deviceMode->deviceName != entry.Device)
            SetPrinter(entry.Device, entry.DriverName, entry.Port, nullptr);
    }
    m_printerIndex = value;
    FreeFonts();
    SetState(psNoHandle);
}

void TPrinter::SelectDefault() {
    EnsurePrinterList();
    for (const auto& device : m_devices)
        if (!m_defaultName.empty() && device->Device == m_defaultName) {
            SetPrinter(device->Device, device->DriverName, device->Port, nullptr);
            return;
        }
    // A service that could not be asked has not said that there is no default: say what did
    // happen.
    throw rtl::EPrinter(m_serviceError.empty() ? std::string(SNoDefaultPrinter) : m_serviceError);
}

void TPrinter::GetPrinter(std::string& device, std::string& driver, std::string& port,
                          TDeviceMode*& deviceMode) {
    EnsurePrinterList();
    TPrinterDevice* entry = Entry(PrinterIndex());
    if (!entry)
        throw rtl::EPrinter(std::string(SPrinterIndexError));
    device = entry->Device;
    driver = entry->DriverName;
    port = entry->Port;
    deviceMode = m_deviceMode.get();
}

void TPrinter::SetPrinter(const std::string& device, const std::string& driver,
                          const std::string& port, const TDeviceMode* deviceMode) {
    CheckPrinting(false);
    if (deviceMode != m_deviceMode.get())
        m_deviceMode = deviceMode ? std::make_unique<TDeviceMode>(*deviceMode) : nullptr;
    SetCapabilities();
    FreeFonts();
    SetState(psNoHandle);

    EnsurePrinterList();
    int index = -1;
    for (std::size_t i = 0; i < m_devices.size() && index < 0; ++i)
        if (m_devices[i]->IsEqual(device, port))
            index = int(i);
    if (index < 0) {
        auto entry = std::make_unique<TPrinterDevice>(driver, device, port);
        entry->Added = true;
        m_printers->Add(DisplayName(device, port));
        m_devices.push_back(std::move(entry));
        index = int(m_devices.size()) - 1;
    }
    m_printerIndex = index;

    if (OpenDevice(device) && !m_deviceMode)
        m_deviceMode = std::make_unique<TDeviceMode>(m_caps->defaults);
    SetCapabilities();
}

// What the destination offers, read once per selection (again when older than the list's
// lifetime). A destination that cannot be asked stays selected without it.
// When asking again fails, what was read before stands: the job then says why it cannot be sent.
bool TPrinter::OpenDevice(const std::string& device) {
    bool known = m_caps && m_caps->name == device;
    if (known && Clock::now() - m_capsRead <= kPrinterListLifetime)
        return true;
    try {
        m_caps = std::make_unique<spool::DeviceCaps>(spool::ReadDevice(device));
        m_capsRead = Clock::now();
        return true;
    } catch (const rtl::EPrinter&) {
        if (!known)
            m_caps.reset();
        return known;
    }
}

// A context needs the destination's page: without it the printer is not valid.
void TPrinter::EnsureDevice() {
    EnsurePrinterList();
    TPrinterDevice* entry = Entry(PrinterIndex());
    if (!entry || !OpenDevice(entry->Device))
        throw rtl::EPrinter(std::string(SInvalidPrinter));
    if (!m_deviceMode) {
        m_deviceMode = std::make_unique<TDeviceMode>(m_caps->defaults);
        SetCapabilities();
    }
}

void TPrinter::SetCapabilities() {
    m_capabilities = TPrinterCapabilities();
    if (!m_deviceMode)
        return;
    if (m_deviceMode->fields & spool::DM_ORIENTATION)
        m_capabilities.Include(pcOrientation);
    if (m_deviceMode->fields & spool::DM_COPIES)
        m_capabilities.Include(pcCopies);
    if (m_deviceMode->fields & spool::DM_COLLATE)
        m_capabilities.Include(pcCollation);
}

frame::TStrings* TPrinter::Fonts() {
    if (!m_fonts)
        m_fonts = std::make_unique<frame::TStringList>();
    return m_fonts.get();
}

void TPrinter::FreeFonts() {
    m_fonts.reset();
}

// ---------------------------------------------------------------------------------------------
// Contexts

TPrinterCanvas* TPrinter::Canvas() {
    if (!m_canvas) {
        m_canvas = new TPrinterCanvas(this);
        AttachCanvas(CurrentContext());
    }
    return m_canvas;
}

platform::gdi::DeviceContext* TPrinter::CurrentContext() const {
    if (m_printing)
        return m_page;
    return m_measure ? &m_measure->Context() : nullptr;
}

void TPrinter::AttachCanvas(platform::gdi::DeviceContext* dc) {
    if (m_canvas)
        m_canvas->SetHandle(dc);
}

void TPrinter::SetState(TPrinterState value) {
    if (value == m_state)
        return;
    if (value == psNoHandle) {
        CheckPrinting(false);
        AttachCanvas(nullptr);
        m_measure.reset();
        m_state = psNoHandle;
        return;
    }
    if (value == psHandleIC && m_state == psHandleDC)
        return;
    // Outside a job both kinds of context are a page at the device's resolution that is never
    // sent; the job's pages replace it while printing.
    AttachCanvas(nullptr);
    m_measure.reset();
    EnsureDevice();
    m_measure = std::make_unique<spool::MeasuringPage>(Geometry());
    m_state = value;
    AttachCanvas(&m_measure->Context());
}

platform::gdi::DeviceContext* TPrinter::Handle() {
    if (m_state == psNoHandle)
        SetState(psHandleIC);
    return CurrentContext();
}

spool::PageGeometry TPrinter::Geometry() {
    if (m_printing && m_job)
        return m_job->Geometry();
    EnsureDevice();
    return spool::ComputeGeometry(*m_caps, *m_deviceMode);
}

int TPrinter::PageWidth() {
    if (m_state == psNoHandle)
        SetState(psHandleIC);
    return Geometry().printableWidth;
}

int TPrinter::PageHeight() {
    if (m_state == psNoHandle)
        SetState(psHandleIC);
    return Geometry().printableHeight;
}

int TPrinter::PixelsPerInchX() {
    return Geometry().ppiX;
}

int TPrinter::PixelsPerInchY() {
    return Geometry().ppiY;
}

frame::TPoint TPrinter::PhysicalPageSize() {
    spool::PageGeometry g = Geometry();
    return frame::TPoint{g.paperWidth, g.paperHeight};
}

frame::TPoint TPrinter::PhysicalOffset() {
    spool::PageGeometry g = Geometry();
    return frame::TPoint{g.offsetX, g.offsetY};
}

std::vector<int> TPrinter::PaperCodes() {
    EnsureDevice();
    return m_caps->PaperCodes();
}

std::vector<int> TPrinter::BinCodes() {
    EnsureDevice();
    return m_caps->BinCodes();
}

std::string TPrinter::DriverName() {
    EnsureDevice();
    return m_caps->driverName;
}

// ---------------------------------------------------------------------------------------------
// The job

void TPrinter::BeginDoc() {
    CheckPrinting(false);
    SetState(psHandleDC);
    EnsureDevice();
    m_job = std::make_unique<spool::PrintJob>(
        *m_caps, *m_deviceMode, spool::CutToCharacters(m_title, kMaxDocumentNameChars));
    m_page = &m_job->StartPage();
    m_printing = true;
    m_aborted = false;
    m_pageNumber = 1;
    AttachCanvas(m_page);
    Canvas()->Refresh();
}

void TPrinter::NewPage() {
    CheckPrinting(true);
    m_page = nullptr;
    m_page = &m_job->StartPage();
    AttachCanvas(m_page);
    ++m_pageNumber;
    Canvas()->Refresh();
}

void TPrinter::EndDoc() {
    CheckPrinting(true);
    // The job ends on every way out, a refused hand-over included.
    rtl::ScopeExit finishJob([this] { FinishJob(); });
    m_job->EndPage();
    if (m_aborted)
        return;
    m_handingOver = true;
    rtl::ScopeExit handedOver([this] { m_handingOver = false; });
    if (m_job->Finish([this] { return ContinuePrinting(); }) == spool::PrintJob::Outcome::Sent)
        m_lastJobId = m_job->JobId();
}

void TPrinter::FinishJob() {
    m_page = nullptr;
    m_job.reset();
    m_printing = false;
    m_aborted = false;
    m_pageNumber = 0;
    AttachCanvas(m_measure ? &m_measure->Context() : nullptr);
}

void TPrinter::Abort() {
    CheckPrinting(true);
    m_aborted = true;
    // While the document is being handed over, the hand-over stops at its next question.
    if (m_handingOver)
        return;
    m_page = nullptr;
    m_job->Discard();
    EndDoc();
}

// The abort procedure: the program's messages are processed while a document is handed over,
// and the hand-over goes on unless the process-wide object (or this one) has been aborted.
bool TPrinter::ContinuePrinting() {
    spool::PumpMessages();
    return !ProcessPrinterAborted() && !m_aborted;
}

// ---------------------------------------------------------------------------------------------

TPrinter* Printer() {
    if (!ProcessPrinter())
        ProcessPrinter() = std::make_unique<TPrinter>();
    return ProcessPrinter().get();
}

TPrinter* SetPrinter(TPrinter* newPrinter) {
    TPrinter* old = ProcessPrinter().release();
    ProcessPrinter().reset(newPrinter);
    return old;
}

} // namespace controls
