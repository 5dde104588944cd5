#include "frame/FormResources.h"

#include "frame/NameSpaceLock.h"
#include "frame/TComponent.h"
#include "frame/TReader.h"
#include "platform/resources/Resources.h"

namespace frame {

namespace {
bool ReadChain(TComponent* form, const TClassInfo* cls, const TClassInfo* rootAncestor) {
    if (!cls || cls == rootAncestor || cls == TComponent::StaticClass())
        return false;
    bool found = ReadChain(form, cls->parent, rootAncestor);
    if (auto bytes = platform::FindResource(platform::RT_RCDATA, cls->name)) {
        rtl::TBytesStream stream(*bytes);
        TReader reader(stream);
        reader.ReadRootComponent(form);
        found = true;
    }
    return found;
}
} // namespace

bool LoadFormResources(TComponent* form, const TClassInfo* rootAncestor) {
    TWriteLockGuard nameSpace(GlobalNameSpace());
    BeginLoadingBatch();
    bool found;
    try {
        found = ReadChain(form, form->ClassType(), rootAncestor);
    } catch (...) {
        EndLoadingBatch(true);
        throw;
    }
    EndLoadingBatch(false);
    return found;
}

} // namespace frame
