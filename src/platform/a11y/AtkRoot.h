#pragma once
// Private to src/platform/a11y: ATK's toolkit hooks, which a toolkit fills in for the bridge —
// the root object (the application), the toolkit's name and version, and the registries through
// which the bridge hears ATK signals and keys.
#include "platform/a11y/Accessibility.h"

#include <atk/atk.h>

namespace platform::a11y::detail {

// Fills ATK's hooks once; `root` gives the application's object at every call.
void InstallToolkitHooks(AtkObject* (*root)());

// Hands a key to the bridge's key listeners; true when one took it.
bool DeliverKeyEvent(const KeyEvent& key);

} // namespace platform::a11y::detail
