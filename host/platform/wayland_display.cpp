// Wayland platform: the one connection to the compositor, its globals (compositor, xdg-shell, seat,
// outputs as they come and go), the EGL display of the surfaces, and reading events without ever
// waiting. Pairs with wayland_internal.h.
#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/platform/wayland_internal.h"
#include "host/platform/window_model.h"
#include "xdg-shell-client-protocol.h"

#include <EGL/eglext.h>

namespace wayland {

namespace {

Connection* live = nullptr;
bool connectFailed = false;

// ---- outputs ----------------------------------------------------------------------------------------
void outputGeometry(void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                    const char*, const char*, std::int32_t) {}
void outputMode(void* data, wl_output*, std::uint32_t flags, std::int32_t width, std::int32_t height, std::int32_t) {
    if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
    Output* output = static_cast<Output*>(data);
    output->width = width;
    output->height = height;
}
void outputDone(void*, wl_output*) {
    // A new mode changes where the outputs after it lie.
    if (WindowRecord* window = saverWindow()) window->layoutChanged = true;
}
void outputScale(void*, wl_output*, std::int32_t) {}
// Version 3 at most is bound: no name or description (version 4) comes.
const wl_output_listener kOutputListener = {outputGeometry, outputMode, outputDone, outputScale, nullptr, nullptr};

void addOutput(Connection& c, std::uint32_t name, std::uint32_t version) {
    Output* output = new Output;
    output->name = name;
    output->output = static_cast<wl_output*>(wl_registry_bind(c.registry, name, &wl_output_interface,
                                                              std::min<std::uint32_t>(version, 3)));
    wl_output_add_listener(output->output, &kOutputListener, output);
    c.outputs.push_back(output);
    outputAdded(output);
}

void releaseOutput(Output* output) {
    if (wl_output_get_version(output->output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) wl_output_release(output->output);
    else wl_output_destroy(output->output);
    delete output;
}

// ---- globals --------------------------------------------------------------------------------------------
void shellPing(void*, xdg_wm_base* shell, std::uint32_t serial) { xdg_wm_base_pong(shell, serial); }
const xdg_wm_base_listener kShellListener = {shellPing};

void seatCapabilitiesChanged(void*, wl_seat* seat, std::uint32_t capabilities) { seatCapabilities(seat, capabilities); }
void seatName(void*, wl_seat*, const char*) {}
const wl_seat_listener kSeatListener = {seatCapabilitiesChanged, seatName};

void global(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
    Connection& c = *static_cast<Connection*>(data);
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && !c.compositor) {
        c.compositor = static_cast<wl_compositor*>(wl_registry_bind(registry, name, &wl_compositor_interface, 1));
    } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0 && !c.shell) {
        c.shell = static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, 1));
        xdg_wm_base_add_listener(c.shell, &kShellListener, nullptr);
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !c.seat) {
        // Version 5 has the release requests of the keyboard and the pointer.
        c.seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface,
                                                        std::min<std::uint32_t>(version, 5)));
        wl_seat_add_listener(c.seat, &kSeatListener, nullptr);
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        addOutput(c, name, version);
    }
}

void globalRemoved(void* data, wl_registry*, std::uint32_t name) {
    Connection& c = *static_cast<Connection*>(data);
    for (auto it = c.outputs.begin(); it != c.outputs.end(); ++it) {
        if ((*it)->name != name) continue;
        Output* output = *it;
        c.outputs.erase(it);
        outputRemoved(output);
        releaseOutput(output);
        return;
    }
}
const wl_registry_listener kRegistryListener = {global, globalRemoved};

// The compositor went away: the saver's windows go as if destroyed, and the run ends through its
// normal tear-down. Nothing more is sent or read.
void connectionLost(Connection& c) {
    if (c.lost) return;
    c.lost = true;
    std::fputs("morvane: the connection to the Wayland compositor was lost\n", stderr);
    for (platform::WindowHandle window : window_model::liveWindows()) window_model::destroy(window);
}

}  // namespace

