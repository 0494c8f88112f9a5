// The saver window's life: set-up in a fixed order, the Scene, the frame loop, tear-down in the
// reverse order. Pairs with saver.h; the loop itself is in frame_loop.cpp.
#include "host/saver.h"

#include <algorithm>
#include <climits>

#include "host/saver_constants.h"
#include "scene/scene.h"

namespace {

void reportFailure(const char* text) { platform::messageBox(0, text, "Error", MB_OK); }

// What a failed pixel format leaves behind: the device context is handed back and the
// screen-saver-running state lowered if it was raised.
void abandonSurface(const SaverSurface& surface) {
    platform::releaseDC(surface.window, surface.dc);
    if (surface.saverRunningRaised) platform::setScreenSaverRunning(false);
}

// The frame loop's target: the one Scene and the window, with its drawables, it draws into.
struct SceneFrame {
    Scene* scene;
    SaverSurface* surface;
};

bool renderScene(void* target, std::int32_t flags) {
    const SceneFrame& frame = *static_cast<SceneFrame*>(target);
    if (followWindowSize(*frame.surface)) frame.scene->resize(frame.surface->width, frame.surface->height);
    return presentFrame(*frame.scene, *frame.surface, flags);
}
std::int32_t scenePause(void* target) { return static_cast<SceneFrame*>(target)->scene->pauseMs; }
void sceneResume(void* target) { static_cast<SceneFrame*>(target)->scene->restartRateMeasurement(); }

bool encloses(const platform::Rect& outer, const platform::Rect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool overlap(const platform::Rect& a, const platform::Rect& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

bool identical(const platform::Rect& a, const platform::Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// More monitors, or drawables, than this are not drawn on; no desktop has them.
constexpr std::int32_t kMaxMonitors = 64;

}  // namespace

// The rule of the X11 hosts: a monitor enclosed by another (a smaller clone, or a panning view), the
// same as one listed before it (a clone), or partly over one listed before it gets no picture of its
// own. Two kaleidoscopes with different centres would blend into one through the translucent
// sprites; the area only such a monitor covers stays black.
std::vector<platform::Rect> monitorsWithAPicture(const platform::Rect* monitors, std::int32_t count) {
    std::vector<platform::Rect> shown;
    for (std::int32_t j = 0; monitors && j < count; ++j) {
        const platform::Rect& m = monitors[j];
        bool own = m.right > m.left && m.bottom > m.top;
        for (std::int32_t i = 0; i < count && own; ++i)
            own = i == j || !encloses(monitors[i], m) || (identical(monitors[i], m) && i > j);
        for (const platform::Rect& earlier : shown) own = own && !overlap(earlier, m);
        if (own) shown.push_back(m);
    }
    return shown;
}

std::vector<SceneViewport> fullScreenViewports(const platform::Rect& window) {
    platform::Rect monitors[kMaxMonitors];
    std::int32_t count = platform::getMonitorRects(monitors, kMaxMonitors);
    if (count < 0) count = 0;
    if (count > kMaxMonitors) count = kMaxMonitors;
    const std::vector<platform::Rect> shown = monitorsWithAPicture(monitors, count);
    return monitorViewports(window, shown.data(), static_cast<std::int32_t>(shown.size()));
}


bool presentFrame(Scene& scene, const SaverSurface& surface, std::int32_t flags) {
    const MirrorConfig& config = scene.beginFrame(flags);
    bool presented = false;
    for (const SaverSurface::Drawable& drawable : surface.drawables) {
        if (drawable.viewports.empty()) continue;
        // The window's own device context keeps the context current from set-up on.
        if (drawable.dc != surface.dc && !platform::makeCurrent(drawable.dc, surface.context)) continue;
        scene.drawFrame(config, drawable.viewports.data(), static_cast<std::int32_t>(drawable.viewports.size()));
        platform::drawFrameOverlay(drawable.dc);
        presented = platform::swapBuffers(drawable.dc) || presented;
    }
    return presented;
}

namespace {

// Each drawable's viewports, cut from the monitors it covers (full screen) or the whole drawable.
void layOutViewports(SaverSurface& surface) {
    platform::Drawable listed[kMaxMonitors];
    std::int32_t count = platform::getWindowDrawables(surface.window, listed, kMaxMonitors);
    if (count < 0) count = 0;
    if (count > kMaxMonitors) count = kMaxMonitors;
    surface.drawables.clear();
    for (std::int32_t i = 0; i < count; ++i) {
        const platform::Rect& rect = listed[i].rect;
        const bool empty = rect.right <= rect.left || rect.bottom <= rect.top;
        surface.drawables.push_back({listed[i].dc, empty                                   ? std::vector<SceneViewport>()
                                                   : host.runMode == RunMode::FullScreen ? fullScreenViewports(rect)
                                                                                         : monitorViewports(rect, nullptr, 0)});
    }
}

}  // namespace

bool followWindowSize(SaverSurface& surface) {
    std::int32_t width = 0, height = 0;
    if (!platform::takeNewWindowSize(surface.window, width, height)) return false;
    surface.width = width;
    surface.height = height;
    layOutViewports(surface);
    return true;
}

namespace {

// The window's rectangle: the virtual screen, so that every monitor is covered, in full screen; the
// parent's client area otherwise.
void placeWindow(platform::WindowHandle parent, bool fullScreen, SaverSurface& surface) {
    if (!fullScreen) {
        platform::Rect rect = {0, 0, 0, 0};
        platform::getWindowRect(parent, rect);
        surface.width = rect.right - rect.left;
        surface.height = rect.bottom - rect.top;
        return;
    }
    surface.x = platform::getSystemMetrics(SM_XVIRTUALSCREEN);
    surface.y = platform::getSystemMetrics(SM_YVIRTUALSCREEN);
    surface.width = platform::getSystemMetrics(SM_CXVIRTUALSCREEN);
    surface.height = platform::getSystemMetrics(SM_CYVIRTUALSCREEN);
    // A platform that knows no virtual screen answers 0 for its size: the primary screen then.
    if (surface.width <= 0 || surface.height <= 0) {
        surface.x = 0;
        surface.y = 0;
        surface.width = platform::getSystemMetrics(SM_CXSCREEN);
        surface.height = platform::getSystemMetrics(SM_CYSCREEN);
    }
}

// The window's device context, its pixel format and a current GL context. On a failed pixel format
// it has shown its message and undone what openSaverWindow raised, and returns false.
bool attachGlContext(SaverSurface& surface) {
    surface.dc = platform::getDC(surface.window);
    // 40 is the size of the platform's descriptor; no depth buffer: the picture needs none.
    const platform::PixelFormatRequest request = {
        40, 1, PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER, PFD_TYPE_RGBA, 32, PFD_MAIN_PLANE};
    const std::int32_t format = platform::choosePixelFormat(surface.dc, request);
    if (format == 0) {
        reportFailure("ChoosePixelFormat() failed:  Cannot find a suitable pixel format.");
        abandonSurface(surface);
        return false;
    }
    if (!platform::setPixelFormat(surface.dc, format, request)) {
        reportFailure("SetPixelFormat() failed:  Cannot set format specified.");
        abandonSurface(surface);
        return false;
    }
    surface.context = platform::createGlContext(surface.dc);
    platform::makeCurrent(surface.dc, surface.context);
    return true;
}

}  // namespace

bool openSaverWindow(platform::WindowHandle parent, SaverSurface& surface) {
    const platform::WindowClass windowClass = {CS_OWNDC | CS_HREDRAW | CS_VREDRAW, saverWindowProc, host.instance,
                                               "OpenGL"};
    if (!platform::registerClass(windowClass)) {
        reportFailure("RegisterClass() failed:  Cannot register window class.");
        return false;
    }

    const bool fullScreen = host.runMode == RunMode::FullScreen;
    const std::uint32_t style = fullScreen ? WS_POPUP | WS_VISIBLE : WS_CHILD | WS_VISIBLE;
    const platform::WindowHandle owner = fullScreen ? 0 : parent;
    placeWindow(parent, fullScreen, surface);
    surface.window = platform::createWindow(0, "OpenGL", "SaverWindow", style, surface.x, surface.y, surface.width,
                                            surface.height, owner, host.instance);
    if (!surface.window) return false;
    host.saverWindow = surface.window;
    if (fullScreen) {
        platform::setScreenSaverRunning(true);
        surface.saverRunningRaised = true;
    }
    if (!attachGlContext(surface)) return false;
    layOutViewports(surface);
    return true;
}

void closeSaverWindow(const SaverSurface& surface) {
    platform::makeCurrent(0, 0);
    platform::releaseDC(surface.window, surface.dc);
    platform::deleteGlContext(surface.context);
    if (surface.saverRunningRaised) platform::setScreenSaverRunning(false);
}

void runSaverWindow(platform::WindowHandle parent, std::int32_t showCommand) {
    SaverSurface surface;
    host.settingUp = true;
    if (!openSaverWindow(parent, surface)) {
        host.settingUp = false;
        return;
    }

    // The Scene loads its textures here, with the context current and before any message is handled.
    host.scene = new Scene(surface.width, surface.height);
    // A window inside another program's (a preview, a host's display mode) can be destroyed by that
    // program at any moment; Mesa's software rasterizer then crashes in a copy from the lost drawable
    // (seen about once in a hundred destructions mid-frame). The copies of such a window are drawn
    // into a texture of the saver's own, never read back from the window; where the context has no
    // framebuffer objects, it is drawn through clip planes.
    if (parent != 0) host.scene->windowReadable = false;
    // Over before the window is shown: every box of the set-up is behind us, and showing can take the
    // activation away (a start with SW_HIDE), which must close the saver like any other loss of it.
    host.settingUp = false;
    platform::showWindow(surface.window, showCommand);

    SceneFrame frame = {host.scene, &surface};
    runFrameLoop(*host.settings, {renderScene, scenePause, &frame, sceneResume});

    // The Scene goes first, while its context is still current: its textures are deleted with it.
    delete host.scene;
    host.scene = nullptr;
    closeSaverWindow(surface);
    host.saverWindow = 0;
}
