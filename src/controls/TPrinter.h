#pragma once
// The printer object: the list of print destinations, the selected one with its settings record
// (the device mode), contexts on it on demand, and the print job with a canvas on the current
// page. One process-wide object (Printer()) is made on first request and freed at program end;
// the report prints through private objects of its own.
//
// The list is read from the print service and re-read when it is older than a second (and no
// job runs), so a queue added or a server started after launch is seen; the selected entry keeps
// its place. Waits for the service are bounded (platform/spool).
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "frame/TObject.h"
#include "frame/TSet.h"
#include "frame/TStrings.h"
#include "frame/graphics/GraphicsTypes.h"
#include "platform/spool/DeviceMode.h"

namespace platform::gdi {
class DeviceContext;
}
namespace platform::spool {
class MeasuringPage;
class PrintJob;
} // namespace platform::spool

namespace controls {

class TPrinterCanvas;

// Messages of the printer object (EPrinter).
constexpr const char* SPrinting = "Printing in progress";
constexpr const char* SNotPrinting = "Printer is not currently printing";
constexpr const char* SPrinterIndexError = "Printer index out of range";
constexpr const char* SInvalidPrinter = "Printer selected is not valid";
constexpr const char* SNoDefaultPrinter = "There is no default printer currently selected";

// The longest document name a job gets, in characters.
constexpr std::size_t kMaxDocumentNameChars = 31;
// How long a printer list read from the print service is taken as current.
constexpr std::chrono::milliseconds kPrinterListLifetime{1000};

enum TPrinterState { psNoHandle, psHandleIC, psHandleDC };
enum TPrinterOrientation { poPortrait, poLandscape };
enum TPrinterCapability { pcCopies, pcOrientation, pcCollation };
using TPrinterCapabilities = frame::TSet<TPrinterCapability>;
// The device-mode block: the selected destination's settings record.
using TDeviceMode = platform::spool::DeviceMode;

// One entry of the printer list. Entries made from the destination list have no driver and no
// port (the print service has no ports); the display name is the destination's name.
class TPrinterDevice {
public:
    TPrinterDevice(std::string driver, std::string device, std::string port)
        : DriverName(std::move(driver)), Device(std::move(device)), Port(std::move(port)) {}
    // Same printer: equal device names and, when this entry has a port, equal ports.
    bool IsEqual(const std::string& device, const std::string& port) const {
        return Device == device && (Port.empty() || Port == port);
    }

    std::string DriverName;
    std::string Device;
    std::string Port;
    bool Added = false; // appended by SetPrinter rather than listed by the service
};

class TPrinter : public frame::TObject {
public:
    ZORVANE_CLASS(TPrinter)
    TPrinter();
    ~TPrinter() override;

    // Display names; PrinterDevice gives each line's entry.
    frame::TStrings* Printers();
    TPrinterDevice* PrinterDevice(int index);
    // Reads the list again now (refused while printing).
    void Refresh();
    // Why the print service could not be asked when the list was last read (its sentence);
    // empty when it answered, with or without queues.
    const std::string& ServiceError() const { return m_serviceError; }

    // -1 selects the default printer on the next read ("There is no default printer currently
    // selected" when the service has none; when it could not be asked, why not).
    int PrinterIndex();
    void SetPrinterIndex(int value);
    // The selected printer's names and settings record (owned by the printer object; null when
    // the destination could not be asked).
    void GetPrinter(std::string& device, std::string& driver, std::string& port,
                    TDeviceMode*& deviceMode);
    // Selects a printer, appending it to the list when it is not there. A record other than the
    // held one is copied; null reads the destination's own settings.
    void SetPrinter(const std::string& device, const std::string& driver, const std::string& port,
                    const TDeviceMode* deviceMode);

    TPrinterCanvas* Canvas();
    platform::gdi::DeviceContext* Handle();
    TPrinterState State() const { return m_state; }
    void SetState(TPrinterState value);

    // The selected destination as the current settings record sees it, in device pixels.
    int PageWidth();  // printable area
    int PageHeight(); //
    int PixelsPerInchX();
    int PixelsPerInchY();
    frame::TPoint PhysicalPageSize();
    frame::TPoint PhysicalOffset(); // the unprintable margin at the left and top
    // Paper and bin codes the destination offers; its make and model.
    std::vector<int> PaperCodes();
    std::vector<int> BinCodes();
    std::string DriverName();

    const std::string& Title() const { return m_title; }
    void SetTitle(std::string value) { m_title = std::move(value); }
    void BeginDoc();
    void NewPage();
    // Ends the job and hands the document over; a document the print service refuses raises
    // EPrinter with its reason after the job has been ended.
    void EndDoc();
    // Ends the job without sending anything (or cancels what is being handed over).
    void Abort();
    bool Printing() const { return m_printing; }
    bool Aborted() const { return m_aborted; }
    int PageNumber() const { return m_pageNumber; }
    // The print service's number of the last job sent (0 for the file sink or none).
    int LastJobId() const { return m_lastJobId; }

    TPrinterCapabilities Capabilities() const { return m_capabilities; }
    frame::TStrings* Fonts();

private:
    void CheckPrinting(bool value) const;
    TPrinterDevice* Entry(int index) const;
    void ReadPrinterList();
    void EnsurePrinterList();
    void SelectDefault();
    void SetCapabilities();
    bool OpenDevice(const std::string& device);
    void EnsureDevice();
    platform::spool::PageGeometry Geometry();
    void FreeFonts();
    void AttachCanvas(platform::gdi::DeviceContext* dc);
    platform::gdi::DeviceContext* CurrentContext() const;
    bool ContinuePrinting();
    void FinishJob();

    TPrinterCanvas* m_canvas = nullptr;
    std::unique_ptr<frame::TStringList> m_printers;
    std::vector<std::unique_ptr<TPrinterDevice>> m_devices;
    std::chrono::steady_clock::time_point m_listRead;
    std::string m_defaultName;
    std::string m_serviceError;
    std::unique_ptr<frame::TStringList> m_fonts;
    int m_printerIndex = -1;
    TPrinterState m_state = psNoHandle;
    std::unique_ptr<platform::spool::MeasuringPage> m_measure;
    std::unique_ptr<TDeviceMode> m_deviceMode;
    std::unique_ptr<platform::spool::DeviceCaps> m_caps;
    std::chrono::steady_clock::time_point m_capsRead;
    TPrinterCapabilities m_capabilities;
    std::string m_title;
    std::unique_ptr<platform::spool::PrintJob> m_job;
    platform::gdi::DeviceContext* m_page = nullptr; // the job's current page
    bool m_printing = false;
    bool m_aborted = false;
    bool m_handingOver = false;
    int m_pageNumber = 0;
    int m_lastJobId = 0;
};

// The process-wide printer object, made on first request.
TPrinter* Printer();
// Replaces the process-wide object and returns the old one, which the caller then owns.
TPrinter* SetPrinter(TPrinter* newPrinter);

} // namespace controls
