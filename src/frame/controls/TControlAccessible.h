#pragma once
// What screen readers learn of a control (platform/a11y/AccessibleNode.h). The frame answers
// once per control kind: this base answers what every control shares — parent and children (the
// child controls screen readers see), the place on the screen, the states, a name from the
// label, the caption or the hint — and each kind (src/controls, src/chart) adds its role and
// interfaces. A node is made when first asked for (TControl::Accessible), lives as long as its
// control and asks it afresh at every question.
//
// The calls that change something come from inside the loop's wait; they are queued
// (PostAccessibleWork) and run by the application window like any posted message.
#include <functional>
#include <string>
#include <vector>

#include "platform/a11y/AccessibleNode.h"

namespace frame {

class TControl;
class TWinControl;

class TControlAccessible : public platform::a11y::AccessibleNode {
public:
    using Role = platform::a11y::Role;
    using State = platform::a11y::State;
    using StateSet = platform::a11y::StateSet;
    using Extents = platform::a11y::Extents;
    using Relation = platform::a11y::Relation;

    TControlAccessible(TControl& control, Role role);
    TControl& Control() const { return m_control; }

    Role GetRole() const override { return m_role; }
    // The control's own accessible name, else the caption of the label naming it, else its
    // caption, else its short hint (as the hint window would find it, up the parents).
    std::string Name() const override;
    std::string Description() const override;
    StateSet GetStates() const override;
    AccessibleNode* Parent() const override;
    int ChildCount() const override;
    AccessibleNode* Child(int index) const override;
    Extents ScreenExtents() const override;
    bool GrabFocus() override;
    std::vector<Relation> Relations() const override;

    // Tells listeners what changed in the node's text since it last told them (or since it was
    // made), when it has a text.
    void TextMayHaveChanged();

protected:
    // The label on the same form that names this control, or null.
    TControl* NamingLabel() const;

    TControl& m_control;
    Role m_role;

private:
    std::string m_toldText; // only to word the next text-changed notice
};

// Whether a screen reader listens now: notices are only worth making then.
bool AccessibilityListening();
// Runs `work` from the loop after the current wait, unless `control` is gone by then.
void PostAccessibleWork(TControl& control, std::function<void()> work);
// Runs the work posted so far (the application window does, on CM_ACCESSIBLEWORK).
void RunAccessibleWork();
// A caption as a name: "&" marks dropped ("&&" is one "&"), spaces at both ends trimmed.
std::string AccessibleCaption(const std::string& caption);
// Alt with the caption's marked letter in ATK's notation ("<Alt>Cyrillic_de" for "&Далее");
// empty when the caption marks none.
std::string AccessibleAltKey(const std::string& caption);
// The frame's notices to screen readers, each nothing while none listens.
void AccessibleNameChanged(TControl& control);
void AccessibleTextChanged(TControl& control);
void AccessibleStateChanged(TControl& control, platform::a11y::State state, bool on);
void AccessibleFocusChanged(TControl& control);
void AccessibleSelectionChanged(TControl& control);
void AccessibleValueChanged(TControl& control);

} // namespace frame
