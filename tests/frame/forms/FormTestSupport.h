#pragma once
// Forms for the application and form tests: two with resources embedded in the test program (a
// base form and a form derived from it), one without any, and a form read from text whose events
// count what happens and can be told what to do.
#include <functional>
#include <string>
#include <vector>

#include "../controls/ControlTestSupport.h"
#include "frame/forms/TApplication.h"
#include "frame/forms/TCustomForm.h"
#include "frame/forms/TScreen.h"

namespace formtest {

using namespace frame;
using controltest::TCoreButton;
using controltest::TCoreEdit;

class TResBase : public TForm {
public:
    ZORVANE_CLASS(TResBase)
    explicit TResBase(TComponent* owner) : TForm(owner) {}
    void FormCreate(TObject*) { ++creates; }
    void OkClick(TObject*) { ++okClicks; }
    TCoreButton* Ok = nullptr;
    int creates = 0;
    int okClicks = 0;
};

class TResForm : public TResBase {
public:
    ZORVANE_CLASS(TResForm)
    explicit TResForm(TComponent* owner) : TResBase(owner) {}
    TCoreEdit* Extra = nullptr;
};

class TNoRes : public TForm {
public:
    ZORVANE_CLASS(TNoRes)
    explicit TNoRes(TComponent* owner) : TForm(owner) {}
};

// A custom form that is not a TForm (like a report form).
class TPlainCustomForm : public TCustomForm {
public:
    ZORVANE_CLASS(TPlainCustomForm)
    explicit TPlainCustomForm(TComponent* owner) : TCustomForm(owner) {}
};

class TStreamForm : public TForm {
public:
    ZORVANE_CLASS(TStreamForm)
    explicit TStreamForm(TComponent* owner) : TForm(owner) {}
    void FormCreate(TObject*);
    void FormShow(TObject*);
    void FormHide(TObject*);
    void FormActivate(TObject*);
    void FormDeactivate(TObject*);
    void FormDestroy(TObject*);
    void FormClose(TObject*, TCloseAction& action);
    void FormCloseQuery(TObject*, bool& canClose);
    void ButtonClick(TObject* sender);
    std::vector<std::string> log;
    std::function<void(const std::string& event)> onEvent; // may throw
    TCloseAction closeAction = caHide;
    bool canClose = true;
    TCoreButton* Button1 = nullptr;

private:
    void Note(const std::string& event);
};

void RegisterFormTestClasses();
// Runs `f` once, `ms` from now, from a thread timer (as the loop delivers it).
void After(int ms, std::function<void()> f);

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

class FormTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A TStreamForm read from text, owned by the application.
    TStreamForm* StreamForm(const std::string& text);
    void Pump();
    std::vector<TBox> boxes;
    std::vector<THelpCall> helpCalls;
    // Run inside the fake message box (it may throw, show windows ...).
    std::function<void()> duringBox;
};

} // namespace formtest
