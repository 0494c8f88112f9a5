// The screen-saver password check of the older platform family, through the platform's own
// verifier loaded by name for each prompt. Pairs with window_proc.cpp, which asks it.
#include <cstdint>

#include "host/saver.h"
#include "host/saver_constants.h"

// The verifier shows its modal prompt owned by the window and answers non-zero when the saver may close.
using VerifyPasswordFunction = int(PLATFORM_STDCALL*)(std::uintptr_t window);

std::int32_t verifyPassword(platform::WindowHandle window) {
    if (platform::getPlatformId() == VER_PLATFORM_WIN32_NT) return 1;
    // Without the verifier there is nothing to ask: the saver closes.
    const platform::LibraryHandle library = platform::loadLibrary("PASSWORD.CPL");
    if (!library) return 1;
    void* found = platform::getProcAddress(library, "VerifyScreenSavePwd");
    if (!found) {
        platform::freeLibrary(library);
        return 1;
    }
    const std::int32_t result = reinterpret_cast<VerifyPasswordFunction>(found)(window);
    platform::freeLibrary(library);
    return result;
}
