#pragma once
// Private to src/platform/a11y: the ATK object (an AtkObject subclass) that stands for one
// AccessibleNode on the bridge. It holds no state of the control: every question goes to the
// node. One GObject type per set of interfaces, registered when first needed.
#include "platform/a11y/AccessibleNode.h"

#include <atk/atk.h>

#include <exception>
#include <map>
#include <string>

namespace platform::a11y::detail {

// Texts handed to ATK as `const gchar*` stay valid until the same question is asked again.
enum class Kept { Name, Description, ActionName, ActionDescription, KeyBinding, ColumnName };

struct PeerData {
    AccessibleNode* node = nullptr; // null once the node is gone: the object is defunct
    std::map<std::pair<Kept, int>, std::string> kept;

    const char* Keep(Kept what, int index, std::string text) {
        std::string& slot = kept[{what, index}];
        slot = std::move(text);
        return slot.c_str();
    }
};

struct NodePeer {
    AtkObject parent;
    PeerData* data;
};

struct PeerSlot {
    static NodePeer*& Of(AccessibleNode& node) { return node.m_peer; }
};

// The node's object, made on first use; the node holds one reference to it until it goes.
// Null for null. No reference is added for the caller.
AtkObject* PeerOf(AccessibleNode* node);
// The node behind one of our objects (any ATK interface pointer of it); null when the node is
// gone or the object is not ours.
AccessibleNode* NodeOf(gpointer object);
PeerData& DataOf(gpointer object);
// PeerOf with a reference for the caller (ATK's ref_* functions).
AtkObject* RefPeer(AccessibleNode* node);

// Called by the node's destructor: the object turns defunct and the node's reference goes.
void ForgetNode(AccessibleNode& node);

AtkRole ToAtkRole(Role role);
AtkStateType ToAtkState(State state);
bool IsWindowRole(Role role);
// The extents in the coordinates ATK asks for: the screen, the node's window, or its parent.
Extents ExtentsIn(AccessibleNode& node, Extents screen, AtkCoordType coords);

void InitComponent(AtkComponentIface* iface);
void InitAction(AtkActionIface* iface);
void InitImage(AtkImageIface* iface);
void InitValue(AtkValueIface* iface);
void InitSelection(AtkSelectionIface* iface);
void InitText(AtkTextIface* iface);
void InitTable(AtkTableIface* iface);
void InitTableCell(AtkTableCellIface* iface);
void InitWindow(AtkWindowIface* iface);

void ReportFault(const char* what);

// Runs `call` and returns its result, or `fallback` when it throws: nothing may unwind through
// the C libraries (ATK, the bridge, libdbus) that called us.
template <class R, class F> R Guarded(R fallback, F&& call) noexcept {
    try {
        return call();
    } catch (const std::exception& e) {
        ReportFault(e.what());
    } catch (...) {
        ReportFault("an exception of unknown type");
    }
    return fallback;
}

// The same for calls without a result.
template <class F> void GuardedDo(F&& call) noexcept {
    Guarded(0, [&] {
        call();
        return 0;
    });
}

} // namespace platform::a11y::detail
