// The one list of services the saver asks of the operating system, in the system's own terms.
// Defined once per platform and picked at link time: platform/win32.cpp, platform/linux_*.cpp (on
// Linux the calls that depend on the display system go to the X11 or the Wayland port, picked at
// run time by linux_display.cpp), platform/headless.cpp (offscreen renderer),
// tests/support/fake_platform.cpp (unit tests).
//
// Handles are plain integers: a window handle is an HWND on Windows, an X window id on X11 and a
// number of the port's own on Wayland.
// Message numbers, styles and flags keep their Win32 values (see saver_constants.h), so the host
// logic above this seam is the same code everywhere. Nothing here may include <windows.h> or Xlib.
#pragma once

#include <cstdint>

// The calling convention of the system's functions that the saver finds by name (WINAPI): stdcall
// on 32-bit Windows, the platform's one convention everywhere else.
#if defined(_WIN32) && !defined(_WIN64)
#define PLATFORM_STDCALL __stdcall
#else
#define PLATFORM_STDCALL
#endif

namespace platform {

using InstanceHandle = std::uintptr_t;
using WindowHandle = std::uintptr_t;
using DeviceContext = std::uintptr_t;
using GlContext = std::uintptr_t;
using CursorHandle = std::uintptr_t;
using LibraryHandle = std::uintptr_t;
using ResourceHandle = std::uintptr_t;
using ResourceData = std::uintptr_t;
using SettingsKey = std::uintptr_t;

struct Point {
    std::int32_t x;
    std::int32_t y;
};

struct Rect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

// The window procedure's form: window, message number, wParam, lParam; returns the message result.
using WindowProc = std::intptr_t (*)(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam);
// A dialog procedure returns TRUE (1) or FALSE (0).
using DialogProc = std::intptr_t (*)(WindowHandle dialog, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam);

struct WindowClass {
    std::uint32_t style;
    WindowProc windowProc;
    InstanceHandle instance;
    const char* className;
};

struct Message {
    WindowHandle window;
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

// The fields of PIXELFORMATDESCRIPTOR that the saver sets; every other field is zero.
struct PixelFormatRequest {
    std::uint16_t size;
    std::uint16_t version;
    std::uint32_t flags;
    std::uint8_t pixelType;
    std::uint8_t colorBits;
    std::uint8_t layerType;
};

// ---- process -----------------------------------------------------------------------------------
// The whole command line, program path included (GetCommandLineA). On X11 it is rebuilt from argv.
const char* getCommandLine();

// ---- windows and messages ----------------------------------------------------------------------
bool registerClass(const WindowClass& windowClass);
// Returns 0 when the window cannot be created. The window procedure receives WM_CREATE before this
// returns.
WindowHandle createWindow(std::uint32_t exStyle, const char* className, const char* title, std::uint32_t style,
                          std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          WindowHandle parent, InstanceHandle instance);
// Also asks the window for its cursor (WM_SETCURSOR), as Windows does when the pointer comes over it.
// X11: the first showing ends the saver's set-up for the stop signals (linux_signals.cpp), and a
// full-screen window takes the keyboard and the pointer there.
bool showWindow(WindowHandle window, std::int32_t showCommand);
bool destroyWindow(WindowHandle window);
std::intptr_t defWindowProc(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
// PeekMessageA for every window of the thread and every message, with PM_REMOVE. On X11 it reads the
// X events waiting, and before each read tries again a full-screen window's keyboard and pointer
// grabs while they were refused (for two seconds after showWindow): input is where a grab matters.
bool peekMessage(Message& message);
bool translateMessage(const Message& message);
std::intptr_t dispatchMessage(const Message& message);
bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
// Handled by the window procedure before this returns.
std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
void postQuitMessage(std::int32_t exitCode);

// ---- geometry ----------------------------------------------------------------------------------
bool getWindowRect(WindowHandle window, Rect& rect);
// SM_CXSCREEN (0) and SM_CYSCREEN (1), and the virtual screen that spans every monitor:
// SM_XVIRTUALSCREEN (76) and SM_YVIRTUALSCREEN (77), whose origin may be negative, SM_CXVIRTUALSCREEN
// (78) and SM_CYVIRTUALSCREEN (79).
std::int32_t getSystemMetrics(std::int32_t index);
WindowHandle getForegroundWindow();
// The monitors' rectangles in screen coordinates (EnumDisplayMonitors; RandR monitors, or Xinerama
// screens where RandR has none, on X11). Fills at most `capacity` of them and returns how many
// monitors there are; 0 when the platform cannot tell, and the window then counts as one monitor.
std::int32_t getMonitorRects(Rect* rects, std::int32_t capacity);

// ---- display power -----------------------------------------------------------------------------
// True while the display is powered off (X11: DPMS reports the monitor off; Windows: the console
// display state of the power-setting notifications). The saver then draws nothing.
bool isDisplayOff();
// True once after the process was stopped and continued (X11: SIGSTOP then SIGCONT, as screen
// lockers do to their theme while the unlock dialog is up); never on Windows. As after the display
// comes back on, the time in between is no frame rate to pace by.
bool takeResumedFromStop();
// True once after the system asked the process to stop (Linux: SIGTERM, SIGINT, SIGHUP or SIGUSR1 once
// the saver is set up, linux_signals.cpp); never on Windows, which closes a screen saver with messages.
// The frame loop then destroys the saver window, and the run ends through its normal tear-down.
bool takeStopRequest();

// ---- window size -------------------------------------------------------------------------------
// X11: true once after the saver's window was given a new size because the window it shows in
// (a preview's or a host's) or the screen with its monitors changed; `width` and `height` are
// then its new client size, and the monitors may have changed with it. Asked every frame: the X11
// build looks at most every 250 ms (x11::kSizeCheckIntervalMs), each look a round trip to the
// server and, in full screen, a query of the monitors; between looks it answers false at once.
// Windows: never, the saver window keeps the size it was created with.
bool takeNewWindowSize(WindowHandle window, std::int32_t& width, std::int32_t& height);

// ---- cursor ------------------------------------------------------------------------------------
bool getCursorPos(Point& point);
// LoadCursorA: module 0 and IDC_ARROW (0x7F00) gives the arrow.
CursorHandle loadCursor(InstanceHandle instance, std::uintptr_t cursorId);
// A cursor of 0 hides it over the window.
CursorHandle setCursor(CursorHandle cursor);

// ---- saver state -------------------------------------------------------------------------------
// SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running, &previous, 0).
bool setScreenSaverRunning(bool running);

// ---- drawing surface ---------------------------------------------------------------------------
DeviceContext getDC(WindowHandle window);
std::int32_t releaseDC(WindowHandle window, DeviceContext dc);
// Returns the index of the closest format, 0 when there is none.
std::int32_t choosePixelFormat(DeviceContext dc, const PixelFormatRequest& request);
bool setPixelFormat(DeviceContext dc, std::int32_t format, const PixelFormatRequest& request);
// One drawable that shows (part of) a window's picture: a device context and the rectangle of the
// screen it covers, in screen coordinates.
struct Drawable {
    DeviceContext dc;
    Rect rect;
};
// The drawables of a window, in the order they are drawn; fills at most `capacity` of them and
// returns how many there are. Windows and X11: the window's own device context over the whole
// window, the monitors being viewports inside it. Wayland: one surface per output, each over its
// output; a surface the compositor has not yet given its size to is listed with an empty rectangle
// and must not be drawn.
std::int32_t getWindowDrawables(WindowHandle window, Drawable* drawables, std::int32_t capacity);
// Draws what the platform lays over a finished frame, just before it is presented: on X11 the
// measured frame rate of the --fps option (an XScreenSaver hack option), while it is on; nothing
// on any other platform.
void drawFrameOverlay(DeviceContext dc);
// Presents the frame.
bool swapBuffers(DeviceContext dc);
GlContext createGlContext(DeviceContext dc);
// A dc and context of 0 make no context current. One context may be made current on each drawable of
// the window it was created for, in turn.
bool makeCurrent(DeviceContext dc, GlContext context);
bool deleteGlContext(GlContext context);
// wglGetProcAddress: an OpenGL call of the current context beyond version 1.1, or null. Ask only
// for what the context's extension string offers: some platforms hand out a stub for any name.
void* getGlProcAddress(const char* name);

// ---- dialogs -----------------------------------------------------------------------------------
std::int32_t messageBox(WindowHandle owner, const char* text, const char* caption, std::uint32_t type);
// Modal dialog from the program's dialog template `templateId`; returns what EndDialog was given.
std::intptr_t dialogBoxParam(InstanceHandle instance, std::int32_t templateId, WindowHandle owner, DialogProc proc,
                             std::intptr_t initParam);
bool checkDlgButton(WindowHandle dialog, std::int32_t id, std::uint32_t check);
std::uint32_t isDlgButtonChecked(WindowHandle dialog, std::int32_t id);
bool endDialog(WindowHandle dialog, std::intptr_t result);

// ---- time --------------------------------------------------------------------------------------
// A 32-bit millisecond tick that wraps after about 49.7 days.
std::uint32_t getTickCount();
void sleepMs(std::uint32_t milliseconds);
std::int64_t queryPerformanceFrequency();
std::int64_t queryPerformanceCounter();

// ---- libraries ---------------------------------------------------------------------------------
// The platform id of GetVersionExA: 2 (VER_PLATFORM_WIN32_NT) where the saver checks no password
// itself. X11 answers 2: the session's screen locker owns passwords there.
std::uint32_t getPlatformId();
LibraryHandle loadLibrary(const char* name);
// Returns null when the library has no such function. The caller casts it to the function's type.
void* getProcAddress(LibraryHandle library, const char* name);
bool freeLibrary(LibraryHandle library);

// ---- settings (HKEY_CURRENT_USER) --------------------------------------------------------------
// Each returns 0 (ERROR_SUCCESS) on success and a non-zero error code otherwise.
std::int32_t regOpenKey(const char* path, std::uint32_t access, SettingsKey& key);
// Reads at most `size` bytes; on success `size` holds the length of the value.
std::int32_t regQueryValue(SettingsKey key, const char* name, std::uint8_t* data, std::uint32_t& size);
std::int32_t regCreateKey(const char* path, std::uint32_t access, SettingsKey& key);
std::int32_t regSetValueDword(SettingsKey key, const char* name, std::uint32_t value);
std::int32_t regCloseKey(SettingsKey key);

// ---- embedded data (RT_RCDATA resources) -------------------------------------------------------
ResourceHandle findResource(InstanceHandle instance, const char* name);
std::uint32_t sizeofResource(InstanceHandle instance, ResourceHandle resource);
ResourceData loadResource(InstanceHandle instance, ResourceHandle resource);
// Valid for the life of the process; never unlocked or freed.
const void* lockResource(ResourceData data);

}  // namespace platform
