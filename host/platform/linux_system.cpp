// Linux platform: the process's command line, the platform id, optional libraries and the embedded
// pictures, the same whichever display system draws. Pairs with host/platform.h (process,
// libraries, embedded data) and linux_internal.h (setCommandLine).
#include <string>

#include "host/platform/linux_internal.h"
#include "host/platform.h"
#include "host/saver_constants.h"
#include "resources/embedded.h"

namespace {

std::string commandLine;

}  // namespace

namespace linux_platform {

void setCommandLine(const std::string& line) { commandLine = line; }

}  // namespace linux_platform

namespace platform {

const char* getCommandLine() { return commandLine.c_str(); }

// Passwords belong to the session's screen locker on Linux: the saver checks none itself.
std::uint32_t getPlatformId() { return VER_PLATFORM_WIN32_NT; }

// No library of the other system's password services exists here, so every optional feature that
// needs one does nothing, silently.
LibraryHandle loadLibrary(const char* /*name*/) { return 0; }
void* getProcAddress(LibraryHandle /*library*/, const char* /*name*/) { return nullptr; }
bool freeLibrary(LibraryHandle /*library*/) { return false; }

// The embedded table's entries; the other resource calls are embedded_resources.cpp's.
ResourceHandle findResource(InstanceHandle /*instance*/, const char* name) {
    return name ? reinterpret_cast<ResourceHandle>(findEmbeddedResource(name)) : 0;
}

}  // namespace platform
