#include "platform/spool/CupsLibrary.h"

#include <dlfcn.h>

namespace platform::spool::detail {

namespace {

constexpr const char* kLibraryName = "libcups.so.2";

struct LoadedCups {
    CupsLibrary table;
    std::string error;
};

// Never closed: CUPS keeps per-thread state and atexit work of its own once used.
LoadedCups Load() {
    LoadedCups loaded;
    void* handle = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        loaded.error = std::string("The print service library ") + kLibraryName +
                       " cannot be loaded: " + (why ? why : "not found");
        return loaded;
    }
    std::string missing;
#define ZORVANE_CUPS_RESOLVE(name)                                                                 \
    loaded.table.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name));                 \
    if (!loaded.table.name && missing.empty())                                                     \
        missing = #name;
    ZORVANE_CUPS_FUNCTIONS(ZORVANE_CUPS_RESOLVE)
#undef ZORVANE_CUPS_RESOLVE
    if (!missing.empty())
        loaded.error = std::string("The print service library ") + kLibraryName +
                       " is too old: it has no " + missing;
    return loaded;
}

const LoadedCups& Loaded() {
    static const LoadedCups loaded = Load();
    return loaded;
}

} // namespace

bool CupsAvailable(std::string* error) {
    const LoadedCups& loaded = Loaded();
    if (error)
        *error = loaded.error;
    return loaded.error.empty();
}

const CupsLibrary& Cups() {
    return Loaded().table;
}

} // namespace platform::spool::detail
