// The application object: title, the loop's order, the error box and its full stop, where
// exceptions go, OnActivate only on a real change of form, help dispatch, references that go
// away with their controls, start-up failures.
#include <gtest/gtest.h>

#include <algorithm>

#include "FormTestSupport.h"
#include "frame/FormText.h"
#include "frame/controls/ControlBridge.h"
#include "platform/display/WindowApi.h"
#include "platform/help/Help.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

namespace formtest {
namespace {

using namespace platform;
namespace hl = headless;
using controltest::PressKey;

const char* kForm = R"(object F: TStreamForm
  Caption = 'Ввод'
  ClientHeight = 120
  ClientWidth = 240
  HelpFile = 'zorvane.hlp'
  OnActivate = FormActivate
  OnDeactivate = FormDeactivate
  object Button1: TCoreButton
    Left = 8
    Top = 8
    OnClick = ButtonClick
  end
  object Edit1: TCoreEdit
    Left = 8
    Top = 40
    HelpContext = 3
  end
end
)";

class ApplicationTest : public FormTest {};

TEST_F(ApplicationTest, TitleDefaultsToTheProgramNameAndLivesInTheWindow) {
    EXPECT_EQ(Application->AppTitle(), "Test_frame");
    Application->SetAppTitle("Zorvane");
    EXPECT_EQ(Application->AppTitle(), "Zorvane");
    EXPECT_EQ(GetWindowText(Application->Handle()), "Zorvane");
    EXPECT_FALSE(IsWindowVisible(Application->Handle()));
}

TEST_F(ApplicationTest, ALongTitleIsReadBackCutBetweenCharacters) {
    // 254 bytes of ASCII, then a two-byte letter across the 255-byte limit.
    std::string title = std::string(254, 'x') + "Жизнь";
    Application->SetAppTitle(title);
    EXPECT_EQ(Application->AppTitle(), std::string(254, 'x'));
    Application->SetAppTitle(std::string(253, 'x') + "Жизнь");
    EXPECT_EQ(Application->AppTitle(), std::string(253, 'x') + "Ж");
}

TEST_F(ApplicationTest, ErrorBoxAddsAFullStopOnlyAfterCharactersThatSortAfterIt) {
    Application->SetAppTitle("Биоритмы");
    for (const char* text :
         {"'x' is not a valid date", "Ошибка 5", "Готово.", "Стоп!", "запятая,", ""}) {
        try {
            throw rtl::EConvertError(std::string(text));
        } catch (...) {
            Application->ReportException(nullptr);
        }
    }
    ASSERT_EQ(boxes.size(), 6u);
    EXPECT_EQ(boxes[0].text, "'x' is not a valid date.");
    EXPECT_EQ(boxes[1].text, "Ошибка 5.");
    EXPECT_EQ(boxes[2].text, "Готово.");
    EXPECT_EQ(boxes[3].text, "Стоп!");
    EXPECT_EQ(boxes[4].text, "запятая,");
    EXPECT_EQ(boxes[5].text, "");
    EXPECT_EQ(boxes[0].caption, "Биоритмы");
    EXPECT_EQ(boxes[0].flags, unsigned(MB_OK | MB_ICONSTOP));
}

TEST_F(ApplicationTest, AbortIsSilentAndTheHookTakesTheRest) {
    try {
        throw rtl::EAbort(std::string("тихо"));
    } catch (...) {
        Application->ReportException(nullptr);
    }
    EXPECT_TRUE(boxes.empty());
    std::string seen;
    Application->OnException = [&](TObject*, const rtl::Exception& e) { seen = e.Message(); };
    try {
        throw rtl::EReadError(std::string("чтение"));
    } catch (...) {
        Application->ReportException(nullptr);
    }
    EXPECT_EQ(seen, "чтение");
    EXPECT_TRUE(boxes.empty());
    Application->OnException = nullptr;
    try {
        throw std::runtime_error("plain");
    } catch (...) {
        Application->ReportException(nullptr);
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Application Error");
    EXPECT_EQ(boxes[0].text.rfind("Exception ", 0), 0u);
}

TEST_F(ApplicationTest, TheBoxReenablesOnlyWhatItDisabled) {
    TStreamForm* a = StreamForm(kForm);
    TStreamForm* b = StreamForm(kForm);
    a->ShowForm();
    b->ShowForm();
    EnableWindow(b->Handle(), false);
    bool aDisabledDuring = false;
    duringBox = [&] { aDisabledDuring = !IsWindowEnabled(a->Handle()); };
    Application->AppMessageBox("текст", "заголовок", MB_OK);
    EXPECT_TRUE(aDisabledDuring);
    EXPECT_TRUE(IsWindowEnabled(a->Handle()));
    EXPECT_FALSE(IsWindowEnabled(b->Handle()));
}

TEST_F(ApplicationTest, AHandledMessageIsNotDispatchedButStillEndsAHint) {
    TStreamForm* form = StreamForm(kForm);
    form->ShowForm();
    int seen = 0;
    Application->OnMessage = [&](MSG& msg, bool& handled) {
        if (msg.message == WM_USER + 1) {
            ++seen;
            handled = true;
        }
    };
    int dispatched = 0;
    form->onEvent = [&](const std::string&) { ++dispatched; };
    PostMessage(form->Button1->Handle(), WM_USER + 1);
    Pump();
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(dispatched, 0);
}

TEST_F(ApplicationTest, HookAndIdleExceptionsAreShownAndTheLoopGoesOn) {
    TStreamForm* form = StreamForm(kForm);
    form->ShowForm();
    Application->OnIdle = [](TObject*, bool& done) {
        done = false;
        throw rtl::EConvertError(std::string("простой"));
    };
    Pump();
    Application->PumpOne(); // nothing waits: the idle step runs and fails
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "простой.");
    Application->OnIdle = nullptr;
    // Key preview: a control's dialog-key handler that raises.
    controltest::THandlers handlers;
    handlers.click = [](TObject*) { throw rtl::EConvertError(std::string("по Enter")); };
    form->Button1->OnClick = TNotifyEvent::Of<&controltest::THandlers::Click>(&handlers);
    form->Button1->SetDefault(true);
    form->Button1->SetFocus();
    hl::KeyDown(VK_RETURN);
    hl::KeyUp(VK_RETURN);
    Pump();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "по Enter.");
}

