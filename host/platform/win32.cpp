// Win32 platform, part one: the entry point, the command line, time, optional libraries and the
// module's embedded pictures. Pairs with win32_window.cpp, win32_gl.cpp and win32_registry.cpp.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "host/platform.h"
#include "host/saver.h"

namespace {

HMODULE moduleOf(platform::InstanceHandle instance) { return reinterpret_cast<HMODULE>(instance); }

}  // namespace

// The show command is the starter's STARTUPINFO value when it supplied one; the C runtime's nCmdShow
// is not relied on, so the rule is visible here.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    const int showCommand = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    return saverMain(reinterpret_cast<platform::InstanceHandle>(instance), showCommand);
}

namespace platform {

const char* getCommandLine() { return GetCommandLineA(); }

std::uint32_t getTickCount() { return GetTickCount(); }

void sleepMs(std::uint32_t milliseconds) { Sleep(milliseconds); }

std::int64_t queryPerformanceFrequency() {
    LARGE_INTEGER frequency = {};
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

std::int64_t queryPerformanceCounter() {
    LARGE_INTEGER counter = {};
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

std::uint32_t getPlatformId() {
    // dwOSVersionInfoSize is 148, the size of OSVERSIONINFOA. A failed call leaves the id 0.
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&version)) return 0;
#pragma GCC diagnostic pop
    return version.dwPlatformId;
}

LibraryHandle loadLibrary(const char* name) { return reinterpret_cast<LibraryHandle>(LoadLibraryA(name)); }

void* getProcAddress(LibraryHandle library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), name));
}

bool freeLibrary(LibraryHandle library) { return FreeLibrary(reinterpret_cast<HMODULE>(library)) != 0; }

ResourceHandle findResource(InstanceHandle instance, const char* name) {
    return reinterpret_cast<ResourceHandle>(FindResourceA(moduleOf(instance), name, RT_RCDATA));
}

std::uint32_t sizeofResource(InstanceHandle instance, ResourceHandle resource) {
    return SizeofResource(moduleOf(instance), reinterpret_cast<HRSRC>(resource));
}

ResourceData loadResource(InstanceHandle instance, ResourceHandle resource) {
    return reinterpret_cast<ResourceData>(LoadResource(moduleOf(instance), reinterpret_cast<HRSRC>(resource)));
}

const void* lockResource(ResourceData data) { return LockResource(reinterpret_cast<HGLOBAL>(data)); }

}  // namespace platform
