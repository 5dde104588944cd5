#include "frame/Fixups.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "frame/NameSpaceLock.h"
#include "frame/TComponent.h"

namespace frame {

namespace {
struct FixupList {
    std::mutex lock;
    std::vector<TPropFixup> fixups;
    TFindGlobalRoot findRoot;
};

FixupList& Global() {
    static FixupList list;
    return list;
}
} // namespace

void SetFindGlobalRoot(TFindGlobalRoot hook) {
    FixupList& list = Global();
    std::lock_guard guard(list.lock);
    list.findRoot = std::move(hook);
}

TComponent* FindGlobalRoot(std::string_view name) {
    TFindGlobalRoot hook;
    {
        FixupList& list = Global();
        std::lock_guard guard(list.lock);
        hook = list.findRoot;
    }
    return hook ? hook(name) : nullptr;
}

TComponent* FindReferencedComponent(TComponent* root, std::string_view name) {
    if (!root)
        return nullptr;
    if (TComponent* c = root->FindComponent(name))
        return c;
    return SameText(name, "Owner") ? root : nullptr;
}

void AddGlobalFixup(TPropFixup fixup) {
    FixupList& list = Global();
    std::lock_guard guard(list.lock);
    list.fixups.push_back(std::move(fixup));
}

void RemoveGlobalFixupsOf(TComponent* component) {
    FixupList& list = Global();
    std::lock_guard guard(list.lock);
    std::erase_if(list.fixups, [&](const TPropFixup& f) {
        return f.root == component || f.component == component ||
               f.instance == static_cast<TPersistent*>(component);
    });
}

void RemoveGlobalFixupsFor(TPersistent* instance) {
    FixupList& list = Global();
    std::lock_guard guard(list.lock);
    std::erase_if(list.fixups, [&](const TPropFixup& f) { return f.instance == instance; });
}

size_t PendingGlobalFixups() {
    FixupList& list = Global();
    std::lock_guard guard(list.lock);
    return list.fixups.size();
}

void ResolveGlobalFixups() {
    TWriteLockGuard nameSpace(GlobalNameSpace());
    FixupList& list = Global();
    std::unique_lock guard(list.lock);
    if (!list.findRoot)
        return;
    TFindGlobalRoot findRoot = list.findRoot;
    std::vector<TPropFixup> pending = std::move(list.fixups);
    list.fixups.clear();
    // The hook and the setters run without the list lock: they may look things up themselves.
    guard.unlock();
    std::vector<TPropFixup> kept;
    std::vector<TComponent*> finished;
    for (TPropFixup& f : pending) {
        TComponent* root = findRoot(f.rootName);
        if (!root) {
            if (std::get<TObject*>(f.prop->get(*f.instance)) == nullptr)
                kept.push_back(std::move(f));
            continue;
        }
        f.prop->set(*f.instance, static_cast<TObject*>(FindReferencedComponent(root, f.name)));
        if (auto* c = As<TComponent>(f.instance))
            finished.push_back(c);
    }
    for (TPropFixup& f : kept) {
        if (auto* c = As<TComponent>(f.instance))
            c->SetStateFlag(csFixups, true);
    }
    for (TComponent* c : finished) {
        bool stillPending = std::any_of(kept.begin(), kept.end(),
                                        [&](const TPropFixup& f) { return f.instance == c; });
        if (!stillPending)
            c->SetStateFlag(csFixups, false);
    }
    guard.lock();
    // Fixups added by the setters meanwhile go after the ones kept.
    kept.insert(kept.end(), std::make_move_iterator(list.fixups.begin()),
                std::make_move_iterator(list.fixups.end()));
    list.fixups = std::move(kept);
}

} // namespace frame
