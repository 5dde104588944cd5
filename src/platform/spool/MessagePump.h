#pragma once
// While a document is being handed over, the program's pending messages are processed, so a
// progress window can be redrawn and its "Cancel" pressed. The application object sets the
// pump when it is made (and clears it when it goes); until then nothing runs.
#include <functional>

namespace platform::spool {

void SetMessagePump(std::function<void()> pump);
// Runs the pump once, if one is set.
void PumpMessages();

} // namespace platform::spool
