#pragma once
// Objects that can be assigned and streamed: the published properties of the class record plus
// the defined properties a class lists for the filer.
#include <string>

#include "frame/TObject.h"

namespace frame {

class TFiler;

class TPersistent : public TObject {
public:
    ZORVANE_CLASS(TPersistent)

    // Copies `source` into this object; the default asks the source (AssignTo) and fails with
    // EConvertError "Cannot assign a %s to a %s" when neither side knows the other.
    virtual void Assign(const TPersistent* source);
    // Declares the properties stored without a published counterpart, by calling
    // DefineValueProperty / DefineStreamProperty on the filer. The default declares none.
    virtual void ListDefinedProperties(TFiler& filer);
    // The object that owns this one (a sub-object's component), for name paths.
    virtual TPersistent* GetOwner() const { return nullptr; }
    // "Owner.Name.Property" style path used in messages.
    virtual std::string GetNamePath() const;

protected:
    virtual void AssignTo(TPersistent* dest) const;
};

} // namespace frame
