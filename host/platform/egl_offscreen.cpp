// Offscreen OpenGL through EGL: the surfaceless Mesa platform when it is there, else the default
// display. Pairs with host/platform/offscreen_gl.h.
#include "host/platform/offscreen_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstring>

namespace {

EGLDisplay openDisplay() {
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    const char* extensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (getPlatformDisplay && extensions && std::strstr(extensions, "EGL_MESA_platform_surfaceless")) {
        EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display != EGL_NO_DISPLAY) return display;
    }
    return eglGetDisplay(EGL_DEFAULT_DISPLAY);
}

}  // namespace

OffscreenGl::~OffscreenGl() {
    if (!display_) return;
    EGLDisplay display = static_cast<EGLDisplay>(display_);
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_) eglDestroyContext(display, static_cast<EGLContext>(context_));
    if (surface_) eglDestroySurface(display, static_cast<EGLSurface>(surface_));
    eglTerminate(display);
}

void* OffscreenGl::procAddress(const char* name) { return reinterpret_cast<void*>(eglGetProcAddress(name)); }

bool OffscreenGl::create(std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0) {
        error_ = "EGL: the size must be positive";
        return false;
    }
    EGLDisplay display = openDisplay();
    if (display == EGL_NO_DISPLAY) {
        error_ = "EGL: no display";
        return false;
    }
    EGLint major = 0, minor = 0;
    if (!eglInitialize(display, &major, &minor)) {
        error_ = "EGL: eglInitialize failed";
        return false;
    }
    display_ = display;
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8,
                                       EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &count) || count < 1) {
        error_ = "EGL: no RGBA pbuffer configuration with desktop OpenGL";
        return false;
    }
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (surface == EGL_NO_SURFACE) {
        error_ = "EGL: eglCreatePbufferSurface failed";
        return false;
    }
    surface_ = surface;
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error_ = "EGL: desktop OpenGL is not available";
        return false;
    }
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    if (context == EGL_NO_CONTEXT) {
        error_ = "EGL: eglCreateContext failed";
        return false;
    }
    context_ = context;
    if (!eglMakeCurrent(display, surface, surface, context)) {
        error_ = "EGL: eglMakeCurrent failed";
        return false;
    }
    width_ = width;
    height_ = height;
    return true;
}

std::vector<std::uint8_t> OffscreenGl::readPixels() const {
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(width_) * height_ * 4);
    if (rows.empty()) return rows;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    // GL reads bottom row first; callers want the picture's top row first.
    const std::size_t stride = static_cast<std::size_t>(width_) * 4;
    std::vector<std::uint8_t> flipped(rows.size());
    for (std::int32_t y = 0; y < height_; ++y)
        std::memcpy(&flipped[static_cast<std::size_t>(y) * stride],
                    &rows[static_cast<std::size_t>(height_ - 1 - y) * stride], stride);
    return flipped;
}

void OffscreenGl::swap() {
    if (display_ && surface_) eglSwapBuffers(static_cast<EGLDisplay>(display_), static_cast<EGLSurface>(surface_));
}
