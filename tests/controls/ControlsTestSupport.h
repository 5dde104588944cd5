#pragma once
// What the controls' tests share: a bare top-level host standing in for a form (with published
// handlers that log the events they receive, and the text the sender has at that moment), form
// text reading, the frame's own dispatch of the headless display (key preview included), keys
// and clicks, and a fresh headless display per test.
#include <string>
#include <vector>

#include <gtest/gtest.h>

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

void RegisterTestClasses();
void ReadForm(TComponent* root, const std::string& text);
// Runs the queue through the frame's dispatch until nothing waits.
void Pump();
// A key press and release (Shift/Ctrl/Alt from headless::kShift ...), `ch` the character typed.
void PressKey(int vk, unsigned modifiers = 0, char32_t ch = 0);
void ClickAt(platform::HWND hwnd, TPoint client);
// Types UTF-8 text into the focused window key by key.
void TypeText(const std::string& utf8);

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Exceptions the bridge caught, as "Class: message".
    std::vector<std::string> reported;
};

} // namespace controlstest
