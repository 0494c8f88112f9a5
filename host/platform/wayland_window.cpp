// Wayland platform: the saver's full-screen window, one xdg-shell toplevel per output, each made full
// screen on its output; outputs that come or go while it runs get or lose theirs. Also the geometry
// the host asks of it: the outputs side by side make the screen. Lifetime and messages are the window
// model's. Pairs with wayland_internal.h.
#include <wayland-egl.h>

#include <algorithm>
#include <climits>
#include <string>

#include "host/platform/wayland_internal.h"
#include "host/platform/window_model.h"
#include "host/saver_constants.h"
#include "xdg-shell-client-protocol.h"

namespace wayland {

namespace {

WindowRecord* window = nullptr;
std::string title;
platform::WindowHandle nextHandle = 1;

// ---- one output's surface --------------------------------------------------------------------------
void toplevelConfigure(void* data, xdg_toplevel*, std::int32_t width, std::int32_t height, wl_array*) {
    Surface& surface = *static_cast<Surface*>(data);
    surface.pendingWidth = width;
    surface.pendingHeight = height;
}
void toplevelClose(void*, xdg_toplevel*) {
    if (window) window_model::post(window->handle, WM_CLOSE, 0, 0);
}
// Version 1 of the shell, which is the one bound, sends neither bounds nor capabilities.
const xdg_toplevel_listener kToplevelListener = {toplevelConfigure, toplevelClose, nullptr, nullptr};

// A size of 0 leaves it to the client: a full-screen surface takes its output's mode then.
void shellSurfaceConfigure(void* data, xdg_surface* shellSurface, std::uint32_t serial) {
    Surface& surface = *static_cast<Surface*>(data);
    xdg_surface_ack_configure(shellSurface, serial);
    const std::int32_t width = surface.pendingWidth > 0 ? surface.pendingWidth : surface.output->width;
    const std::int32_t height = surface.pendingHeight > 0 ? surface.pendingHeight : surface.output->height;
    if (width <= 0 || height <= 0 || (width == surface.width && height == surface.height)) return;
    surface.width = width;
    surface.height = height;
    if (surface.eglWindow) wl_egl_window_resize(surface.eglWindow, width, height, 0, 0);
    if (window) window->layoutChanged = true;
}
const xdg_surface_listener kShellSurfaceListener = {shellSurfaceConfigure};

// Its commit without a buffer asks the compositor for the first configure; the picture comes with the
// first frame presented after it.
Surface* makeSurface(Connection& c, Output* output) {
    Surface* surface = new Surface;
    surface->output = output;
    surface->surface = wl_compositor_create_surface(c.compositor);
    surface->shellSurface = xdg_wm_base_get_xdg_surface(c.shell, surface->surface);
    xdg_surface_add_listener(surface->shellSurface, &kShellSurfaceListener, surface);
    surface->toplevel = xdg_surface_get_toplevel(surface->shellSurface);
    xdg_toplevel_add_listener(surface->toplevel, &kToplevelListener, surface);
    xdg_toplevel_set_title(surface->toplevel, title.c_str());
    xdg_toplevel_set_app_id(surface->toplevel, "morvane");
    xdg_toplevel_set_fullscreen(surface->toplevel, output->output);
    // An opaque surface spares the compositor what lies under it.
    wl_region* opaque = wl_compositor_create_region(c.compositor);
    wl_region_add(opaque, 0, 0, INT32_MAX, INT32_MAX);
    wl_surface_set_opaque_region(surface->surface, opaque);
    wl_region_destroy(opaque);
    surface->eglWindow = wl_egl_window_create(surface->surface, std::max(output->width, 1), std::max(output->height, 1));
    if (c.config && surface->eglWindow)
        surface->eglSurface = eglCreatePlatformWindowSurface(c.egl, c.config, surface->eglWindow, nullptr);
    wl_surface_commit(surface->surface);
    return surface;
}

void destroySurface(Surface* surface) {
    Connection* c = openedConnection();
    if (c && surface->eglSurface != EGL_NO_SURFACE) {
        // A surface of the current context stops being current first.
        if (eglGetCurrentSurface(EGL_DRAW) == surface->eglSurface)
            eglMakeCurrent(c->egl, EGL_NO_SURFACE, EGL_NO_SURFACE, eglGetCurrentContext());
        eglDestroySurface(c->egl, surface->eglSurface);
    }
    if (surface->eglWindow) wl_egl_window_destroy(surface->eglWindow);
    xdg_toplevel_destroy(surface->toplevel);
    xdg_surface_destroy(surface->shellSurface);
    wl_surface_destroy(surface->surface);
    delete surface;
}

// The window model lets the window go after its WM_DESTROY: its surfaces go with it.
void release(platform::WindowHandle handle) {
    if (!window || window->handle != handle) return;
    for (Surface* surface : window->surfaces) destroySurface(surface);
    delete window;
    window = nullptr;
    if (Connection* c = openedConnection()) wl_display_flush(c->display);
}

}  // namespace

WindowRecord* saverWindow() { return window && window_model::alive(window->handle) ? window : nullptr; }

Surface* surfaceOf(platform::DeviceContext dc) {
    if (!window || dc == 0) return nullptr;
    for (Surface* surface : window->surfaces)
        if (reinterpret_cast<platform::DeviceContext>(surface) == dc) return surface;
    return nullptr;
}

Surface* surfaceShowing(wl_surface* shown) {
    if (!window || !shown) return nullptr;
    for (Surface* surface : window->surfaces)
        if (surface->surface == shown) return surface;
    return nullptr;
}

platform::Rect outputRect(const Output* output) {
    std::int32_t left = 0;
    Connection* c = openedConnection();
    if (!c) return {0, 0, 0, 0};
    for (const Output* each : c->outputs) {
        std::int32_t width = each->width, height = each->height;
        if (window) {
            for (const Surface* surface : window->surfaces) {
                if (surface->output == each && surface->width > 0) width = surface->width, height = surface->height;
            }
        }
        if (each == output) return {left, 0, left + width, height};
        left += width;
    }
    return {0, 0, 0, 0};
}

void outputAdded(Output* output) {
    Connection* c = openedConnection();
    if (!window || !window->shown || !c) return;
    window->surfaces.push_back(makeSurface(*c, output));
    window->layoutChanged = true;
}

void outputRemoved(Output* output) {
    if (!window) return;
    auto& surfaces = window->surfaces;
    for (auto it = surfaces.begin(); it != surfaces.end(); ++it) {
        if ((*it)->output != output) continue;
        destroySurface(*it);
        surfaces.erase(it);
        window->layoutChanged = true;
        return;
    }
}

bool registerClass(const WindowClass& windowClass) {
    // A class is of no use without a compositor: its absence is reported here, where the host tells
    // the user that the saver cannot start.
    if (!connection()) return false;
    window_model::setReleaseHook(release);
    return window_model::registerClass(windowClass.className, windowClass.windowProc);
}

// Only the full-screen window has a place on Wayland: a child names an X window.
WindowHandle createWindow(std::uint32_t /*exStyle*/, const char* className, const char* windowTitle,
                          std::uint32_t style, std::int32_t, std::int32_t, std::int32_t, std::int32_t, WindowHandle,
                          InstanceHandle) {
    const WindowProc proc = window_model::classProc(className);
    if (!proc || !connection() || (style & WS_CHILD) != 0 || window) return 0;
    title = windowTitle ? windowTitle : "";
    WindowRecord* record = new WindowRecord;
    record->handle = nextHandle++;
    window = record;
    if (!window_model::create(record->handle, proc, 0, record)) return 0;
    return record->handle;
}

// Shown once: a surface on every output. Hiding is not something a Wayland client does to a toplevel.
bool showWindow(WindowHandle handle, std::int32_t showCommand) {
    WindowRecord* record = saverWindow();
    Connection* c = openedConnection();
    if (!record || record->handle != handle || !c) return false;
    const bool wasVisible = record->shown;
    if (showCommand == 0 || record->shown) return wasVisible;
    // Shown means set up (the stop signal's path: linux_signals.cpp).
    linux_platform::deferStop();
    record->shown = true;
    for (Output* output : c->outputs) record->surfaces.push_back(makeSurface(*c, output));
    record->layoutChanged = true;
    wl_display_flush(c->display);
    sendMessage(handle, WM_SETCURSOR, handle, 1 /* HTCLIENT */ | (static_cast<std::intptr_t>(WM_MOUSEMOVE) << 16));
    return wasVisible;
}

bool takeNewWindowSize(WindowHandle handle, std::int32_t& width, std::int32_t& height) {
    WindowRecord* record = saverWindow();
    if (!record || record->handle != handle || !record->layoutChanged) return false;
    record->layoutChanged = false;
    width = getSystemMetrics(SM_CXVIRTUALSCREEN);
    height = getSystemMetrics(SM_CYVIRTUALSCREEN);
    return true;
}

bool getWindowRect(WindowHandle handle, Rect& rect) {
    rect = {0, 0, 0, 0};
    if (!saverWindow() || window->handle != handle) return false;
    rect = {0, 0, getSystemMetrics(SM_CXVIRTUALSCREEN), getSystemMetrics(SM_CYVIRTUALSCREEN)};
    return true;
}

// The screen is the outputs side by side (outputRect).
std::int32_t getSystemMetrics(std::int32_t index) {
    Connection* c = connection();
    if (!c) return 0;
    std::int32_t width = 0, height = 0;
    for (const Output* output : c->outputs) {
        const Rect rect = outputRect(output);
        width = rect.right;
        height = std::max(height, rect.bottom);
    }
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
        return width;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
        return height;
    default:
        return 0;
    }
}

// No client can see another's windows.
WindowHandle getForegroundWindow() { return 0; }

std::int32_t getMonitorRects(Rect* rects, std::int32_t capacity) {
    Connection* c = connection();
    if (!c) return 0;
    const std::int32_t count = static_cast<std::int32_t>(c->outputs.size());
    for (std::int32_t i = 0; rects && i < count && i < capacity; ++i) rects[i] = outputRect(c->outputs[i]);
    return count;
}

// Debian 12's protocols tell a client nothing of an output's power: the picture is drawn throughout.
bool isDisplayOff() { return false; }

// The compositor's idle timers are the session's; nothing of theirs is changed for the saver.
bool setScreenSaverRunning(bool) { return connection() != nullptr; }

}  // namespace wayland
