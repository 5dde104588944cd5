// "Печать" without a default queue or without a print service: the print dialog, played with
// keys alone — what it says, the PDF in the documents folder under the month's name, asking
// before a file is replaced, and each way a PDF cannot be written said in its own words with
// nothing left behind. And the rules it rests on: the file name, the failure texts.
#include <cerrno>
#include <filesystem>

#include "../platform/spool/SpoolTestSupport.h"
#include "ProgramTestSupport.h"
#include "app/ReportPrinting.h"
#include "app/forms/TPrintDialog.h"
#include "app/forms/TResult.h"
#include "controls/TBitBtn.h"
#include "controls/TButtonControl.h"
#include "controls/TComboBox.h"
#include "controls/TEdit.h"
#include "controls/TLabel.h"
#include "platform/spool/Destinations.h"

namespace apptest {
namespace {

using platform::VK_DOWN;
using platform::VK_ESCAPE;
using platform::VK_RETURN;
using spooltest::EnvVar;
namespace fs = std::filesystem;
namespace hl = platform::headless;

TEST(ReportPrintingRules, TheFileNameIsTheMonthAsThePageNamesIt) {
    EXPECT_EQ(app::ReportFileName("Март 2000"), "Zorvane Март 2000.pdf");
    EXPECT_EQ(app::ReportFileName("Декабрь 1999"), "Zorvane Декабрь 1999.pdf");
    // A year the date reader took as typed, with a dot or blanks around it.
    EXPECT_EQ(app::ReportFileName(" Февраль 2000. "), "Zorvane Февраль 2000.pdf");
    // Nothing of it makes a folder or a control character.
    EXPECT_EQ(app::ReportFileName("Март 20/00\n"), "Zorvane Март 20-00.pdf");
    EXPECT_EQ(app::ReportFileName(""), "Zorvane.pdf");
    EXPECT_EQ(app::ReportFileName(".."), "Zorvane.pdf");
}

TEST(ReportPrintingRules, EachWayAPdfCannotBeWrittenInItsOwnWords) {
    const std::string path = "/home/u/Документы/Zorvane Март 2000.pdf";
    EXPECT_EQ(app::PdfNotWritten(path, ENOSPC, ""),
              "На диске не хватает места: файл «" + path + "» не записан.");
    for (int error : {EACCES, EPERM, EROFS})
        EXPECT_EQ(app::PdfNotWritten(path, error, ""),
                  "В папку «/home/u/Документы» нельзя записывать: файл не записан.");
    EXPECT_EQ(app::PdfNotWritten(path, ENOENT, ""),
              "Папки «/home/u/Документы» нет: файл не записан.");
    EXPECT_EQ(app::PdfNotWritten(path, EIO, ""),
              "Файл «" + path + "» не записан: Input/output error.");
}

class PrintDialogTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        dir = fs::temp_directory_path() / ("zorvane-print-dialog-" + std::to_string(getpid()));
        fs::create_directories(dir);
        // Without a configured documents folder, xdg-user-dir answers the home folder.
        home = std::make_unique<EnvVar>("HOME", dir.c_str());
    }
    void TearDown() override {
        platform::spool::RouteToFile("");
        platform::spool::SetDefaultDestination("");
        ProgramTest::TearDown();
        home.reset();
        fs::remove_all(dir);
    }
    void StartAtMarch2000() {
        Start(rtl::EncodeDate(2024, 6, 15));
        EnterAndNext(15, 3, "1980", 3, "2000");
        ASSERT_TRUE(app::Result && app::Result->Visible());
    }
    void ClickPrint() { ClickAt(app::Result->BitBtn1, TPoint{48, 16}); }
    static app::TPrintDialog& Dialog(TCustomForm& form) {
        auto* dialog = As<app::TPrintDialog>(&form);
        EXPECT_TRUE(dialog) << form.Caption();
        return *dialog;
    }
    // A step that types a path over the file field's text and presses Enter.
    static TModalStep SaveTo(const std::string& path) {
        return [path](TCustomForm& form) {
            Dialog(form).FileEdit->SetFocus();
            Dialog(form).FileEdit->SetText(path);
            QueueKey(VK_RETURN);
        };
    }
    // The message box's answer to a question (every other box is answered OK).
    void AnswerQuestions(int answer) {
        Application->MessageBoxFunction = [this, answer](platform::HWND, const std::string& text,
                                                         const std::string& caption,
                                                         unsigned flags) {
            boxes.push_back(TBox{text, caption, flags});
            return (flags & platform::MB_YESNO) ? answer : platform::IDOK;
        };
    }
    std::string Pdf(const std::string& name) const { return (dir / name).string(); }
    // The files in the folder (not the folders a library may make in a home folder).
    size_t Files() const {
        size_t n = 0;
        for (const auto& entry : fs::directory_iterator(dir))
            n += entry.is_regular_file();
        return n;
    }

    fs::path dir;
    std::unique_ptr<EnvVar> home;
};

struct NoService {
    EnvVar server{"CUPS_SERVER", spooltest::ClosedAddress().c_str()};
    EnvVar lpdest{"LPDEST", nullptr}, printer{"PRINTER", nullptr};
};

