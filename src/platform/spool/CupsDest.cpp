#include "platform/spool/CupsDest.h"

#include "platform/spool/Destinations.h"

namespace platform::spool::detail {

CupsDest::CupsDest(const std::string& name) {
    QueueDetails details = LastListedDetails(name);
    m_makeAndModel = details.makeAndModel;
    std::string uri = details.uri;
    if (uri.empty()) {
        char buffer[HTTP_MAX_URI];
        detail::Cups().httpAssembleURIf(HTTP_URI_CODING_ALL, buffer, sizeof buffer, "ipp", nullptr,
                                        "localhost", detail::Cups().ippPort(), "/printers/%s",
                                        name.c_str());
        uri = buffer;
    }
    m_count = detail::Cups().cupsAddDest(name.c_str(), nullptr, 0, &m_dests);
    // The destination calls take the queue's address from this option; without it they would
    // look the queue up again on a connection of their own, unbounded.
    m_dests->num_options = detail::Cups().cupsAddOption("printer-uri-supported", uri.c_str(),
                                                        m_dests->num_options, &m_dests->options);
}

CupsDest::~CupsDest() {
    if (m_info)
        detail::Cups().cupsFreeDestInfo(m_info);
    detail::Cups().cupsFreeDests(m_count, m_dests);
}

bool CupsDest::CopyInfo(const CupsConnection& connection) {
    if (!m_info)
        m_info = detail::Cups().cupsCopyDestInfo(connection.Http(), m_dests);
    return m_info != nullptr;
}

} // namespace platform::spool::detail
