#include "app/forms/TPrintDialog.h"

#include <filesystem>

#include "app/ReportPrinting.h"
#include "controls/TBevel.h"
#include "controls/TButtonControl.h"
#include "controls/TComboBox.h"
#include "controls/TEdit.h"
#include "controls/TLabel.h"
#include "frame/ClassBuilder.h"
#include "frame/forms/TApplication.h"
#include "platform/display/WindowApi.h"
#include "platform/files/UserFolders.h"
#include "rtl/Exception.h"

namespace app {

using namespace frame;
namespace fs = std::filesystem;

namespace {

const char* const HomePrefix = "~/";

const char* const NoFileName = "Укажите имя файла PDF.";
const char* const IsAFolder = "«%s» — это папка. Укажите имя файла PDF.";
const char* const ReplaceFile = "Файл «%s» уже существует.\nЗаменить его?";
const char* const Saved = "Отчёт сохранён в файл\n«%s».";

std::string FolderOf(const std::string& path) {
    std::string folder = fs::path(path).parent_path().string();
    return folder.empty() ? std::string(".") : folder;
}

} // namespace

const TClassInfo* TPrintDialog::StaticClass() {
    static const auto info = TClassBuilder<TPrintDialog>("TPrintDialog", TForm::StaticClass())
                                 .Field("StatusLabel", &TPrintDialog::StatusLabel)
                                 .Field("QueueLabel", &TPrintDialog::QueueLabel)
                                 .Field("FileLabel", &TPrintDialog::FileLabel)
                                 .Field("Bevel1", &TPrintDialog::Bevel1)
                                 .Field("Bevel2", &TPrintDialog::Bevel2)
                                 .Field("QueueBox", &TPrintDialog::QueueBox)
                                 .Field("PrintButton", &TPrintDialog::PrintButton)
                                 .Field("FileEdit", &TPrintDialog::FileEdit)
                                 .Field("SaveButton", &TPrintDialog::SaveButton)
                                 .Field("CancelButton", &TPrintDialog::CancelButton)
                                 .Method<&TPrintDialog::SaveButtonClick>("SaveButtonClick")
                                 .Method<&TPrintDialog::QueueBoxEnter>("QueueBoxEnter")
                                 .Method<&TPrintDialog::FileEditEnter>("FileEditEnter")
                                 .Build();
    return info.get();
}

TPrintDialog::TPrintDialog(TComponent* owner) : TForm(owner) {}

TPrintDialog::~TPrintDialog() = default;

void TPrintDialog::Offer(const std::vector<TQueueChoice>& queues, const std::string& status,
                         const std::string& pdfPath) {
    StatusLabel->SetCaption(status);
    QueueBox->Items()->BeginUpdate();
    QueueBox->Items()->Clear();
    for (const TQueueChoice& queue : queues)
        QueueBox->Items()->Add(QueueItemText(queue));
    QueueBox->Items()->EndUpdate();
    m_queues.clear();
    for (const TQueueChoice& queue : queues)
        m_queues.push_back(queue.name);
    bool canPrint = !queues.empty();
    QueueBox->SetItemIndex(canPrint ? 0 : -1);
    QueueBox->SetEnabled(canPrint);
    QueueLabel->SetEnabled(canPrint);
    PrintButton->SetEnabled(canPrint);
    FileEdit->SetText(pdfPath);
    m_folder = FolderOf(pdfPath);
    // Enter does what the dialog is there for: print when there is a queue, else save.
    PrintButton->SetDefault(canPrint);
    SaveButton->SetDefault(!canPrint);
    SetActiveControl(canPrint ? static_cast<TWinControl*>(QueueBox) : FileEdit);
}

std::string TPrintDialog::ChosenQueue() const {
    int index = QueueBox->ItemIndex();
    return index >= 0 && index < int(m_queues.size()) ? m_queues[std::size_t(index)] : "";
}

std::string TPrintDialog::PdfPath() const {
    std::string text = FileEdit->Text();
    if (text.empty())
        return text;
    if (text.starts_with(HomePrefix))
        return (fs::path(platform::files::HomeFolder()) / text.substr(2)).string();
    if (fs::path(text).is_relative())
        return (fs::path(m_folder) / text).string();
    return text;
}

void TPrintDialog::QueueBoxEnter(TObject*) {
    if (PrintButton->Enabled()) {
        SaveButton->SetDefault(false);
        PrintButton->SetDefault(true);
    }
}

void TPrintDialog::FileEditEnter(TObject*) {
    PrintButton->SetDefault(false);
    SaveButton->SetDefault(true);
}

int TPrintDialog::Message(const std::string& text, unsigned flags) {
    return Application->AppMessageBox(text, Application->AppTitle(), flags);
}

bool TPrintDialog::MayWrite(const std::string& path) {
    std::error_code error;
    if (fs::is_directory(path, error)) {
        Message(rtl::Format(IsAFolder, path), platform::MB_OK | platform::MB_ICONSTOP);
        return false;
    }
    if (!fs::exists(fs::symlink_status(path, error)))
        return true;
    return Message(rtl::Format(ReplaceFile, path), platform::MB_YESNO | platform::MB_ICONQUESTION |
                                                       platform::MB_DEFBUTTON2) == platform::IDYES;
}

void TPrintDialog::SaveButtonClick(TObject*) {
    std::string path = PdfPath();
    if (path.empty()) {
        Message(NoFileName, platform::MB_OK | platform::MB_ICONSTOP);
    } else if (MayWrite(path) && SaveReport) {
        try {
            SaveReport(path);
        } catch (const rtl::EPrinterFile& e) {
            // The dialog stays, so another folder or name can be tried.
            Message(PdfNotWritten(path, e.SystemError(), e.Message()),
                    platform::MB_OK | platform::MB_ICONSTOP);
            FileEdit->SetFocus();
            return;
        }
        Message(rtl::Format(Saved, path), platform::MB_OK | platform::MB_ICONINFORMATION);
        SetModalResult(SavedAsPdf);
        return;
    }
    if (FileEdit->CanFocus())
        FileEdit->SetFocus();
}

} // namespace app
