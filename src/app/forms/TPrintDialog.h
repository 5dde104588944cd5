#pragma once
// The way forward when "Печать" finds no default print queue, or no print service: a small
// dialog that lists the queues the service has (the first preselected) to print on one, and
// offers the same page as a PDF file, its path editable. Made for one print, modal to the
// result form, and freed afterwards.
#include <functional>
#include <string>
#include <vector>

#include "app/ReportPrinting.h"
#include "frame/forms/TCustomForm.h"

namespace controls {
class TLabel;
class TComboBox;
class TEdit;
class TBevel;
class TButton;
} // namespace controls

namespace app {

// What the dialog ended with.
constexpr frame::TModalResult PrintOnQueue = frame::mrOk; // print on ChosenQueue()
constexpr frame::TModalResult SavedAsPdf = frame::mrYes;  // the PDF was written

class TPrintDialog : public frame::TForm {
public:
    ZORVANE_CLASS(TPrintDialog)
    explicit TPrintDialog(frame::TComponent* owner);
    ~TPrintDialog() override;

    controls::TLabel* StatusLabel = nullptr;
    controls::TLabel* QueueLabel = nullptr;
    controls::TLabel* FileLabel = nullptr;
    controls::TBevel* Bevel1 = nullptr;
    controls::TBevel* Bevel2 = nullptr;
    controls::TComboBox* QueueBox = nullptr;
    controls::TButton* PrintButton = nullptr;
    controls::TEdit* FileEdit = nullptr;
    controls::TButton* SaveButton = nullptr;
    controls::TButton* CancelButton = nullptr;

    // Fills the dialog: the queues (the first selected; without any, printing is off and the
    // PDF file has the keyboard), why there is no default to print on, and the PDF's path.
    void Offer(const std::vector<TQueueChoice>& queues, const std::string& status,
               const std::string& pdfPath);
    // The queue selected; empty when none is.
    std::string ChosenQueue() const;
    // The path in the file field, as the PDF would be written to it: a leading "~/" is the
    // home folder, and a relative path lies in the folder of the path offered.
    std::string PdfPath() const;

    // Writes the report to a PDF file (raises on failure). "Сохранить в PDF…" calls it once the
    // path is settled and, on success, ends the dialog with SavedAsPdf.
    std::function<void(const std::string& path)> SaveReport;

    // Handlers bound by the form's stream.
    void SaveButtonClick(frame::TObject* sender);
    void QueueBoxEnter(frame::TObject* sender);
    void FileEditEnter(frame::TObject* sender);

private:
    // Asks before an existing file is replaced; false when the user says no (or it is a folder).
    bool MayWrite(const std::string& path);
    int Message(const std::string& text, unsigned flags);

    std::vector<std::string> m_queues; // the names of the listed queues, in order
    std::string m_folder;              // the folder of the path offered
};

} // namespace app
