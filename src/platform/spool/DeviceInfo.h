#pragma once
// Reading what a destination offers: the file sink answers at once, a queue of the print service
// through one bounded call.
#include <string>

#include "platform/spool/DeviceMode.h"

namespace platform::spool {

// Raises rtl::EPrinter with the reason when the destination cannot be asked.
DeviceCaps ReadDevice(const std::string& name);

} // namespace platform::spool
