// X11 platform: geometry. Window rectangles in root coordinates, the X screen's size, and the
// window in front as the window manager announces it. Pairs with host/platform.h (geometry).
#include <X11/Xatom.h>

#include "host/platform/x11_internal.h"
#include "host/saver_constants.h"

namespace x11 {

bool getWindowRect(WindowHandle window, Rect& rect) {
    rect = {0, 0, 0, 0};
    Display* d = x11::display();
    if (!d || window == 0) return false;
    XWindowAttributes attributes;
    Window child = 0;
    int x = 0, y = 0;
    x11::beginErrorTrap();
    const Status found = XGetWindowAttributes(d, static_cast<Window>(window), &attributes);
    const Bool translated = found && XTranslateCoordinates(d, static_cast<Window>(window), attributes.root, 0, 0,
                                                           &x, &y, &child);
    if (x11::endErrorTrap() != 0 || !found || !translated) return false;
    // The outer rectangle: the border is outside the window's own origin and size.
    const int border = attributes.border_width;
    rect = {x - border, y - border, x + attributes.width + border, y + attributes.height + border};
    return true;
}

std::int32_t getSystemMetrics(std::int32_t index) {
    Display* d = x11::display();
    if (!d) return 0;
    const int screen = DefaultScreen(d);
    // The X screen spans every monitor, so the virtual screen is the screen.
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
        return DisplayWidth(d, screen);
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
        return DisplayHeight(d, screen);
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN:
    default:
        return 0;
    }
}

WindowHandle getForegroundWindow() {
    Display* d = x11::display();
    if (!d) return 0;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    WindowHandle active = 0;
    x11::beginErrorTrap();
    const int status = XGetWindowProperty(d, DefaultRootWindow(d), x11::atom("_NET_ACTIVE_WINDOW"), 0, 1, False,
                                          XA_WINDOW, &type, &format, &count, &remaining, &data);
    x11::endErrorTrap();
    if (status == Success && type == XA_WINDOW && format == 32 && count == 1 && data)
        active = static_cast<WindowHandle>(*reinterpret_cast<unsigned long*>(data));
    if (data) XFree(data);
    return active;
}

}  // namespace x11
