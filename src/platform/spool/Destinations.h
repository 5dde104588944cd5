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

// How asking the print service went. A service that answered with no queues, or none marked
// default, is no failure: that is an ordinary set-up.
enum class ServiceFailure {
    None,         // it answered
    Unreachable,  // no service: nothing listens where it should be, or libcups is missing
    NotAnswering, // it took the connection and did not answer within the bound
    Refused,      // it answered that it will not tell (forbidden, not authorised, unavailable)
    Garbage,      // what came back is not a print service's answer
};

struct DestinationList {
    std::vector<std::string> names; // the service's order, then a file destination
    std::string defaultName;        // empty: there is no default
    ServiceFailure failure = ServiceFailure::None;
    std::string error; // why the service could not be asked, as a sentence; empty when it answered
};

DestinationList ListDestinations();

// The program's own choice of default destination, above LPDEST and PRINTER; empty clears it.
void SetDefaultDestination(std::string name);
// Sends every job to a PDF file at `path` without asking any print service: the list holds
// that one destination and it is the default. An empty path goes back to the print service.
void RouteToFile(std::string path);

// The program's own choice of default destination (empty when it made none).
const std::string& ChosenDefaultDestination();

// Attributes the last listing gave for a queue: its address and how it describes itself.
struct QueueDetails {
    std::string uri;
    std::string makeAndModel;
    std::string info;     // the description its administrator gave ("Laser in room 3")
    std::string location; // where it stands
};
QueueDetails LastListedDetails(const std::string& name);

} // namespace platform::spool
