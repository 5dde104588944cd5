#include "frame/forms/TFormAccessible.h"

#include <deque>

#include "frame/controls/ControlBridge.h"
#include "frame/forms/TApplication.h"
#include "frame/forms/TCustomForm.h"
#include "platform/a11y/Accessibility.h"
#include "platform/display/WindowApi.h"

namespace frame {

using namespace platform::a11y;

namespace {

// The application's forms that are on screen, in the order it made them.
std::vector<TCustomForm*> FormsOnScreen(const TApplication& application) {
    std::vector<TCustomForm*> forms;
    for (int i = 0; i < application.ComponentCount(); ++i)
        if (auto* form = dynamic_cast<TCustomForm*>(application.Components(i)))
            if (form->Showing())
                forms.push_back(form);
    return forms;
}

struct PostedWork {
    TControl* control;
    TControl::TAlive alive;
    std::function<void()> work;
};

std::deque<PostedWork>& Posted() {
    static std::deque<PostedWork> posted;
    return posted;
}

} // namespace

TFormAccessible::TFormAccessible(TCustomForm& form)
    : TControlAccessible(form, Role::Frame), m_form(form) {}

Role TFormAccessible::GetRole() const {
    bool dialog = m_form.AccessibleDialog() || m_form.FormState().Contains(fsModal) ||
                  m_form.BorderStyle() == bsDialog;
    return dialog ? Role::Dialog : Role::Frame;
}

std::string TFormAccessible::Name() const {
    return m_form.Caption();
}

StateSet TFormAccessible::GetStates() const {
    return TControlAccessible::GetStates()
        .Set(State::Active, m_form.Active())
        .Set(State::Modal, m_form.FormState().Contains(fsModal))
        .Set(State::Resizable, m_form.BorderStyle() == bsSizeable);
}

std::string TApplicationAccessible::Name() const {
    return m_application.AppTitle();
}

int TApplicationAccessible::ChildCount() const {
    return int(FormsOnScreen(m_application).size() + HostWindows().size());
}

AccessibleNode* TApplicationAccessible::Child(int index) const {
    std::vector<TCustomForm*> forms = FormsOnScreen(m_application);
    if (index < 0)
        return nullptr;
    if (std::size_t(index) < forms.size())
        return forms[std::size_t(index)]->Accessible();
    std::size_t host = std::size_t(index) - forms.size();
    return host < HostWindows().size() ? HostWindows()[host] : nullptr;
}

int TApplicationAccessible::FormIndex(const TCustomForm& form) const {
    int index = 0;
    for (int i = 0; i < m_application.ComponentCount(); ++i) {
        TComponent* c = m_application.Components(i);
        if (c == &form)
            return index;
        if (auto* other = dynamic_cast<TCustomForm*>(c); other && other->Showing())
            ++index;
    }
    return -1;
}

void AccessibleFormShown(TCustomForm& form, bool shown) {
    if (!AccessibilityListening() || !Application || form.Owner() != Application)
        return;
    AccessibleNode* node = form.Accessible();
    int index = Application->Accessible().FormIndex(form);
    if (!node || index < 0)
        return;
    if (shown)
        NotifyChildAdded(Application->Accessible(), index, *node);
    else
        NotifyChildRemoved(Application->Accessible(), index, *node);
}

void PostAccessibleWork(TControl& control, std::function<void()> work) {
    if (!Application || !Application->Handle())
        return;
    bool first = Posted().empty();
    Posted().push_back(PostedWork{&control, TControl::TAlive(&control), std::move(work)});
    if (first)
        platform::PostMessage(Application->Handle(), CM_ACCESSIBLEWORK);
}

void RunAccessibleWork() {
    std::deque<PostedWork> due;
    due.swap(Posted());
    // What one request raises is reported as the control's own handlers' errors are, and the
    // requests after it still run.
    for (PostedWork& p : due) {
        if (!p.alive)
            continue;
        try {
            p.work();
        } catch (...) {
            HandleException(p.control);
        }
    }
}

} // namespace frame
