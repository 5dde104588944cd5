#include "frame/FormResources.h"

#include "frame/NameSpaceLock.h"
#include "frame/TComponent.h"
#include "frame/TReader.h"
#include "platform/resources/Resources.h"
#include "rtl/ScopeExit.h"

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
    // A failed read drops the batch without AfterLoad; only a whole chain runs it.
    rtl::ScopeExit dropBatch([] { EndLoadingBatch(true); });
    bool found = ReadChain(form, form->ClassType(), rootAncestor);
    dropBatch.Release();
    EndLoadingBatch(false);
    return found;
}

} // namespace frame
