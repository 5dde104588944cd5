#pragma once
// Starting the help viewer and hearing back from it. The viewer is started without a shell and
// never waited for: a timer of the message loop polls it (without blocking) until it ends, reaps
// it, and reports a failure through the handler, so the report always arrives on the
// user-interface thread, from inside the loop, where the frame can show it.
#include <functional>
#include <string>

namespace platform::help {

// Starts `command` (looked up in PATH) with the one argument `argument`. False, with a message
// for the user in `error`, when it cannot be started.
bool StartViewer(const std::string& command, const std::string& argument, std::string& error);

// Hands `message` to the failure handler from inside the message loop.
void ReportLater(std::string message);

// Reaps viewers that have ended and delivers every waiting report now. The loop's timer does
// this by itself; tests and shutdown call it directly.
void PollViewers();

// Viewers started and not yet reaped.
int RunningViewers();

// Where reports go; without a handler they are written to standard error.
void SetFailureHandler(std::function<void(const std::string& message)> handler);

} // namespace platform::help
