// AtkComponent, AtkAction, AtkImage, AtkValue and AtkSelection of our objects: each function asks
// the node (AccessibleNode.h) through the interface it answers with.
#include "platform/a11y/AtkPeer.h"

namespace platform::a11y::detail {

namespace {

void SetExtents(const Extents& e, gint* x, gint* y, gint* width, gint* height) {
    if (x)
        *x = e.x;
    if (y)
        *y = e.y;
    if (width)
        *width = e.width;
    if (height)
        *height = e.height;
}

void ComponentExtents(AtkComponent* component, gint* x, gint* y, gint* width, gint* height,
                      AtkCoordType coords) {
    SetExtents(Extents{-1, -1, -1, -1}, x, y, width, height);
    GuardedDo([&] {
        if (AccessibleNode* node = NodeOf(component))
            SetExtents(ExtentsIn(*node, node->ScreenExtents(), coords), x, y, width, height);
    });
}

gboolean ComponentGrabFocus(AtkComponent* component) {
    return Guarded(FALSE, [&] {
        AccessibleNode* node = NodeOf(component);
        return node && node->GrabFocus() ? TRUE : FALSE;
    });
}

AtkLayer ComponentLayer(AtkComponent* component) {
    return Guarded(ATK_LAYER_WIDGET, [&] {
        AccessibleNode* node = NodeOf(component);
        return node && IsWindowRole(node->GetRole()) ? ATK_LAYER_WINDOW : ATK_LAYER_WIDGET;
    });
}

AccessibleAction* ActionOf(gpointer object) {
    AccessibleNode* node = NodeOf(object);
    return node ? node->AsAction() : nullptr;
}

gint ActionCount(AtkAction* action) {
    return Guarded(0, [&] {
        AccessibleAction* a = ActionOf(action);
        return a ? a->ActionCount() : 0;
    });
}

gboolean ActionDo(AtkAction* action, gint index) {
    return Guarded(FALSE, [&] {
        AccessibleAction* a = ActionOf(action);
        return a && index >= 0 && index < a->ActionCount() && a->DoAction(index) ? TRUE : FALSE;
    });
}

// A text of one action, kept for ATK; null for an action that does not exist.
template <class Read> const gchar* ActionText(AtkAction* action, gint index, Kept what, Read read) {
    return Guarded<const gchar*>(nullptr, [&]() -> const gchar* {
        AccessibleAction* a = ActionOf(action);
        if (!a || index < 0 || index >= a->ActionCount())
            return nullptr;
        return DataOf(action).Keep(what, index, read(*a, index));
    });
}

const gchar* ActionName(AtkAction* action, gint index) {
    return ActionText(action, index, Kept::ActionName,
                      [](AccessibleAction& a, int i) { return a.ActionName(i); });
}

const gchar* ActionDescription(AtkAction* action, gint index) {
    return ActionText(action, index, Kept::ActionDescription,
                      [](AccessibleAction& a, int i) { return a.ActionDescription(i); });
}

const gchar* ActionKeyBinding(AtkAction* action, gint index) {
    return ActionText(action, index, Kept::KeyBinding,
                      [](AccessibleAction& a, int i) { return a.ActionKeyBinding(i); });
}

const gchar* ImageDescription(AtkImage* image) {
    return Guarded<const gchar*>("", [&] {
        AccessibleNode* node = NodeOf(image);
        return node ? DataOf(image).Keep(Kept::Description, 0, node->Description()) : "";
    });
}

void ImageSize(AtkImage* image, gint* width, gint* height) {
    ComponentExtents(ATK_COMPONENT(image), nullptr, nullptr, width, height, ATK_XY_SCREEN);
}

void ImagePosition(AtkImage* image, gint* x, gint* y, AtkCoordType coords) {
    ComponentExtents(ATK_COMPONENT(image), x, y, nullptr, nullptr, coords);
}

AccessibleValue* ValueOf(gpointer object) {
    AccessibleNode* node = NodeOf(object);
    return node ? node->AsValue() : nullptr;
}

// Reads one number of the value; 0 when the node is gone.
template <class Read> double ValueNumber(AtkValue* value, Read read) {
    return Guarded(0.0, [&] {
        AccessibleValue* v = ValueOf(value);
        return v ? read(*v) : 0.0;
    });
}

void ValueAndText(AtkValue* value, gdouble* current, gchar** text) {
    *current = ValueNumber(value, [](AccessibleValue& v) { return v.CurrentValue(); });
    if (text)
        *text = Guarded<gchar*>(nullptr, [&]() -> gchar* {
            AccessibleValue* v = ValueOf(value);
            std::string shown = v ? v->ValueText() : std::string();
            return shown.empty() ? nullptr : g_strdup(shown.c_str());
        });
}

AtkRange* ValueRange(AtkValue* value) {
    double min = ValueNumber(value, [](AccessibleValue& v) { return v.MinimumValue(); });
    double max = ValueNumber(value, [](AccessibleValue& v) { return v.MaximumValue(); });
    return atk_range_new(min, max, nullptr);
}

gdouble ValueIncrement(AtkValue* value) {
    return ValueNumber(value, [](AccessibleValue& v) { return v.MinimumIncrement(); });
}

void ValueSet(AtkValue* value, gdouble number) {
    GuardedDo([&] {
        if (AccessibleValue* v = ValueOf(value))
            v->SetCurrentValue(number);
    });
}

// The older GValue calls, which the bridge and the "accessible-value" property still use.
void SetDouble(GValue* out, double number) {
    g_value_init(out, G_TYPE_DOUBLE);
    g_value_set_double(out, number);
}

void ValueCurrentOld(AtkValue* value, GValue* out) {
    SetDouble(out, ValueNumber(value, [](AccessibleValue& v) { return v.CurrentValue(); }));
}

void ValueMinimumOld(AtkValue* value, GValue* out) {
    SetDouble(out, ValueNumber(value, [](AccessibleValue& v) { return v.MinimumValue(); }));
}

void ValueMaximumOld(AtkValue* value, GValue* out) {
    SetDouble(out, ValueNumber(value, [](AccessibleValue& v) { return v.MaximumValue(); }));
}

void ValueIncrementOld(AtkValue* value, GValue* out) {
    SetDouble(out, ValueIncrement(value));
}

gboolean ValueSetOld(AtkValue* value, const GValue* in) {
    if (!G_VALUE_HOLDS_DOUBLE(in))
        return FALSE;
    return Guarded(FALSE, [&] {
        AccessibleValue* v = ValueOf(value);
        return v && v->SetCurrentValue(g_value_get_double(in)) ? TRUE : FALSE;
    });
}

AccessibleSelection* SelectionOf(gpointer object) {
    AccessibleNode* node = NodeOf(object);
    return node ? node->AsSelection() : nullptr;
}

gboolean SelectionAdd(AtkSelection* selection, gint index) {
    return Guarded(FALSE, [&] {
        AccessibleSelection* s = SelectionOf(selection);
        return s && s->SelectChild(index) ? TRUE : FALSE;
    });
}

gboolean SelectionClear(AtkSelection* selection) {
    return Guarded(FALSE, [&] {
        AccessibleSelection* s = SelectionOf(selection);
        return s && s->ClearSelection() ? TRUE : FALSE;
    });
}

AtkObject* SelectionRef(AtkSelection* selection, gint index) {
    return Guarded<AtkObject*>(nullptr, [&]() -> AtkObject* {
        AccessibleSelection* s = SelectionOf(selection);
        if (!s || index < 0 || index >= s->SelectedCount())
            return nullptr;
        return RefPeer(s->Selected(index));
    });
}

gint SelectionCount(AtkSelection* selection) {
    return Guarded(0, [&] {
        AccessibleSelection* s = SelectionOf(selection);
        return s ? s->SelectedCount() : 0;
    });
}

gboolean SelectionHas(AtkSelection* selection, gint index) {
    return Guarded(FALSE, [&] {
        AccessibleSelection* s = SelectionOf(selection);
        return s && s->IsChildSelected(index) ? TRUE : FALSE;
    });
}

// The lists of the program hold one selected item at most: removing it clears the selection.
gboolean SelectionRemove(AtkSelection* selection, gint index) {
    return index == 0 ? SelectionClear(selection) : FALSE;
}

} // namespace

void InitComponent(AtkComponentIface* iface) {
    iface->get_extents = ComponentExtents;
    iface->grab_focus = ComponentGrabFocus;
    iface->get_layer = ComponentLayer;
}

void InitAction(AtkActionIface* iface) {
    iface->get_n_actions = ActionCount;
    iface->do_action = ActionDo;
    iface->get_name = ActionName;
    iface->get_localized_name = ActionName;
    iface->get_description = ActionDescription;
    iface->get_keybinding = ActionKeyBinding;
}

void InitImage(AtkImageIface* iface) {
    iface->get_image_description = ImageDescription;
    iface->get_image_size = ImageSize;
    iface->get_image_position = ImagePosition;
}

void InitValue(AtkValueIface* iface) {
    iface->get_value_and_text = ValueAndText;
    iface->get_range = ValueRange;
    iface->get_increment = ValueIncrement;
    iface->set_value = ValueSet;
    iface->get_current_value = ValueCurrentOld;
    iface->get_minimum_value = ValueMinimumOld;
    iface->get_maximum_value = ValueMaximumOld;
    iface->get_minimum_increment = ValueIncrementOld;
    iface->set_current_value = ValueSetOld;
}

void InitSelection(AtkSelectionIface* iface) {
    iface->add_selection = SelectionAdd;
    iface->clear_selection = SelectionClear;
    iface->ref_selection = SelectionRef;
    iface->get_selection_count = SelectionCount;
    iface->is_child_selected = SelectionHas;
    iface->remove_selection = SelectionRemove;
}

} // namespace platform::a11y::detail
