#pragma once
// The push button: the platform's standard button with a caption, the default and cancel roles
// and a modal result that its click hands to the form it is on.
#include "frame/controls/TWinControl.h"
#include "frame/forms/TCustomForm.h"

namespace controls {

using frame::mrAbort;
using frame::mrAll;
using frame::mrCancel;
using frame::mrIgnore;
using frame::mrNo;
using frame::mrNone;
using frame::mrOk;
using frame::mrRetry;
using frame::mrYes;
using frame::TModalResult;

// The base of the button family (push buttons, glyph buttons).
class TButtonControl : public frame::TWinControl {
public:
    ZORVANE_CLASS(TButtonControl)
    explicit TButtonControl(frame::TComponent* owner);
};

class TButton : public TButtonControl {
public:
    ZORVANE_CLASS(TButton)
    explicit TButton(frame::TComponent* owner);

    bool Default() const { return m_default; }
    void SetDefault(bool value);
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool value) { m_cancel = value; }
    TModalResult ModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult value) { m_modalResult = value; }
    // Whether the button holds the form's default role now (Enter clicks it).
    bool Active() const { return m_active; }

    // Hands the modal result to the form, then runs OnClick.
    void Click() override;

    void CNCommand(frame::TWMCommand& m) override;
    void CMDialogKey(frame::TCMDialogKey& m) override;
    void CMDialogChar(frame::TCMDialogChar& m) override;
    void CMFocusChanged(frame::TCMFocusChanged& m) override;

protected:
    std::unique_ptr<platform::a11y::AccessibleNode> CreateAccessible() override;
    void CreateParams(frame::TCreateParams& params) override;
    void CreateWnd() override;
    // Shows whether the button holds the default role.
    virtual void SetButtonStyle(bool isDefault);

private:
    bool m_default = false;
    bool m_cancel = false;
    bool m_active = false;
    TModalResult m_modalResult = mrNone;
};

} // namespace controls