Connection* openedConnection() { return live; }

Connection* connection() {
    if (live || connectFailed) return live;
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        connectFailed = true;
        const char* name = std::getenv("WAYLAND_DISPLAY");
        std::fprintf(stderr, "morvane: cannot connect to the Wayland display \"%s\"\n", name ? name : "");
        return nullptr;
    }
    Connection* c = new Connection;
    c->display = display;
    c->registry = wl_display_get_registry(display);
    wl_registry_add_listener(c->registry, &kRegistryListener, c);
    // The globals, then what each bound output says of itself.
    live = c;
    wl_display_roundtrip(display);
    wl_display_roundtrip(display);
    if (!c->compositor || !c->shell) {
        std::fputs("morvane: the Wayland compositor offers no xdg-shell windows\n", stderr);
        closeDisplay();
        connectFailed = true;
        return nullptr;
    }
    return live;
}

bool startEgl(Connection& c) {
    if (c.config) return true;
    if (c.egl == EGL_NO_DISPLAY) {
        c.egl = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, c.display, nullptr);
        EGLint major = 0, minor = 0;
        if (c.egl == EGL_NO_DISPLAY || !eglInitialize(c.egl, &major, &minor)) {
            c.egl = EGL_NO_DISPLAY;
            return false;
        }
    }
    // No alpha: the surfaces are opaque, whatever the picture leaves in the alpha channel.
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_RED_SIZE, 8,
                             EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 0, EGL_NONE};
    EGLConfig configs[64];
    EGLint count = 0;
    if (!eglBindAPI(EGL_OPENGL_API) || !eglChooseConfig(c.egl, wanted, configs, 64, &count) || count < 1) return false;
    // The sizes asked for are least sizes, and EGL lists the deepest colour first: 10 bits a channel,
    // which the software renderer packs and unpacks at every pixel (8.3 against 5.8 ms a frame).
    // Eight bits a channel and no alpha, as the X11 visual has, where there is such a config.
    c.config = configs[0];
    for (EGLint i = 0; i < count; ++i) {
        EGLint red = 0, alpha = 0;
        eglGetConfigAttrib(c.egl, configs[i], EGL_RED_SIZE, &red);
        eglGetConfigAttrib(c.egl, configs[i], EGL_ALPHA_SIZE, &alpha);
        if (red == 8 && alpha == 0) {
            c.config = configs[i];
            break;
        }
    }
    return true;
}

void dispatchWaiting() {
    Connection* c = openedConnection();
    if (!c || c->lost) return;
    wl_display* d = c->display;
    while (wl_display_prepare_read(d) != 0) {
        if (wl_display_dispatch_pending(d) < 0) return connectionLost(*c);
    }
    if (wl_display_flush(d) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(d);
        return connectionLost(*c);
    }
    pollfd events = {wl_display_get_fd(d), POLLIN, 0};
    if (poll(&events, 1, 0) > 0 && (events.revents & (POLLIN | POLLHUP | POLLERR))) {
        if (wl_display_read_events(d) < 0) return connectionLost(*c);
    } else {
        wl_display_cancel_read(d);
    }
    if (wl_display_dispatch_pending(d) < 0) connectionLost(*c);
}

void closeDisplay() {
    Connection* c = live;
    if (!c) return;
    forgetInput();
    if (c->egl != EGL_NO_DISPLAY) eglTerminate(c->egl);
    for (Output* output : c->outputs) releaseOutput(output);
    if (c->seat) wl_seat_destroy(c->seat);
    if (c->shell) xdg_wm_base_destroy(c->shell);
    if (c->compositor) wl_compositor_destroy(c->compositor);
    wl_registry_destroy(c->registry);
    wl_display_disconnect(c->display);
    delete c;
    live = nullptr;
}

}  // namespace wayland
