#pragma once
// Private to src/platform/a11y: the AT-SPI bridge (libatk-bridge), opened when a screen reader
// listens rather than linked. With it come libatspi, libdbus, libsystemd, libgcrypt and half a
// dozen more (12 libraries, a few milliseconds to load) that a run without one never needs.
#include <string>

namespace platform::a11y::detail {

struct BridgeLibrary {
    int (*init)(int* argc, char*** argv) = nullptr; // atk_bridge_adaptor_init
    void (*cleanup)() = nullptr;                    // atk_bridge_adaptor_cleanup
};

// Opens the library once per process. Null, with `error` set to a sentence, when it is missing
// or lacks a function.
const BridgeLibrary* LoadBridge(std::string& error);

} // namespace platform::a11y::detail
