// The saver window's procedure: start position and time, input turned into a close request, the
// close decision with its password prompt, and the cursor. Pairs with saver.h; verifyPassword is in
// password.cpp.
#include <cstdint>

#include "host/saver.h"
#include "host/saver_constants.h"

namespace {

std::intptr_t decideClose(platform::WindowHandle window, SaverSettings& settings) {
    if (!settings.closeRequested || settings.checkingPassword) return 0;
    if (closeWithinDelay(platform::getTickCount(), settings.startTick, settings.passwordDelay)) {
        platform::destroyWindow(window);
        return 0;
    }
    beginPasswordPrompt();
    const std::int32_t mayClose = verifyPassword(window);
    endPasswordPrompt();
    // A refused password leaves the saver drawing; closeRequested stays set.
    if (mayClose) platform::destroyWindow(window);
    return 0;
}

}  // namespace

bool closeWithinDelay(std::uint32_t now, std::uint32_t startTick, std::int32_t passwordDelay) {
    // Unsigned throughout: a tick wrap between the readings does no harm, and a negative delay
    // becomes one of nearly 49.7 days.
    const std::uint32_t elapsed = now - startTick;
    const std::uint32_t delay = static_cast<std::uint32_t>(passwordDelay) * 1000u;
    return elapsed <= delay;
}

bool cursorMovedBeyond(platform::Point start, platform::Point now, std::int32_t threshold) {
    // In 64 bits so that positions far apart cannot overflow the difference.
    std::int64_t dx = static_cast<std::int64_t>(now.x) - start.x;
    std::int64_t dy = static_cast<std::int64_t>(now.y) - start.y;
    if (dx < 0) dx = -dx;
    if (dy < 0) dy = -dy;
    return dx > threshold || dy > threshold;
}

void requestClose() {
    if (host.settingUp) return;
    host.settings->closeRequested = 1;
    platform::postMessage(host.settings->window, WM_CLOSE, 0, 0);
}

void beginPasswordPrompt() {
    host.settings->checkingPassword = 1;
    platform::sendMessage(host.settings->window, WM_SETCURSOR, 0, 0);
}

void endPasswordPrompt() {
    host.settings->checkingPassword = 0;
    platform::sendMessage(host.settings->window, WM_SETCURSOR, 0, 0);
    platform::getCursorPos(host.settings->startCursor);
}

std::intptr_t saverWindowProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) {
    SaverSettings* settings = host.settings;
    if (!settings) return platform::defWindowProc(window, message, wParam, lParam);
    const bool fullScreen = host.runMode == RunMode::FullScreen;
    const bool takingInput = fullScreen && !settings->checkingPassword;

    switch (message) {
    case WM_CREATE:
        settings->window = window;
        settings->startCursorKnown = platform::getCursorPos(settings->startCursor);
        settings->startTick = platform::getTickCount();
        break;
    case WM_DESTROY:
        platform::postQuitMessage(0);
        break;
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE:
        // Low word 0: the activation is being lost.
        if (takingInput && (wParam & 0xFFFF) == 0) requestClose();
        break;
    case WM_CLOSE:
        if (fullScreen) return decideClose(window, *settings);
        break;
    case WM_SETCURSOR:
        platform::setCursor(takingInput ? 0 : platform::loadCursor(0, IDC_ARROW));
        break;
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (takingInput) requestClose();
        break;
    case WM_SYSCOMMAND:
        if (fullScreen && (wParam == SC_SCREENSAVE || wParam == SC_CLOSE)) return 0;
        break;
    case WM_MOUSEMOVE: {
        if (!takingInput) break;
        // The position comes from the cursor itself, not from the message.
        platform::Point now = settings->startCursor;
        if (!platform::getCursorPos(now)) break;
        if (!settings->startCursorKnown) {
            settings->startCursor = now;
            settings->startCursorKnown = true;
        } else if (cursorMovedBeyond(settings->startCursor, now, settings->mouseThreshold)) {
            requestClose();
        }
        break;
    }
    default:
        break;
    }
    return platform::defWindowProc(window, message, wParam, lParam);
}
