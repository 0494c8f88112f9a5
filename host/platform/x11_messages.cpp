// X11 platform: X events become the saver's messages (keys, the three buttons, motion, focus loss,
// the window manager's close request, the window's destruction), handed to the window model, which
// owns the queue (linux_messages.cpp). Pairs with host/platform.h (peekMessage).
#include <cstdint>

#include "host/platform/window_model.h"
#include "host/platform/x11_internal.h"
#include "host/saver_constants.h"

namespace {

// Client coordinates packed as the mouse messages carry them: x in the low 16 bits, y above.
std::intptr_t pointParam(int x, int y) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(x) & 0xFFFFu) |
                                      ((static_cast<std::uint32_t>(y) & 0xFFFFu) << 16));
}

// Focus events caused by a grab, or that only concern windows inside or under the pointer, are
// not a loss of activation.
bool losesActivation(const XFocusChangeEvent& focus) {
    if (focus.mode == NotifyGrab || focus.mode == NotifyUngrab) return false;
    return focus.detail != NotifyInferior && focus.detail != NotifyPointer;
}

// Hands one X event to the window model: as a posted message for one of our live windows, or as the
// window's destruction.
void translateEvent(Display* d, XEvent& event) {
    if (event.type == DestroyNotify) {
        x11::windowVanished(event.xdestroywindow.window);
        return;
    }
    const platform::WindowHandle window = event.xany.window;
    if (!window_model::alive(window)) return;
    switch (event.type) {
    case KeyPress:
        // The procedure only needs to know that a key was pressed.
        window_model::post(window, WM_KEYDOWN, 0, 0);
        return;
    case ButtonPress: {
        // Buttons 4 to 7 are the wheel's steps, 8 and up the side buttons: not presses of the three.
        std::uint32_t number = 0;
        if (event.xbutton.button == Button1) number = WM_LBUTTONDOWN;
        else if (event.xbutton.button == Button2) number = WM_MBUTTONDOWN;
        else if (event.xbutton.button == Button3) number = WM_RBUTTONDOWN;
        if (number != 0) window_model::post(window, number, 0, pointParam(event.xbutton.x, event.xbutton.y));
        return;
    }
    case MotionNotify: {
        // The window procedure reads the cursor itself, so a run of queued motions is one message.
        XEvent next;
        while (XEventsQueued(d, QueuedAlready) > 0) {
            XPeekEvent(d, &next);
            if (next.type != MotionNotify || next.xmotion.window != event.xmotion.window) break;
            XNextEvent(d, &event);
        }
        window_model::post(window, WM_MOUSEMOVE, 0, pointParam(event.xmotion.x, event.xmotion.y));
        return;
    }
    case FocusOut:
        if (losesActivation(event.xfocus)) window_model::post(window, WM_ACTIVATE, 0 /* WA_INACTIVE */, 0);
        return;
    case ClientMessage:
        if (event.xclient.message_type == x11::atom("WM_PROTOCOLS") && event.xclient.format == 32 &&
            static_cast<Atom>(event.xclient.data.l[0]) == x11::atom("WM_DELETE_WINDOW"))
            window_model::post(window, WM_CLOSE, 0, 0);
        return;
    default:
        return;
    }
}

}  // namespace

namespace x11 {

bool peekMessage(Message& message) {
    for (;;) {
        if (window_model::take(message)) return true;
        x11::retryGrabs();
        Display* d = x11::openedDisplay();
        // XPending sends what is buffered and reads what has arrived; it never waits.
        if (!d || XPending(d) == 0) return false;
        XEvent event;
        XNextEvent(d, &event);
        translateEvent(d, event);
    }
}

}  // namespace x11
