// Wayland platform: the drawing surfaces through EGL. One OpenGL context serves every surface of the
// window, made current on each in turn; the window's own device context stands for the window before
// any surface is drawn, with the context current on no surface. Presenting never waits for the
// compositor (swap interval 0): the frame clock paces the saver, and a surface that is hidden or
// not yet configured holds nothing up. Pairs with wayland_internal.h and host/platform.h.
#include "host/platform/wayland_internal.h"
#include "host/platform/window_model.h"
#include "host/saver_constants.h"

namespace wayland {

namespace {

bool isWindowDc(DeviceContext dc) {
    const WindowRecord* window = saverWindow();
    return window && dc == window->handle;
}

// A configuration of the display's, once EGL is up.
Connection* readyConnection() {
    Connection* c = openedConnection();
    return c && !c->lost && startEgl(*c) ? c : nullptr;
}

}  // namespace

DeviceContext getDC(WindowHandle window) { return isWindowDc(window) ? window : 0; }

std::int32_t releaseDC(WindowHandle window, DeviceContext dc) {
    return dc != 0 && dc == window && window_model::known(window) ? 1 : 0;
}

std::int32_t choosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) {
    if (!isWindowDc(dc) || request.pixelType != PFD_TYPE_RGBA) return 0;
    const std::uint32_t needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    if ((request.flags & needed) != needed) return 0;
    // One format: the connection's configuration.
    return readyConnection() ? 1 : 0;
}

bool setPixelFormat(DeviceContext dc, std::int32_t format, const PixelFormatRequest& /*request*/) {
    return isWindowDc(dc) && format == 1 && readyConnection();
}

std::int32_t getWindowDrawables(WindowHandle window, platform::Drawable* drawables, std::int32_t capacity) {
    const WindowRecord* record = saverWindow();
    if (!record || record->handle != window) return 0;
    std::int32_t count = 0;
    for (const Surface* surface : record->surfaces) {
        if (surface->eglSurface == EGL_NO_SURFACE) continue;
        // Not configured yet: nothing may be attached to it.
        const Rect rect = surface->width > 0 ? outputRect(surface->output) : Rect{0, 0, 0, 0};
        if (count < capacity) drawables[count] = {reinterpret_cast<DeviceContext>(surface), rect};
        ++count;
    }
    return count;
}

// The measured frame rate (--fps) is drawn with an X font: on X11 only.
void drawFrameOverlay(DeviceContext) {}

bool swapBuffers(DeviceContext dc) {
    Connection* c = openedConnection();
    Surface* surface = surfaceOf(dc);
    if (!c || c->lost || !surface || surface->width <= 0) return false;
    return eglSwapBuffers(c->egl, surface->eglSurface) == EGL_TRUE;
}

GlContext createGlContext(DeviceContext dc) {
    Connection* c = readyConnection();
    if (!c || !isWindowDc(dc)) return 0;
    EGLContext context = eglCreateContext(c->egl, c->config, EGL_NO_CONTEXT, nullptr);
    if (context == EGL_NO_CONTEXT) return 0;
    return reinterpret_cast<GlContext>(context);
}

bool makeCurrent(DeviceContext dc, GlContext context) {
    Connection* c = openedConnection();
    if (!c || c->egl == EGL_NO_DISPLAY) return false;
    if (dc == 0 && context == 0) return eglMakeCurrent(c->egl, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT) == EGL_TRUE;
    EGLContext native = reinterpret_cast<EGLContext>(context);
    if (isWindowDc(dc)) return eglMakeCurrent(c->egl, EGL_NO_SURFACE, EGL_NO_SURFACE, native) == EGL_TRUE;
    Surface* surface = surfaceOf(dc);
    if (!surface || surface->eglSurface == EGL_NO_SURFACE) return false;
    if (eglMakeCurrent(c->egl, surface->eglSurface, surface->eglSurface, native) != EGL_TRUE) return false;
    if (!surface->intervalSet) {
        surface->intervalSet = true;
        eglSwapInterval(c->egl, 0);
    }
    return true;
}

bool deleteGlContext(GlContext context) {
    Connection* c = openedConnection();
    if (!c || c->egl == EGL_NO_DISPLAY || context == 0) return false;
    return eglDestroyContext(c->egl, reinterpret_cast<EGLContext>(context)) == EGL_TRUE;
}

void* getGlProcAddress(const char* name) { return reinterpret_cast<void*>(eglGetProcAddress(name)); }

}  // namespace wayland