// No print service: the dialog says so, offers the month's PDF in the documents folder, and
// Enter saves it; the path is confirmed; an existing file is replaced only after a "yes".
TEST_F(PrintDialogTest, WithoutAServiceEnterSavesTheMonthsPdfAndAsksBeforeReplacing) {
    NoService none;
    StartAtMarch2000();
    const std::string offered = Pdf("Zorvane Март 2000.pdf");
    AtModalForms({[&](TCustomForm& form) {
        app::TPrintDialog& d = Dialog(form);
        EXPECT_EQ(d.Caption(), "Печать");
        EXPECT_EQ(d.StatusLabel->Caption(),
                  "Служба печати недоступна. Отчёт можно сохранить в PDF.");
        EXPECT_EQ(d.QueueBox->Items()->Count(), 0);
        EXPECT_FALSE(d.PrintButton->Enabled());
        EXPECT_EQ(d.FileEdit->Text(), offered);
        EXPECT_TRUE(d.FileEdit->Focused());
        QueueKey(VK_RETURN);
    }});
    ClickPrint();
    EXPECT_EQ(modalStepsTaken, 1u);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Отчёт сохранён в файл\n«" + offered + "».");
    EXPECT_EQ(spooltest::ReadPdf(offered).pages, 1);
    auto written = fs::last_write_time(offered);

    // Saved again: "no" keeps the file and the dialog, Escape leaves it.
    AnswerQuestions(platform::IDNO);
    AtModalForms(
        {[](TCustomForm&) { QueueKey(VK_RETURN); }, [](TCustomForm&) { QueueKey(VK_ESCAPE); }});
    ClickPrint();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Файл «" + offered + "» уже существует.\nЗаменить его?");
    EXPECT_EQ(boxes[1].flags,
              unsigned(platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON2));
    EXPECT_EQ(fs::last_write_time(offered), written);
    EXPECT_EQ(modalStepsTaken, 2u);

    AnswerQuestions(platform::IDYES);
    AtModalForms({[](TCustomForm&) { QueueKey(VK_RETURN); }});
    ClickPrint();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[3].text, "Отчёт сохранён в файл\n«" + offered + "».");
    EXPECT_EQ(spooltest::ReadPdf(offered).pages, 1);
    // Nothing else was left in the folder.
    EXPECT_EQ(Files(), 1u);
}

// A folder that is not there and a full disk are each said in their own words, nothing is left
// behind, and the dialog stays for another try; a relative name lands in the offered folder.
TEST_F(PrintDialogTest, AFileThatCannotBeWrittenIsSaidAndTheDialogStays) {
    NoService none;
    StartAtMarch2000();
    AnswerQuestions(platform::IDYES);
    AtModalForms({SaveTo(Pdf("none/page.pdf")), SaveTo("/dev/full"), SaveTo("page.pdf")});
    ClickPrint();
    EXPECT_EQ(modalStepsTaken, 3u);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].text, "Папки «" + Pdf("none") + "» нет: файл не записан.");
    EXPECT_EQ(boxes[0].flags, unsigned(platform::MB_OK | platform::MB_ICONSTOP));
    EXPECT_EQ(boxes[1].text, "Файл «/dev/full» уже существует.\nЗаменить его?");
    EXPECT_EQ(boxes[2].text, "На диске не хватает места: файл «/dev/full» не записан.");
    EXPECT_EQ(boxes[3].text, "Отчёт сохранён в файл\n«" + Pdf("page.pdf") + "».");
    EXPECT_FALSE(fs::exists(Pdf("none")));
    EXPECT_EQ(Files(), 1u);
}

// Queues but none the default: the dialog lists them, the first chosen; keys alone pick another
// and print on it, one job; Escape prints nothing.
TEST_F(PrintDialogTest, QueuesWithoutADefaultAreOfferedAndTheChosenOnePrints) {
    SKIP_WITHOUT_CUPS();
    spooltest::TempQueue chosen("dialog_chosen");
    ASSERT_TRUE(chosen.Ok()) << chosen.Output();
    EnvVar lpdest("LPDEST", "ztest_no_such_queue"), printer("PRINTER", nullptr);
    StartAtMarch2000();
    auto pdfJobs = [] { return spooltest::Run("lpstat -W all -o PDF"); };
    const std::string pdfBefore = pdfJobs();
    AtModalForms({[&](TCustomForm& form) {
        app::TPrintDialog& d = Dialog(form);
        EXPECT_EQ(d.StatusLabel->Caption(), "Очередь печати по умолчанию не выбрана. Выберите "
                                            "очередь или сохраните отчёт в PDF.");
        // An item is the queue's name, with its description after it when it has one.
        auto find = [&d](const std::string& name) {
            for (int i = 0; i < d.QueueBox->Items()->Count(); ++i) {
                std::string item = d.QueueBox->Items()->Get(i);
                if (item == name || item.starts_with(name + " ("))
                    return i;
            }
            return -1;
        };
        int at = find(chosen.Name());
        ASSERT_GE(at, 0) << "not listed";
        EXPECT_EQ(d.QueueBox->ItemIndex(), 0);
        EXPECT_NE(find("PDF"), -1);
        EXPECT_TRUE(d.QueueBox->Focused());
        for (int i = 0; i < at; ++i)
            QueueKey(VK_DOWN);
        QueueKey(VK_RETURN);
    }});
    ClickPrint();
    EXPECT_EQ(modalStepsTaken, 1u);
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
    EXPECT_EQ(chosen.JobCount(), 1);
    EXPECT_EQ(pdfJobs(), pdfBefore);
    // The choice was for that print only.
    EXPECT_EQ(platform::spool::ChosenDefaultDestination(), "");

    AtModalForms({[](TCustomForm&) { QueueKey(VK_ESCAPE); }});
    ClickPrint();
    EXPECT_EQ(modalStepsTaken, 1u);
    EXPECT_EQ(chosen.JobCount(), 1);
    EXPECT_TRUE(boxes.empty());
}

} // namespace
} // namespace apptest
