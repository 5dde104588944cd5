#include "platform/a11y/BridgeLibrary.h"

#include <dlfcn.h>

namespace platform::a11y::detail {

namespace {

constexpr const char* kLibraryName = "libatk-bridge-2.0.so.0";

struct LoadedBridge {
    BridgeLibrary table;
    std::string error;
};

template <class F> void Resolve(void* handle, const char* name, F& slot, std::string& error) {
    slot = reinterpret_cast<F>(dlsym(handle, name));
    if (!slot && error.empty())
        error = std::string("The accessibility bridge ") + kLibraryName + " has no " + name;
}

// Never closed: the bridge registers GLib types and sources that outlive any one use.
LoadedBridge Load() {
    LoadedBridge loaded;
    void* handle = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        loaded.error = std::string("The accessibility bridge ") + kLibraryName +
                       " cannot be loaded: " + (why ? why : "not found");
        return loaded;
    }
    Resolve(handle, "atk_bridge_adaptor_init", loaded.table.init, loaded.error);
    Resolve(handle, "atk_bridge_adaptor_cleanup", loaded.table.cleanup, loaded.error);
    return loaded;
}

} // namespace

const BridgeLibrary* LoadBridge(std::string& error) {
    static const LoadedBridge loaded = Load();
    error = loaded.error;
    return loaded.error.empty() ? &loaded.table : nullptr;
}

} // namespace platform::a11y::detail
