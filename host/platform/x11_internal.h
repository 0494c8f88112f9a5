// What the X11 platform files share: the display connection and its error trap, the records of the
// saver's own windows, GLX, the cursor and the frame-rate overlay. The X11 port's calls of
// host/platform.h are display_calls.h's x11:: set; what is not X11's own is in linux_internal.h.
#pragma once

#include <X11/Xlib.h>

#include <GL/glx.h>

#include <cstdint>
#include <vector>

#include "host/platform/display_calls.h"
#include "host/platform/linux_internal.h"

namespace x11 {

// ---- connection (x11_display.cpp) ----------------------------------------------------------------
// Opened on first use. Null when no X display can be opened; one line on standard error says so,
// once. A connection that breaks later ends the process with exit code 0.
Display* display();
// The connection if it was opened, without trying to open one.
Display* openedDisplay();
Atom atom(const char* name);
// Makes the handlers above the process's again, after a library that opens a connection of its own
// (GTK) has put in its own, for every connection.
void installErrorHandlers();

// X protocol errors are never fatal: between begin and end they are collected, and end waits for
// the server's answer to every request made meanwhile and returns the first error code (0: none).
// Traps do not nest.
void beginErrorTrap();
int endErrorTrap();

// ---- the saver's windows (x11_window.cpp) --------------------------------------------------------
struct WindowRecord {
    Window id = 0;
    bool topLevel = false;  // full screen: takes the keyboard and the pointer
    bool gone = false;      // destroyed on the server without our asking
    bool mapped = false;
    bool grabbed = false;
    std::uint32_t grabUntil = 0;  // tick until which a refused grab is tried again
    GLXFBConfig config = nullptr;  // the GL configuration the window was created with, or none
    VisualID visualId = 0;
    Colormap colormap = 0;
    // Following the size of the window it shows in (a child) or of the screen (full screen).
    Window parent = 0;
    int width = 0;
    int height = 0;
    std::vector<platform::Rect> monitors;  // full screen: as last seen
    std::uint32_t sizeCheckedAt = 0;       // platform tick of the last look
};

// The X side of a window created by createWindow, kept by the window model until the window is
// released; null for any other id.
WindowRecord* findWindow(platform::WindowHandle window);
// The record of a live window of ours; null otherwise.
WindowRecord* liveWindow(platform::WindowHandle window);
// The window went away on the server without our asking (its parent was destroyed): the window
// procedure hears WM_DESTROY as after destroyWindow.
void windowVanished(platform::WindowHandle window);
// Frees the X window, what it held and its record, once the window model has let it go.
void release(platform::WindowHandle window);
// Tries again the keyboard and pointer grabs that were refused when a full-screen window was shown.
void retryGrabs();

// A saver window looks at most this often whether the window it follows changed size.
constexpr std::uint32_t kSizeCheckIntervalMs = 250;

// ---- monitors (x11_monitors.cpp) ------------------------------------------------------------------
// The monitors as getMonitorRects reports them, and whether two such lists are the same.
std::vector<platform::Rect> monitorList();
bool sameRects(const std::vector<platform::Rect>& a, const std::vector<platform::Rect>& b);

// ---- GLX (x11_glx.cpp) ----------------------------------------------------------------------------
// The double-buffered RGBA configuration for a window on `screen`, preferring visuals of `depth`
// and the fewest extra buffers; null when the server offers none.
GLXFBConfig chooseWindowConfig(Display* display, int screen, int depth);

// ---- cursor (x11_cursor.cpp) ----------------------------------------------------------------------
// The cursor last set with setCursor, applied to a window when it is shown.
void applyCursor(Window window);
// Drawing as a host's display mode: no cursor of ours is defined on any window, so the host's own
// (blank over a blanked screen) shows through.
void leaveCursorToHost();

// ---- the frame-rate overlay (x11_fps.cpp) -----------------------------------------------------------
void setShowFps(bool show);
// Draws the measured rate in the bottom-left corner of the current context's viewport, leaving
// every piece of GL state as it found it. Does nothing unless setShowFps(true).
void drawFpsOverlay(Display* display, GLXContext context);
// The context's display lists go with it.
void forgetFpsContext(GLXContext context);

}  // namespace x11
