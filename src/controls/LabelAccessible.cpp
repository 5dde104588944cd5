// Labels as screen readers see them: a label with its text, naming the field it is tied to
// (FocusControl). The result form's day lists are labels too.
#include "controls/TLabel.h"
#include "frame/controls/TControlAccessible.h"

namespace controls {

using namespace platform::a11y;

namespace {

class LabelAccessible : public frame::TControlAccessible, public AccessibleText {
public:
    explicit LabelAccessible(TCustomLabel& label) : TControlAccessible(label, Role::Label) {}
    AccessibleText* AsText() override { return this; }
    std::string Text() const override { return frame::AccessibleCaption(m_control.Caption()); }
};

} // namespace

frame::TControl* TCustomLabel::LabelledControl() const {
    return m_focusControl;
}

std::unique_ptr<AccessibleNode> TCustomLabel::CreateAccessible() {
    return std::make_unique<LabelAccessible>(*this);
}

} // namespace controls
