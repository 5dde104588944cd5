#pragma once
// The help viewer: the classic help call, mapped onto an HTML help document and the desktop's
// viewer. A help file name "x.hlp" (any case) stands for "x.html" (lower case) installed beside
// the program (<prefix>/share/zorvane/) or, when run from a build folder, in the source tree's
// resources/help/. HELP_CONTEXT n opens file://…/x.html#context-n with `xdg-open` (or the command
// named by ZORVANE_HELP_VIEWER), started without a shell and reaped; HELP_QUIT starts nothing.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/display/WindowTypes.h"

namespace platform::help {

enum : unsigned {
    HELP_CONTEXT = 0x0001,
    HELP_QUIT = 0x0002,
    HELP_INDEX = 0x0003,
    HELP_CONTENTS = 0x0003,
    HELP_HELPONHELP = 0x0004,
    HELP_SETINDEX = 0x0005,
    HELP_SETCONTENTS = 0x0005,
    HELP_CONTEXTPOPUP = 0x0008,
    HELP_FORCEFILE = 0x0009,
    HELP_KEY = 0x0101,
    HELP_COMMAND = 0x0102,
    HELP_PARTIALKEY = 0x0105,
    HELP_MULTIKEY = 0x0201,
    HELP_SETWINPOS = 0x0203,
    HELP_CONTEXTMENU = 0x000a,
    HELP_FINDER = 0x000b,
    HELP_WM_HELP = 0x000c,
    HELP_SETPOPUP_POS = 0x000d,
};

// The document a help file name stands for, as an absolute path; empty when none exists.
// (The rules and the folders searched are in HelpFile.h.)
std::string ResolveHelpFile(const std::string& helpFile);

// The help call. HELP_CONTEXT and HELP_CONTEXTPOPUP open the topic `data`; HELP_QUIT and the
// commands that only position or set up the classic viewer start nothing; every other command
// opens the document at its top. Returns true when the viewer was started (or nothing had to
// be). On failure returns false with a message for the user naming what is missing ("Help file
// … not found (looked for … in …)", "No help viewer could be started: …") in `error`; a caller
// that passes no `error` gets the message through the failure handler instead.
bool WinHelp(HWND owner, const std::string& helpFile, unsigned command, std::uintptr_t data,
             std::string* error = nullptr);

// A viewer that starts but then fails (exits non-zero, e.g. xdg-open finding no browser) is
// reported later, on the user-interface thread, from inside the message loop (a timer of the
// window manager that also reaps the viewer), through this handler; the frame shows the text to
// the user. Without a handler the failure is written to standard error.
void SetViewerFailureHandler(std::function<void(const std::string& message)> handler);

} // namespace platform::help
