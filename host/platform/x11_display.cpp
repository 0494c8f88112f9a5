// X11 platform: the one connection to the X server, its atoms, and the error handlers that keep a
// protocol error or a vanished server from crashing the saver. Pairs with x11_internal.h.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/platform/x11_internal.h"

namespace x11 {

namespace {

Display* connection = nullptr;
bool openFailed = false;

bool trapping = false;
int trappedError = 0;
bool reportErrors = false;

int onProtocolError(Display* failing, XErrorEvent* error) {
    if (trapping) {
        if (trappedError == 0) trappedError = error->error_code;
        return 0;
    }
    // Outside a trap the errors that occur are expected ones, such as drawing into a preview whose
    // parent has just gone: the DestroyNotify that follows ends the run. MORVANE_X11_DEBUG shows them.
    if (reportErrors) {
        char text[160];
        XGetErrorText(failing, error->error_code, text, sizeof text);
        std::fprintf(stderr, "morvane: X error: %s (request %d.%d)\n", text, error->request_code,
                     error->minor_code);
    }
    return 0;
}

// Xlib ends the process when this returns, so it never does: a server that went away (the session
// ended, the screen locker restarted) is a normal end of the saver, not a crash.
int onConnectionLost(Display*) {
    static const char text[] = "morvane: the connection to the X server was lost\n";
    ssize_t written = write(STDERR_FILENO, text, sizeof text - 1);
    (void)written;
    _exit(0);
}

}  // namespace

void installErrorHandlers() {
    XSetErrorHandler(onProtocolError);
    XSetIOErrorHandler(onConnectionLost);
}

Display* display() {
    if (connection || openFailed) return connection;
    installErrorHandlers();
    reportErrors = std::getenv("MORVANE_X11_DEBUG") != nullptr;
    connection = XOpenDisplay(nullptr);
    if (!connection) {
        openFailed = true;
        const char* name = std::getenv("DISPLAY");
        std::fprintf(stderr, "morvane: cannot open the X display \"%s\"\n", name ? name : "");
    }
    return connection;
}

Display* openedDisplay() { return connection; }

void closeDisplay() {
    if (!connection) return;
    XCloseDisplay(connection);
    connection = nullptr;
}

Atom atom(const char* name) {
    Display* d = display();
    return d ? XInternAtom(d, name, False) : None;
}

void beginErrorTrap() {
    if (connection) XSync(connection, False);
    trapping = true;
    trappedError = 0;
}

int endErrorTrap() {
    if (connection) XSync(connection, False);
    trapping = false;
    return trappedError;
}

}  // namespace x11
