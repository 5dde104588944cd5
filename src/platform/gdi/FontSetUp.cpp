#include "platform/gdi/FontSetUp.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <mutex>
#include <system_error>
#include <thread>

namespace platform::gdi {

namespace {

// The program's own font configuration: the system's font folders and caches, the generic
// families, and nothing else. The system's configuration is some sixty files of rules that every
// font look-up then runs through (a million instructions each); the program names its fonts
// itself (FontNames.cpp) and sets antialiasing and hinting on every context (TextCache.cpp), so
// those rules decide nothing for it. Fonts come from the same folders and the same caches.
constexpr const char* kProgramFontConfig = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts</dir>
  <dir>/usr/local/share/fonts</dir>
  <dir prefix="xdg">fonts</dir>
  <dir>~/.fonts</dir>
  <cachedir>/var/cache/fontconfig</cachedir>
  <cachedir prefix="xdg">fontconfig</cachedir>
  <cachedir>~/.fontconfig</cachedir>
  <match target="pattern">
    <test qual="all" name="family" compare="not_eq"><string>sans-serif</string></test>
    <test qual="all" name="family" compare="not_eq"><string>serif</string></test>
    <test qual="all" name="family" compare="not_eq"><string>monospace</string></test>
    <edit name="family" mode="append_last"><string>sans-serif</string></edit>
  </match>
  <alias binding="same"><family>sans-serif</family>
    <prefer><family>Liberation Sans</family><family>DejaVu Sans</family></prefer></alias>
  <alias binding="same"><family>serif</family>
    <prefer><family>Liberation Serif</family><family>DejaVu Serif</family></prefer></alias>
  <alias binding="same"><family>monospace</family>
    <prefer><family>Liberation Mono</family><family>DejaVu Sans Mono</family></prefer></alias>
</fontconfig>
)";

// A user who points fontconfig at a configuration of their own (or asks for the system's) gets
// it; otherwise the program's. A configuration that cannot be made falls back to the system's.
void SetUpFonts() {
    if (std::getenv("FONTCONFIG_FILE") || std::getenv("FONTCONFIG_PATH") ||
        std::getenv("ZORVANE_SYSTEM_FONTCONFIG")) {
        FcInit();
        return;
    }
    FcConfig* config = FcConfigCreate();
    if (config &&
        FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kProgramFontConfig),
                                       FcTrue) &&
        FcConfigBuildFonts(config) && FcConfigSetCurrent(config)) {
        FcConfigDestroy(config); // the current configuration keeps its own reference
        return;
    }
    if (config)
        FcConfigDestroy(config);
    FcInit();
}

class FontSetUp {
public:
    ~FontSetUp() { Await(); }

    void Start() {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_started)
            return;
        m_started = true;
        try {
            m_thread = std::thread(SetUpFonts);
        } catch (const std::system_error&) {
            SetUpFonts(); // no thread to be had: done here
        }
    }

    // Waits for a set-up that runs, or does it now when none was started, so that every font
    // the program makes comes from the same configuration.
    void Await() {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_started) {
            m_started = true;
            SetUpFonts();
        }
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::thread m_thread;
    bool m_started = false;
};

FontSetUp& State() {
    static FontSetUp state;
    return state;
}

} // namespace

void StartFontSetUp() {
    State().Start();
}

void AwaitFontSetUp() {
    State().Await();
}

} // namespace platform::gdi
