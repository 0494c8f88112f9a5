// X11 platform: the process's command line, the server's own screen saver, optional libraries and
// the embedded pictures. Pairs with host/platform.h (process, saver state, libraries, embedded data).
#include <X11/extensions/scrnsaver.h>

#include <string>

#include "host/platform/x11_internal.h"
#include "host/saver_constants.h"
#include "resources/embedded.h"

namespace {

std::string commandLine;

}  // namespace

namespace x11 {

void setCommandLine(const std::string& line) { commandLine = line; }

}  // namespace x11

namespace platform {

const char* getCommandLine() { return commandLine.c_str(); }

bool setScreenSaverRunning(bool running) {
    // The server's own blanking and power saving wait while the saver runs. The suspension belongs
    // to this connection, so the server lifts it by itself should the process end without lowering it.
    Display* d = x11::display();
    int eventBase = 0, errorBase = 0;
    if (!d || !XScreenSaverQueryExtension(d, &eventBase, &errorBase)) return false;
    XScreenSaverSuspend(d, running ? True : False);
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
