#include "app/ReportPrinting.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/MonthSession.h"
#include "app/ProgramForms.h"
#include "app/forms/TPrintDialog.h"
#include "app/forms/TReport1.h"
#include "frame/forms/TApplication.h"
#include "platform/files/UserFolders.h"
#include "rtl/Format.h"
#include "rtl/ScopeExit.h"

namespace app {

namespace spool = platform::spool;
namespace fs = std::filesystem;
using spool::ServiceFailure;

namespace {

const char* const FilePrefix = "Zorvane";
const char* const FileExtension = ".pdf";
constexpr char ReplacementChar = '-';
constexpr unsigned char FirstPrintable = 0x20;
constexpr unsigned char Delete = 0x7F;

const char* const ChooseQueue =
    "Очередь печати по умолчанию не выбрана. Выберите очередь или сохраните отчёт в PDF.";
const char* const NoQueues = "В службе печати нет ни одной очереди. Отчёт можно сохранить в PDF.";
const char* const ServiceUnreachable = "Служба печати недоступна. Отчёт можно сохранить в PDF.";
const char* const ServiceSilent = "Служба печати не отвечает. Отчёт можно сохранить в PDF.";
const char* const ServiceRefused =
    "Служба печати отказалась назвать очереди. Отчёт можно сохранить в PDF.";
const char* const ServiceGarbage =
    "Служба печати прислала непонятный ответ. Отчёт можно сохранить в PDF.";

const char* const DiskFull = "На диске не хватает места: файл «%s» не записан.";
const char* const FolderReadOnly = "В папку «%s» нельзя записывать: файл не записан.";
const char* const FolderMissing = "Папки «%s» нет: файл не записан.";
const char* const NotWritten = "Файл «%s» не записан: %s.";

// Set while a print runs: the windows are kept alive while the print service is asked, and a
// second "Печать" then must not start a print inside the first.
bool s_printing = false;

std::string Trimmed(const std::string& text) {
    const char* const ends = " .";
    std::size_t first = text.find_first_not_of(ends);
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(ends) - first + 1);
}

} // namespace

std::vector<TQueueChoice> QueueChoices(const spool::DestinationList& list) {
    std::vector<TQueueChoice> choices;
    for (const std::string& name : list.names) {
        spool::QueueDetails details = spool::LastListedDetails(name);
        bool informative = !details.info.empty() && details.info != name;
        choices.push_back(TQueueChoice{name, informative ? details.info : details.location});
    }
    return choices;
}

std::string QueueItemText(const TQueueChoice& queue) {
    if (queue.description.empty())
        return queue.name;
    return queue.name + " (" + queue.description + ")";
}

std::string ServiceStatusText(ServiceFailure failure, bool anyQueue) {
    switch (failure) {
    case ServiceFailure::None:
        return anyQueue ? ChooseQueue : NoQueues;
    case ServiceFailure::Unreachable:
        return ServiceUnreachable;
    case ServiceFailure::NotAnswering:
        return ServiceSilent;
    case ServiceFailure::Refused:
        return ServiceRefused;
    case ServiceFailure::Garbage:
        return ServiceGarbage;
    }
    return ServiceUnreachable;
}

std::string ReportFileName(const std::string& periodText) {
    // A control character is a blank first, so one at either end goes with the blanks.
    std::string period = periodText;
    for (char& c : period) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '/')
            c = ReplacementChar;
        else if (byte < FirstPrintable || byte == Delete)
            c = ' ';
    }
    period = Trimmed(period);
    std::string name = FilePrefix;
    if (!period.empty())
        name.append(" ").append(period);
    return name + FileExtension;
}

std::string DefaultPdfPath(const std::string& periodText) {
    return (fs::path(platform::files::DocumentsFolder()) / ReportFileName(periodText)).string();
}

std::string PdfNotWritten(const std::string& path, int systemError, const std::string& detail) {
    std::string folder = fs::path(path).parent_path().string();
    switch (systemError) {
    case ENOSPC:
    case EDQUOT:
        return rtl::Format(DiskFull, path);
    case EACCES:
    case EPERM:
    case EROFS:
        return rtl::Format(FolderReadOnly, folder);
    case ENOENT:
    case ENOTDIR:
        return rtl::Format(FolderMissing, folder);
    default:
        return rtl::Format(NotWritten, path, systemError ? std::strerror(systemError) : detail);
    }
}

void PrintReportOn(TReport1& report, const std::string& queue) {
    std::string chosenBefore = spool::ChosenDefaultDestination();
    spool::SetDefaultDestination(queue);
    rtl::ScopeExit back([&] { spool::SetDefaultDestination(chosenBefore); });
    report.Print();
}

void SaveReportAs(TReport1& report, const std::string& path) {
    spool::RouteToFile(path);
    rtl::ScopeExit back([] { spool::RouteToFile(""); });
    report.Print();
}

void PrintReport(TReport1& report, frame::TComponent* owner) {
    if (s_printing)
        return;
    rtl::ValueRestore printing(s_printing, true);
    spool::DestinationList list = spool::ListDestinations();
    if (!list.defaultName.empty()) {
        report.Print();
        return;
    }
    auto* dialog = frame::CreateForm<TPrintDialog>(owner);
    frame::TControl::TAlive alive(dialog);
    rtl::ScopeExit freeDialog([&] {
        if (alive)
            delete dialog;
    });
    std::vector<TQueueChoice> queues = QueueChoices(list);
    std::string period = Session ? Session->Shown().PeriodText : std::string();
    dialog->Offer(queues, ServiceStatusText(list.failure, !queues.empty()), DefaultPdfPath(period));
    dialog->SaveReport = [&report](const std::string& path) { SaveReportAs(report, path); };
    if (dialog->ShowFormModal() != PrintOnQueue || !alive)
        return;
    std::string queue = dialog->ChosenQueue();
    delete dialog; // gone before the print's progress window shows
    if (!queue.empty())
        PrintReportOn(report, queue);
}

} // namespace app
