// X11 platform: the drawing surface through GLX. An X window's visual is fixed when it is created,
// so the GL configuration is chosen there; the pixel-format calls then confirm it. Pairs with
// host/platform.h (drawing surface) and x11_window.cpp.
#include <X11/Xutil.h>

#include "host/platform/window_model.h"
#include "host/platform/x11_internal.h"
#include "host/saver_constants.h"

namespace x11 {

GLXFBConfig chooseWindowConfig(Display* d, int screen, int depth) {
    int errorBase = 0, eventBase = 0;
    if (!glXQueryExtension(d, &errorBase, &eventBase)) return nullptr;
    const int wanted[] = {GLX_X_RENDERABLE, True,           GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT,
                          GLX_RENDER_TYPE,  GLX_RGBA_BIT,   GLX_DOUBLEBUFFER,  True,
                          GLX_RED_SIZE,     1,              GLX_GREEN_SIZE,    1,
                          GLX_BLUE_SIZE,    1,              None};
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(d, screen, wanted, &count);
    if (!configs) return nullptr;
    // The closest match: a visual of the parent's depth (a 32-bit visual would make the window
    // translucent under a compositor), then the fewest depth, stencil and accumulation bits, since
    // the picture needs none of them.
    GLXFBConfig best = nullptr;
    long bestScore = 0;
    for (int i = 0; i < count; ++i) {
        XVisualInfo* info = glXGetVisualFromFBConfig(d, configs[i]);
        if (!info) continue;
        const bool sameDepth = info->depth == depth;
        const bool trueColor = info->c_class == TrueColor || info->c_class == DirectColor;
        XFree(info);
        if (!trueColor) continue;
        int depthBits = 0, stencilBits = 0, accumBits = 0;
        glXGetFBConfigAttrib(d, configs[i], GLX_DEPTH_SIZE, &depthBits);
        glXGetFBConfigAttrib(d, configs[i], GLX_STENCIL_SIZE, &stencilBits);
        glXGetFBConfigAttrib(d, configs[i], GLX_ACCUM_RED_SIZE, &accumBits);
        const long score = (sameDepth ? 0 : 1000) + depthBits + stencilBits + accumBits;
        if (!best || score < bestScore) {
            best = configs[i];
            bestScore = score;
        }
    }
    XFree(configs);
    return best;
}

}  // namespace x11

namespace x11 {

namespace {

// The device context of a window is the window itself.
x11::WindowRecord* surfaceOf(DeviceContext dc) { return x11::findWindow(dc); }

}  // namespace

DeviceContext getDC(WindowHandle window) { return x11::liveWindow(window) ? window : 0; }

std::int32_t releaseDC(WindowHandle window, DeviceContext dc) {
    return dc != 0 && dc == window && window_model::known(window) ? 1 : 0;
}

std::int32_t choosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) {
    const x11::WindowRecord* surface = surfaceOf(dc);
    if (!surface || !surface->config || request.pixelType != PFD_TYPE_RGBA) return 0;
    const std::uint32_t needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    if ((request.flags & needed) != needed) return 0;
    // The format's number is the window's visual id, never 0.
    return static_cast<std::int32_t>(surface->visualId);
}

bool setPixelFormat(DeviceContext dc, std::int32_t format, const PixelFormatRequest& /*request*/) {
    const x11::WindowRecord* surface = surfaceOf(dc);
    return surface && surface->config && format != 0 && static_cast<VisualID>(format) == surface->visualId;
}

// The window is its one drawable: the monitors are viewports inside it.
std::int32_t getWindowDrawables(WindowHandle window, platform::Drawable* drawables, std::int32_t capacity) {
    Rect rect;
    if (capacity < 1 || !x11::liveWindow(window) || !x11::getWindowRect(window, rect)) return 0;
    drawables[0] = {window, rect};
    return 1;
}

void drawFrameOverlay(DeviceContext dc) {
    Display* d = x11::openedDisplay();
    if (!d || !surfaceOf(dc) || !window_model::alive(dc)) return;
    x11::drawFpsOverlay(d, glXGetCurrentContext());
}

bool swapBuffers(DeviceContext dc) {
    Display* d = x11::openedDisplay();
    const x11::WindowRecord* surface = surfaceOf(dc);
    if (!d || !surface || !window_model::alive(dc)) return false;
    glXSwapBuffers(d, static_cast<GLXDrawable>(dc));
    return true;
}

GlContext createGlContext(DeviceContext dc) {
    Display* d = x11::openedDisplay();
    const x11::WindowRecord* surface = surfaceOf(dc);
    if (!d || !surface || !surface->config) return 0;
    // Direct rendering where the server allows it; the software renderer otherwise.
    GLXContext context = glXCreateNewContext(d, surface->config, GLX_RGBA_TYPE, nullptr, True);
    return reinterpret_cast<GlContext>(context);
}

bool makeCurrent(DeviceContext dc, GlContext context) {
    Display* d = x11::openedDisplay();
    if (!d) return false;
    if (dc == 0 && context == 0) return glXMakeCurrent(d, None, nullptr) == True;
    return glXMakeCurrent(d, static_cast<GLXDrawable>(dc), reinterpret_cast<GLXContext>(context)) == True;
}

bool deleteGlContext(GlContext context) {
    Display* d = x11::openedDisplay();
    if (!d || context == 0) return false;
    GLXContext native = reinterpret_cast<GLXContext>(context);
    x11::forgetFpsContext(native);
    glXDestroyContext(d, native);
    return true;
}

void* getGlProcAddress(const char* name) {
    return reinterpret_cast<void*>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

}  // namespace x11
