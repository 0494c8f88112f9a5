// The Linux build's two display systems behind one seam: a run draws through X11, or through Wayland
// when linux_main.cpp gives it to Wayland, and every call of host/platform.h that depends on the
// display system goes to that port's (display_calls.h). Pairs with linux_internal.h.
#include "host/platform/display_calls.h"
#include "host/platform/linux_internal.h"

namespace {

bool drawsOnWayland = false;

}  // namespace

// The port's call of the same name with the same arguments.
#define PORT_CALL(call) (drawsOnWayland ? wayland::call : x11::call)

namespace linux_platform {

void useWayland() { drawsOnWayland = true; }
bool onWayland() { return drawsOnWayland; }

void closeDisplay() { PORT_CALL(closeDisplay()); }

}  // namespace linux_platform

namespace platform {

bool registerClass(const WindowClass& windowClass) { return PORT_CALL(registerClass(windowClass)); }
WindowHandle createWindow(std::uint32_t exStyle, const char* className, const char* title, std::uint32_t style,
                          std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          WindowHandle parent, InstanceHandle instance) {
    return PORT_CALL(createWindow(exStyle, className, title, style, x, y, width, height, parent, instance));
}
bool showWindow(WindowHandle window, std::int32_t showCommand) { return PORT_CALL(showWindow(window, showCommand)); }
bool peekMessage(Message& message) { return PORT_CALL(peekMessage(message)); }

bool getWindowRect(WindowHandle window, Rect& rect) { return PORT_CALL(getWindowRect(window, rect)); }
std::int32_t getSystemMetrics(std::int32_t index) { return PORT_CALL(getSystemMetrics(index)); }
WindowHandle getForegroundWindow() { return PORT_CALL(getForegroundWindow()); }
std::int32_t getMonitorRects(Rect* rects, std::int32_t capacity) { return PORT_CALL(getMonitorRects(rects, capacity)); }
bool isDisplayOff() { return PORT_CALL(isDisplayOff()); }
bool takeNewWindowSize(WindowHandle window, std::int32_t& width, std::int32_t& height) {
    return PORT_CALL(takeNewWindowSize(window, width, height));
}

bool getCursorPos(Point& point) { return PORT_CALL(getCursorPos(point)); }
CursorHandle loadCursor(InstanceHandle instance, std::uintptr_t cursorId) {
    return PORT_CALL(loadCursor(instance, cursorId));
}
CursorHandle setCursor(CursorHandle cursor) { return PORT_CALL(setCursor(cursor)); }
bool setScreenSaverRunning(bool running) { return PORT_CALL(setScreenSaverRunning(running)); }

DeviceContext getDC(WindowHandle window) { return PORT_CALL(getDC(window)); }
std::int32_t releaseDC(WindowHandle window, DeviceContext dc) { return PORT_CALL(releaseDC(window, dc)); }
std::int32_t choosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) {
    return PORT_CALL(choosePixelFormat(dc, request));
}
bool setPixelFormat(DeviceContext dc, std::int32_t format, const PixelFormatRequest& request) {
    return PORT_CALL(setPixelFormat(dc, format, request));
}
std::int32_t getWindowDrawables(WindowHandle window, Drawable* drawables, std::int32_t capacity) {
    return PORT_CALL(getWindowDrawables(window, drawables, capacity));
}
void drawFrameOverlay(DeviceContext dc) { PORT_CALL(drawFrameOverlay(dc)); }
bool swapBuffers(DeviceContext dc) { return PORT_CALL(swapBuffers(dc)); }
GlContext createGlContext(DeviceContext dc) { return PORT_CALL(createGlContext(dc)); }
bool makeCurrent(DeviceContext dc, GlContext context) { return PORT_CALL(makeCurrent(dc, context)); }
bool deleteGlContext(GlContext context) { return PORT_CALL(deleteGlContext(context)); }
void* getGlProcAddress(const char* name) { return PORT_CALL(getGlProcAddress(name)); }

}  // namespace platform
