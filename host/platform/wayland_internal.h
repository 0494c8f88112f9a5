// What the Wayland platform files share: the connection with its globals (compositor, shell, seat,
// outputs), the EGL display, and the records of the saver's one full-screen window, which shows as
// one surface per output. The Wayland port's calls of host/platform.h are display_calls.h's
// wayland:: set; what is not Wayland's own is in linux_internal.h.
#pragma once

// EGL's native types as void pointers, without Xlib's headers.
#ifndef EGL_NO_X11
#define EGL_NO_X11
#endif
#include <EGL/egl.h>
#include <wayland-client.h>

#include <cstdint>
#include <vector>

#include "host/platform/display_calls.h"
#include "host/platform/linux_internal.h"

struct wl_egl_window;
struct xdg_wm_base;
struct xdg_surface;
struct xdg_toplevel;

namespace wayland {

// ---- connection (wayland_display.cpp) -------------------------------------------------------------
struct Output {
    std::uint32_t name = 0;  // the registry's name of the global
    wl_output* output = nullptr;
    std::int32_t width = 0;  // the current mode, in pixels
    std::int32_t height = 0;
};

struct Connection {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    xdg_wm_base* shell = nullptr;
    wl_seat* seat = nullptr;
    std::vector<Output*> outputs;  // in the order the compositor announced them
    EGLDisplay egl = EGL_NO_DISPLAY;
    EGLConfig config = nullptr;
    bool lost = false;  // the compositor went away
};

// Connected on first use, with every global of the first round trip bound. Null when there is no
// compositor (one line on standard error says so, once) or it offers no xdg-shell.
Connection* connection();
// The connection if it was made, without trying to make one.
Connection* openedConnection();
// Reads and handles every event that has arrived, without waiting. A connection that breaks destroys
// the saver's windows, so that the run ends through its normal tear-down (exit code 0).
void dispatchWaiting();
// The EGL display and the configuration of the surfaces (opaque RGB, desktop OpenGL), set up at the
// first call; false where EGL offers neither.
bool startEgl(Connection& c);

// ---- the saver's window (wayland_window.cpp) --------------------------------------------------------
// One output's full-screen surface. Its device context is the record's address.
struct Surface {
    Output* output = nullptr;
    wl_surface* surface = nullptr;
    xdg_surface* shellSurface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    wl_egl_window* eglWindow = nullptr;
    EGLSurface eglSurface = EGL_NO_SURFACE;
    std::int32_t pendingWidth = 0;  // of the configure being received
    std::int32_t pendingHeight = 0;
    std::int32_t width = 0;  // 0 until the compositor has configured the surface
    std::int32_t height = 0;
    bool intervalSet = false;  // the swap interval is the surface's, set at its first making current
};

struct WindowRecord {
    platform::WindowHandle handle = 0;
    bool shown = false;
    std::vector<Surface*> surfaces;
    bool layoutChanged = false;  // an output came or went, or a surface was given a new size
};

// The live full-screen window, or null.
WindowRecord* saverWindow();
// The surface whose device context `dc` is, among the window's; null for any other value.
Surface* surfaceOf(platform::DeviceContext dc);
// The surface of the window that shows `surface`, or null.
Surface* surfaceShowing(wl_surface* surface);
// Each output's rectangle on the screen: the outputs side by side, left to right in the order the
// compositor announced them (a client learns no positions of its own), sized by their surfaces'
// configured size, else their mode.
platform::Rect outputRect(const Output* output);
// An output came or went while the window is up: it gets a surface of its own, or loses its own.
void outputAdded(Output* output);
void outputRemoved(Output* output);

// ---- input (wayland_input.cpp) ------------------------------------------------------------------------
// The seat's keyboard and pointer follow its capabilities.
void seatCapabilities(wl_seat* seat, std::uint32_t capabilities);
void forgetInput();

}  // namespace wayland
