#include "app/ProgramForms.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/MonthSession.h"
#include "app/ProgramAccessibility.h"
#include "app/ProgramClasses.h"
#include "app/forms/TAboutBox.h"
#include "app/forms/TIntro.h"
#include "app/forms/TPrintDialog.h"
#include "app/forms/TReport1.h"
#include "app/forms/TResult.h"
#include "frame/StreamClasses.h"
#include "frame/forms/TApplication.h"
#include "frame/forms/TCustomForm.h"
#include "platform/display/WindowApi.h"
#include "platform/gdi/FontSetUp.h"
#include "platform/locale/LocaleSettings.h"
#include "rtl/ScopeExit.h"

namespace app {

TMonthSession* Session = nullptr;
TIntro* Intro = nullptr;
TResult* Result = nullptr;
TAboutBox* AboutBox = nullptr;
TReport1* Report1 = nullptr;

namespace {
const char* const ProgramTitle = "Zorvane";
const char* const ProgramHelpFile = "Zorvane.hlp";
} // namespace

void RegisterFormClasses() {
    frame::RegisterStreamClasses({TIntro::StaticClass(), TResult::StaticClass(),
                                  TAboutBox::StaticClass(), TReport1::StaticClass(),
                                  TPrintDialog::StaticClass()});
}

void MakeProgramForms() {
    MakeSession();
    frame::Application->MakeForm(Intro);
    // The input form is on screen and set up (its first activation ran as it was shown): it is
    // painted now, not after the hidden forms are made.
    if (Intro)
        Intro->Update();
    frame::Application->MakeForm(Result);
    frame::Application->MakeForm(AboutBox);
    MakeReport();
    DescribeProgramForms();
}

void MakeSession() {
    Session = new TMonthSession(frame::Application);
}

void MakeReport() {
    // A report is not a form: it is made and read as a form is, but never shown. Its reference
    // is set before the design is read and cleared again if that fails, as MakeForm does.
    auto* report = new TReport1(frame::Application);
    Report1 = report;
    rtl::ScopeExit undo([report] { delete report; }); // clears Report1
    report->InitializeReport();
    undo.Release();
}

void StartProgram() {
    frame::Application->InitializeFrame();
    frame::Application->SetAppTitle(ProgramTitle);
    frame::Application->SetAppHelpFile(ProgramHelpFile);
    MakeProgramForms();
}

void ShowResultForm(frame::TCustomForm* result) {
    if (!result)
        return;
    if (result->Visible())
        result->OnShow(result);
    result->ShowForm();
}

namespace {

// A desktop program started where no X display can be opened would otherwise run on in memory,
// invisible; ZORVANE_DISPLAY=headless asks for that on purpose.
bool HaveDisplay() {
    const char* choice = std::getenv("ZORVANE_DISPLAY");
    if (choice && std::string(choice) == "headless")
        return true;
    return platform::DisplayBackendName() != "headless";
}

} // namespace

void PrepareProgram() {
    platform::gdi::StartFontSetUp();
    platform::InitLocaleSettings();
    RegisterProgramClasses();
}

int RunProgramOnce() {
    return frame::RunFrameProgram([] {
        // Costs nothing until a screen reader listens.
        frame::Application->EnableAccessibility();
        StartProgram();
        frame::Application->RunLoop();
    });
}

int RunProgram() {
    PrepareProgram();
    if (!HaveDisplay()) {
        const char* display = std::getenv("DISPLAY");
        if (display && *display)
            std::fprintf(stderr, "zorvane: cannot open display '%s'\n", display);
        else
            std::fprintf(stderr, "zorvane: no X display (DISPLAY is not set)\n");
        return 1;
    }
    return RunProgramOnce();
}

} // namespace app
