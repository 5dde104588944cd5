#pragma once
// Components: named objects in an ownership tree. An owner deletes the components it owns and
// tells them when one of them goes away; the form resource reader creates, names and fills them.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "frame/TPersistent.h"
#include "frame/TSet.h"

namespace frame {

class TReader;
class TWriter;

enum TComponentStateFlag {
    csLoading, // from creation by the reader until AfterLoad
    csReading, // while its own data is read
    csWriting, // while the writer stores it
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups, // has references to other roots still pending
    csInline,
};
using TComponentState = TSet<TComponentStateFlag>;

enum TOperation { opInsert, opRemove };

// True for a valid identifier: a letter or "_" followed by letters, digits and "_".
bool IsValidIdent(std::string_view name);

class TComponent : public TPersistent {
public:
    ZORVANE_CLASS(TComponent)

    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    const std::string& Name() const { return m_name; }
    // Renames; an invalid identifier fails with EComponentError "''%s'' is not a valid component
    // name", a name already used among the owner's components with "A component named %s already
    // exists". The owner's published field of the name is bound to this component.
    virtual void SetName(const std::string& newName);
    int32_t Tag() const { return m_tag; }
    void SetTag(int32_t tag) { m_tag = tag; }

    TComponent* Owner() const { return m_owner; }
    int ComponentCount() const { return static_cast<int>(m_components.size()); }
    TComponent* Components(int index) const { return m_components.at(index); }
    int ComponentIndex() const;
    // The owned component of that name (ASCII case-insensitive), or null.
    TComponent* FindComponent(std::string_view name) const;
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Destroys the owned components, last first, each after its BeforeDestruction.
    void DestroyComponents();
    // Runs while the whole object still exists, before it is deleted by its owner (forms run
    // their OnDestroy here). Deleting a component directly runs only what its destructors do.
    virtual void BeforeDestruction() {}

    TComponentState ComponentState() const { return m_state; }
    bool HasState(TComponentStateFlag flag) const { return m_state.Contains(flag); }
    // For the filer and the frame: sets or clears one state flag.
    void SetStateFlag(TComponentStateFlag flag, bool on);

    // Asks to be told (Notification with opRemove) when `component`, owned elsewhere, goes away.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Design position of non-visual components: low 16 bits Left, high 16 bits Top.
    int32_t DesignInfo() const { return m_designInfo; }
    void SetDesignInfo(int32_t info) { m_designInfo = info; }

    // --- Streaming ---
    // Reads this component's data (properties, then children); controls extend it.
    virtual void ReadComponentState(TReader& reader);
    // Called once per component after the whole tree and its local references are read.
    virtual void AfterLoad();
    // Parent and owner for the children read next (null owner: the root).
    virtual TComponent* ChildParentForReading() { return this; }
    virtual TComponent* ChildOwnerForReading() { return nullptr; }
    virtual void SetChildPosition(TComponent* child, int position);
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual bool HasParent() const { return false; }
    virtual void SetParentComponent(TComponent* parent);
    // The components the writer stores as this one's children. The default, for the root,
    // yields the owned components that have no parent.
    virtual void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root);
    // Writes this component's data (properties, then children); controls may extend it.
    virtual void WriteComponentState(TWriter& writer);

    void ListDefinedProperties(TFiler& filer) override;
    TPersistent* GetOwner() const override { return m_owner; }
    std::string GetNamePath() const override { return m_name; }

    // Told when a component is inserted into or removed from the owner, or when a component this
    // one asked FreeNotification for is destroyed; an owner passes removals on to every component
    // it owns. Overrides clear their references.
    virtual void Notification(TComponent* component, TOperation operation);

protected:
    virtual void ValidateRename(TComponent* component, std::string_view currentName,
                                std::string_view newName);
    virtual void Destroying();
    // Binds (or unbinds) the owner's published field named like this component.
    void SetReference(bool enable);

private:
    void ReadLeft(TReader& reader);
    void ReadTop(TReader& reader);

    TComponent* m_owner = nullptr;
    std::vector<TComponent*> m_components;
    // Owned components by upper-case name: name checks stay cheap on forms with many components.
    std::unordered_map<std::string, TComponent*> m_byName;
    std::vector<TComponent*> m_freeNotifies;
    std::string m_name;
    int32_t m_tag = 0;
    int32_t m_designInfo = 0;
    TComponentState m_state;
};

} // namespace frame
