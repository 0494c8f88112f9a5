// The Linux build's window and message calls of host/platform.h that are the window model's alone,
// whichever display system reports into it: destruction, default handling, the queue and the quit
// message. Each port's peekMessage turns its events into the model's messages. Pairs with
// window_model.h.
#include "host/platform.h"
#include "host/platform/window_model.h"
#include "host/saver_constants.h"

namespace platform {

// The port's window goes once the procedure has heard WM_DESTROY (the window model's release hook).
bool destroyWindow(WindowHandle window) { return window_model::destroy(window); }

std::intptr_t defWindowProc(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    return window_model::defaultProc(window, message, wParam, lParam);
}

bool translateMessage(const Message& message) { return message.message == WM_KEYDOWN; }

std::intptr_t dispatchMessage(const Message& message) { return window_model::dispatch(message); }

bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    return window_model::post(window, message, wParam, lParam);
}

std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    return window_model::send(window, message, wParam, lParam);
}

void postQuitMessage(std::int32_t exitCode) { window_model::postQuit(exitCode); }

}  // namespace platform
