// Win32 platform: the window's device context, its pixel format, presentation and WGL contexts.
// Pairs with host/platform.h; the values of the pixel-format request are the host's.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "host/platform.h"

namespace platform {

namespace {

HDC dcOf(DeviceContext dc) { return reinterpret_cast<HDC>(dc); }

// Every field the request does not name stays zero.
PIXELFORMATDESCRIPTOR descriptorFor(const PixelFormatRequest& request) {
    PIXELFORMATDESCRIPTOR descriptor = {};
    descriptor.nSize = request.size;
    descriptor.nVersion = request.version;
    descriptor.dwFlags = request.flags;
    descriptor.iPixelType = request.pixelType;
    descriptor.cColorBits = request.colorBits;
    descriptor.iLayerType = request.layerType;
    return descriptor;
}

}  // namespace

DeviceContext getDC(WindowHandle window) {
    return reinterpret_cast<DeviceContext>(GetDC(reinterpret_cast<HWND>(window)));
}

std::int32_t releaseDC(WindowHandle window, DeviceContext dc) {
    return ReleaseDC(reinterpret_cast<HWND>(window), dcOf(dc));
}

std::int32_t choosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) {
    const PIXELFORMATDESCRIPTOR descriptor = descriptorFor(request);
    return ChoosePixelFormat(dcOf(dc), &descriptor);
}

bool setPixelFormat(DeviceContext dc, std::int32_t format, const PixelFormatRequest& request) {
    const PIXELFORMATDESCRIPTOR descriptor = descriptorFor(request);
    return SetPixelFormat(dcOf(dc), format, &descriptor) != 0;
}

// A window of the saver's class keeps one device context of its own (CS_OWNDC), which covers
// every monitor of the window.
std::int32_t getWindowDrawables(WindowHandle window, Drawable* drawables, std::int32_t capacity) {
    RECT rect = {};
    if (capacity < 1 || !GetWindowRect(reinterpret_cast<HWND>(window), &rect)) return 0;
    drawables[0] = {getDC(window), {rect.left, rect.top, rect.right, rect.bottom}};
    return 1;
}

void drawFrameOverlay(DeviceContext) {}

bool swapBuffers(DeviceContext dc) { return SwapBuffers(dcOf(dc)) != 0; }

GlContext createGlContext(DeviceContext dc) { return reinterpret_cast<GlContext>(wglCreateContext(dcOf(dc))); }

bool makeCurrent(DeviceContext dc, GlContext context) {
    return wglMakeCurrent(dcOf(dc), reinterpret_cast<HGLRC>(context)) != 0;
}

bool deleteGlContext(GlContext context) { return wglDeleteContext(reinterpret_cast<HGLRC>(context)) != 0; }

void* getGlProcAddress(const char* name) { return reinterpret_cast<void*>(wglGetProcAddress(name)); }

}  // namespace platform
