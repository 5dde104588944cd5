#pragma once
// The destinations a job can go to, read afresh from the print service at every call (a queue
// added or a server started after launch is seen), with every wait bounded: no server answers
// at once with an empty list, a silent one within a few seconds.
//
// Besides the service's queues there is the file sink: a destination named "file:PATH" writes
// the job's PDF to PATH and needs no print service. It is listed when the program routes all
// printing to a file (RouteToFile), or when the program's own default, LPDEST or PRINTER names
// one ("LPDEST=file:/tmp/page.pdf").
#include <string>
#include <vector>

namespace platform::spool {

struct DestinationList {
    std::vector<std::string> names; // the service's order, then a file destination
    std::string defaultName;        // empty: there is no default
    std::string error;              // why the service could not be asked; empty when it answered
};

DestinationList ListDestinations();

// The program's own choice of default destination, above LPDEST and PRINTER; empty clears it.
void SetDefaultDestination(std::string name);
// Sends every job to a PDF file at `path` without asking any print service: the list holds
// that one destination and it is the default. An empty path goes back to the print service.
void RouteToFile(std::string path);

// Attributes the last listing gave for a queue: its address and how it describes itself.
struct QueueDetails {
    std::string uri;
    std::string makeAndModel;
};
QueueDetails LastListedDetails(const std::string& name);

} // namespace platform::spool
