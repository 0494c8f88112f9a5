// X11 platform: the process's command line, the server's own blanking, optional libraries and
// the embedded pictures. Pairs with host/platform.h (process, saver state, libraries, embedded data).
#include <X11/Xlib.h>

#include <string>

#include "host/platform/x11_internal.h"
#include "host/saver_constants.h"
#include "resources/embedded.h"

namespace {

std::string commandLine;

// The server's screen-saver settings as they were before the saver switched its blanking off.
struct ServerSaverSettings {
    bool saved = false;
    int timeout = 0;
    int interval = 0;
    int preferBlanking = 0;
    int allowExposures = 0;
};
ServerSaverSettings serverSaver;

}  // namespace

namespace x11 {

void setCommandLine(const std::string& line) { commandLine = line; }

}  // namespace x11

namespace platform {

const char* getCommandLine() { return commandLine.c_str(); }

bool setScreenSaverRunning(bool running) {
    // The server's own blanking would cover the saver, so it is switched off while the saver runs
    // and the user's settings are put back afterwards. Display power management is left alone: the
    // monitor still powers off on its own timers (suspending the server's saver through the
    // screen-saver extension would hold those off too, and keep the screen lit all night).
    Display* d = x11::display();
    if (!d) return false;
    if (running) {
        if (!serverSaver.saved) {
            XGetScreenSaver(d, &serverSaver.timeout, &serverSaver.interval, &serverSaver.preferBlanking,
                            &serverSaver.allowExposures);
            serverSaver.saved = true;
        }
        XSetScreenSaver(d, 0, serverSaver.interval, serverSaver.preferBlanking, serverSaver.allowExposures);
        // From here on a stop signal must take the way through the tear-down, which puts the
        // settings back, rather than end the process at once.
        x11::deferStop();
    } else if (serverSaver.saved) {
        XSetScreenSaver(d, serverSaver.timeout, serverSaver.interval, serverSaver.preferBlanking,
                        serverSaver.allowExposures);
        serverSaver.saved = false;
    }
    XFlush(d);
    return true;
}

// Passwords belong to the session's screen locker on X11: the saver checks none itself.
std::uint32_t getPlatformId() { return VER_PLATFORM_WIN32_NT; }

// No library of the other system's password services exists here, so every optional feature that
// needs one does nothing, silently.
LibraryHandle loadLibrary(const char* /*name*/) { return 0; }
void* getProcAddress(LibraryHandle /*library*/, const char* /*name*/) { return nullptr; }
bool freeLibrary(LibraryHandle /*library*/) { return false; }

ResourceHandle findResource(InstanceHandle /*instance*/, const char* name) {
    if (!name) return 0;
    return reinterpret_cast<ResourceHandle>(findEmbeddedResource(name));
}

std::uint32_t sizeofResource(InstanceHandle /*instance*/, ResourceHandle resource) {
    return resource ? reinterpret_cast<const EmbeddedResource*>(resource)->size : 0;
}

ResourceData loadResource(InstanceHandle /*instance*/, ResourceHandle resource) {
    return resource ? reinterpret_cast<ResourceData>(reinterpret_cast<const EmbeddedResource*>(resource)->data) : 0;
}

const void* lockResource(ResourceData data) { return reinterpret_cast<const void*>(data); }

}  // namespace platform
