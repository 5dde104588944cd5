#include "platform/a11y/AtkRoot.h"

#include "rtl/ScopeExit.h"

#include <map>
#include <vector>

namespace platform::a11y::detail {

namespace {

AtkObject* (*g_root)() = nullptr;

struct EventListener {
    guint signal;
    gulong hook;
};

struct KeyListener {
    AtkKeySnoopFunc listener;
    gpointer data;
};

std::map<guint, EventListener>& EventListeners() {
    static std::map<guint, EventListener> listeners;
    return listeners;
}

std::map<guint, KeyListener>& KeyListeners() {
    static std::map<guint, KeyListener> listeners;
    return listeners;
}

guint NextListenerId() {
    static guint last = 0;
    return ++last;
}

// "Toolkit:AtkObject:state-change": an emission hook on the signal of that type. Names of
// another form ("window:create", which toolkits without AtkWindow used) are refused, and the
// bridge then listens to AtkWindow's signals instead.
guint AddEventListener(GSignalEmissionHook listener, const gchar* eventType) {
    gchar** parts = g_strsplit(eventType, ":", 3);
    rtl::ScopeExit freeParts([&] { g_strfreev(parts); });
    if (g_strv_length(parts) != 3)
        return 0;
    GType type = g_type_from_name(parts[1]);
    guint signal = type ? g_signal_lookup(parts[2], type) : 0;
    if (!signal)
        return 0;
    gulong hook = g_signal_add_emission_hook(signal, 0, listener, g_strdup(eventType), g_free);
    guint id = NextListenerId();
    EventListeners()[id] = EventListener{signal, hook};
    return id;
}

void RemoveEventListener(guint id) {
    auto found = EventListeners().find(id);
    if (found == EventListeners().end())
        return;
    g_signal_remove_emission_hook(found->second.signal, found->second.hook);
    EventListeners().erase(found);
}

guint AddKeyListener(AtkKeySnoopFunc listener, gpointer data) {
    guint id = NextListenerId();
    KeyListeners()[id] = KeyListener{listener, data};
    return id;
}

void RemoveKeyListener(guint id) {
    KeyListeners().erase(id);
}

AtkObject* Root() {
    return g_root ? g_root() : nullptr;
}

const gchar* ToolkitName() {
    return "Zorvane";
}

const gchar* ToolkitVersion() {
    return ZORVANE_VERSION;
}

// Signals of ATK's interfaces exist once the interface is initialised; the bridge looks them up
// by name when it starts, maybe before any object of ours has the interface.
void EnsureInterfaces() {
    const GType interfaces[] = {
        ATK_TYPE_COMPONENT, ATK_TYPE_ACTION,     ATK_TYPE_TEXT,      ATK_TYPE_VALUE,
        ATK_TYPE_TABLE,     ATK_TYPE_TABLE_CELL, ATK_TYPE_SELECTION, ATK_TYPE_IMAGE,
        ATK_TYPE_WINDOW,    ATK_TYPE_DOCUMENT,   ATK_TYPE_HYPERTEXT, ATK_TYPE_EDITABLE_TEXT,
    };
    for (GType type : interfaces)
        g_type_default_interface_ref(type); // kept: the bridge holds its hooks for good
    g_type_class_ref(ATK_TYPE_OBJECT);
}

} // namespace

void InstallToolkitHooks(AtkObject* (*root)()) {
    g_root = root;
    static const bool installed = [] {
        EnsureInterfaces();
        // ATK's free functions (atk_get_root ...) call these hooks of the base class itself.
        auto* util = static_cast<AtkUtilClass*>(g_type_class_ref(ATK_TYPE_UTIL));
        util->add_global_event_listener = AddEventListener;
        util->remove_global_event_listener = RemoveEventListener;
        util->add_key_event_listener = AddKeyListener;
        util->remove_key_event_listener = RemoveKeyListener;
        util->get_root = Root;
        util->get_toolkit_name = ToolkitName;
        util->get_toolkit_version = ToolkitVersion;
        return true;
    }();
    (void)installed;
}

bool DeliverKeyEvent(const KeyEvent& key) {
    if (KeyListeners().empty())
        return false;
    std::string text = key.text;
    AtkKeyEventStruct event{};
    event.type = key.press ? ATK_KEY_EVENT_PRESS : ATK_KEY_EVENT_RELEASE;
    event.state = key.modifiers;
    event.keyval = key.keysym;
    event.length = gint(text.size());
    event.string = text.data();
    event.keycode = guint16(key.keycode);
    event.timestamp = key.timeMs;
    bool taken = false;
    // A copy: a listener may remove itself.
    std::vector<KeyListener> listeners;
    for (const auto& [id, listener] : KeyListeners())
        listeners.push_back(listener);
    for (const KeyListener& l : listeners)
        taken = l.listener(&event, l.data) != 0 || taken;
    return taken;
}

} // namespace platform::a11y::detail
