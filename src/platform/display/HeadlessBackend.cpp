// The in-memory display: top-level windows exist only as records, the clock moves only when
// waiting for a timer (or when a test moves it), and nothing arrives from outside.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>

#include "platform/display/DeviceScale.h"
#include "platform/display/Headless.h"
#include "platform/display/WindowManager.h"
#include "platform/gdi/PngFile.h"
#include "rtl/Utf8.h"

namespace platform {

namespace {

class HeadlessBackend : public DisplayBackend {
public:
    HeadlessBackend(int width, int height, int scale)
        : m_size{width, height}, m_scale(std::clamp(scale, kMinDeviceScale, kMaxDeviceScale)) {}

    const char* Name() const override { return "headless"; }
    int DeviceScale() const override { return m_scale; }
    Size ScreenSize() override { return m_size; }
    Rect WorkArea() override { return Rect{0, 0, m_size.cx, m_size.cy}; }

    void CreateHost(HWND hwnd, const HostWindowInfo& info) override {
        headless::HostRecord& r = m_hosts[hwnd];
        r.title = info.title;
        r.rect = info.rect;
        r.style = info.style;
        r.exStyle = info.exStyle;
        r.owner = info.owner;
        r.transientFor = info.transientFor;
        r.modal = info.modal;
    }
    void DestroyHost(HWND hwnd) override { m_hosts.erase(hwnd); }
    void ShowHost(HWND hwnd, bool show, bool) override { m_hosts[hwnd].visible = show; }
    void MoveHost(HWND hwnd, const Rect& rect) override { m_hosts[hwnd].rect = rect; }
    void MinimizeHost(HWND hwnd, bool minimized) override { m_hosts[hwnd].minimized = minimized; }
    void SetHostTitle(HWND hwnd, const std::string& title) override { m_hosts[hwnd].title = title; }
    void SetHostIcon(HWND hwnd, int width, int height, const std::uint32_t*) override {
        m_hosts[hwnd].iconWidth = width;
        m_hosts[hwnd].iconHeight = height;
    }
    void StyleChanged(HWND hwnd, const HostWindowInfo& info) override {
        m_hosts[hwnd].style = info.style;
        m_hosts[hwnd].exStyle = info.exStyle;
        m_hosts[hwnd].transientFor = info.transientFor;
        m_hosts[hwnd].modal = info.modal;
    }
    void RaiseHost(HWND hwnd) override { ++m_hosts[hwnd].raises; }
    void ActivateHost(HWND) override {}
    void Present(HWND hwnd, const gdi::Bitmap&, const Rect&) override { ++m_hosts[hwnd].presents; }
    void GrabPointer(HWND) override {}
    void UngrabPointer() override {}
    void SetClipboardText(const std::string& text) override { m_clipboard = text; }
    std::string ClipboardText() override { return m_clipboard; }
    bool HasClipboardText() override { return !m_clipboard.empty(); }
    bool OwnPrimary(bool own) override {
        m_primaryElsewhere.clear();
        return own;
    }
    std::string PrimaryText() override { return m_primaryElsewhere; }
    // Another program selects `text`: PRIMARY is no longer ours.
    void PrimaryTakenElsewhere(const std::string& text) {
        m_primaryElsewhere = text;
        m_wm->HostPrimaryLost();
    }
    Point CursorPos() override { return m_cursor; }
    void SetCursorPos(Point p) override { m_cursor = p; }
    void Beep() override { ++m_beeps; }

    bool Poll(int timeoutMs) override {
        // A loop that really waits asks the input source, which plays the user: it queues input
        // or lets the time pass. Without one, waiting for a timer moves the clock to it and
        // nothing else can arrive.
        if (timeoutMs != 0 && m_source) {
            m_source(timeoutMs);
            return true;
        }
        if (timeoutMs > 0)
            m_now += std::uint64_t(timeoutMs);
        return false;
    }
    std::uint64_t NowMs() override { return m_now; }
    bool InputCanArrive() const override { return bool(m_source); }
    void SetInputSource(headless::InputSource source) { m_source = std::move(source); }

