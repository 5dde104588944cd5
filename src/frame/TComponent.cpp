#include "frame/TComponent.h"

#include <algorithm>

#include "frame/ClassBuilder.h"
#include "frame/Fixups.h"
#include "frame/TReader.h"
#include "frame/TWriter.h"
#include "rtl/Exception.h"

namespace frame {

namespace {
std::string UpperName(std::string_view name) {
    std::string upper(name);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    }
    return upper;
}
} // namespace

bool IsValidIdent(std::string_view name) {
    auto alpha = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    };
    if (name.empty() || !alpha(name[0]))
        return false;
    return std::all_of(name.begin() + 1, name.end(),
                       [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

const TClassInfo* TComponent::StaticClass() {
    static const auto info =
        TClassBuilder<TComponent>("TComponent", TPersistent::StaticClass())
            .Property("Name", &TComponent::Name,
                      static_cast<void (TComponent::*)(const std::string&)>(&TComponent::SetName),
                      NotStored())
            .Property("Tag", &TComponent::Tag, &TComponent::SetTag, Default(0))
            .Build();
    return info.get();
}

TComponent::TComponent(TComponent* owner) {
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    RemoveGlobalFixupsOf(this);
    ForgetDestroyedComponent(this);
    // Tell everyone who asked, and forget them, before the tree below goes away.
    while (!m_freeNotifies.empty()) {
        TComponent* other = m_freeNotifies.back();
        m_freeNotifies.pop_back();
        auto& theirs = other->m_freeNotifies;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (m_owner)
        m_owner->RemoveComponent(this);
}

void TComponent::Destroying() {
    m_state.Include(csDestroying);
}

void TComponent::DestroyComponents() {
    while (!m_components.empty()) {
        TComponent* last = m_components.back();
        RemoveComponent(last);
        last->BeforeDestruction();
        delete last;
    }
}

int TComponent::ComponentIndex() const {
    if (!m_owner)
        return -1;
    auto& list = m_owner->m_components;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty())
        return nullptr;
    auto it = m_byName.find(UpperName(name));
    return it == m_byName.end() ? nullptr : it->second;
}

void TComponent::InsertComponent(TComponent* component) {
    ValidateRename(component, "", component->m_name);
    m_components.push_back(component);
    if (!component->m_name.empty())
        m_byName[UpperName(component->m_name)] = component;
    component->m_owner = this;
    component->SetReference(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    Notification(component, opRemove);
    component->SetReference(false);
    // From the back: an owner tearing down removes its last component first.
    auto it = std::find(m_components.rbegin(), m_components.rend(), component);
    if (it != m_components.rend())
        m_components.erase(std::next(it).base());
    if (!component->m_name.empty()) {
        auto named = m_byName.find(UpperName(component->m_name));
        if (named != m_byName.end() && named->second == component)
            m_byName.erase(named);
    }
    component->m_owner = nullptr;
}

void TComponent::SetStateFlag(TComponentStateFlag flag, bool on) {
    if (on)
        m_state.Include(flag);
    else
        m_state.Exclude(flag);
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this)
        return;
    if (std::find(m_freeNotifies.begin(), m_freeNotifies.end(), component) == m_freeNotifies.end())
        m_freeNotifies.push_back(component);
    auto& theirs = component->m_freeNotifies;
    if (std::find(theirs.begin(), theirs.end(), this) == theirs.end())
        theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    m_freeNotifies.erase(std::remove(m_freeNotifies.begin(), m_freeNotifies.end(), component),
                         m_freeNotifies.end());
    auto& theirs = component->m_freeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component)
        m_freeNotifies.erase(std::remove(m_freeNotifies.begin(), m_freeNotifies.end(), component),
                             m_freeNotifies.end());
    // Removals go on to every owned component so that references between them are cleared;
    // insertions only concern the owner.
    if (operation != opRemove)
        return;
    for (size_t i = 0; i < m_components.size(); ++i) {
        if (m_components[i] != component)
            m_components[i]->Notification(component, operation);
    }
}

void TComponent::ValidateRename(TComponent* component, std::string_view currentName,
                                std::string_view newName) {
    if (component && component->m_owner == this && !SameText(currentName, newName) &&
        FindComponent(newName) != nullptr)
        throw rtl::EComponentError("A component named %s already exists", newName);
    if (!component && FindComponent(newName) != nullptr)
        throw rtl::EComponentError("A component named %s already exists", newName);
}

void TComponent::SetName(const std::string& newName) {
    if (m_name == newName)
        return;
    if (!newName.empty() && !IsValidIdent(newName))
        throw rtl::EComponentError("''%s'' is not a valid component name", newName);
    if (m_owner)
        m_owner->ValidateRename(this, m_name, newName);
    SetReference(false);
    if (m_owner && !m_name.empty())
        m_owner->m_byName.erase(UpperName(m_name));
    m_name = newName;
    if (m_owner && !m_name.empty())
        m_owner->m_byName[UpperName(m_name)] = this;
    SetReference(true);
}

void TComponent::SetReference(bool enable) {
    if (!m_owner || m_name.empty())
        return;
    const TFieldInfo* field = m_owner->ClassType()->FindField(m_name);
    if (!field)
        return;
    if (!enable) {
        field->set(*m_owner, nullptr);
    } else if (InheritsFrom(field->classOf())) {
        field->set(*m_owner, this);
    }
}

void TComponent::ReadComponentState(TReader& reader) {
    reader.ReadData(this);
}

void TComponent::AfterLoad() {
    m_state.Exclude(csLoading);
}

void TComponent::SetChildPosition(TComponent* child, int position) {
    if (!child || child->m_owner != this)
        return;
    auto it = std::find(m_components.begin(), m_components.end(), child);
    m_components.erase(it);
    size_t at = std::clamp<size_t>(position < 0 ? 0 : static_cast<size_t>(position), 0,
                                   m_components.size());
    m_components.insert(m_components.begin() + static_cast<std::ptrdiff_t>(at), child);
}

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    if (root != this)
        return;
    for (TComponent* c : m_components) {
        if (!c->HasParent())
            proc(c);
    }
}

