#pragma once
// One print job: pages are drawn into a PDF at the destination's resolution, and at the end the
// document goes to the print service (or, for the file sink, to its file) in one piece. Nothing
// reaches the service before Finish, so a job dropped before then sends nothing.
#include <functional>
#include <memory>
#include <string>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/PdfDocument.h"
#include "platform/spool/DeviceMode.h"
#include "platform/spool/JobOptions.h"

namespace platform::spool {

class PrintJob {
public:
    enum class Outcome { Sent, Cancelled };

    // `title` names the job; it is made acceptable to the service (JobName.h).
    PrintJob(DeviceCaps caps, const DeviceMode& mode, const std::string& title);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    const PageGeometry& Geometry() const { return m_geometry; }
    const JobOptionList& Options() const { return m_options; }
    const std::string& JobName() const { return m_name; }

    // Starts the next page (ending the current one). The context's origin is the corner of the
    // printable area; it lives until the page ends.
    gdi::DeviceContext& StartPage();
    void EndPage();
    int PageCount() const { return m_pages; }

    // Hands the document over. `keepGoing` is asked before anything is sent and between parts
    // of the document; when it says no, nothing is sent, or the job the service already holds is
    // cancelled. Raises rtl::EPrinter when the service refuses the job or cannot be reached, and
    // rtl::EPrinterFile (with the system's error) when the file sink cannot write its file.
    Outcome Finish(const std::function<bool()>& keepGoing);
    // Drops the document; nothing is sent.
    void Discard();
    // The service's number for the job once sent (0 for the file sink).
    int JobId() const { return m_jobId; }

private:
    Outcome SendToService(const std::string& document, const std::function<bool()>& keepGoing);
    void WriteFile(const std::string& document) const;

    DeviceCaps m_caps;
    PageGeometry m_geometry;
    JobOptionList m_options;
    std::string m_name;
    std::unique_ptr<gdi::PdfDocument> m_document;
    gdi::DeviceContext* m_page = nullptr;
    int m_pages = 0;
    int m_jobId = 0;
};

// A context for measuring at a destination's resolution outside a job: a page that is never
// sent.
class MeasuringPage {
public:
    explicit MeasuringPage(const PageGeometry& geometry);
    ~MeasuringPage();
    gdi::DeviceContext& Context() { return *m_context; }

private:
    gdi::PdfDocument m_document;
    gdi::DeviceContext* m_context;
};

} // namespace platform::spool
