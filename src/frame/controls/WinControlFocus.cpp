// TWinControl's keyboard side: tab order, focus with OnEnter/OnExit, key events with a form's
// key preview, and the dialog keys and accelerators a form serves for its controls.
#include <algorithm>

#include "frame/controls/ControlBridge.h"
#include "frame/controls/TControlAccessible.h"
#include "frame/controls/TWinControl.h"
#include "platform/display/WindowApi.h"
#include "rtl/Exception.h"

namespace frame {

using namespace platform;

// ---------------------------------------------------------------------------------------------
// Tab order

void TWinControl::SetTabStop(bool value) {
    if (m_tabStop == value)
        return;
    m_tabStop = value;
    if (m_handle) {
        auto style = GetWindowLongPtr(m_handle, GWL_STYLE);
        SetWindowLongPtr(m_handle, GWL_STYLE,
                         value ? (style | WS_TABSTOP) : (style & ~std::intptr_t(WS_TABSTOP)));
    }
    Perform(CM_TABSTOPCHANGED);
}

int32_t TWinControl::TabOrder() const {
    if (m_pendingTabOrder >= 0 || !m_parent)
        return m_pendingTabOrder;
    auto& list = m_parent->m_tabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int32_t(it - list.begin());
}

void TWinControl::SetTabOrder(int32_t value) {
    if (IsLoading() || !m_parent) {
        // Ordered when the parent has read all its children.
        m_pendingTabOrder = value;
        return;
    }
    auto& list = m_parent->m_tabList;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end())
        return;
    list.erase(it);
    size_t at = value < 0 ? list.size() : std::min<size_t>(size_t(value), list.size());
    list.insert(list.begin() + std::ptrdiff_t(at), this);
}

void TWinControl::FixupTabList() {
    auto key = [](const TWinControl* c) {
        return c->m_pendingTabOrder >= 0 ? c->m_pendingTabOrder : INT32_MAX;
    };
    std::stable_sort(m_tabList.begin(), m_tabList.end(),
                     [&](const TWinControl* a, const TWinControl* b) { return key(a) < key(b); });
    for (TWinControl* c : m_tabList)
        c->m_pendingTabOrder = -1;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : m_tabList) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    const int n = int(list.size());
    auto at = std::find(list.begin(), list.end(), current);
    int start = at == list.end() ? (goForward ? n - 1 : 0) : int(at - list.begin());
    int i = start;
    do {
        i = goForward ? (i + 1) % n : (i + n - 1) % n;
        TWinControl* c = list[size_t(i)];
        if (c != current && c->CanFocus() && (!checkTabStop || c->m_tabStop) &&
            (!checkParent || c->m_parent == this))
            return c;
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop))
        next->SetFocus();
}

// ---------------------------------------------------------------------------------------------
// Focus

bool TWinControl::CanFocus() const {
    TWinControl* root = RootParent();
    if (!root || !root->Showing() || !root->Enabled())
        return false;
    for (const TControl* c = this; c; c = c->m_parent) {
        if (!c->m_visible || !c->Enabled())
            return false;
    }
    return true;
}

bool TWinControl::Focused() const {
    return m_handle && GetFocus() == m_handle;
}

void TWinControl::SetFocus() {
    if (!CanFocus())
        throw rtl::EInvalidOperation(std::string("Cannot focus a disabled or invisible window"));
    platform::SetFocus(Handle());
}

void TWinControl::SetActiveControl(TWinControl* control) {
    if (control && (control == this || !ContainsControl(control)))
        throw rtl::EInvalidOperation(std::string("Cannot focus a disabled or invisible window"));
    m_activeControl = control;
    if (control && m_handle && GetActiveWindow() == m_handle && control->CanFocus())
        control->SetFocus();
}

bool TWinControl::SetFocusedControl(TWinControl* control) {
    TWinControl* old = m_focusedControl;
    if (control != this)
        m_activeControl = control;
    m_focusedControl = control;
    if (old == control)
        return true;
    TAlive alive(this);
    // OnExit from the control that had the focus up to the first parent the new one shares,
    // then OnEnter down from there to the new control.
    if (old) {
        for (TWinControl* c = old; c && c != this && !c->ContainsControl(control);
             c = c->m_parent) {
            TAlive cAlive(c);
            c->Perform(CM_EXIT);
            if (!alive || m_focusedControl != control)
                return false;
            if (!cAlive)
                break;
        }
    }
    if (control && control != this) {
        std::vector<TWinControl*> chain;
        for (TWinControl* c = control; c && c != this && !(old && c->ContainsControl(old));
             c = c->m_parent)
            chain.push_back(c);
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            (*it)->Perform(CM_ENTER);
            if (!alive || m_focusedControl != control)
                return false;
        }
    }
    if (ControlHooks().focused) {
        ControlHooks().focused(control);
        if (!alive)
            return false;
    }
    FocusChangedBroadcast();
    return true;
}

void TWinControl::FocusChangedBroadcast() {
    TMessage m{CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(m_focusedControl), 0};
    Broadcast(m);
}

void TWinControl::CMEnter(TMessage& m) {
    OnEnter(this);
    DefaultHandler(m);
}

void TWinControl::CMExit(TMessage& m) {
    OnExit(this);
    DefaultHandler(m);
}

void TWinControl::CMFocusChanged(TCMFocusChanged& m) {
    Broadcast(m.message);
}

void TWinControl::WMSetFocus(TWMFocus& m) {
    TAlive alive(this);
    DefaultHandler(m.message);
    if (!alive || HasState(csDestroying))
        return;
    if (TWinControl* root = RootParent())
        root->SetFocusedControl(this);
    if (alive)
        AccessibleFocusChanged(*this);
}

void TWinControl::WMKillFocus(TWMFocus& m) {
    DefaultHandler(m.message);
}

