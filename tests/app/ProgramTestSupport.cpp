#include "ProgramTestSupport.h"

#include "app/ProgramClasses.h"
#include "controls/TBitBtn.h"
#include "frame/FormText.h"
#include "frame/StreamClasses.h"
#include "frame/forms/TScreen.h"
#include "platform/display/WindowApi.h"
#include "platform/display/WindowManager.h"
#include "platform/resources/Resources.h"
#include "rtl/TMemoryStream.h"

namespace apptest {

using namespace platform;
namespace hl = platform::headless;

const TClassInfo* TResultStandIn::StaticClass() {
    static const auto info = TClassBuilder<TResultStandIn>("TResultStandIn", TForm::StaticClass())
                                 .Method<&TResultStandIn::Shown>("Shown")
                                 .Build();
    return info.get();
}

TResultStandIn::~TResultStandIn() {
    if (app::Session && app::Session->Observer() == this)
        app::Session->SetObserver(nullptr);
}

void ProgramTest::SetUp() {
    hl::Start();
    app::RegisterProgramClasses();
    RegisterStreamClass(TResultStandIn::StaticClass());
    StartFrame();
    Application->MessageBoxFunction = [this](HWND, const std::string& text,
                                             const std::string& caption, unsigned flags) {
        boxes.push_back(TBox{text, caption, flags});
        return IDOK;
    };
    Application->HelpFunction = [this](HWND owner, const std::string& file, unsigned command,
                                       std::uintptr_t data, std::string*) {
        helpCalls.push_back(THelpCall{owner, file, command, data});
        return true;
    };
}

void ProgramTest::TearDown() {
    hl::SetInputSource({});
    EndFrame();
    hl::Stop();
    app::TIntro::Clock() = rtl::Now;
}

void ProgramTest::Start(rtl::TDateTime today) {
    app::TIntro::Clock() = [today] { return today + 0.5; };
    app::StartProgram();
    Pump();
    intro = app::Intro;
}

std::string ProgramTest::IntroText() {
    return ObjectBinaryToText(std::string(LoadResource(RT_RCDATA, "TINTRO")));
}

app::TIntro* ProgramTest::MakeIntroFrom(const std::string& text) {
    std::string bytes = ObjectTextToBinary(text);
    rtl::TBytesStream stream(bytes);
    TCustomForm* form = nullptr;
    Application->MakeForm(app::TIntro::StaticClass(), form, &stream);
    app::Intro = static_cast<app::TIntro*>(form);
    Pump();
    return app::Intro;
}

void ProgramTest::Pump() {
    Application->PumpPending();
    WindowManager::Instance().PresentAll();
}

void ProgramTest::ClickAt(TControl* control, TPoint client) {
    hl::Advance(1000); // a user's pace: no two clicks make a double click
    TPoint p = control->ClientToScreen(client);
    hl::MouseMove(platform::Point{p.x, p.y});
    Pump();
    hl::MouseDown(platform::Point{p.x, p.y});
    Pump();
    hl::MouseUp(platform::Point{p.x, p.y});
    Pump();
}

void ProgramTest::Key(int vk, unsigned modifiers, char32_t ch) {
    const int mods[][2] = {{hl::kShift, VK_SHIFT}, {hl::kCtrl, VK_CONTROL}, {hl::kAlt, VK_MENU}};
    for (auto& m : mods) {
        if (modifiers & unsigned(m[0]))
            hl::KeyDown(m[1]);
    }
    Pump();
    hl::KeyDown(vk, ch ? std::u32string(1, ch) : std::u32string());
    Pump();
    hl::KeyUp(vk);
    for (auto& m : mods) {
        if (modifiers & unsigned(m[0]))
            hl::KeyUp(m[1]);
    }
    Pump();
}

void ProgramTest::Type(const std::string& utf8) {
    hl::Type(utf8);
    Pump();
}

void ProgramTest::PickByMouse(controls::TComboBox* combo, int index) {
    TRect r = combo->ClientRect();
    ClickAt(combo, TPoint{r.right - 6, r.Height() / 2}); // the button drops the list
    HWND list = nullptr;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (GetClassName(w) == WC_COMBOLBOX && IsWindowVisible(w))
            list = w;
    }
    ASSERT_TRUE(list) << "the list did not drop down";
    TPoint item{10, index * combo->ItemHeight() + combo->ItemHeight() / 2};
    platform::Point p = hl::ToScreen(list, platform::Point{item.x, item.y});
    hl::MouseMove(p);
    Pump();
    hl::MouseDown(p);
    Pump();
    hl::MouseUp(p);
    Pump();
}

void ProgramTest::PickByKeys(controls::TComboBox* combo, int index) {
    combo->SetFocus();
    Pump();
    int at = combo->ItemIndex();
    while (at < index) {
        Key(VK_DOWN);
        ++at;
    }
    while (at > index) {
        Key(VK_UP);
        --at;
    }
}

void ProgramTest::TypeInto(controls::TEdit* edit, const std::string& text) {
    edit->SetFocus();
    Pump();
    Key('A', hl::kCtrl);
    Type(text);
}

void ProgramTest::ClickDay(controls::TCalendar* calendar, int day) {
    int n = day - calendar->MonthOffset();
    TRect cell = calendar->CellRect(n % 7, n / 7 + 1);
    ClickAt(calendar, TPoint{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2});
}

void ProgramTest::ClickArrow(TControl* upDown, bool up) {
    int h = upDown->Height();
    ClickAt(upDown, TPoint{upDown->Width() / 2, up ? h / 4 : h * 3 / 4});
}

void ProgramTest::EnterAndNext(int birthDay, int birthMonth, const std::string& birthYear,
                               int periodMonth, const std::string& periodYear) {
    PickByMouse(intro->ComboBox1, birthMonth - 1);
    TypeInto(intro->Edit1, birthYear);
    ClickDay(intro->Calendar, birthDay);
    PickByKeys(intro->ComboBox2, periodMonth - 1);
    TypeInto(intro->Edit2, periodYear);
    ClickAt(intro->BitBtn1, TPoint{20, 15});
}

void ProgramTest::QueueKey(int vk, char32_t ch) {
    hl::KeyDown(vk, ch ? std::u32string(1, ch) : std::u32string());
    hl::KeyUp(vk);
}

void ProgramTest::AtModalForms(std::vector<TModalStep> steps) {
    m_modalSteps = std::move(steps);
    modalStepsTaken = 0;
    hl::SetInputSource([this](int timeoutMs) {
        TCustomForm* modal = nullptr;
        for (int i = 0; Screen && i < Screen->CustomFormCount() && !modal; ++i)
            if (Screen->CustomForms(i)->FormState().Contains(fsModal))
                modal = Screen->CustomForms(i);
        if (!modal) {
            hl::MoveClock(timeoutMs > 0 ? timeoutMs : 1);
            return;
        }
        if (modalStepsTaken >= m_modalSteps.size()) {
            ADD_FAILURE() << "a modal form is still up: " << modal->Caption();
            QueueKey(VK_ESCAPE);
            return;
        }
        m_modalSteps[modalStepsTaken++](*modal);
    });
}

} // namespace apptest
