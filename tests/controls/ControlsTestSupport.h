#pragma once
// What the calendar, spinner, label, edit and combo box tests share (beside ControlsTestHost.h):
// a bare top-level host standing in for a form, with published handlers that log the events
// they receive and the text the sender has at that moment; keys and clicks through the frame's
// own dispatch (key preview included).
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ControlsTestHost.h"
#include "controls/TUpDown.h"
#include "frame/controls/TCustomControl.h"
#include "platform/display/Headless.h"

namespace controlstest {

using namespace frame;
using namespace controls;

class TTestHost : public TCustomControl {
public:
    ZORVANE_CLASS(TTestHost)
    explicit TTestHost(TComponent* owner);
    // "<event> <sender name> <sender text>".
    void Changed(TObject* sender) { Log("change", sender); }
    void Clicked(TObject* sender) { Log("click", sender); }
    void DroppedDown(TObject* sender) { Log("dropdown", sender); }
    void Changing(TObject* sender, bool& allow) {
        Log("changing", sender);
        allow = allowSteps;
    }
    void Stepped(TObject* sender, TUDBtnType button) {
        Log(button == btNext ? "next" : "prev", sender);
    }
    void Log(const std::string& what, TObject* sender);
    std::vector<std::string> log;
    bool allowSteps = true;
};

using ctlhost::Pump;
using ctlhost::ReadForm;
// A key press and release (Shift/Ctrl/Alt from headless::kShift ...), `ch` the character typed.
void PressKey(int vk, unsigned modifiers = 0, char32_t ch = 0);
void ClickAt(platform::HWND hwnd, TPoint client);
// Types UTF-8 text into the focused window key by key.
void TypeText(const std::string& utf8);

// A headless display per test, with the host class registered.
class ControlsTest : public ctlhost::HostTest {
protected:
    void SetUp() override;
};

} // namespace controlstest
