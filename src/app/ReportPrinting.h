#pragma once
// "Печать" on the result form without dead ends. With a default print queue the report goes
// straight to it, as it always did. Without one — queues but none the default, no print
// service, or one that does not answer, refuses or answers garbage — the print dialog
// (TPrintDialog) lists the queues there are and offers the same page as a PDF file.
#include <string>
#include <vector>

#include "platform/spool/Destinations.h"

namespace frame {
class TComponent;
}

namespace app {

class TReport1;

// One queue as the print dialog lists it.
struct TQueueChoice {
    std::string name;
    std::string description; // its description, else where it stands; may be empty
};

// The queues of a listing, in the service's order: each with the description its administrator
// gave, or its location when the description is empty or only repeats the name.
std::vector<TQueueChoice> QueueChoices(const platform::spool::DestinationList& list);
// The list item of a queue: its name, and its description in parentheses when there is one.
std::string QueueItemText(const TQueueChoice& queue);

// What the print dialog says of the print service: why there is no default queue to print on.
std::string ServiceStatusText(platform::spool::ServiceFailure failure, bool anyQueue);

// The file name a saved report gets: "Zorvane <period>.pdf", the period as the page names it
// ("Март 2000"). A slash becomes "-" and a control character a blank; blanks and dots at either
// end of the period go; without a period the name is "Zorvane.pdf".
std::string ReportFileName(const std::string& periodText);
// The path the print dialog offers: the file name in the user's documents folder.
std::string DefaultPdfPath(const std::string& periodText);

// What the user is told when the PDF could not be written to `path`: a full disk, a folder that
// cannot be written or is not there each in its own words; otherwise the system's reason.
std::string PdfNotWritten(const std::string& path, int systemError, const std::string& detail);

// The report on `queue`, or as a PDF at `path` through the file sink (written whole or not at
// all). Failures propagate as the report's print raises them.
void PrintReportOn(TReport1& report, const std::string& queue);
void SaveReportAs(TReport1& report, const std::string& path);

// "Печать": reads the destinations (bounded; the windows repaint meanwhile); with a default,
// prints on it; otherwise shows the print dialog, owned by `owner` and modal, and does what it
// ends with. A second call while one runs does nothing.
void PrintReport(TReport1& report, frame::TComponent* owner);

} // namespace app
