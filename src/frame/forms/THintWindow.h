#pragma once
// The tooltip window: a top-most pop-up with a thin border that never takes the activation,
// showing a word-wrapped text in the information colours.
#include "frame/controls/TCustomControl.h"
#include "platform/display/WindowTypes.h"

namespace frame {

class THintWindow : public TCustomControl {
public:
    ZORVANE_CLASS(THintWindow)
    explicit THintWindow(TComponent* owner);

    // The rectangle (at 0, 0) the text needs within `maxWidth`.
    virtual TRect CalcHintRect(int maxWidth, const std::string& hint);
    // Shows the text in `rect` (screen), kept on the desktop, on top, not activated.
    virtual void ActivateHint(TRect rect, const std::string& hint);
    void ReleaseHandleHidden();
    bool IsHintShowing() const;
    // Whether a message ends a showing hint: keys, clicks, wheel, commands, the frame's activate,
    // deactivate, application key and system-command notices (plain mouse moves do not).
    static bool IsHintMsg(const platform::MSG& msg);

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
};

} // namespace frame