TEST_F(ApplicationTest, OnActivateFiresWhenTheFocusedFormChangesNotAfterItsOwnBox) {
    TStreamForm* a = StreamForm(kForm);
    TStreamForm* b = StreamForm(kForm);
    a->ShowForm();
    EXPECT_EQ(a->log, std::vector<std::string>{"activate"});
    b->ShowForm();
    EXPECT_EQ(a->log, (std::vector<std::string>{"activate", "deactivate"}));
    EXPECT_EQ(b->log, std::vector<std::string>{"activate"});
    a->BringToFront();
    SetActiveWindow(a->Handle());
    EXPECT_EQ(a->log.back(), "activate");

    // An error in OnActivate shows one box: when the box closes and the form is active again,
    // OnActivate does not run again.
    a->log.clear();
    duringBox = [] {
        HWND box = CreateWindowEx(0, "TCoreHost", "box", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0,
                                  50, 50, nullptr);
        SetActiveWindow(box);
        DestroyWindow(box);
    };
    b->onEvent = [](const std::string& e) {
        if (e == "activate")
            throw rtl::EConvertError(std::string("активация"));
    };
    SetActiveWindow(b->Handle());
    Pump();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(b->log.back(), "activate");
    EXPECT_EQ(std::count(b->log.begin(), b->log.end(), "activate"), 2);
}

TEST_F(ApplicationTest, HelpUsesTheActiveFormsFileElseTheApplications) {
    Application->SetAppHelpFile("Zorvane.hlp");
    TCustomForm* mainRef = nullptr;
    std::string bytes = ObjectTextToBinary("object M: TStreamForm\nend\n");
    rtl::TBytesStream stream(bytes);
    Application->MakeForm(TStreamForm::StaticClass(), mainRef, &stream);
    mainRef->ShowForm();
    // The active form has no help file: the application's, owned by the main form.
    EXPECT_TRUE(Application->ShowHelpContext(5));
    ASSERT_EQ(helpCalls.size(), 1u);
    EXPECT_EQ(helpCalls[0].file, "Zorvane.hlp");
    EXPECT_EQ(helpCalls[0].owner, mainRef->Handle());
    EXPECT_EQ(helpCalls[0].command, unsigned(help::HELP_CONTEXT));
    EXPECT_EQ(helpCalls[0].data, 5u);
    // A form with its own file, active: that file, owned by that form.
    TStreamForm* form = StreamForm(kForm);
    form->ShowForm();
    As<TCoreEdit>(form->FindComponent("Edit1"))->SetFocus();
    Application->ShowHelpContext(3);
    EXPECT_EQ(helpCalls.back().file, "zorvane.hlp");
    EXPECT_EQ(helpCalls.back().owner, form->Handle());
    // F1 walks from the focused control up to a help context.
    helpCalls.clear();
    PressKey(VK_F1);
    ASSERT_EQ(helpCalls.size(), 1u);
    EXPECT_EQ(helpCalls[0].data, 3u);
    form->Button1->SetFocus();
    PressKey(VK_F1);
    EXPECT_EQ(helpCalls.size(), 1u); // no context anywhere up from the button
    // A viewer that fails says why.
    Application->HelpFunction = [](HWND, const std::string&, unsigned, std::uintptr_t,
                                   std::string* error) {
        if (error)
            *error = "Help file zorvane.html not found";
        return false;
    };
    EXPECT_FALSE(Application->ShowHelpContext(3));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Help file zorvane.html not found");
}

