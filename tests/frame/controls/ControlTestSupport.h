#pragma once
// Test controls on the control core, written the way real controls are: a wrapped standard
// button and edit box, a windowless shape, a self-painting panel, and a top-level host that
// stands in for a form. Plus helpers to read form text and to drive the headless display through
// the frame's own dispatch (key preview included).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "frame/controls/ControlBridge.h"
#include "frame/controls/TCustomControl.h"
#include "frame/controls/TGraphicControl.h"
#include "frame/controls/TWinControl.h"
#include "platform/display/Headless.h"

namespace controltest {

using namespace frame;

class TCoreHost : public TCustomControl {
public:
    ZORVANE_CLASS(TCoreHost)
    explicit TCoreHost(TComponent* owner);
    void Clicked(TObject* sender) { clicks.push_back(static_cast<TComponent*>(sender)->Name()); }
    void Entered(TObject* sender) {
        log.push_back("enter " + static_cast<TComponent*>(sender)->Name());
    }
    void Exited(TObject* sender) {
        log.push_back("exit " + static_cast<TComponent*>(sender)->Name());
    }
    void KeyDowned(TObject* sender, uint16_t& key, TShiftState) {
        log.push_back("key " + static_cast<TComponent*>(sender)->Name() + " " +
                      std::to_string(key));
    }
    bool KeyPreviewing() const override { return keyPreview; }
    std::vector<std::string> clicks;
    std::vector<std::string> log;
    bool keyPreview = false;
    int helpRequests = 0;
    platform::HWND helpItem = nullptr;
    void WMHelp(TWMHelp& m) override {
        ++helpRequests;
        helpItem = m.info ? m.info->hItemHandle : nullptr;
    }
};

class TCoreButton : public TWinControl {
public:
    ZORVANE_CLASS(TCoreButton)
    explicit TCoreButton(TComponent* owner);
    bool Default() const { return m_default; }
    void SetDefault(bool v);
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool v) { m_cancel = v; }
    bool OwnerDraw() const { return m_ownerDraw; }
    void SetOwnerDraw(bool v) { m_ownerDraw = v; }
    // Holds the default role now (the focused button, else the Default one).
    bool active = false;
    int drawItems = 0;

    void CNCommand(TWMCommand& m) override;
    void CNDrawItem(TWMDrawItem& m) override;
    void CMDialogKey(TCMDialogKey& m) override;
    void CMDialogChar(TCMDialogChar& m) override;
    void CMFocusChanged(TCMFocusChanged& m) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    bool m_default = false;
    bool m_cancel = false;
    bool m_ownerDraw = false;
};

class TCoreEdit : public TWinControl {
public:
    ZORVANE_CLASS(TCoreEdit)
    explicit TCoreEdit(TComponent* owner);
    unsigned DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    void CNCommand(TWMCommand& m) override;
    int changes = 0;

protected:
    void CreateParams(TCreateParams& params) override;
};

class TCoreShape : public TGraphicControl {
public:
    ZORVANE_CLASS(TCoreShape)
    explicit TCoreShape(TComponent* owner);
    int paints = 0;
    std::vector<std::string> mouse;
    void CMMouseEnter(TCMMouse& m) override;
    void CMMouseLeave(TCMMouse& m) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override;
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override;
};

class TCorePanel : public TCustomControl {
public:
    ZORVANE_CLASS(TCorePanel)
    explicit TCorePanel(TComponent* owner);
    int paints = 0;

protected:
    void Paint() override;
};

// Event handlers for tests that need behaviour of their own in a handler.
class THandlers : public TObject {
public:
    std::function<void(TObject*)> click;
    void Click(TObject* sender) { click(sender); }
    void SwallowKey(TObject*, uint16_t& key, TShiftState) { key = 0; }
};

void RegisterCoreClasses();
// Reads form text into `root`.
void ReadForm(TComponent* root, const std::string& text);
// Runs the queue through the frame's dispatch (with key preview) until nothing waits.
void Pump();
// A key press and release, with Shift/Ctrl/Alt (headless::kShift ...) held; `ch` is the
// character the layout gives (0: none).
void PressKey(int vk, unsigned modifiers = 0, char32_t ch = 0);
void ClickAt(platform::HWND hwnd, TPoint client, bool doubleClick = false);

// Starts a headless display per test and restores the frame's hooks afterwards.
class ControlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The exceptions the bridge reported, as "Class: message".
    std::vector<std::string> reported;
};

} // namespace controltest