void TWinControl::WMActivate(TWMActivate& m) {
    if (m.state == WA_INACTIVE || m_parent) {
        DefaultHandler(m.message);
        return;
    }
    // A top-level container that becomes active gives the focus to its active control, or to
    // the first one that can take it.
    TWinControl* target = m_activeControl && m_activeControl->CanFocus()
                              ? m_activeControl
                              : FindNextControl(nullptr, true, true, false);
    if (target)
        target->SetFocus();
    else
        DefaultHandler(m.message);
}

// ---------------------------------------------------------------------------------------------
// Keys

void TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
    OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(uint16_t& key, TShiftState shift) {
    OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char32_t& key) {
    OnKeyPress(this, key);
}

// Offers a key to the form's key preview, then to the control's own event; true when one of them
// swallowed it (or the control went away).
template <typename Raise, typename Swallowed>
bool TWinControl::OfferKey(Raise raise, Swallowed swallowed) {
    TAlive alive(this);
    TWinControl* root = RootParent();
    if (root && root != this && root->KeyPreviewing()) {
        raise(root);
        if (!alive || swallowed())
            return true;
    }
    if (!m_controlStyle.Contains(csNoStdEvents)) {
        raise(this);
        if (!alive || swallowed())
            return true;
    }
    return false;
}

bool TWinControl::DoKeyDown(TWMKey& m) {
    return OfferKey([&](TWinControl* c) { c->KeyDown(m.key, m.shift); },
                    [&] { return m.key == 0; });
}

bool TWinControl::DoKeyUp(TWMKey& m) {
    return OfferKey([&](TWinControl* c) { c->KeyUp(m.key, m.shift); }, [&] { return m.key == 0; });
}

bool TWinControl::DoKeyPress(TWMChar& m) {
    return OfferKey([&](TWinControl* c) { c->KeyPress(m.ch); }, [&] { return m.ch == 0; });
}

void TWinControl::WMKeyDown(TWMKey& m) {
    TAlive alive(this);
    if (DoKeyDown(m) || !alive)
        return;
    m.message.wParam = m.key;
    DefaultHandler(m.message);
    if (!alive)
        return;
    // The help key: the form looks for a help context from this control upwards.
    if (m.key == VK_F1 && !m.system && m.shift.Empty() && m_handle) {
        TWinControl* root = RootParent();
        if (root && root->m_handle) {
            HELPINFO info;
            info.hItemHandle = m_handle;
            GetCursorPos(info.MousePos);
            root->Perform(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        }
    }
}

void TWinControl::WMKeyUp(TWMKey& m) {
    TAlive alive(this);
    if (DoKeyUp(m) || !alive)
        return;
    m.message.wParam = m.key;
    DefaultHandler(m.message);
}

void TWinControl::WMChar(TWMChar& m) {
    TAlive alive(this);
    if (DoKeyPress(m) || !alive)
        return;
    m.message.wParam = m.ch;
    DefaultHandler(m.message);
}

void TWinControl::CNKeyDown(TWMKey& m) {
    m.message.result = 0;
    TWinControl* root = RootParent();
    if (!root)
        return;
    unsigned wanted = 0;
    switch (m.key) {
    case VK_TAB:
        wanted = DLGC_WANTTAB;
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        wanted = DLGC_WANTARROWS;
        break;
    case VK_RETURN:
    case VK_ESCAPE:
        wanted = DLGC_WANTALLKEYS;
        break;
    default:
        return;
    }
    if (DialogCode() & (wanted | DLGC_WANTALLKEYS))
        return;
    if (root->Perform(CM_DIALOGKEY, m.key, PackShift(m.shift)) != 0)
        m.message.result = 1;
}

void TWinControl::CNChar(TWMChar& m) {
    m.message.result = 0;
    TWinControl* root = RootParent();
    if (!root)
        return;
    // Alt with a letter always looks for an accelerator; a plain letter only when the focused
    // control does not take characters (a button: its letter clicks the button it names).
    if (!m.system && (DialogCode() & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)))
        return;
    if (!m.system && m.ch < 0x20)
        return;
    if (root->Perform(CM_DIALOGCHAR, m.ch, PackShift(m.shift)) != 0) {
        m.message.result = 1;
        return;
    }
    if (!m.system)
        return;
    // Alt with a key the active layout gives another letter: the accelerator may be the
    // letter the key types in another layout (Alt+Д for "&Далее" while Latin is active).
    for (char32_t other : GetKeyInOtherLayouts()) {
        if (other != m.ch && root->Perform(CM_DIALOGCHAR, other, PackShift(m.shift)) != 0) {
            m.message.result = 1;
            return;
        }
    }
}

void TWinControl::CMDialogKey(TCMDialogKey& m) {
    if (!m_parent) {
        // The top-level container's navigation.
        bool plain = !m.shift.Contains(ssCtrl) && !m.shift.Contains(ssAlt);
        if (m.key == VK_TAB && plain) {
            SelectNext(m_focusedControl, !m.shift.Contains(ssShift), true);
            m.message.result = 1;
            return;
        }
        bool arrow = m.key == VK_LEFT || m.key == VK_RIGHT || m.key == VK_UP || m.key == VK_DOWN;
        if (arrow && plain && m_focusedControl && m_focusedControl->m_parent) {
            m_focusedControl->m_parent->SelectNext(m_focusedControl,
                                                   m.key == VK_RIGHT || m.key == VK_DOWN, false);
            m.message.result = 1;
            return;
        }
    }
    // Enter, Escape and the rest: the first control that answers takes it (the default or the
    // cancel button).
    Broadcast(m.message);
}

void TWinControl::CMDialogChar(TCMDialogChar& m) {
    Broadcast(m.message);
}

} // namespace frame
