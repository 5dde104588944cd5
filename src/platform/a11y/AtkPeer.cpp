#include "platform/a11y/AtkPeer.h"

#include "platform/display/WindowApi.h"

#include <cstdio>
#include <string>
#include <vector>

namespace platform::a11y::detail {

namespace {

// Which ATK interfaces an object has, beside AtkComponent, which every one has.
enum InterfaceBit : unsigned {
    kAction = 1u << 0,
    kText = 1u << 1,
    kValue = 1u << 2,
    kTable = 1u << 3,
    kTableCell = 1u << 4,
    kSelection = 1u << 5,
    kImage = 1u << 6,
    kWindow = 1u << 7,
};

struct NodePeerClass {
    AtkObjectClass parent;
};

AccessibleNode* Node(AtkObject* object) {
    return NodeOf(object);
}

const gchar* PeerName(AtkObject* object) {
    return Guarded<const gchar*>("", [&] {
        AccessibleNode* node = Node(object);
        return node ? DataOf(object).Keep(Kept::Name, 0, node->Name()) : "";
    });
}

const gchar* PeerDescription(AtkObject* object) {
    return Guarded<const gchar*>("", [&] {
        AccessibleNode* node = Node(object);
        return node ? DataOf(object).Keep(Kept::Description, 0, node->Description()) : "";
    });
}

AtkObject* PeerParent(AtkObject* object) {
    return Guarded<AtkObject*>(nullptr, [&] {
        AccessibleNode* node = Node(object);
        return node ? PeerOf(node->Parent()) : nullptr;
    });
}

gint PeerChildCount(AtkObject* object) {
    return Guarded(0, [&] {
        AccessibleNode* node = Node(object);
        return node ? node->ChildCount() : 0;
    });
}

AtkObject* PeerRefChild(AtkObject* object, gint index) {
    return Guarded<AtkObject*>(nullptr, [&]() -> AtkObject* {
        AccessibleNode* node = Node(object);
        if (!node || index < 0 || index >= node->ChildCount())
            return nullptr;
        return RefPeer(node->Child(index));
    });
}

gint PeerIndexInParent(AtkObject* object) {
    return Guarded(-1, [&] {
        AccessibleNode* node = Node(object);
        return node ? node->IndexInParent() : -1;
    });
}

AtkRole PeerRole(AtkObject* object) {
    return Guarded(ATK_ROLE_INVALID, [&] {
        AccessibleNode* node = Node(object);
        return node ? ToAtkRole(node->GetRole()) : object->role;
    });
}

constexpr State kAllStates[] = {
    State::Enabled,    State::Sensitive,  State::Focusable, State::Focused,    State::Visible,
    State::Showing,    State::Default,    State::Modal,     State::Editable,   State::Selected,
    State::Selectable, State::Active,     State::MultiLine, State::SingleLine, State::Pressed,
    State::Checked,    State::Expandable, State::Expanded,  State::ReadOnly,   State::Resizable,
};

AtkStateSet* PeerStates(AtkObject* object) {
    AtkStateSet* set = atk_state_set_new();
    GuardedDo([&] {
        AccessibleNode* node = Node(object);
        if (!node) {
            atk_state_set_add_state(set, ATK_STATE_DEFUNCT);
            return;
        }
        StateSet states = node->GetStates();
        for (State s : kAllStates)
            if (states.Has(s))
                atk_state_set_add_state(set, ToAtkState(s));
    });
    return set;
}

AtkRelationType ToAtkRelation(RelationKind kind) {
    switch (kind) {
    case RelationKind::LabelFor:
        return ATK_RELATION_LABEL_FOR;
    case RelationKind::LabelledBy:
        return ATK_RELATION_LABELLED_BY;
    case RelationKind::ControllerFor:
        return ATK_RELATION_CONTROLLER_FOR;
    case RelationKind::ControlledBy:
        return ATK_RELATION_CONTROLLED_BY;
    case RelationKind::DescriptionFor:
        return ATK_RELATION_DESCRIPTION_FOR;
    case RelationKind::DescribedBy:
        return ATK_RELATION_DESCRIBED_BY;
    }
    return ATK_RELATION_NULL;
}

AtkRelationSet* PeerRelations(AtkObject* object) {
    AtkRelationSet* set = atk_relation_set_new();
    GuardedDo([&] {
        AccessibleNode* node = Node(object);
        if (!node)
            return;
        for (const Relation& r : node->Relations()) {
            if (AtkObject* target = PeerOf(r.target))
                atk_relation_set_add_relation_by_type(set, ToAtkRelation(r.kind), target);
        }
    });
    return set;
}

void PeerFinalize(GObject* object) {
    auto* peer = reinterpret_cast<NodePeer*>(object);
    delete peer->data;
    peer->data = nullptr;
    G_OBJECT_CLASS(g_type_class_peek(ATK_TYPE_OBJECT))->finalize(object);
}

void PeerClassInit(gpointer klass, gpointer) {
    G_OBJECT_CLASS(klass)->finalize = PeerFinalize;
    auto* atk = ATK_OBJECT_CLASS(klass);
    atk->get_name = PeerName;
    atk->get_description = PeerDescription;
    atk->get_parent = PeerParent;
    atk->get_n_children = PeerChildCount;
    atk->ref_child = PeerRefChild;
    atk->get_index_in_parent = PeerIndexInParent;
    atk->get_role = PeerRole;
    atk->ref_state_set = PeerStates;
    atk->ref_relation_set = PeerRelations;
}

void PeerInstanceInit(GTypeInstance* instance, gpointer) {
    reinterpret_cast<NodePeer*>(instance)->data = new PeerData;
}

GType BaseType() {
    static const GType type = g_type_register_static_simple(
        ATK_TYPE_OBJECT, "ZorvaneAccessible", sizeof(NodePeerClass), PeerClassInit,
        sizeof(NodePeer), PeerInstanceInit, G_TYPE_FLAG_ABSTRACT);
    return type;
}

template <class Iface> void AddInterface(GType type, GType iface, void (*init)(Iface*)) {
    GInterfaceInfo info{};
    info.interface_init = reinterpret_cast<GInterfaceInitFunc>(+[](gpointer g, gpointer data) {
        reinterpret_cast<void (*)(Iface*)>(data)(static_cast<Iface*>(g));
    });
    info.interface_data = reinterpret_cast<gpointer>(init);
    g_type_add_interface_static(type, iface, &info);
}

GType TypeFor(unsigned interfaces) {
    static std::map<unsigned, GType> types;
    auto found = types.find(interfaces);
    if (found != types.end())
        return found->second;
    std::string name = "ZorvaneAccessible" + std::to_string(interfaces);
    GType type = g_type_register_static_simple(BaseType(), name.c_str(), sizeof(NodePeerClass),
                                               nullptr, sizeof(NodePeer), nullptr, GTypeFlags(0));
    AddInterface(type, ATK_TYPE_COMPONENT, InitComponent);
    if (interfaces & kAction)
        AddInterface(type, ATK_TYPE_ACTION, InitAction);
    if (interfaces & kText)
        AddInterface(type, ATK_TYPE_TEXT, InitText);
    if (interfaces & kValue)
        AddInterface(type, ATK_TYPE_VALUE, InitValue);
    if (interfaces & kTable)
        AddInterface(type, ATK_TYPE_TABLE, InitTable);
    if (interfaces & kTableCell)
        AddInterface(type, ATK_TYPE_TABLE_CELL, InitTableCell);
    if (interfaces & kSelection)
        AddInterface(type, ATK_TYPE_SELECTION, InitSelection);
    if (interfaces & kImage)
        AddInterface(type, ATK_TYPE_IMAGE, InitImage);
    if (interfaces & kWindow)
        AddInterface(type, ATK_TYPE_WINDOW, InitWindow);
    types.emplace(interfaces, type);
    return type;
}

unsigned InterfacesOf(AccessibleNode& node) {
    unsigned bits = 0;
    if (node.AsAction())
        bits |= kAction;
    if (node.AsText())
        bits |= kText;
    if (node.AsValue())
        bits |= kValue;
    if (node.AsTable())
        bits |= kTable;
    if (node.AsTableCell())
        bits |= kTableCell;
    if (node.AsSelection())
        bits |= kSelection;
    if (node.GetRole() == Role::Image)
        bits |= kImage;
    if (IsWindowRole(node.GetRole()))
        bits |= kWindow;
    return bits;
}

} // namespace

AtkObject* PeerOf(AccessibleNode* node) {
    if (!node)
        return nullptr;
    NodePeer*& slot = PeerSlot::Of(*node);
    if (!slot) {
        auto* peer = static_cast<NodePeer*>(g_object_new(TypeFor(InterfacesOf(*node)), nullptr));
        peer->data->node = node;
        // ATK's own helpers read the role field rather than asking.
        peer->parent.role = ToAtkRole(node->GetRole());
        slot = peer;
    }
    return ATK_OBJECT(slot);
}

AtkObject* RefPeer(AccessibleNode* node) {
    AtkObject* peer = PeerOf(node);
    return peer ? ATK_OBJECT(g_object_ref(peer)) : nullptr;
}

AccessibleNode* NodeOf(gpointer object) {
    if (!object || !G_TYPE_CHECK_INSTANCE_TYPE(object, BaseType()))
        return nullptr;
    return static_cast<NodePeer*>(object)->data->node;
}

PeerData& DataOf(gpointer object) {
    return *static_cast<NodePeer*>(object)->data;
}

AtkRole ToAtkRole(Role role) {
    switch (role) {
    case Role::Unknown:
        return ATK_ROLE_UNKNOWN;
    case Role::Application:
        return ATK_ROLE_APPLICATION;
    case Role::Frame:
        return ATK_ROLE_FRAME;
    case Role::Dialog:
        return ATK_ROLE_DIALOG;
    case Role::Alert:
        return ATK_ROLE_ALERT;
    case Role::Window:
        return ATK_ROLE_WINDOW;
    case Role::Panel:
        return ATK_ROLE_PANEL;
    case Role::Filler:
        return ATK_ROLE_FILLER;
    case Role::PushButton:
        return ATK_ROLE_PUSH_BUTTON;
    case Role::Label:
        return ATK_ROLE_LABEL;
    case Role::Text:
        return ATK_ROLE_TEXT;
    case Role::ComboBox:
        return ATK_ROLE_COMBO_BOX;
    case Role::List:
        return ATK_ROLE_LIST;
    case Role::ListItem:
        return ATK_ROLE_LIST_ITEM;
    case Role::SpinButton:
        return ATK_ROLE_SPIN_BUTTON;
    case Role::Table:
        return ATK_ROLE_TABLE;
    case Role::TableCell:
        return ATK_ROLE_TABLE_CELL;
    case Role::TableColumnHeader:
        return ATK_ROLE_TABLE_COLUMN_HEADER;
    case Role::Image:
        return ATK_ROLE_IMAGE;
    case Role::ProgressBar:
        return ATK_ROLE_PROGRESS_BAR;
    case Role::ToolTip:
        return ATK_ROLE_TOOL_TIP;
    case Role::Separator:
        return ATK_ROLE_SEPARATOR;
    }
    return ATK_ROLE_UNKNOWN;
}

AtkStateType ToAtkState(State state) {
    switch (state) {
    case State::Enabled:
        return ATK_STATE_ENABLED;
    case State::Sensitive:
        return ATK_STATE_SENSITIVE;
    case State::Focusable:
        return ATK_STATE_FOCUSABLE;
    case State::Focused:
        return ATK_STATE_FOCUSED;
    case State::Visible:
        return ATK_STATE_VISIBLE;
    case State::Showing:
        return ATK_STATE_SHOWING;
    case State::Default:
        return ATK_STATE_DEFAULT;
    case State::Modal:
        return ATK_STATE_MODAL;
    case State::Editable:
        return ATK_STATE_EDITABLE;
    case State::Selected:
        return ATK_STATE_SELECTED;
    case State::Selectable:
        return ATK_STATE_SELECTABLE;
    case State::Active:
        return ATK_STATE_ACTIVE;
    case State::MultiLine:
        return ATK_STATE_MULTI_LINE;
    case State::SingleLine:
        return ATK_STATE_SINGLE_LINE;
    case State::Pressed:
        return ATK_STATE_PRESSED;
    case State::Checked:
        return ATK_STATE_CHECKED;
    case State::Expandable:
        return ATK_STATE_EXPANDABLE;
    case State::Expanded:
        return ATK_STATE_EXPANDED;
    case State::ReadOnly:
        return ATK_STATE_READ_ONLY;
    case State::Resizable:
        return ATK_STATE_RESIZABLE;
    }
    return ATK_STATE_INVALID;
}

bool IsWindowRole(Role role) {
    return role == Role::Frame || role == Role::Dialog || role == Role::Alert ||
           role == Role::Window || role == Role::ToolTip;
}

Extents ExtentsIn(AccessibleNode& node, Extents screen, AtkCoordType coords) {
    AccessibleNode* origin = nullptr;
    if (coords == ATK_XY_PARENT) {
        origin = node.Parent();
    } else if (coords == ATK_XY_WINDOW) {
        for (AccessibleNode* n = &node; n && !origin; n = n->Parent())
            if (IsWindowRole(n->GetRole()))
                origin = n;
    }
    if (origin && origin->GetRole() != Role::Application) {
        Extents o = origin->ScreenExtents();
        screen.x -= o.x;
        screen.y -= o.y;
    }
    // The nodes answer in logical pixels; a screen reader's magnifier or highlight works in the
    // screen's.
    int s = ScreenDeviceScale();
    return Extents{screen.x * s, screen.y * s, screen.width * s, screen.height * s};
}

void InitWindow(AtkWindowIface*) {
    // AtkWindow has no functions: its signals (activate, create ...) are what the bridge hears.
}

void ReportFault(const char* what) {
    std::fprintf(stderr, "accessibility: a question of the screen reader failed: %s\n", what);
}

} // namespace platform::a11y::detail
