// The calls of host/platform.h whose answer depends on the display system, declared once for each
// port: x11::registerClass, wayland::registerClass and so on, with the seam's own types, and the
// port's closeDisplay. Each port
// defines its set (x11_*.cpp, wayland_*.cpp); linux_display.cpp defines platform's from them.
#pragma once

#include "host/platform.h"

#define DISPLAY_CALLS_OF_PORT                                                                                     \
    using namespace platform;                                                                                   \
    bool registerClass(const WindowClass& windowClass);                                                         \
    WindowHandle createWindow(std::uint32_t exStyle, const char* className, const char* title,                  \
                              std::uint32_t style, std::int32_t x, std::int32_t y, std::int32_t width,          \
                              std::int32_t height, WindowHandle parent, InstanceHandle instance);               \
    bool showWindow(WindowHandle window, std::int32_t showCommand);                                             \
    bool peekMessage(Message& message);                                                                         \
    bool getWindowRect(WindowHandle window, Rect& rect);                                                        \
    std::int32_t getSystemMetrics(std::int32_t index);                                                          \
    WindowHandle getForegroundWindow();                                                                         \
    std::int32_t getMonitorRects(Rect* rects, std::int32_t capacity);                                           \
    bool isDisplayOff();                                                                                        \
    bool takeNewWindowSize(WindowHandle window, std::int32_t& width, std::int32_t& height);                     \
    bool getCursorPos(Point& point);                                                                            \
    CursorHandle loadCursor(InstanceHandle instance, std::uintptr_t cursorId);                                  \
    CursorHandle setCursor(CursorHandle cursor);                                                                \
    bool setScreenSaverRunning(bool running);                                                                   \
    DeviceContext getDC(WindowHandle window);                                                                   \
    std::int32_t releaseDC(WindowHandle window, DeviceContext dc);                                              \
    std::int32_t choosePixelFormat(DeviceContext dc, const PixelFormatRequest& request);                        \
    bool setPixelFormat(DeviceContext dc, std::int32_t format, const PixelFormatRequest& request);              \
    std::int32_t getWindowDrawables(WindowHandle window, platform::Drawable* drawables, std::int32_t capacity); \
    void drawFrameOverlay(DeviceContext dc);                                                                    \
    bool swapBuffers(DeviceContext dc);                                                                         \
    GlContext createGlContext(DeviceContext dc);                                                                \
    bool makeCurrent(DeviceContext dc, GlContext context);                                                      \
    bool deleteGlContext(GlContext context);                                                                    \
    void* getGlProcAddress(const char* name);                                                                   \
    /* The connection the port opened, if any, closed at the end of the run. */                                \
    void closeDisplay();

namespace x11 {
DISPLAY_CALLS_OF_PORT
}  // namespace x11

namespace wayland {
DISPLAY_CALLS_OF_PORT
}  // namespace wayland

#undef DISPLAY_CALLS_OF_PORT
