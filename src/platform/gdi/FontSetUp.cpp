#include "platform/gdi/FontSetUp.h"

#include <fontconfig/fontconfig.h>

#include <mutex>
#include <system_error>
#include <thread>

namespace platform::gdi {

namespace {

class FontSetUp {
public:
    ~FontSetUp() { Await(); }

    void Start() {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_started)
            return;
        m_started = true;
        try {
            m_thread = std::thread([] { FcInit(); });
        } catch (const std::system_error&) {
            // No thread to be had: the first font does the set-up itself.
        }
    }

    void Await() {
        std::lock_guard<std::mutex> lock(m_mutex);
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
