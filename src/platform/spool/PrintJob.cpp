#include "platform/spool/PrintJob.h"

#include <cstdio>
#include <cstring>

#include "platform/files/OutputFile.h"
#include "platform/spool/CupsConnection.h"
#include "platform/spool/CupsDest.h"
#include "platform/spool/DefaultDestination.h"
#include "platform/spool/JobName.h"
#include "rtl/Exception.h"

namespace platform::spool {

namespace {

// The document goes in parts of this size, the cancel question asked between them.
constexpr std::size_t kWriteChunk = 64 * 1024;
// Writing may take longer than answering: a budget of its own per megabyte.
constexpr std::chrono::milliseconds kBudgetPerMegabyte{1000};

constexpr const char* kNotSent = "The document could not be sent to \"%s\": %s";
constexpr const char* kNotWritten = "The document could not be written to %s: %s";

// The service's own account of the last failure, or the connection's when it stopped answering.
std::string Reason(const detail::CupsConnection& connection) {
    const char* why = detail::Cups().cupsLastErrorString();
    if (detail::Cups().cupsLastError() == IPP_STATUS_ERROR_INTERNAL || !why || !*why)
        return connection.Failure();
    return why;
}

bool Refused(ipp_status_t status) {
    return status > IPP_STATUS_OK_EVENTS_COMPLETE;
}

// Best effort: a job that must not print is cancelled on a connection of its own.
void CancelJob(const std::string& name, int jobId) {
    detail::CupsConnection connection;
    if (!connection.Connected())
        return;
    detail::CupsDest dest(name);
    detail::Cups().cupsCancelDestJob(connection.Http(), dest.Dest(), jobId);
}

struct CupsOptions {
    explicit CupsOptions(const JobOptionList& list) {
        for (const auto& [name, value] : list)
            count = detail::Cups().cupsAddOption(name.c_str(), value.c_str(), count, &options);
    }
    ~CupsOptions() { detail::Cups().cupsFreeOptions(count, options); }
    CupsOptions(const CupsOptions&) = delete;
    CupsOptions& operator=(const CupsOptions&) = delete;
    int count = 0;
    cups_option_t* options = nullptr;
};

} // namespace

PrintJob::PrintJob(DeviceCaps caps, const DeviceMode& mode, const std::string& title)
    : m_caps(std::move(caps)), m_geometry(ComputeGeometry(m_caps, mode)),
      m_options(BuildJobOptions(m_caps, mode)), m_name(SafeJobName(title)),
      m_document(std::make_unique<gdi::PdfDocument>(m_geometry.ppiY)) {}

PrintJob::~PrintJob() = default;

gdi::DeviceContext& PrintJob::StartPage() {
    if (!m_document)
        throw rtl::EPrinter(std::string("The print job has ended"));
    EndPage();
    gdi::DeviceContext& page = m_document->BeginPage(m_geometry.paperWidth, m_geometry.paperHeight);
    page.SetViewportOrg(gdi::Point{m_geometry.offsetX, m_geometry.offsetY});
    m_page = &page;
    return page;
}

void PrintJob::EndPage() {
    if (!m_page)
        return;
    m_document->EndPage();
    m_page = nullptr;
    ++m_pages;
}

void PrintJob::Discard() {
    m_page = nullptr;
    m_document.reset();
}

PrintJob::Outcome PrintJob::Finish(const std::function<bool()>& keepGoing) {
    if (!m_document)
        throw rtl::EPrinter(std::string("The print job has ended"));
    EndPage();
    std::string document = m_document->Finish();
    m_document.reset();
    if (!keepGoing())
        return Outcome::Cancelled;
    if (m_caps.fileSink) {
        WriteFile(document);
        return Outcome::Sent;
    }
    return SendToService(document, keepGoing);
}

void PrintJob::WriteFile(const std::string& document) const {
    std::string path = FileDestinationPath(m_caps.name);
    std::string cause;
    int error = 0;
    if (!files::WriteOutputFile(path, document, cause, &error))
        throw rtl::EPrinterFile(error, kNotWritten, path, cause);
}

PrintJob::Outcome PrintJob::SendToService(const std::string& document,
                                          const std::function<bool()>& keepGoing) {
    const std::string& queue = m_caps.name;
    int jobId = 0;
    bool cancelled = false;
    std::string failure;
    {
        detail::CupsConnection connection;
        connection.ExtendBudget(kBudgetPerMegabyte * (document.size() >> 20));
        if (!connection.Connected())
            throw rtl::EPrinter(kNotSent, queue, connection.Failure());
        detail::CupsDest dest(queue);
        if (!dest.CopyInfo(connection))
            throw rtl::EPrinter(kNotSent, queue, Reason(connection));
        CupsOptions options(m_options);
        http_t* http = connection.Http();
        ipp_status_t status = detail::Cups().cupsCreateDestJob(
            http, dest.Dest(), dest.Info(), &jobId, m_name.c_str(), options.count, options.options);
        if (Refused(status) || jobId <= 0)
            throw rtl::EPrinter(kNotSent, queue, Reason(connection));
        if (detail::Cups().cupsStartDestDocument(http, dest.Dest(), dest.Info(), jobId,
                                                 m_name.c_str(), CUPS_FORMAT_PDF, 0, nullptr,
                                                 1) != HTTP_STATUS_CONTINUE) {
            failure = Reason(connection);
        } else {
            for (std::size_t at = 0; at < document.size() && failure.empty(); at += kWriteChunk) {
                if (!keepGoing()) {
                    cancelled = true;
                    break;
                }
                std::size_t length = std::min(kWriteChunk, document.size() - at);
                if (detail::Cups().cupsWriteRequestData(http, document.data() + at, length) !=
                    HTTP_STATUS_CONTINUE)
                    failure = Reason(connection);
            }
            if (!cancelled && failure.empty() &&
                Refused(detail::Cups().cupsFinishDestDocument(http, dest.Dest(), dest.Info())))
                failure = Reason(connection);
        }
    } // the connection closes here, ending a document cut short
    if (cancelled || !failure.empty())
        CancelJob(queue, jobId);
    if (!failure.empty())
        throw rtl::EPrinter(kNotSent, queue, failure);
    if (cancelled)
        return Outcome::Cancelled;
    m_jobId = jobId;
    return Outcome::Sent;
}

MeasuringPage::MeasuringPage(const PageGeometry& geometry)
    : m_document(geometry.ppiY),
      m_context(&m_document.BeginPage(geometry.paperWidth, geometry.paperHeight)) {
    m_context->SetViewportOrg(gdi::Point{geometry.offsetX, geometry.offsetY});
}

MeasuringPage::~MeasuringPage() = default;

} // namespace platform::spool
