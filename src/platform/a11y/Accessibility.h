#pragma once
// The program on the accessibility bus (AT-SPI 2), through ATK and its AT-SPI bridge.
//
// Nothing of it costs a run that no screen reader listens to. EnableAccessibility only notes the
// application's node; at the program's first wait (after the first form is painted) the
// session bus is asked over one socket of our own, without waiting for the answer, whether
// assistive technology is on (org.a11y.Status IsEnabled or ScreenReaderEnabled, which desktops
// set when a screen reader starts) and told to say when that changes. Only when it is on is the
// bridge library opened (it is never linked: with it come libdbus and a dozen more libraries)
// and the program put on the bus. The environment decides first: NO_AT_BRIDGE=1 or
// ZORVANE_ACCESSIBILITY=0 keep it off, ZORVANE_ACCESSIBILITY=1 starts the bridge at the first
// wait without asking. Without a session bus nothing is started or asked.
//
// The question and the bridge's traffic are served from the loop's own wait
// (display/LoopSources.h): the socket and, once the bridge runs, GLib's main context are sources
// of it.
#include "platform/a11y/AccessibleNode.h"

#include <functional>
#include <string>

namespace platform::a11y {

enum class BridgeState {
    Off,      // not enabled, or turned off by the environment
    Pending,  // enabled; the first wait has not come yet
    NoBus,    // no session bus to ask: stays off
    Watching, // asking the bus, or told that no assistive technology is on
    Started,  // on the accessibility bus
    Failed,   // the bridge could not be loaded or started (said on standard error)
};

// `application` is the root of the tree (Role::Application, named after the program; its
// children are the visible forms). It must outlive DisableAccessibility.
void EnableAccessibility(AccessibleNode& application);
// Takes the program off the bus and stops watching; nodes that remain are never asked again.
void DisableAccessibility();

BridgeState CurrentBridgeState();
// Called on every change of state, from inside the loop (tests and tools print it).
void SetBridgeStateHandler(std::function<void(BridgeState)> handler);
const char* BridgeStateName(BridgeState state);

// What the frame tells listeners. Each does nothing (and asks no node) unless the bridge is
// started; then it asks the nodes concerned as the listeners' questions require.
void NotifyChildAdded(AccessibleNode& parent, int index, AccessibleNode& child);
// Before the child goes, or after it left the parent but is still whole.
void NotifyChildRemoved(AccessibleNode& parent, int index, AccessibleNode& child);
void NotifyNameChanged(AccessibleNode& node);
void NotifyDescriptionChanged(AccessibleNode& node);
void NotifyStateChanged(AccessibleNode& node, State state, bool on);
// The keyboard is now with `node` (null: with no node of the program). Tells the node that had it
// and the new one; both must already answer their Focused state accordingly.
void NotifyFocus(AccessibleNode* node);
// A form (Frame, Dialog or Window) became the active window or stopped being it.
void NotifyWindowActivated(AccessibleNode& window, bool active);
// The node's text changed from `before` to what it answers now.
void NotifyTextChanged(AccessibleNode& node, const std::string& before);
void NotifyCaretMoved(AccessibleNode& node, int offset);
void NotifyValueChanged(AccessibleNode& node);
void NotifySelectionChanged(AccessibleNode& node);
void NotifyBoundsChanged(AccessibleNode& node);

// A key as the display received it, for screen readers that take keys before the program does
// (their own commands). True when one took it: the program must then not handle it.
struct KeyEvent {
    bool press = true;
    unsigned modifiers = 0; // X11's state mask
    unsigned keysym = 0;
    unsigned keycode = 0;
    unsigned timeMs = 0;
    std::string text; // what the key types, or the keysym's name
};
bool NotifyKeyEvent(const KeyEvent& key);

} // namespace platform::a11y
