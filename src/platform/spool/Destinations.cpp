#include "platform/spool/Destinations.h"

#include <cstdlib>
#include <fstream>
#include <map>

#include "platform/spool/CupsConnection.h"
#include "platform/spool/DefaultDestination.h"

namespace platform::spool {

namespace {

// lpoptions files are a few lines; anything much longer is not one.
constexpr std::streamsize kMaxOptionsFileBytes = 1 << 16;

struct SpoolChoices {
    std::string defaultName;
    std::string filePath;
};

SpoolChoices& Choices() {
    static SpoolChoices choices;
    return choices;
}

std::map<std::string, QueueDetails>& ListedDetails() {
    static std::map<std::string, QueueDetails> details;
    return details;
}

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string ReadSmallFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::string text(kMaxOptionsFileBytes, '\0');
    in.read(text.data(), kMaxOptionsFileBytes);
    text.resize(std::size_t(in.gcount()));
    return text;
}

DefaultSources ReadDefaultSources() {
    DefaultSources sources;
    sources.chosen = Choices().defaultName;
    sources.lpdest = Env("LPDEST");
    sources.printer = Env("PRINTER");
    if (std::string home = Env("HOME"); !home.empty())
        sources.userOptions = ReadSmallFile(home + "/.cups/lpoptions");
    std::string serverRoot = Env("CUPS_SERVERROOT");
    sources.systemOptions =
        ReadSmallFile((serverRoot.empty() ? std::string("/etc/cups") : serverRoot) + "/lpoptions");
    return sources;
}

const char* StringOf(ipp_attribute_t* attr) {
    const char* text = attr ? detail::Cups().ippGetString(attr, 0, nullptr) : nullptr;
    return text ? text : "";
}

void NoteFailure(const detail::CupsConnection& connection, DestinationList& list) {
    list.failure = connection.FailureKind();
    list.error = connection.Failure();
}

// A failed request, or an answer that carries a failure instead of the queues. "Not found" is
// how the service says it has no queues at all.
bool RequestFailed(ipp_t* response, ipp_status_t status) {
    bool failed = status > IPP_STATUS_OK_EVENTS_COMPLETE && status != IPP_STATUS_ERROR_NOT_FOUND;
    return failed || (!response && status != IPP_STATUS_ERROR_NOT_FOUND);
}

// The queues of a CUPS-Get-Printers answer, in its order, with what each says of itself.
void ReadQueues(ipp_t* response, std::vector<std::string>& names,
                std::map<std::string, QueueDetails>& details) {
    std::string name;
    QueueDetails queue;
    for (ipp_attribute_t* attr = detail::Cups().ippFirstAttribute(response);;
         attr = detail::Cups().ippNextAttribute(response)) {
        // Queues are separated by group ends (an attribute without a name) or the end.
        const char* attrName = attr ? detail::Cups().ippGetName(attr) : nullptr;
        if (!attrName) {
            if (!name.empty()) {
                names.push_back(name);
                details[name] = queue;
            }
            name.clear();
            queue = QueueDetails();
            if (!attr)
                break;
            continue;
        }
        std::string_view n = attrName;
        if (n == "printer-name")
            name = StringOf(attr);
        else if (n == "printer-uri-supported")
            queue.uri = StringOf(attr);
        else if (n == "printer-make-and-model")
            queue.makeAndModel = StringOf(attr);
        else if (n == "printer-info")
            queue.info = StringOf(attr);
        else if (n == "printer-location")
            queue.location = StringOf(attr);
    }
}

// Asks the service for its queues and its default on one bounded connection. Returns false
// with the list's failure set when it could not.
bool AskService(DestinationList& list, std::string& serverDefault) {
    detail::CupsConnection connection;
    if (!connection.Connected()) {
        NoteFailure(connection, list);
        return false;
    }
    static const char* const kWanted[] = {"printer-name", "printer-uri-supported",
                                          "printer-make-and-model", "printer-info",
                                          "printer-location"};
    ipp_t* request = detail::Cups().ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    detail::Cups().ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD,
                                 "requested-attributes", int(std::size(kWanted)), nullptr, kWanted);
    ipp_t* response = detail::Cups().cupsDoRequest(connection.Http(), request, "/");
    if (RequestFailed(response, detail::Cups().cupsLastError())) {
        NoteFailure(connection, list);
        if (response)
            detail::Cups().ippDelete(response);
        return false;
    }
    std::map<std::string, QueueDetails> details;
    if (response) {
        ReadQueues(response, list.names, details);
        detail::Cups().ippDelete(response);
    }
    ListedDetails() = std::move(details);
    if (ipp_t* answer = detail::Cups().cupsDoRequest(
            connection.Http(), detail::Cups().ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/")) {
        serverDefault =
            StringOf(detail::Cups().ippFindAttribute(answer, "printer-name", IPP_TAG_NAME));
        detail::Cups().ippDelete(answer);
    }
    return true;
}

} // namespace

DestinationList ListDestinations() {
    DestinationList list;
    if (!Choices().filePath.empty()) {
        list.names.push_back(FileDestinationName(Choices().filePath));
        list.defaultName = list.names.front();
        return list;
    }
    DefaultSources sources = ReadDefaultSources();
    AskService(list, sources.server);
    list.defaultName = ChooseDefaultDestination(sources, list.names);
    if (IsFileDestination(list.defaultName))
        list.names.push_back(list.defaultName);
    return list;
}

void SetDefaultDestination(std::string name) {
    Choices().defaultName = std::move(name);
}

const std::string& ChosenDefaultDestination() {
    return Choices().defaultName;
}

void RouteToFile(std::string path) {
    Choices().filePath = std::move(path);
}

QueueDetails LastListedDetails(const std::string& name) {
    auto found = ListedDetails().find(name);
    return found == ListedDetails().end() ? QueueDetails() : found->second;
}

} // namespace platform::spool
