#pragma once
// Which destination is the default, decided the way the print service's own commands decide it:
// the program's own choice, then LPDEST, then PRINTER (unless it is the placeholder "lp"), then
// the "Default" line of the user's lpoptions file, then of the system's, then the server's
// default. A name given by the program or the environment that names no destination means no
// default (printing to it would fail); a stale lpoptions line is passed over.
#include <string>
#include <string_view>
#include <vector>

namespace platform::spool {

// Destinations whose name starts with this write their document to the path after it.
constexpr std::string_view kFileDestinationPrefix = "file:";

bool IsFileDestination(std::string_view name);
std::string FileDestinationPath(std::string_view name);
std::string FileDestinationName(std::string_view path);

struct DefaultSources {
    std::string chosen;        // the program's own choice
    std::string lpdest;        // environment LPDEST
    std::string printer;       // environment PRINTER
    std::string userOptions;   // text of ~/.cups/lpoptions
    std::string systemOptions; // text of the system's lpoptions
    std::string server;        // the server's default destination
};

// The destination of the last "Default" line of an lpoptions text, instance included
// ("PDF/draft"), or empty.
std::string LpoptionsDefault(std::string_view text);
// The default among `names`, or empty when there is none.
std::string ChooseDefaultDestination(const DefaultSources& sources,
                                     const std::vector<std::string>& names);

} // namespace platform::spool
