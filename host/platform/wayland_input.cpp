// Wayland platform: the seat's keyboard and pointer become the saver's messages (a key, the three
// buttons, motion), handed to the window model; the pointer is hidden over the saver's surfaces.
// Pairs with wayland_internal.h and host/platform.h (peekMessage, cursor).
#include <linux/input-event-codes.h>
#include <unistd.h>

#include "host/platform/wayland_internal.h"
#include "host/platform/window_model.h"
#include "host/saver_constants.h"

namespace wayland {

namespace {

struct Input {
    wl_keyboard* keyboard = nullptr;
    wl_pointer* pointer = nullptr;
    // Where the pointer is on the screen of outputRect, once it has been over a surface of ours.
    bool pointerKnown = false;
    platform::Point position = {0, 0};
    std::uint32_t enterSerial = 0;  // of the pointer's last entry, which setting its cursor needs
    wl_surface* entered = nullptr;  // the surface of ours the pointer is over, if any
    platform::CursorHandle cursor = 0;  // as last set: 0 hides it
};
Input input;

// The "arrow": the compositor's own cursor, which a surface shows while it sets none.
constexpr platform::CursorHandle kCompositorCursor = 1;

void post(std::uint32_t message, std::intptr_t lParam) {
    if (WindowRecord* window = saverWindow()) window_model::post(window->handle, message, 0, lParam);
}

// Client coordinates packed as the mouse messages carry them: x in the low 16 bits, y above.
std::intptr_t pointParam(platform::Point point) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(point.x) & 0xFFFFu) |
                                      ((static_cast<std::uint32_t>(point.y) & 0xFFFFu) << 16));
}

void applyCursor() {
    if (!input.pointer || !input.entered || input.cursor == kCompositorCursor) return;
    wl_pointer_set_cursor(input.pointer, input.enterSerial, nullptr, 0, 0);
}

// ---- keyboard -------------------------------------------------------------------------------------
void keymap(void*, wl_keyboard*, std::uint32_t, std::int32_t fd, std::uint32_t) { close(fd); }
// Keys already held down when the keyboard comes to a surface of ours were pressed before the saver.
void keyboardEnter(void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {}
void keyboardLeave(void*, wl_keyboard*, std::uint32_t, wl_surface*) {}
void key(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t state) {
    // The procedure only needs to know that a key was pressed.
    if (state == WL_KEYBOARD_KEY_STATE_PRESSED) post(WM_KEYDOWN, 0);
}
void modifiers(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {}
void repeatInfo(void*, wl_keyboard*, std::int32_t, std::int32_t) {}
const wl_keyboard_listener kKeyboardListener = {keymap, keyboardEnter, keyboardLeave, key, modifiers, repeatInfo};

// ---- pointer ------------------------------------------------------------------------------------------
// The position on the screen of surface-local coordinates on `shown`.
void moveTo(wl_surface* shown, wl_fixed_t x, wl_fixed_t y) {
    const Surface* surface = surfaceShowing(shown);
    if (!surface) return;
    const platform::Rect rect = outputRect(surface->output);
    input.position = {rect.left + wl_fixed_to_int(x), rect.top + wl_fixed_to_int(y)};
    input.pointerKnown = true;
}

void pointerEnter(void*, wl_pointer*, std::uint32_t serial, wl_surface* shown, wl_fixed_t x, wl_fixed_t y) {
    input.enterSerial = serial;
    input.entered = surfaceShowing(shown) ? shown : nullptr;
    applyCursor();
    moveTo(input.entered, x, y);
    // The first entry says where the pointer starts from; every later one is a motion like any other.
    if (input.entered) post(WM_MOUSEMOVE, pointParam(input.position));
}
void pointerLeave(void*, wl_pointer*, std::uint32_t, wl_surface*) { input.entered = nullptr; }
// Motion comes in the coordinates of the surface last entered.
void pointerMotion(void*, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
    if (!input.entered) return;
    moveTo(input.entered, x, y);
    post(WM_MOUSEMOVE, pointParam(input.position));
}
void pointerButton(void*, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t button, std::uint32_t state) {
    if (state != WL_POINTER_BUTTON_STATE_PRESSED) return;
    std::uint32_t number = 0;
    if (button == BTN_LEFT) number = WM_LBUTTONDOWN;
    else if (button == BTN_MIDDLE) number = WM_MBUTTONDOWN;
    else if (button == BTN_RIGHT) number = WM_RBUTTONDOWN;
    if (number != 0) post(number, pointParam(input.position));
}
void pointerAxis(void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {}
void pointerFrame(void*, wl_pointer*) {}
void pointerAxisSource(void*, wl_pointer*, std::uint32_t) {}
void pointerAxisStop(void*, wl_pointer*, std::uint32_t, std::uint32_t) {}
void pointerAxisDiscrete(void*, wl_pointer*, std::uint32_t, std::int32_t) {}
const wl_pointer_listener kPointerListener = {pointerEnter, pointerLeave,      pointerMotion,   pointerButton,
                                              pointerAxis,  pointerFrame,      pointerAxisSource, pointerAxisStop,
                                              pointerAxisDiscrete, nullptr};  // no axis_value120 below version 8

template <typename Device>
void releaseDevice(Device*& device, void (*releaseCall)(Device*), void (*destroyCall)(Device*), std::uint32_t since) {
    if (!device) return;
    if (wl_proxy_get_version(reinterpret_cast<wl_proxy*>(device)) >= since) releaseCall(device);
    else destroyCall(device);
    device = nullptr;
}

}  // namespace

void seatCapabilities(wl_seat* seat, std::uint32_t capabilities) {
    const bool keyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    const bool pointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
    if (keyboard && !input.keyboard) {
        input.keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(input.keyboard, &kKeyboardListener, nullptr);
    } else if (!keyboard) {
        releaseDevice(input.keyboard, wl_keyboard_release, wl_keyboard_destroy, WL_KEYBOARD_RELEASE_SINCE_VERSION);
    }
    if (pointer && !input.pointer) {
        input.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(input.pointer, &kPointerListener, nullptr);
    } else if (!pointer) {
        releaseDevice(input.pointer, wl_pointer_release, wl_pointer_destroy, WL_POINTER_RELEASE_SINCE_VERSION);
        input.entered = nullptr;
    }
}

void forgetInput() {
    releaseDevice(input.keyboard, wl_keyboard_release, wl_keyboard_destroy, WL_KEYBOARD_RELEASE_SINCE_VERSION);
    releaseDevice(input.pointer, wl_pointer_release, wl_pointer_destroy, WL_POINTER_RELEASE_SINCE_VERSION);
    input = Input();
}

bool peekMessage(Message& message) {
    if (window_model::take(message)) return true;
    dispatchWaiting();
    return window_model::take(message);
}

// Unknown until the pointer has been over a surface of ours: a client learns where it is only then.
bool getCursorPos(Point& point) {
    if (!input.pointerKnown) return false;
    point = input.position;
    return true;
}

CursorHandle loadCursor(InstanceHandle instance, std::uintptr_t cursorId) {
    return instance == 0 && cursorId == IDC_ARROW ? kCompositorCursor : 0;
}

CursorHandle setCursor(CursorHandle cursor) {
    const CursorHandle previous = input.cursor;
    input.cursor = cursor;
    applyCursor();
    return previous;
}

}  // namespace wayland
