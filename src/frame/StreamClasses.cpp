#include "frame/StreamClasses.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "frame/TPersistent.h"
#include "rtl/Exception.h"

namespace frame {

namespace {
struct ClassList {
    std::mutex lock;
    std::vector<const TClassInfo*> classes;
};

ClassList& Classes() {
    static ClassList list;
    return list;
}

const TClassInfo* FindLocked(ClassList& list, std::string_view name) {
    for (const TClassInfo* c : list.classes) {
        if (SameText(c->name, name))
            return c;
    }
    return nullptr;
}
} // namespace

void RegisterStreamClass(const TClassInfo* cls) {
    ClassList& list = Classes();
    std::lock_guard guard(list.lock);
    for (const TClassInfo* c = cls; c && c->InheritsFrom(TPersistent::StaticClass());
         c = c->parent) {
        const TClassInfo* present = FindLocked(list, c->name);
        if (present == c)
            continue;
        if (present)
            throw rtl::EFilerError("A class named %s already exists", c->name);
        list.classes.push_back(c);
    }
}

void RegisterStreamClasses(std::initializer_list<const TClassInfo*> classes) {
    for (const TClassInfo* c : classes)
        RegisterStreamClass(c);
}

const TClassInfo* FindStreamClass(std::string_view name) {
    ClassList& list = Classes();
    std::lock_guard guard(list.lock);
    return FindLocked(list, name);
}

const TClassInfo* GetStreamClass(std::string_view name) {
    const TClassInfo* cls = FindStreamClass(name);
    if (!cls)
        throw rtl::EClassNotFound("Class %s not found", name);
    return cls;
}

void UnregisterStreamClass(const TClassInfo* cls) {
    ClassList& list = Classes();
    std::lock_guard guard(list.lock);
    list.classes.erase(std::remove(list.classes.begin(), list.classes.end(), cls),
                       list.classes.end());
}

} // namespace frame
