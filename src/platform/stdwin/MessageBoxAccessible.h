#pragma once
// The message box as screen readers see it: a modal dialog named by its caption, with its text
// as a label and its buttons (named by their captions, "click" pressing them). It is one of the
// application's host windows while the box is up.
#include <memory>
#include <string>
#include <vector>

#include "platform/a11y/AccessibleNode.h"
#include "platform/display/WindowTypes.h"

namespace platform::stdwin {

class MessageBoxAccessible : public a11y::AccessibleNode {
public:
    MessageBoxAccessible(HWND box, std::string text, const std::vector<HWND>& buttons);
    ~MessageBoxAccessible() override;

    a11y::Role GetRole() const override { return a11y::Role::Dialog; }
    std::string Name() const override;
    a11y::StateSet GetStates() const override;
    AccessibleNode* Parent() const override;
    int ChildCount() const override;
    AccessibleNode* Child(int index) const override;
    a11y::Extents ScreenExtents() const override;

    // The node of one of its buttons (for focus notices), or null.
    AccessibleNode* ButtonNode(HWND button) const;

    class BoxText;
    class BoxButton;

private:
    HWND m_box;
    std::unique_ptr<BoxText> m_text;
    std::vector<std::unique_ptr<BoxButton>> m_buttons;
};

} // namespace platform::stdwin
