// formtool show, and the two classes it adds for trying the frame by hand and in end-to-end
// tests: a push button and a form whose handlers raise, count clicks and open help. They live
// here, not among the program's classes.
#include "ShowCommand.h"

#include "platform/display/WindowApi.h"

#include <cstdio>

#include "PictureData.h"
#include "app/ProgramClasses.h"
#include "frame/StreamClasses.h"
#include "frame/controls/TWinControl.h"
#include "frame/forms/TApplication.h"
#include "frame/forms/TCustomForm.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

namespace formtool {

using namespace frame;
using namespace platform;

namespace {

// A push button: the standard BUTTON, clicked by the mouse, Space, Enter when it holds the
// default role, Escape when it is the cancel button, and its accelerator letter.
class TShowButton : public TWinControl {
public:
    ZORVANE_CLASS(TShowButton)
    explicit TShowButton(TComponent* owner) : TWinControl(owner) {
        SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
        SetBounds(0, 0, 75, 25);
        SetTabStop(true);
    }
    bool Default() const { return m_default; }
    void SetDefault(bool v) {
        m_default = v;
        if (TWinControl* root = RootParent())
            root->FocusChangedBroadcast();
    }
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool v) { m_cancel = v; }

    void CNCommand(TWMCommand& m) override {
        if (m.notifyCode == BN_CLICKED)
            Click();
    }
    void CMDialogKey(TCMDialogKey& m) override {
        if (((m.key == VK_RETURN && m_active) || (m.key == VK_ESCAPE && m_cancel)) &&
            m.shift.Empty() && CanFocus()) {
            Click();
            m.message.result = 1;
            return;
        }
        TWinControl::CMDialogKey(m);
    }
    void CMDialogChar(TCMDialogChar& m) override {
        if (IsAccel(m.ch, Caption()) && CanFocus()) {
            Click();
            m.message.result = 1;
            return;
        }
        TWinControl::CMDialogChar(m);
    }
    void CMFocusChanged(TCMFocusChanged& m) override {
        m_active = As<TShowButton>(m.focused) ? m.focused == this : m_default;
        TWinControl::CMFocusChanged(m);
    }

protected:
    void CreateParams(TCreateParams& params) override {
        TWinControl::CreateParams(params);
        CreateSubClass(params, WC_BUTTON);
        params.style |= m_active ? DWORD(BS_DEFPUSHBUTTON) : DWORD(BS_PUSHBUTTON);
    }

private:
    bool m_default = false;
    bool m_cancel = false;
    bool m_active = false;
};

const TClassInfo* TShowButton::StaticClass() {
    static const auto info =
        TClassBuilder<TShowButton>("TShowButton", TWinControl::StaticClass())
            .Property("Caption", &TControl::Caption, &TControl::SetCaption)
            .Property("Default", &TShowButton::Default, &TShowButton::SetDefault, frame::Default(0))
            .Property("Cancel", &TShowButton::Cancel, &TShowButton::SetCancel, frame::Default(0))
            .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, frame::Default(1))
            .Build();
    return info.get();
}

// A form whose handlers a form source can bind: one raises, one counts, one asks for help.
class TShowTestForm : public TForm {
public:
    ZORVANE_CLASS(TShowTestForm)
    explicit TShowTestForm(TComponent* owner) : TForm(owner) {}
    void RaiseError(TObject*) {
        throw rtl::EConvertError("'%s' is not a valid date", std::string("31.02.2024"));
    }
    void CountClick(TObject* sender) {
        std::printf("click %s %d\n", static_cast<TComponent*>(sender)->Name().c_str(), ++m_clicks);
        std::fflush(stdout);
    }
    void HelpClick(TObject* sender) {
        auto* control = static_cast<TControl*>(sender);
        Application->ShowHelpContext(control->HelpContext() ? control->HelpContext() : 1);
    }
    void FormShow(TObject*) {
        std::printf("shown %s\n", Name().c_str());
        std::fflush(stdout);
    }

private:
    int m_clicks = 0;
};

const TClassInfo* TShowTestForm::StaticClass() {
    static const auto info = TClassBuilder<TShowTestForm>("TShowTestForm", TForm::StaticClass())
                                 .Method<&TShowTestForm::RaiseError>("RaiseError")
                                 .Method<&TShowTestForm::CountClick>("CountClick")
                                 .Method<&TShowTestForm::HelpClick>("HelpClick")
                                 .Method<&TShowTestForm::FormShow>("FormShow")
                                 .Build();
    return info.get();
}

// The class named by a stream's root: a registered form class, else TForm.
const TClassInfo* RootClass(const std::string& binary) {
    size_t pos = 4; // "TPF0"
    auto byte = [&](size_t at) { return at < binary.size() ? uint8_t(binary[at]) : uint8_t(0); };
    if (byte(pos) >= 0xF0) {
        int flags = byte(pos++) & 0x0F;
        if (flags & 2) { // a child position: a tagged integer
            static const size_t sizes[] = {0, 0, 1, 2, 4};
            uint8_t tag = byte(pos++);
            pos += tag < 5 ? sizes[tag] : 0;
        }
    }
    size_t length = byte(pos++);
    std::string name = binary.substr(std::min(pos, binary.size()), length);
    const TClassInfo* cls = FindStreamClass(name);
    if (cls && cls->create && cls->InheritsFrom(TCustomForm::StaticClass()))
        return cls;
    return TForm::StaticClass();
}

} // namespace

int ShowForm(const std::string& fileBytes, const std::string& baseDir) {
    platform::UseX11Display();
    app::RegisterProgramClasses();
    RegisterStreamClasses({TShowButton::StaticClass(), TShowTestForm::StaticClass()});
    return RunFrameProgram([&] {
        std::string binary = FormFileToBinary(fileBytes, baseDir);
        rtl::TBytesStream stream(binary);
        TCustomForm* form = nullptr;
        Application->MakeForm(RootClass(binary), form, &stream);
        Application->RunLoop();
    });
}

} // namespace formtool
