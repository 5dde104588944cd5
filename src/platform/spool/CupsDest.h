#pragma once
// Private to src/platform/spool: one queue as the print service's destination calls want it,
// addressed by the URI the last listing gave (or the usual one when it was not listed).
#include <cups/cups.h>

#include <string>

#include "platform/spool/CupsConnection.h"

namespace platform::spool::detail {

class CupsDest {
public:
    explicit CupsDest(const std::string& name);
    ~CupsDest();
    CupsDest(const CupsDest&) = delete;
    CupsDest& operator=(const CupsDest&) = delete;

    // Asks the service what the queue offers; false when it could not.
    bool CopyInfo(const CupsConnection& connection);
    cups_dest_t* Dest() { return m_dests; }
    cups_dinfo_t* Info() { return m_info; }
    const std::string& MakeAndModel() const { return m_makeAndModel; }

private:
    cups_dest_t* m_dests = nullptr;
    int m_count = 0;
    cups_dinfo_t* m_info = nullptr;
    std::string m_makeAndModel;
};

} // namespace platform::spool::detail
