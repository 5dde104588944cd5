#include "platform/a11y/Accessibility.h"

#include "platform/a11y/AtkPeer.h"
#include "platform/a11y/AtkRoot.h"
#include "platform/a11y/BridgeLibrary.h"
#include "platform/a11y/BusStatusWatch.h"
#include "platform/a11y/GlibLoopSource.h"
#include "platform/a11y/TextBoundaries.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace platform::gdi {
void LinkLeakSuppressions();
}

namespace platform::a11y {

using namespace detail;

namespace {

struct Module {
    AccessibleNode* application = nullptr;
    AccessibleNode* focused = nullptr;
    BridgeState state = BridgeState::Off;
    std::function<void(BridgeState)> onState;
    std::unique_ptr<GlibLoopSource> loop;
    std::unique_ptr<BusStatusWatch> watch;
    const BridgeLibrary* bridge = nullptr;
};

Module& M() {
    static Module module;
    return module;
}

void SetState(BridgeState state) {
    Module& m = M();
    if (m.state == state)
        return;
    m.state = state;
    if (m.onState)
        m.onState(state);
}

enum class Choice { Off, On, Ask };

bool EnvironmentIs(const char* name, const char* value) {
    const char* set = std::getenv(name);
    return set && std::strcmp(set, value) == 0;
}

// NO_AT_BRIDGE=1 is what every toolkit's bridge honours.
Choice EnvironmentChoice() {
    if (EnvironmentIs("NO_AT_BRIDGE", "1") || EnvironmentIs("ZORVANE_ACCESSIBILITY", "0"))
        return Choice::Off;
    if (EnvironmentIs("ZORVANE_ACCESSIBILITY", "1"))
        return Choice::On;
    return Choice::Ask;
}

AtkObject* ApplicationPeer() {
    return PeerOf(M().application);
}

void StartBridge() {
    Module& m = M();
    if (m.state == BridgeState::Started || m.state == BridgeState::Failed || !m.application)
        return;
    InstallToolkitHooks(ApplicationPeer);
    std::string error;
    const BridgeLibrary* bridge = LoadBridge(error);
    if (!bridge) {
        std::fprintf(stderr, "accessibility: %s\n", error.c_str());
        SetState(BridgeState::Failed);
        return;
    }
    m.loop->SetServing(true);
    if (bridge->init(nullptr, nullptr) != 0) {
        std::fprintf(stderr, "accessibility: the bridge could not join the accessibility bus\n");
        SetState(BridgeState::Failed);
        return;
    }
    m.bridge = bridge;
    SetState(BridgeState::Started);
}

// At the program's first wait: its first form is on the screen by then.
void FirstWait() {
    Module& m = M();
    if (EnvironmentChoice() == Choice::On) {
        StartBridge();
        return;
    }
    m.watch = std::make_unique<BusStatusWatch>(SessionBusSocket(), StartBridge);
    SetState(m.watch->Open() ? BridgeState::Watching : BridgeState::NoBus);
}

// The object of a node the bridge should hear about; null while no bridge listens.
AtkObject* Heard(AccessibleNode& node) {
    return M().state == BridgeState::Started ? PeerOf(&node) : nullptr;
}

void EmitState(AtkObject* peer, AtkStateType state, bool on) {
    atk_object_notify_state_change(peer, state, on ? TRUE : FALSE);
}

} // namespace

void EnableAccessibility(AccessibleNode& application) {
    gdi::LinkLeakSuppressions();
    Module& m = M();
    if (m.application)
        return;
    if (EnvironmentChoice() == Choice::Off)
        return;
    m.application = &application;
    m.loop = std::make_unique<GlibLoopSource>(FirstWait);
    AddLoopSource(*m.loop);
    SetState(BridgeState::Pending);
}

void DisableAccessibility() {
    Module& m = M();
    if (m.bridge)
        m.bridge->cleanup();
    m.bridge = nullptr;
    m.watch.reset();
    if (m.loop)
        RemoveLoopSource(*m.loop);
    m.loop.reset();
    m.application = nullptr;
    m.focused = nullptr;
    SetState(BridgeState::Off);
}

BridgeState CurrentBridgeState() {
    return M().state;
}

void SetBridgeStateHandler(std::function<void(BridgeState)> handler) {
    M().onState = std::move(handler);
}

const char* BridgeStateName(BridgeState state) {
    switch (state) {
    case BridgeState::Off:
        return "off";
    case BridgeState::Pending:
        return "pending";
    case BridgeState::NoBus:
        return "no-bus";
    case BridgeState::Watching:
        return "watching";
    case BridgeState::Started:
        return "started";
    case BridgeState::Failed:
        return "failed";
    }
    return "?";
}

void NotifyChildAdded(AccessibleNode& parent, int index, AccessibleNode& child) {
    if (AtkObject* peer = Heard(parent)) {
        AtkObject* added = PeerOf(&child);
        g_signal_emit_by_name(peer, "children-changed::add", guint(index), added);
        if (IsWindowRole(child.GetRole()) && parent.GetRole() == Role::Application)
            g_signal_emit_by_name(added, "create");
    }
}

void NotifyChildRemoved(AccessibleNode& parent, int index, AccessibleNode& child) {
    if (AtkObject* peer = Heard(parent)) {
        AtkObject* removed = PeerOf(&child);
        if (IsWindowRole(child.GetRole()) && parent.GetRole() == Role::Application)
            g_signal_emit_by_name(removed, "destroy");
        g_signal_emit_by_name(peer, "children-changed::remove", guint(index), removed);
    }
}

void NotifyNameChanged(AccessibleNode& node) {
    if (AtkObject* peer = Heard(node))
        g_object_notify(G_OBJECT(peer), "accessible-name");
}

void NotifyDescriptionChanged(AccessibleNode& node) {
    if (AtkObject* peer = Heard(node))
        g_object_notify(G_OBJECT(peer), "accessible-description");
}

void NotifyStateChanged(AccessibleNode& node, State state, bool on) {
    if (AtkObject* peer = Heard(node))
        EmitState(peer, ToAtkState(state), on);
}

void NotifyFocus(AccessibleNode* node) {
    Module& m = M();
    AccessibleNode* before = m.focused;
    m.focused = node;
    if (before && before != node)
        if (AtkObject* peer = Heard(*before))
            EmitState(peer, ATK_STATE_FOCUSED, false);
    if (node)
        if (AtkObject* peer = Heard(*node)) {
            EmitState(peer, ATK_STATE_FOCUSED, true);
            // Older screen readers still listen for "focus:" rather than the state.
            G_GNUC_BEGIN_IGNORE_DEPRECATIONS
            atk_focus_tracker_notify(peer);
            G_GNUC_END_IGNORE_DEPRECATIONS
        }
}

void NotifyWindowActivated(AccessibleNode& window, bool active) {
    if (AtkObject* peer = Heard(window)) {
        EmitState(peer, ATK_STATE_ACTIVE, active);
        g_signal_emit_by_name(peer, active ? "activate" : "deactivate");
    }
}

void NotifyTextChanged(AccessibleNode& node, const std::string& before) {
    AtkObject* peer = Heard(node);
    AccessibleText* text = node.AsText();
    if (!peer || !text)
        return;
    TextChange change = ChangeBetween(before, text->Text());
    if (!change.removed.empty())
        g_signal_emit_by_name(peer, "text-remove", change.start, CharacterCount(change.removed),
                              change.removed.c_str());
    if (!change.inserted.empty())
        g_signal_emit_by_name(peer, "text-insert", change.start, CharacterCount(change.inserted),
                              change.inserted.c_str());
}

void NotifyCaretMoved(AccessibleNode& node, int offset) {
    if (AtkObject* peer = Heard(node))
        g_signal_emit_by_name(peer, "text-caret-moved", offset);
}

void NotifyValueChanged(AccessibleNode& node) {
    if (AtkObject* peer = Heard(node))
        g_object_notify(G_OBJECT(peer), "accessible-value");
}

void NotifySelectionChanged(AccessibleNode& node) {
    if (AtkObject* peer = Heard(node))
        g_signal_emit_by_name(peer, "selection-changed");
}

void NotifyBoundsChanged(AccessibleNode& node) {
    if (AtkObject* peer = Heard(node)) {
        Extents e = node.ScreenExtents();
        AtkRectangle box{e.x, e.y, e.width, e.height};
        g_signal_emit_by_name(peer, "bounds-changed", &box);
    }
}

bool NotifyKeyEvent(const KeyEvent& key) {
    return M().state == BridgeState::Started && DeliverKeyEvent(key);
}

namespace detail {

void ForgetNode(AccessibleNode& node) {
    Module& m = M();
    if (m.focused == &node)
        m.focused = nullptr;
    NodePeer*& slot = PeerSlot::Of(node);
    NodePeer* peer = slot;
    slot = nullptr;
    peer->data->node = nullptr;
    if (m.state == BridgeState::Started)
        EmitState(ATK_OBJECT(peer), ATK_STATE_DEFUNCT, true);
    g_object_unref(peer);
}

} // namespace detail

} // namespace platform::a11y
