// X11 platform: the server's own blanking, switched off while the saver runs. Pairs with
// host/platform.h (setScreenSaverRunning).
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "host/platform/x11_internal.h"

namespace {

// The server's blanking while a run of ours has it switched off. Every such run keeps a marker: an
// unmapped window on the root that carries, as a property, the blanking timeout the user had. A run
// that finds the timeout at 0 and another run's marker takes the user's value from that marker
// instead of saving the 0 it sees; a run that ends while another one still runs leaves the blanking
// off for it. The last run to end puts the timeout back, and only when the server still holds the 0:
// a timeout the user set meanwhile stays. A marker goes with its run's connection, so a run that
// was killed leaves none behind.
constexpr const char* kUserTimeoutProperty = "_MORVANE_USER_BLANKING";

struct ServerBlanking {
    Window marker = 0;
    long userTimeout = 0;
};
ServerBlanking blanking;

// The user's timeout as another run's marker records it.
bool markedTimeout(Display* d, Window root, Window own, long& timeout) {
    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, root, &rootReturn, &parent, &children, &count)) return false;
    const Atom property = x11::atom(kUserTimeoutProperty);
    bool found = false;
    for (unsigned int i = 0; i < count && !found; ++i) {
        if (children[i] == own) continue;
        Atom type = None;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(d, children[i], property, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after,
                               &data) == Success &&
            type == XA_CARDINAL && format == 32 && items == 1) {
            timeout = *reinterpret_cast<long*>(data);
            found = true;
        }
        if (data) XFree(data);
    }
    if (children) XFree(children);
    return found;
}

// The server's own saver settings, read and written whole.
struct ServerSaver {
    int timeout = 0;
    int interval = 0;
    int preferBlanking = 0;
    int allowExposures = 0;

    void read(Display* d) { XGetScreenSaver(d, &timeout, &interval, &preferBlanking, &allowExposures); }
    void writeTimeout(Display* d, int newTimeout) const {
        XSetScreenSaver(d, newTimeout, interval, preferBlanking, allowExposures);
    }
};

void switchBlankingOff(Display* d) {
    const Window root = DefaultRootWindow(d);
    ServerSaver saver;
    // Held so that two runs starting together cannot both take the other's 0 for the user's value.
    XGrabServer(d);
    x11::beginErrorTrap();
    saver.read(d);
    blanking.userTimeout = saver.timeout;
    long marked = 0;
    if (saver.timeout == 0 && markedTimeout(d, root, 0, marked)) blanking.userTimeout = marked;
    XSetWindowAttributes attributes = {};
    blanking.marker = XCreateWindow(d, root, -1, -1, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent, 0,
                                    &attributes);
    XChangeProperty(d, blanking.marker, x11::atom(kUserTimeoutProperty), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&blanking.userTimeout), 1);
    saver.writeTimeout(d, 0);
    x11::endErrorTrap();
    XUngrabServer(d);
    // A timeout of 0 does not end a server saver that is already on.
    XForceScreenSaver(d, ScreenSaverReset);
}

void giveBlankingBack(Display* d) {
    ServerSaver saver;
    long marked = 0;
    XGrabServer(d);
    x11::beginErrorTrap();
    saver.read(d);
    if (saver.timeout == 0 && !markedTimeout(d, DefaultRootWindow(d), blanking.marker, marked))
        saver.writeTimeout(d, static_cast<int>(blanking.userTimeout));
    XDestroyWindow(d, blanking.marker);
    x11::endErrorTrap();
    XUngrabServer(d);
    blanking.marker = 0;
}

}  // namespace

namespace x11 {

bool setScreenSaverRunning(bool running) {
    // The server's own blanking would cover the saver, so it is switched off while the saver runs
    // and the user's timeout is put back afterwards. Display power management is left alone: the
    // monitor still powers off on its own timers (suspending the server's saver through the
    // screen-saver extension would hold those off too, and keep the screen lit all night).
    Display* d = x11::display();
    if (!d) return false;
    if (running) {
        // Deferred first: a stop signal that ended the process between switching the blanking off
        // and deferring would leave the timeout at 0, and its marker gone with the connection.
        // From here on the tear-down puts the settings back (the stop signal's path: linux_signals.cpp).
        linux_platform::deferStop();
        if (!blanking.marker) switchBlankingOff(d);
    } else if (blanking.marker) {
        giveBlankingBack(d);
    }
    XFlush(d);
    return true;
}

}  // namespace x11
