// Edit fields as screen readers see them: editable single-line text with its caret.
#include "controls/TEdit.h"
#include "frame/controls/TControlAccessible.h"

namespace controls {

using namespace platform::a11y;

namespace {

class EditAccessible : public frame::TControlAccessible, public AccessibleText {
public:
    explicit EditAccessible(TCustomEdit& edit)
        : TControlAccessible(edit, Role::Text), m_edit(edit) {}

    StateSet GetStates() const override {
        return TControlAccessible::GetStates()
            .Set(State::Editable, !m_edit.ReadOnly())
            .Set(State::ReadOnly, m_edit.ReadOnly())
            .Add(State::SingleLine);
    }
    AccessibleText* AsText() override { return this; }
    std::string Text() const override { return m_edit.Text(); }
    // The field counts characters as screen readers do.
    int CaretOffset() const override {
        return m_edit.HandleAllocated() ? m_edit.SelStart() + m_edit.SelLength() : -1;
    }
    bool SetCaretOffset(int offset) override {
        TCustomEdit& edit = m_edit;
        frame::PostAccessibleWork(edit, [&edit, offset] { edit.SetSelection(offset, 0); });
        return true;
    }

private:
    TCustomEdit& m_edit;
};

} // namespace

std::unique_ptr<AccessibleNode> TCustomEdit::CreateAccessible() {
    return std::make_unique<EditAccessible>(*this);
}

} // namespace controls
