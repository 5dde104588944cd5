// The progress window during a print, with the application frame on the headless display.
#include <gtest/gtest.h>

#include "../platform/spool/SpoolTestSupport.h"
#include "ReportTestSupport.h"
#include "controls/TButtonControl.h"
#include "controls/TLabel.h"
#include "controls/TProgressBar.h"
#include "frame/forms/TApplication.h"
#include "frame/forms/TScreen.h"
#include "platform/display/Headless.h"
#include "platform/spool/Destinations.h"
#include "report/TRepBand.h"
#include "report/TRepPrinter.h"
#include "report/TRepProgressForm.h"

using namespace report;
using namespace reporttest;
namespace spool = platform::spool;

namespace {

class ProgressPrint : public testing::Test {
protected:
    void SetUp() override {
        platform::headless::Start();
        RegisterClasses();
        frame::StartFrame();
        m_path = testing::TempDir() + "zorvane-progress-" + std::to_string(getpid()) + ".pdf";
        std::remove(m_path.c_str());
        spool::RouteToFile(m_path);
    }
    void TearDown() override {
        spool::RouteToFile("");
        std::remove(m_path.c_str());
        frame::EndFrame();
        platform::headless::Stop();
    }
    bool Printed() const {
        struct stat st {};
        return stat(m_path.c_str(), &st) == 0;
    }
    std::string m_path;
};

} // namespace

TEST_F(ProgressPrint, TheWindowIsUpWhilePrintingAndGoesWithThePrint) {
    auto report = ReadOnePageReport(false);
    TTestReport* r = report.get();
    int forms = frame::Screen->CustomFormCount();
    TRepProgressForm* seen = nullptr;
    report->onBeforePrint = [&](bool&) {
        seen = r->ProgressWindow();
        ASSERT_NE(seen, nullptr);
        EXPECT_TRUE(seen->Visible());
        EXPECT_EQ(seen->Caption(), "Printing progress");
        EXPECT_EQ(seen->ClientWidth(), 149);
        EXPECT_EQ(seen->ClientHeight(), 84);
        EXPECT_EQ(seen->FormStyle(), frame::fsStayOnTop);
        EXPECT_EQ(seen->BorderStyle(), frame::bsDialog);
        EXPECT_EQ(seen->Left(), (frame::Screen->Width() - seen->Width()) / 2);
        EXPECT_EQ(seen->Owner(), frame::Application);
        ASSERT_NE(seen->Info, nullptr);
        EXPECT_EQ(seen->Info->Caption(), "");
        EXPECT_EQ(seen->Info->BoundsRect(), (frame::TRect{0, 28, 145, 41}));
        ASSERT_NE(seen->Gauge, nullptr);
        EXPECT_EQ(seen->Gauge->Position(), 0);
        EXPECT_EQ(seen->Gauge->Max(), 100);
        ASSERT_NE(seen->CancelButton, nullptr);
        EXPECT_EQ(seen->CancelButton->Caption(), "Cancel");
        EXPECT_EQ(seen->CancelButton->BoundsRect(), (frame::TRect{36, 52, 111, 77}));
        EXPECT_EQ(seen->Printer(), r->Printer());
    };
    report->Print();
    EXPECT_NE(seen, nullptr);
    EXPECT_TRUE(Printed());
    EXPECT_EQ(report->ProgressWindow(), nullptr);
    EXPECT_EQ(frame::Screen->CustomFormCount(), forms) << "the window went with the print";

    // Without ShowProgress the window is made but not shown.
    report->SetShowProgress(false);
    report->onBeforePrint = [&](bool&) {
        ASSERT_NE(r->ProgressWindow(), nullptr);
        EXPECT_FALSE(r->ProgressWindow()->Visible());
    };
    report->Print();
}

TEST_F(ProgressPrint, CancelDropsTheJob) {
    auto report = ReadOnePageReport(false);
    TTestReport* r = report.get();
    report->onBandBeforePrint = [r](TRepCustomBand*, bool&) {
        r->ProgressWindow()->CancelButton->Click();
    };
    report->FindBand(TRepBandType::rbTitle)->BeforePrint =
        TBandBeforePrintEvent::Of<&TTestReport::BandBeforePrint>(r);
    report->Print();
    EXPECT_FALSE(Printed());
    EXPECT_TRUE(report->Available());
    report->onBandBeforePrint = nullptr;
    report->Print();
    EXPECT_TRUE(Printed());
}