TEST_F(ApplicationTest, HelpQuitGoesToTheViewerWhenTheApplicationEnds) {
    Application->SetAppHelpFile("Zorvane.hlp");
    std::vector<THelpCall>* calls = &helpCalls;
    Application->HelpFunction = [calls](HWND, const std::string& file, unsigned command,
                                        std::uintptr_t data, std::string*) {
        calls->push_back(THelpCall{nullptr, file, command, data});
        return true;
    };
    EndFrame();
    ASSERT_EQ(helpCalls.size(), 1u);
    EXPECT_EQ(helpCalls[0].command, unsigned(help::HELP_QUIT));
    StartFrame();
}

TEST_F(ApplicationTest, DestroyedControlsAndFormsLeaveNoReferences) {
    TCustomForm* ref = nullptr;
    std::string bytes = ObjectTextToBinary(kForm);
    rtl::TBytesStream stream(bytes);
    Application->MakeForm(TStreamForm::StaticClass(), ref, &stream);
    auto* form = static_cast<TStreamForm*>(ref);
    form->ShowForm();
    form->Button1->SetFocus();
    hl::MouseMove(hl::ToScreen(form->Button1->Handle(), TPoint{3, 3}));
    Pump();
    Application->PumpOne(); // the idle step
    EXPECT_EQ(Application->MouseControl(), form->Button1);
    EXPECT_EQ(Screen->ActiveControl(), form->Button1);
    delete form->Button1;
    EXPECT_EQ(Application->MouseControl(), nullptr);
    EXPECT_EQ(Screen->ActiveControl(), nullptr);
    form->BeforeDestruction();
    delete form;
    EXPECT_EQ(Application->PrimaryForm(), nullptr);
    EXPECT_EQ(Screen->ActiveForm(), nullptr);
    EXPECT_EQ(Screen->FocusedForm(), nullptr);
    Application->PumpOne();
}

TEST_F(ApplicationTest, MouseEnterAndLeaveComeFromTheIdleStep) {
    const char* text = R"(object F: TStreamForm
  ClientHeight = 100
  ClientWidth = 200
  object Shape1: TCoreShape
    Left = 10
    Top = 10
  end
end
)";
    TStreamForm* form = StreamForm(text);
    form->ShowForm();
    auto* shape = As<controltest::TCoreShape>(form->FindComponent("Shape1"));
    hl::MouseMove(hl::ToScreen(form->Handle(), TPoint{15, 15}));
    Pump();
    Application->PumpOne(); // the idle step
    hl::MouseMove(hl::ToScreen(form->Handle(), TPoint{150, 80}));
    Pump();
    Application->PumpOne(); // the idle step
    EXPECT_EQ(shape->mouse, (std::vector<std::string>{"enter", "leave"}));
    EXPECT_EQ(Application->MouseControl(), form);
}

TEST_F(ApplicationTest, TerminateAsksItsHooks) {
    bool allow = false;
    Application->AddTerminateHook([&] { return allow; });
    Application->RequestTerminate();
    Pump();
    MSG msg;
    while (Application->DispatchOne(msg)) {
    }
    EXPECT_FALSE(Application->StopRequested());
    allow = true;
    Application->RequestTerminate();
    while (Application->DispatchOne(msg)) {
    }
    EXPECT_TRUE(Application->StopRequested());
}

TEST_F(ApplicationTest, AStartUpFormThatFailsEndsTheProgramWithAMessage) {
    EndFrame();
    testing::internal::CaptureStderr();
    int status = RunFrameProgram([] {
        TNoRes* form = nullptr;
        Application->MakeForm(form);
        Application->RunLoop();
    });
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 1);
    EXPECT_EQ(err, "EResNotFound: Resource TNoRes not found\n");
    EXPECT_EQ(Application, nullptr);
    StartFrame();
    Application->MessageBoxFunction = [this](HWND, const std::string& t, const std::string& c,
                                             unsigned f) {
        boxes.push_back(TBox{t, c, f});
        return IDOK;
    };
}

} // namespace
} // namespace formtest
