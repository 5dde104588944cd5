#include "platform/help/Help.h"

#include <cstdlib>
#include <vector>

#include "platform/help/HelpFile.h"
#include "platform/help/ViewerProcess.h"

namespace platform::help {

namespace {

std::string ViewerCommand() {
    const char* viewer = std::getenv("ZORVANE_HELP_VIEWER");
    return viewer && *viewer ? std::string(viewer) : std::string("xdg-open");
}

bool Fail(std::string message, std::string* error) {
    if (error)
        *error = std::move(message);
    else
        ReportLater(std::move(message)); // a caller that takes no message still tells the user
    return false;
}

// Commands that only set something up for the classic viewer: nothing to show.
bool SetsUpOnly(unsigned command) {
    switch (command) {
    case HELP_QUIT:
    case HELP_SETINDEX:
    case HELP_SETPOPUP_POS:
    case HELP_SETWINPOS:
        return true;
    default:
        return false;
    }
}

} // namespace

std::string ResolveHelpFile(const std::string& helpFile) {
    return FindHelpDocument(helpFile, HelpSearchFolders());
}

bool WinHelp(HWND, const std::string& helpFile, unsigned command, std::uintptr_t data,
             std::string* error) {
    if (SetsUpOnly(command))
        return true; // (HELP_QUIT comes at shutdown too: nothing is reported from here)
    std::vector<std::string> folders = HelpSearchFolders();
    std::string path = FindHelpDocument(helpFile, folders);
    if (path.empty())
        return Fail(MissingHelpMessage(helpFile, folders), error);
    // A topic for the context commands; every other command shows the document from its top.
    bool topic = command == HELP_CONTEXT || command == HELP_CONTEXTPOPUP;
    std::int64_t context = std::int64_t(std::intptr_t(data));
    std::string why;
    if (!StartViewer(ViewerCommand(), HelpUrl(path, topic ? &context : nullptr), why))
        return Fail(why, error);
    return true;
}

void SetViewerFailureHandler(std::function<void(const std::string& message)> handler) {
    SetFailureHandler(std::move(handler));
}

} // namespace platform::help