void TComponent::WriteComponentState(TWriter& writer) {
    writer.WriteData(this);
}

void TComponent::ReadLeft(TReader& reader) {
    auto left = static_cast<uint16_t>(reader.ReadInteger());
    m_designInfo = static_cast<int32_t>((static_cast<uint32_t>(m_designInfo) & 0xFFFF0000u) | left);
}

void TComponent::ReadTop(TReader& reader) {
    auto top = static_cast<uint16_t>(reader.ReadInteger());
    m_designInfo = static_cast<int32_t>((static_cast<uint32_t>(m_designInfo) & 0x0000FFFFu) |
                                        (static_cast<uint32_t>(top) << 16));
}

void TComponent::ListDefinedProperties(TFiler& filer) {
    auto left = static_cast<int16_t>(m_designInfo & 0xFFFF);
    auto top = static_cast<int16_t>((static_cast<uint32_t>(m_designInfo) >> 16) & 0xFFFF);
    auto* ancestor = As<TComponent>(filer.Ancestor());
    int32_t ancestorInfo = ancestor ? ancestor->m_designInfo : 0;
    filer.DefineValueProperty(
        "Left", [this](TReader& r) { ReadLeft(r); }, [left](TWriter& w) { w.WriteInteger(left); },
        left != static_cast<int16_t>(ancestorInfo & 0xFFFF));
    filer.DefineValueProperty(
        "Top", [this](TReader& r) { ReadTop(r); }, [top](TWriter& w) { w.WriteInteger(top); },
        top != static_cast<int16_t>((static_cast<uint32_t>(ancestorInfo) >> 16) & 0xFFFF));
}

} // namespace frame
