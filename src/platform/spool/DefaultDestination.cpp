#include "platform/spool/DefaultDestination.h"

#include <algorithm>

#include "platform/spool/AsciiText.h"

namespace platform::spool {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The queue a name stands for: an instance ("PDF/draft") prints on its queue.
std::string QueueOf(std::string_view name) {
    if (IsFileDestination(name))
        return std::string(name);
    return std::string(name.substr(0, name.find('/')));
}

bool Listed(const std::string& queue, const std::vector<std::string>& names) {
    return std::find(names.begin(), names.end(), queue) != names.end();
}

} // namespace

bool IsFileDestination(std::string_view name) {
    return name.size() > kFileDestinationPrefix.size() &&
           name.substr(0, kFileDestinationPrefix.size()) == kFileDestinationPrefix;
}

std::string FileDestinationPath(std::string_view name) {
    return IsFileDestination(name) ? std::string(name.substr(kFileDestinationPrefix.size()))
                                   : std::string();
}

std::string FileDestinationName(std::string_view path) {
    return std::string(kFileDestinationPrefix) + std::string(path);
}

std::string LpoptionsDefault(std::string_view text) {
    std::string found;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        size_t space = line.find_first_of(" \t");
        if (space == std::string_view::npos || !SameAsciiText(line.substr(0, space), "Default"))
            continue;
        std::string_view rest = Trim(line.substr(space));
        found = std::string(rest.substr(0, rest.find_first_of(" \t")));
    }
    return found;
}

std::string ChooseDefaultDestination(const DefaultSources& sources,
                                     const std::vector<std::string>& names) {
    // A name the user or the program gave decides, found or not.
    std::string_view given = !sources.chosen.empty()   ? std::string_view(sources.chosen)
                             : !sources.lpdest.empty() ? std::string_view(sources.lpdest)
                             : (!sources.printer.empty() && sources.printer != "lp")
                                 ? std::string_view(sources.printer)
                                 : std::string_view();
    if (!given.empty()) {
        std::string queue = QueueOf(given);
        return IsFileDestination(queue) || Listed(queue, names) ? queue : std::string();
    }
    for (const std::string* text : {&sources.userOptions, &sources.systemOptions}) {
        std::string line = LpoptionsDefault(*text);
        if (line.empty())
            continue;
        std::string queue = QueueOf(line);
        if (Listed(queue, names))
            return queue;
    }
    return Listed(sources.server, names) ? sources.server : std::string();
}

} // namespace platform::spool