    void Advance(int ms) { m_now += std::uint64_t(std::max(ms, 0)); }
    const headless::HostRecord* Host(HWND hwnd) const {
        auto it = m_hosts.find(hwnd);
        return it == m_hosts.end() ? nullptr : &it->second;
    }
    int Beeps() const { return m_beeps; }

private:
    Size m_size;
    int m_scale;
    std::map<HWND, headless::HostRecord> m_hosts;
    std::string m_clipboard;
    std::string m_primaryElsewhere; // another program's PRIMARY
    Point m_cursor{0, 0};
    std::uint64_t m_now = 100000;
    int m_beeps = 0;
    headless::InputSource m_source;
};

} // namespace

std::unique_ptr<DisplayBackend> MakeHeadlessBackend() {
    return std::make_unique<HeadlessBackend>(1280, 1024, 1);
}

namespace {
DisplayBackendFactory g_x11Factory = nullptr;
} // namespace

void SetX11BackendFactory(DisplayBackendFactory factory) {
    g_x11Factory = factory;
}

std::unique_ptr<DisplayBackend> MakeDisplayBackend() {
    const char* choice = std::getenv("ZORVANE_DISPLAY");
    std::string kind = choice ? choice : "";
    if (kind == "headless")
        return MakeHeadlessBackend();
    if (kind == "x11" || (kind.empty() && std::getenv("DISPLAY") && *std::getenv("DISPLAY"))) {
        // A display that cannot be opened leaves the windows in memory; the program says
        // so in its own words (DisplayOpened).
        if (auto x11 = g_x11Factory ? g_x11Factory() : nullptr)
            return x11;
    }
    return MakeHeadlessBackend();
}

namespace headless {

namespace {

HeadlessBackend& Backend() {
    auto* b = dynamic_cast<HeadlessBackend*>(&WindowManager::Instance().Backend());
    if (!b)
        std::abort(); // the test API needs the headless display
    return *b;
}

} // namespace

void Start(int screenWidth, int screenHeight, int deviceScale) {
    WindowManager::Reset(std::make_unique<HeadlessBackend>(screenWidth, screenHeight, deviceScale));
}

void Stop() {
    WindowManager::Reset(nullptr);
}

void MouseMove(Point screen) {
    InputEvent ev;
    ev.kind = InputEvent::MouseMove;
    ev.screen = screen;
    Backend().SetCursorPos(screen);
    WindowManager::Instance().HostInput(ev);
}

namespace {
void MouseButton(Point screen, int button, InputEvent::Kind kind) {
    MouseMove(screen);
    InputEvent ev;
    ev.kind = kind;
    ev.screen = screen;
    ev.button = button;
    WindowManager::Instance().HostInput(ev);
}
} // namespace

void MouseDown(Point screen, int button) {
    MouseButton(screen, button, InputEvent::ButtonDown);
}

void MouseUp(Point screen, int button) {
    MouseButton(screen, button, InputEvent::ButtonUp);
}

Point ToScreen(HWND hwnd, Point client) {
    ClientToScreen(hwnd, client);
    return client;
}

void Click(HWND hwnd, Point client, int button) {
    Point p = ToScreen(hwnd, client);
    MouseDown(p, button);
    Run();
    MouseUp(p, button);
    Run();
}

void Wheel(Point screen, int delta) {
    InputEvent ev;
    ev.kind = InputEvent::Wheel;
    ev.screen = screen;
    ev.wheelDelta = delta;
    WindowManager::Instance().HostInput(ev);
}

void KeyDown(int vk, const std::u32string& text, const std::u32string& otherLayouts) {
    InputEvent ev;
    ev.kind = InputEvent::KeyDown;
    ev.vk = vk;
    ev.text = text;
    ev.otherLayouts = otherLayouts;
    WindowManager::Instance().HostInput(ev);
}

void KeyUp(int vk) {
    InputEvent ev;
    ev.kind = InputEvent::KeyUp;
    ev.vk = vk;
    WindowManager::Instance().HostInput(ev);
}

void Key(int vk, unsigned modifiers) {
    if (modifiers & kShift)
        KeyDown(VK_SHIFT);
    if (modifiers & kCtrl)
        KeyDown(VK_CONTROL);
    if (modifiers & kAlt)
        KeyDown(VK_MENU);
    KeyDown(vk);
    Run();
    KeyUp(vk);
    if (modifiers & kAlt)
        KeyUp(VK_MENU);
    if (modifiers & kCtrl)
        KeyUp(VK_CONTROL);
    if (modifiers & kShift)
        KeyUp(VK_SHIFT);
    Run();
}

void Type(const std::string& utf8) {
    for (char32_t cp : rtl::Utf8ToU32(utf8)) {
        int vk = 0;
        if (cp >= 'a' && cp <= 'z')
            vk = int(cp - 32);
        else if ((cp >= 'A' && cp <= 'Z') || (cp >= '0' && cp <= '9') || cp == ' ')
            vk = int(cp);
        else
            vk = 0xE5; // a key the layout alone knows: only its character matters
        KeyDown(vk, std::u32string(1, cp));
        Run();
        KeyUp(vk);
    }
    Run();
}

void Run() {
    WindowManager::Instance().PumpUntilIdle();
}

void Advance(int ms) {
    Backend().Advance(ms);
    Run();
}

bool QuitPosted() {
    MSG msg;
    return WindowManager::Instance().Peek(msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE);
}

ColorRef Pixel(HWND hwnd, Point client) {
    WindowManager& wm = WindowManager::Instance();
    Window* w = wm.Get(hwnd);
    if (!w)
        return 0xFFFFFFFF;
    Point o = wm.OriginInBuffer(w, false);
    int s = wm.DeviceScale();
    return wm.BufferOf(wm.TopLevelOf(w)).GetPixel((client.x + o.x) * s, (client.y + o.y) * s);
}

const gdi::Bitmap* Buffer(HWND topLevel) {
    Window* w = WindowManager::Instance().Get(topLevel);
    return w && !w->IsChild() ? &WindowManager::Instance().BufferOf(w) : nullptr;
}

bool SavePng(HWND topLevel, const std::string& path) {
    const gdi::Bitmap* image = Buffer(topLevel);
    if (!image)
        return false;
    std::ofstream out(path, std::ios::binary);
    std::string png = gdi::EncodePng(*image);
    out.write(png.data(), std::streamsize(png.size()));
    return bool(out);
}

const HostRecord* Host(HWND topLevel) {
    return Backend().Host(topLevel);
}

int Beeps() {
    return Backend().Beeps();
}

void SetInputSource(InputSource source) {
    Backend().SetInputSource(std::move(source));
}

void SelectElsewhere(const std::string& text) {
    Backend().PrimaryTakenElsewhere(text);
}

void MoveClock(int ms) {
    Backend().Advance(ms);
}

} // namespace headless

} // namespace platform
