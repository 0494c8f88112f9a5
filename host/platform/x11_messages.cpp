// X11 platform: the message queue. Posted messages and the quit message live here; X events become
// the saver's messages (keys, the three buttons, motion, focus loss, the window manager's close
// request, the window's destruction). Pairs with host/platform.h.
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <deque>
#include <vector>

#include "host/platform/x11_internal.h"
#include "host/saver_constants.h"

namespace {

std::deque<platform::Message> posted;
bool quitPosted = false;
std::int32_t quitCode = 0;
bool stopHandled = false;
// The modifier state of the last press of each key code, for translateMessage.
unsigned keyState[256] = {};

// The virtual-key code of a key, as WM_KEYDOWN carries it; 0 for keys without one here.
std::uintptr_t virtualKey(KeySym sym) {
    if (sym >= XK_a && sym <= XK_z) return 'A' + (sym - XK_a);
    if (sym >= XK_0 && sym <= XK_9) return '0' + (sym - XK_0);
    if (sym >= XK_F1 && sym <= XK_F24) return 0x70 + (sym - XK_F1);
    switch (sym) {
    case XK_BackSpace: return 0x08;
    case XK_Tab: return 0x09;
    case XK_Return: case XK_KP_Enter: return 0x0D;
    case XK_Shift_L: case XK_Shift_R: return 0x10;
    case XK_Control_L: case XK_Control_R: return 0x11;
    case XK_Alt_L: case XK_Alt_R: return 0x12;
    case XK_Escape: return 0x1B;
    case XK_space: return 0x20;
    case XK_Prior: return 0x21;
    case XK_Next: return 0x22;
    case XK_End: return 0x23;
    case XK_Home: return 0x24;
    case XK_Left: return 0x25;
    case XK_Up: return 0x26;
    case XK_Right: return 0x27;
    case XK_Down: return 0x28;
    case XK_Insert: return 0x2D;
    case XK_Delete: return 0x2E;
    default: return 0;
    }
}

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

// Turns one X event into a message for one of our live windows. Events that make no message
// (and the destruction, which is handled here) return false.
bool translateEvent(Display* d, XEvent& event, platform::Message& message) {
    if (event.type == DestroyNotify) {
        if (x11::WindowRecord* record = x11::findWindow(event.xdestroywindow.window)) x11::windowVanished(*record);
        return false;
    }
    x11::WindowRecord* record = x11::liveWindow(event.xany.window);
    if (!record) return false;
    const platform::WindowHandle window = record->id;
    switch (event.type) {
    case KeyPress: {
        const unsigned code = event.xkey.keycode & 0xFFu;
        keyState[code] = event.xkey.state;
        const KeySym sym = XkbKeycodeToKeysym(d, static_cast<KeyCode>(code), 0, 0);
        // Repeat count 1 in bits 0-15, the key code in the scan-code bits 16-23.
        message = {window, WM_KEYDOWN, virtualKey(sym), static_cast<std::intptr_t>(1u | (code << 16))};
        return true;
    }
    case ButtonPress: {
        // Buttons 4 to 7 are the wheel's steps, 8 and up the side buttons: not presses of the three.
        std::uint32_t number = 0;
        if (event.xbutton.button == Button1) number = WM_LBUTTONDOWN;
        else if (event.xbutton.button == Button2) number = WM_MBUTTONDOWN;
        else if (event.xbutton.button == Button3) number = WM_RBUTTONDOWN;
        if (number == 0) return false;
        message = {window, number, 0, pointParam(event.xbutton.x, event.xbutton.y)};
        return true;
    }
    case MotionNotify: {
        // The window procedure reads the cursor itself, so a run of queued motions is one message.
        XEvent next;
        while (XEventsQueued(d, QueuedAlready) > 0) {
            XPeekEvent(d, &next);
            if (next.type != MotionNotify || next.xmotion.window != event.xmotion.window) break;
            XNextEvent(d, &event);
        }
        message = {window, WM_MOUSEMOVE, 0, pointParam(event.xmotion.x, event.xmotion.y)};
        return true;
    }
    case FocusOut:
        if (!losesActivation(event.xfocus)) return false;
        message = {window, WM_ACTIVATE, 0 /* WA_INACTIVE */, 0};
        return true;
    case ClientMessage:
        if (event.xclient.message_type != x11::atom("WM_PROTOCOLS") || event.xclient.format != 32 ||
            static_cast<Atom>(event.xclient.data.l[0]) != x11::atom("WM_DELETE_WINDOW"))
            return false;
        message = {window, WM_CLOSE, 0, 0};
        return true;
    default:
        return false;
    }
}

// A stop request (SIGTERM, SIGINT) destroys every window of ours, as a close would.
void honourStopRequest() {
    if (stopHandled || !x11::stopRequested()) return;
    stopHandled = true;
    std::vector<platform::WindowHandle> live;
    for (const x11::WindowRecord& record : x11::windows())
        if (record.alive) live.push_back(record.id);
    for (platform::WindowHandle window : live) platform::destroyWindow(window);
}

}  // namespace

namespace x11 {

void dropMessagesFor(platform::WindowHandle window) {
    for (auto it = posted.begin(); it != posted.end();) {
        if (it->window == window) it = posted.erase(it);
        else ++it;
    }
}

}  // namespace x11

namespace platform {

bool peekMessage(Message& message) {
    for (;;) {
        honourStopRequest();
        if (!posted.empty()) {
            message = posted.front();
            posted.pop_front();
            return true;
        }
        if (quitPosted) {
            quitPosted = false;
            message = {0, WM_QUIT, static_cast<std::uintptr_t>(quitCode), 0};
            return true;
        }
        x11::retryGrabs();
        Display* d = x11::openedDisplay();
        // XPending sends what is buffered and reads what has arrived; it never waits.
        if (!d || XPending(d) == 0) return false;
        XEvent event;
        XNextEvent(d, &event);
        if (translateEvent(d, event, message)) return true;
    }
}

bool translateMessage(const Message& message) {
    if (message.message != WM_KEYDOWN) return false;
    Display* d = x11::openedDisplay();
    if (!d) return true;
    XKeyEvent key = {};
    key.type = KeyPress;
    key.display = d;
    key.keycode = static_cast<unsigned>((message.lParam >> 16) & 0xFF);
    key.state = keyState[key.keycode];
    char text[8];
    KeySym sym = 0;
    if (XLookupString(&key, text, sizeof text, &sym, nullptr) == 1)
        postMessage(message.window, WM_CHAR, static_cast<unsigned char>(text[0]), message.lParam);
    return true;
}

std::intptr_t dispatchMessage(const Message& message) {
    const x11::WindowRecord* record = x11::liveWindow(message.window);
    if (!record) return 0;
    return record->proc(message.window, message.message, message.wParam, message.lParam);
}

bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    // Window 0 posts to the thread's own queue.
    if (window != 0 && !x11::liveWindow(window)) return false;
    posted.push_back({window, message, wParam, lParam});
    return true;
}

std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    const x11::WindowRecord* record = x11::liveWindow(window);
    if (!record) return 0;
    return record->proc(window, message, wParam, lParam);
}

void postQuitMessage(std::int32_t exitCode) {
    quitPosted = true;
    quitCode = exitCode;
}

}  // namespace platform
