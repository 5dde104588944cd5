#include "platform/display/WindowManager.h"

#include <memory>

#include "platform/display/WindowApi.h"
#include "platform/stdwin/StandardWindows.h"

namespace platform {

namespace {

std::unique_ptr<WindowManager>& Slot() {
    static std::unique_ptr<WindowManager> instance;
    return instance;
}

} // namespace

WindowManager::WindowManager(std::unique_ptr<DisplayBackend> backend)
    : m_backend(std::move(backend)) {
    m_backend->Attach(this);
    m_cursor = m_backend->CursorPos();
    RegisterStandardClasses();
}

WindowManager::~WindowManager() {
    // Top-level windows first in reverse so owned windows go with their owners.
    while (!m_topLevels.empty()) {
        Window* last = m_topLevels.back();
        if (!Destroy(last->handle))
            Unlink(last); // half destroyed already: at least leave no node behind
    }
    FlushGraveyard();
}

WindowManager& WindowManager::Instance() {
    auto& slot = Slot();
    if (!slot)
        slot = std::make_unique<WindowManager>(MakeDisplayBackend());
    return *slot;
}

void WindowManager::Reset(std::unique_ptr<DisplayBackend> backend) {
    auto& slot = Slot();
    slot.reset();
    if (backend)
        slot = std::make_unique<WindowManager>(std::move(backend));
}

void WindowManager::RegisterStandardClasses() {
    RegisterStandardWindowClasses(*this);
}

bool WindowManager::Exists() {
    return Slot() != nullptr;
}

Window* WindowManager::Get(HWND hwnd) const {
    auto it = m_windows.find(reinterpret_cast<std::uintptr_t>(hwnd));
    return it == m_windows.end() ? nullptr : it->second.get();
}

bool WindowManager::RegisterClass(const WNDCLASS& cls) {
    if (cls.className.empty() || !cls.lpfnWndProc || m_classes.count(cls.className))
        return false;
    m_classes[cls.className] = std::make_unique<WNDCLASS>(cls);
    return true;
}

const WNDCLASS* WindowManager::FindClass(const std::string& name) const {
    auto it = m_classes.find(name);
    return it == m_classes.end() ? nullptr : it->second.get();
}

} // namespace platform
