// Pictures as screen readers see them: a picture that does something when clicked (the one that
// opens the about box) is a push button with "click"; others are images. Either is named by its
// accessible name or hint.
#include "controls/TImage.h"
#include "frame/controls/TControlAccessible.h"

namespace controls {

using namespace platform::a11y;

namespace {

class ImageAccessible : public frame::TControlAccessible, public AccessibleAction {
public:
    explicit ImageAccessible(TImage& image)
        : TControlAccessible(image, image.OnClick ? Role::PushButton : Role::Image) {}

    AccessibleAction* AsAction() override { return this; }
    int ActionCount() const override { return m_control.OnClick ? 1 : 0; }
    std::string ActionName(int) const override { return "click"; }
    bool DoAction(int) override {
        if (!m_control.OnClick)
            return false;
        frame::TControl& image = m_control;
        frame::PostAccessibleWork(image, [&image] {
            if (image.Showing() && image.Enabled())
                image.Click();
        });
        return true;
    }
};

} // namespace

std::unique_ptr<AccessibleNode> TImage::CreateAccessible() {
    return std::make_unique<ImageAccessible>(*this);
}

} // namespace controls
