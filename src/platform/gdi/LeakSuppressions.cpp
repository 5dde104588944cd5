// fontconfig, cairo, HarfBuzz and glib keep process-wide caches (font lists, glyph caches, type
// registrations), and so do GIO, ATK, the AT-SPI bridge and libdbus (connections, interfaces,
// the bridge's object cache), that they never free; LeakSanitizer would report them at every
// exit of a sanitised build. Our own allocations stay checked.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZORVANE_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ZORVANE_ASAN 1
#endif

#ifdef ZORVANE_ASAN
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libcairo.so\n"
           "leak:libglib-2.0.so\n"
           "leak:libgobject-2.0.so\n"
           "leak:libharfbuzz.so\n"
           // The host layer's tests compare its text with pango's.
           "leak:libpango-1.0.so\n"
           "leak:libpangocairo-1.0.so\n"
           "leak:libpangoft2-1.0.so\n"
           "leak:libfreetype.so\n"
           "leak:libgio-2.0.so\n"
           "leak:libatk-1.0.so\n"
           "leak:libatk-bridge-2.0.so\n"
           "leak:libatspi.so\n"
           "leak:libdbus-1.so\n";
}

// The suppressions above are expected, not news: listing them at exit would add lines to every
// program's standard error, which the command-line tests compare exactly.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
#endif

namespace platform::gdi {
// Referenced from DeviceContext.cpp so that this object file is linked wherever drawing is.
void LinkLeakSuppressions() {}
} // namespace platform::gdi
