#pragma once
// Pending references from a property to a component that may not exist yet: local ones are kept
// by the reader of one root, global ones (to components of other roots, "Form2.Button1") here
// until that root exists.
#include <functional>
#include <string>
#include <string_view>

#include "frame/TypeInfo.h"

namespace frame {

class TPersistent;
class TComponent;

struct TPropFixup {
    TPersistent* instance = nullptr; // the object whose property is set
    const TPropInfo* prop = nullptr;
    TComponent* root = nullptr;      // the root being read when the reference was met
    std::string rootName;            // empty for a reference within the same root
    std::string name;                // the component's name
    TComponent* component = nullptr; // the component whose data held the property
};

using TFindGlobalRoot = std::function<TComponent*(std::string_view name)>;
// Installs the look-up of roots by name (the frame's screen installs one); none by default.
void SetFindGlobalRoot(TFindGlobalRoot hook);
// The root of that name through the installed hook, or null (also when no hook is installed).
TComponent* FindGlobalRoot(std::string_view name);

void AddGlobalFixup(TPropFixup fixup);
// Drops every pending fixup that involves `component`: recorded while it was the root being
// read, or held by it or by its data. Called as the component is destroyed.
void RemoveGlobalFixupsOf(TComponent* component);
// Drops every pending fixup whose property belongs to `instance` (an object about to be freed).
void RemoveGlobalFixupsFor(TPersistent* instance);
// Resolves what can be resolved now; the rest stays pending.
void ResolveGlobalFixups();
size_t PendingGlobalFixups();

// The component `name` names relative to `root`: one of its components, or the root itself for
// "Owner"; null when there is none.
TComponent* FindReferencedComponent(TComponent* root, std::string_view name);

} // namespace frame
