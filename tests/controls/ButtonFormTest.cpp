// Buttons on real forms: a click hands the modal result to the form (ending a modal loop), a
// close-kind button closes its form, a help-kind button opens the first help context up its
// parents, and without a form or a context each is a plain button.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "ControlsTestHost.h"
#include "controls/TBitBtn.h"
#include "controls/TCustomPanel.h"
#include "frame/forms/TApplication.h"
#include "frame/forms/TCustomForm.h"
#include "platform/display/Headless.h"
#include "platform/display/WindowManager.h"

namespace ctlhost {
namespace {

using namespace controls;

class ClickLog : public frame::TObject {
public:
    void Clicked(frame::TObject* sender) {
        log.push_back("click " + static_cast<frame::TComponent*>(sender)->Name());
    }
    std::vector<std::string> log;
};

std::map<platform::UINT_PTR, std::function<void()>>& Pending() {
    static std::map<platform::UINT_PTR, std::function<void()>> pending;
    return pending;
}

void RunLater(platform::HWND, platform::UINT, platform::UINT_PTR id, platform::DWORD) {
    platform::KillTimer(nullptr, id);
    auto it = Pending().find(id);
    if (it == Pending().end())
        return;
    auto f = std::move(it->second);
    Pending().erase(it);
    f();
}

// Runs `f` from the loop `ms` from now.
void After(int ms, std::function<void()> f) {
    Pending()[platform::SetTimer(nullptr, 0, platform::UINT(ms), &RunLater)] = std::move(f);
}

class ButtonFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::headless::Start();
        RegisterHostClasses();
        frame::StartFrame();
        frame::Application->HelpFunction = [this](platform::HWND, const std::string&,
                                                  unsigned command, std::uintptr_t data,
                                                  std::string*) {
            events.log.push_back("help " + std::to_string(command) + " " + std::to_string(data));
            return true;
        };
        frame::Application->SetAppHelpFile("zorvane.hlp");
        form = frame::CreateForm<frame::TForm>(frame::Application);
        form->SetName("Form1");
        panel = new TPanel(form);
        panel->SetName("Panel1");
        panel->SetParent(form);
        btn = new TBitBtn(form);
        btn->SetName("B");
        btn->SetParent(panel);
        btn->OnClick = frame::TNotifyEvent::Of<&ClickLog::Clicked>(&events);
    }
    void TearDown() override {
        Pending().clear();
        frame::EndFrame();
        platform::headless::Stop();
    }
    void Pump() {
        frame::Application->PumpPending();
        platform::WindowManager::Instance().PresentAll();
    }
    ClickLog events;
    frame::TForm* form = nullptr;
    TPanel* panel = nullptr;
    TBitBtn* btn = nullptr;
};

TEST_F(ButtonFormTest, PlainClickHandsTheModalResultToTheForm) {
    btn->SetModalResult(mrRetry);
    btn->Click();
    EXPECT_EQ(form->ModalResult(), mrRetry);
    btn->SetModalResult(mrNone); // 0 is handed on too
    btn->Click();
    EXPECT_EQ(form->ModalResult(), mrNone);
    EXPECT_EQ(events.log, (std::vector<std::string>{"click B", "click B"}));
}

TEST_F(ButtonFormTest, ModalResultEndsAModalLoop) {
    panel->SetVisible(false); // the glyph button would take the focus, and the default role
    auto* ok = new TButton(form);
    ok->SetParent(form);
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    After(50, [] {
        platform::headless::KeyDown(platform::VK_RETURN);
        platform::headless::KeyUp(platform::VK_RETURN);
    });
    After(1000, [this] { form->SetModalResult(mrAbort); }); // Enter was not taken
    EXPECT_EQ(form->ShowFormModal(), mrOk);
    EXPECT_FALSE(form->Visible());
}

TEST_F(ButtonFormTest, HelpKindOpensTheFirstHelpContextUpTheParents) {
    btn->SetKind(bkHelp);
    btn->Click(); // no context anywhere: a plain button
    EXPECT_EQ(events.log, (std::vector<std::string>{"click B"}));
    events.log.clear();
    form->SetHelpContext(5);
    panel->SetHelpContext(7);
    btn->Click();
    ASSERT_EQ(events.log.size(), 1u);
    EXPECT_EQ(events.log[0].substr(events.log[0].rfind(' ')), " 7");
}

TEST_F(ButtonFormTest, CloseKindClosesItsFormOrIsAPlainButton) {
    btn->SetKind(bkClose);
    form->ShowForm();
    Pump();
    ASSERT_TRUE(form->Visible());
    btn->Click();
    Pump();
    EXPECT_FALSE(form->Visible()); // not the main form: hidden
    EXPECT_TRUE(events.log.empty());

    TPanel loose(nullptr);
    auto* free = new TBitBtn(&loose);
    free->SetName("Free");
    free->SetParent(&loose);
    free->SetKind(bkClose);
    free->OnClick = frame::TNotifyEvent::Of<&ClickLog::Clicked>(&events);
    free->Click();
    EXPECT_EQ(events.log, (std::vector<std::string>{"click Free"}));
}

} // namespace
} // namespace ctlhost
