#pragma once
// The program on the headless display, started as zorvane starts it (title, help file, forms in
// order), with the message box and the help viewer recorded instead of shown, today's date fixed,
// and a user's hands: clicks, keys, typing, month picks from the lists, calendar days.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/MonthSession.h"
#include "app/ProgramForms.h"
#include "app/forms/TAboutBox.h"
#include "app/forms/TIntro.h"
#include "controls/TCalendar.h"
#include "controls/TComboBox.h"
#include "controls/TEdit.h"
#include "frame/forms/TApplication.h"
#include "platform/display/Headless.h"

namespace apptest {

using namespace frame;

struct TBox {
    std::string text;
    std::string caption;
    unsigned flags = 0;
};
struct THelpCall {
    platform::HWND owner = nullptr;
    std::string file;
    unsigned command = 0;
    std::uintptr_t data = 0;
};

// A form standing in for the result form: shown for each month "Next" chooses as the result form
// is, it counts the runs of its OnShow handler (its refill).
class TResultStandIn : public TForm, public app::TMonthSessionObserver {
public:
    ZORVANE_CLASS(TResultStandIn)
    explicit TResultStandIn(TComponent* owner) : TForm(owner) {}
    ~TResultStandIn() override;
    void Shown(TObject*) { ++fills; }
    void MonthChosen() override { app::ShowResultForm(this); }
    int fills = 0;
};

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts the program with `today` as the date the input form sees.
    void Start(rtl::TDateTime today);
    // The input form's stream from the program's resource, as text, and a form made from a
    // changed text (hidden, so not yet activated, unless the text says otherwise).
    static std::string IntroText();
    app::TIntro* MakeIntroFrom(const std::string& text);

    void Pump();
    void ClickAt(TControl* control, TPoint client);
    void Key(int vk, unsigned modifiers = 0, char32_t ch = 0);
    void Type(const std::string& utf8);
    // Opens the list with the mouse and clicks the item.
    void PickByMouse(controls::TComboBox* combo, int index);
    // Focuses the list and steps to the item with the arrow keys.
    void PickByKeys(controls::TComboBox* combo, int index);
    // Selects the box's text and types over it.
    void TypeInto(controls::TEdit* edit, const std::string& text);
    void ClickDay(controls::TCalendar* calendar, int day);
    // The upper (or lower) arrow of a spinner.
    void ClickArrow(TControl* upDown, bool up);
    // A whole entry: birth month, year and day, period month and year, then "Next".
    void EnterAndNext(int birthDay, int birthMonth, const std::string& birthYear, int periodMonth,
                      const std::string& periodYear);

    // Plays the user at modal forms (the print dialog): each time a loop would wait with a modal
    // form up, the next step runs on that form — it may queue keys (QueueKey) or act on the form
    // directly. A modal form left when the steps are spent is a failure, closed with Escape.
    using TModalStep = std::function<void(TCustomForm&)>;
    void AtModalForms(std::vector<TModalStep> steps);
    // Queues a key press and release for a loop to take (from a modal step).
    static void QueueKey(int vk, char32_t ch = 0);
    size_t modalStepsTaken = 0;

    app::TIntro* intro = nullptr;
    std::vector<TBox> boxes;
    std::vector<THelpCall> helpCalls;

private:
    std::vector<TModalStep> m_modalSteps;
};

} // namespace apptest
