// The null platform of the headless renderer: a virtual performance counter, the embedded pictures,
// and every other service inert (no windows, no input, no settings). Pairs with host/platform.h and
// headless.h.
#include "host/platform/headless.h"

#include "host/platform.h"
#include "host/platform/offscreen_gl.h"
#include "host/saver_constants.h"
#include "resources/embedded.h"

namespace {
std::int64_t virtualCounter = 0;
}  // namespace

namespace headless {
void setPerformanceCounter(std::int64_t counts) { virtualCounter = counts; }
}  // namespace headless

namespace platform {

const char* getCommandLine() { return "morvane-render"; }

bool registerClass(const WindowClass&) { return false; }
WindowHandle createWindow(std::uint32_t, const char*, const char*, std::uint32_t, std::int32_t, std::int32_t,
                          std::int32_t, std::int32_t, WindowHandle, InstanceHandle) {
    return 0;
}
bool showWindow(WindowHandle, std::int32_t) { return false; }
bool destroyWindow(WindowHandle) { return false; }
std::intptr_t defWindowProc(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) { return 0; }
bool peekMessage(Message&) { return false; }
bool translateMessage(const Message&) { return false; }
std::intptr_t dispatchMessage(const Message&) { return 0; }
bool postMessage(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) { return false; }
std::intptr_t sendMessage(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) { return 0; }
void postQuitMessage(std::int32_t) {}

bool getWindowRect(WindowHandle, Rect& rect) {
    rect = Rect{0, 0, 0, 0};
    return false;
}
std::int32_t getSystemMetrics(std::int32_t) { return 0; }
WindowHandle getForegroundWindow() { return 0; }
// No monitors known: the one offscreen surface counts as one. There is no display to power off.
std::int32_t getMonitorRects(Rect*, std::int32_t) { return 0; }
bool isDisplayOff() { return false; }
bool takeResumedFromStop() { return false; }
bool takeStopRequest() { return false; }
bool takeNewWindowSize(WindowHandle, std::int32_t&, std::int32_t&) { return false; }

bool getCursorPos(Point& point) {
    point = Point{0, 0};
    return true;
}
CursorHandle loadCursor(InstanceHandle, std::uintptr_t) { return 0; }
CursorHandle setCursor(CursorHandle) { return 0; }

bool setScreenSaverRunning(bool) { return true; }

DeviceContext getDC(WindowHandle) { return 0; }
std::int32_t releaseDC(WindowHandle, DeviceContext) { return 0; }
std::int32_t choosePixelFormat(DeviceContext, const PixelFormatRequest&) { return 0; }
bool setPixelFormat(DeviceContext, std::int32_t, const PixelFormatRequest&) { return false; }
std::int32_t getWindowDrawables(WindowHandle, Drawable*, std::int32_t) { return 0; }
void drawFrameOverlay(DeviceContext) {}
bool swapBuffers(DeviceContext) { return false; }
GlContext createGlContext(DeviceContext) { return 0; }
bool makeCurrent(DeviceContext, GlContext) { return false; }
bool deleteGlContext(GlContext) { return false; }
void* getGlProcAddress(const char* name) { return OffscreenGl::procAddress(name); }

std::int32_t messageBox(WindowHandle, const char*, const char*, std::uint32_t) { return 0; }
std::intptr_t dialogBoxParam(InstanceHandle, std::int32_t, WindowHandle, DialogProc, std::intptr_t) { return -1; }
bool checkDlgButton(WindowHandle, std::int32_t, std::uint32_t) { return false; }
std::uint32_t isDlgButtonChecked(WindowHandle, std::int32_t) { return 0; }
bool endDialog(WindowHandle, std::intptr_t) { return false; }

// The tick follows the virtual counter, so both clocks agree.
std::uint32_t getTickCount() {
    return static_cast<std::uint32_t>(virtualCounter * 1000 / headless::kCounterFrequency);
}
void sleepMs(std::uint32_t) {}
std::int64_t queryPerformanceFrequency() { return headless::kCounterFrequency; }
std::int64_t queryPerformanceCounter() { return virtualCounter; }

// VER_PLATFORM_WIN32_NT: no password check of the saver's own.
std::uint32_t getPlatformId() { return 2; }
LibraryHandle loadLibrary(const char*) { return 0; }
void* getProcAddress(LibraryHandle, const char*) { return nullptr; }
bool freeLibrary(LibraryHandle) { return false; }

// No settings store: every key fails to open, so every setting keeps its default.
std::int32_t regOpenKey(const char*, std::uint32_t, SettingsKey& key) {
    key = 0;
    return ERROR_FILE_NOT_FOUND;
}
std::int32_t regQueryValue(SettingsKey, const char*, std::uint8_t*, std::uint32_t&) { return ERROR_FILE_NOT_FOUND; }
std::int32_t regCreateKey(const char*, std::uint32_t, SettingsKey& key) {
    key = 0;
    return ERROR_ACCESS_DENIED;
}
std::int32_t regSetValueDword(SettingsKey, const char*, std::uint32_t) { return ERROR_ACCESS_DENIED; }
std::int32_t regCloseKey(SettingsKey) { return 0; }

// The embedded table's entries; the other resource calls are embedded_resources.cpp's.
ResourceHandle findResource(InstanceHandle, const char* name) {
    return reinterpret_cast<ResourceHandle>(findEmbeddedResource(name));
}

}  // namespace platform
