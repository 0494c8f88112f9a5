// X11 platform: the monitors of the X screen, from RandR's monitor list (RandR 1.5) or, where the
// server has none, from Xinerama's screens. Pairs with host/platform.h (getMonitorRects).
#include "host/platform/x11_internal.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

namespace {

// Each source returns how many monitors it knows (0: it cannot tell) and fills at most `capacity`.
std::int32_t randrMonitors(Display* d, platform::Rect* rects, std::int32_t capacity) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(d, &eventBase, &errorBase) || !XRRQueryVersion(d, &major, &minor)) return 0;
    if (major < 1 || (major == 1 && minor < 5)) return 0;
    int count = 0;
    x11::beginErrorTrap();
    // Active monitors only: a monitor whose outputs are all off shows nothing.
    XRRMonitorInfo* monitors = XRRGetMonitors(d, DefaultRootWindow(d), True, &count);
    const int error = x11::endErrorTrap();
    if (!monitors) return 0;
    if (error != 0 || count < 0) count = 0;
    for (int i = 0; rects && i < count && i < capacity; ++i)
        rects[i] = {monitors[i].x, monitors[i].y, monitors[i].x + monitors[i].width,
                    monitors[i].y + monitors[i].height};
    XRRFreeMonitors(monitors);
    return count;
}

std::int32_t xineramaScreens(Display* d, platform::Rect* rects, std::int32_t capacity) {
    int eventBase = 0, errorBase = 0;
    if (!XineramaQueryExtension(d, &eventBase, &errorBase) || !XineramaIsActive(d)) return 0;
    int count = 0;
    XineramaScreenInfo* screens = XineramaQueryScreens(d, &count);
    if (!screens) return 0;
    if (count < 0) count = 0;
    for (int i = 0; rects && i < count && i < capacity; ++i)
        rects[i] = {screens[i].x_org, screens[i].y_org, screens[i].x_org + screens[i].width,
                    screens[i].y_org + screens[i].height};
    XFree(screens);
    return count;
}

}  // namespace

namespace x11 {

std::vector<platform::Rect> monitorList() {
    constexpr std::int32_t kMost = 64;
    platform::Rect rects[kMost];
    const std::int32_t count = platform::getMonitorRects(rects, kMost);
    return std::vector<platform::Rect>(rects, rects + (count < kMost ? count : kMost));
}

bool sameRects(const std::vector<platform::Rect>& a, const std::vector<platform::Rect>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].left != b[i].left || a[i].top != b[i].top || a[i].right != b[i].right || a[i].bottom != b[i].bottom)
            return false;
    return true;
}

}  // namespace x11

namespace x11 {

std::int32_t getMonitorRects(Rect* rects, std::int32_t capacity) {
    Display* d = x11::display();
    if (!d) return 0;
    const std::int32_t count = randrMonitors(d, rects, capacity);
    return count > 0 ? count : xineramaScreens(d, rects, capacity);
}

}  // namespace x11
