#pragma once
// Reading a form's resources: every class from the one below `rootAncestor` down to the form's
// own class contributes the RCDATA resource named by its class name, base classes first.
namespace frame {

class TComponent;
struct TClassInfo;

// Reads the resources of the form's class chain into `form` inside one loading batch (AfterLoad
// runs once per component after all of them). Returns whether any class had a resource.
bool LoadFormResources(TComponent* form, const TClassInfo* rootAncestor);

} // namespace frame
