#pragma once
// The options a job sends, from its settings record and what the destination offers: only what
// the destination offers is ever asked for, and two-sided printing only when the record asks
// for it.
#include <string>
#include <utility>
#include <vector>

#include "platform/spool/DeviceMode.h"

namespace platform::spool {

using JobOptionList = std::vector<std::pair<std::string, std::string>>;

// The "sides" keyword of a duplex value.
std::string SidesKeyword(int duplex);
// The duplex value of a "sides" keyword (one-sided for anything unknown).
int DuplexFromSides(const std::string& sides);

JobOptionList BuildJobOptions(const DeviceCaps& caps, const DeviceMode& mode);

} // namespace platform::spool
