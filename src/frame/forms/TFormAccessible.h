#pragma once
// Forms and the application as screen readers see them. A form is a frame named by its caption
// (a dialog when modal, a dialog border, or marked one: the about box); the application is the
// root, named by its title, whose children are the forms on screen (in the order the
// application made them) and the host layer's own windows (a message box).
#include "frame/controls/TControlAccessible.h"

namespace frame {

class TApplication;
class TCustomForm;

class TFormAccessible : public TControlAccessible {
public:
    explicit TFormAccessible(TCustomForm& form);
    Role GetRole() const override;
    std::string Name() const override;
    StateSet GetStates() const override;

private:
    TCustomForm& m_form;
};

class TApplicationAccessible : public platform::a11y::AccessibleNode {
public:
    explicit TApplicationAccessible(TApplication& application) : m_application(application) {}
    platform::a11y::Role GetRole() const override { return platform::a11y::Role::Application; }
    std::string Name() const override;
    platform::a11y::StateSet GetStates() const override { return {}; }
    AccessibleNode* Parent() const override { return nullptr; }
    int ChildCount() const override;
    AccessibleNode* Child(int index) const override;

    // A form's place among the children: the forms on screen the application made before it.
    int FormIndex(const TCustomForm& form) const;

private:
    TApplication& m_application;
};

// A form came on screen or left it: the application's listeners hear of it.
void AccessibleFormShown(TCustomForm& form, bool shown);

} // namespace frame
