#pragma once
// The test face of the headless display: start a fresh in-memory display, feed it mouse and
// keyboard input, run the queue until nothing waits, move the clock, and read what windows show.
#include <functional>
#include <string>

#include "platform/display/WindowApi.h"
#include "platform/gdi/Bitmap.h"

namespace platform::headless {

// What the headless host knows of a top-level window.
struct HostRecord {
    std::string title;
    Rect rect;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND owner = nullptr;
    HWND transientFor = nullptr;
    bool modal = false;
    int raises = 0;
    bool visible = false;
    bool minimized = false;
    int iconWidth = 0;
    int iconHeight = 0;
    int presents = 0;
};

// Replaces the process's window manager with one on a fresh headless display, whose back
// buffers are at `deviceScale` (a high-resolution screen's; 1 to 4).
void Start(int screenWidth = 1280, int screenHeight = 1024, int deviceScale = 1);
// Destroys every window and the window manager.
void Stop();

enum : unsigned { kShift = 1, kCtrl = 2, kAlt = 4 };

// Input is queued as the host would deliver it; Run() lets the windows see it.
void MouseMove(Point screen);
void MouseDown(Point screen, int button = 1);
void MouseUp(Point screen, int button = 1);
// Press and release at a point of a window's client area, running the queue after each.
void Click(HWND hwnd, Point client, int button = 1);
void Wheel(Point screen, int delta);
// `otherLayouts`: what the key types in the keyboard's other layouts (sent with Alt held).
void KeyDown(int vk, const std::u32string& text = {}, const std::u32string& otherLayouts = {});
void KeyUp(int vk);
// Press and release with modifiers held, running the queue.
void Key(int vk, unsigned modifiers = 0);
// Types UTF-8 text key by key, each key carrying its character as a keyboard layout would.
void Type(const std::string& utf8);
Point ToScreen(HWND hwnd, Point client);

// Dispatches until nothing waits (timers that are not due do not count).
void Run();
// Moves the clock by ms, then runs.
void Advance(int ms);
bool QuitPosted();

// The colour at a point of a window's client area as it was last painted (0xFFFFFFFF outside;
// at a device scale, the top-left device pixel of the point's square).
ColorRef Pixel(HWND hwnd, Point client);
// The back buffer, at the display's device scale.
const gdi::Bitmap* Buffer(HWND topLevel);
// Writes a top-level window's back buffer as a PNG file.
bool SavePng(HWND topLevel, const std::string& path);
const HostRecord* Host(HWND topLevel);
int Beeps();

// For a program that runs its own loops (the application's, a modal form's, a message box's) on
// the headless display: whenever a loop has nothing to do and would wait, the source is asked,
// with the wait's limit in ms (-1: none; else a timer is due then). It plays the user and the
// passing time: each call queues input (MouseMove, KeyDown ... — not the helpers that run the
// queue) or moves the clock with MoveClock, or both (the clock first, so the input carries the
// time it happened at). While a source is set a wait is never a wait for ever. An empty function
// removes it.
using InputSource = std::function<void(int timeoutMs)>;
void SetInputSource(InputSource source);
// Moves the clock without running anything (for an input source).
void MoveClock(int ms);

// Another program takes the primary selection over, with `text` selected in it.
void SelectElsewhere(const std::string& text);

} // namespace platform::headless
