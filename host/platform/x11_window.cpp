// X11 platform: the saver's X windows: creation with a GL-capable visual, showing (full screen: above
// everything, keyboard and pointer grabbed), destruction. Classes, lifetime and messages are the
// window model's. Pairs with host/platform.h; the records are declared in x11_internal.h.
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/platform/window_model.h"
#include "host/platform/x11_internal.h"
#include "host/saver_constants.h"

namespace x11 {

namespace {

// A refused grab (another client holds one, e.g. a menu that was open) is tried again for this long.
constexpr std::uint32_t kGrabRetryMs = 2000;

bool tryGrabs(Display* d, WindowRecord& record) {
    const int keyboard = XGrabKeyboard(d, record.id, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    const int pointer = XGrabPointer(d, record.id, False, ButtonPressMask | PointerMotionMask, GrabModeAsync,
                                     GrabModeAsync, None, None, CurrentTime);
    record.grabbed = keyboard == GrabSuccess && pointer == GrabSuccess;
    return record.grabbed;
}

// Both, even after a half-refused grab that left one of them held.
void releaseGrabs(Display* d, WindowRecord& record) {
    if (!record.topLevel || !record.mapped) return;
    XUngrabKeyboard(d, CurrentTime);
    XUngrabPointer(d, CurrentTime);
    record.grabbed = false;
}

void nameWindow(Display* d, Window window, const char* title) {
    XStoreName(d, window, title);
    const std::size_t length = std::strlen(title);
    XChangeProperty(d, window, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title), static_cast<int>(length));
    XClassHint hint;
    char name[] = "morvane";
    char className[] = "Morvane";
    hint.res_name = name;
    hint.res_class = className;
    XSetClassHint(d, window, &hint);
}

// Where a new window goes: into the root window of the default screen (full screen), or into the
// given parent, on the parent's screen and at its depth (a child).
struct Placement {
    Window parent = 0;
    int screen = 0;
    int depth = 0;
};

// False for a child whose parent names no window (0 included): nothing is created then, quietly.
bool findPlacement(Display* d, bool child, platform::WindowHandle parent, Placement& place) {
    place.screen = DefaultScreen(d);
    place.parent = RootWindow(d, place.screen);
    place.depth = DefaultDepth(d, place.screen);
    if (!child) return true;
    if (parent == 0) return false;
    XWindowAttributes attributes;
    beginErrorTrap();
    const Status found = XGetWindowAttributes(d, static_cast<Window>(parent), &attributes);
    if (endErrorTrap() != 0 || !found) return false;
    place.parent = static_cast<Window>(parent);
    place.screen = XScreenNumberOfScreen(attributes.screen);
    place.depth = attributes.depth;
    return true;
}

// The visual and colormap of the record's GL configuration, set into `attributes`; a record whose
// configuration has no visual keeps none and the window takes its parent's.
void chooseVisual(Display* d, Window root, WindowRecord& record, XSetWindowAttributes& attributes,
                  unsigned long& mask, Visual*& visual, int& depth) {
    XVisualInfo* info = record.config ? glXGetVisualFromFBConfig(d, record.config) : nullptr;
    if (!info) {
        record.config = nullptr;
        return;
    }
    visual = info->visual;
    depth = info->depth;
    record.visualId = info->visualid;
    record.colormap = XCreateColormap(d, root, info->visual, AllocNone);
    attributes.colormap = record.colormap;
    mask |= CWColormap;
    XFree(info);
}

// The X window of `record` (its size already set) at x, y in `place`; fills in its id and parent.
bool createXWindow(Display* d, const Placement& place, std::int32_t x, std::int32_t y, WindowRecord& record) {
    const Window root = RootWindow(d, place.screen);
    XSetWindowAttributes attributes = {};
    unsigned long mask = CWBackPixel | CWBorderPixel | CWEventMask | CWOverrideRedirect;
    attributes.background_pixel = BlackPixel(d, place.screen);
    attributes.border_pixel = 0;
    // The full-screen window sits above every other window, outside the window manager's reach.
    // A drawing surface on the root window (a hack run without a window of its own) stays unmanaged
    // too, so that no frame or title bar is put around the desktop's background.
    attributes.override_redirect = record.topLevel || place.parent == root;
    // A child window asks for no input at all: clicks and keys go on to the window it shows in.
    attributes.event_mask = StructureNotifyMask;
    if (record.topLevel)
        attributes.event_mask |= KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask;
    Visual* visual = CopyFromParent;
    int depth = CopyFromParent;
    chooseVisual(d, root, record, attributes, mask, visual, depth);

    beginErrorTrap();
    const Window window = XCreateWindow(d, place.parent, x, y, static_cast<unsigned>(record.width),
                                        static_cast<unsigned>(record.height), 0, depth, InputOutput, visual, mask,
                                        &attributes);
    if (endErrorTrap() != 0 || window == 0) {
        // The parent can vanish between the requests above.
        if (record.colormap) XFreeColormap(d, record.colormap);
        return false;
    }
    record.id = window;
    record.parent = place.parent;
    return true;
}

void hide(Display* d, WindowRecord& record) {
    if (record.mapped) XUnmapWindow(d, record.id);
    releaseGrabs(d, record);
    record.mapped = false;
    XFlush(d);
}

// Maps the window: full screen above everything with the input focus, a drawing surface on the root
// window beneath every other window. False when the window is gone on the server.
bool mapWindow(Display* d, WindowRecord& record) {
    beginErrorTrap();
    XMapRaised(d, record.id);
    if (record.topLevel) {
        // An override-redirect window gets the focus only when it takes it. Focus first, so that
        // a later loss of focus can be told from the grab's own focus events.
        XSetInputFocus(d, record.id, RevertToPointerRoot, CurrentTime);
    } else {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (XQueryTree(d, record.id, &root, &parent, &children, &count) && parent == root) XLowerWindow(d, record.id);
        if (children) XFree(children);
    }
    if (endErrorTrap() != 0) return false;
    record.mapped = true;
    return true;
}

// The keyboard and the pointer for a full-screen window; a refused grab is tried again for a while
// (retryGrabs, from peekMessage).
void takeInput(Display* d, WindowRecord& record) {
    if (!tryGrabs(d, record)) record.grabUntil = platform::getTickCount() + kGrabRetryMs;
}

}  // namespace

// The window model lets a window go after its WM_DESTROY: the X window and what it held go with it.
void release(platform::WindowHandle window) {
    WindowRecord* record = findWindow(window);
    Display* d = openedDisplay();
    if (!record) return;
    if (d) {
        releaseGrabs(d, *record);
        beginErrorTrap();
        if (!record->gone) XDestroyWindow(d, record->id);
        if (record->colormap) XFreeColormap(d, record->colormap);
        endErrorTrap();
    }
    delete record;
}

WindowRecord* findWindow(platform::WindowHandle window) {
    return static_cast<WindowRecord*>(window_model::native(window));
}

WindowRecord* liveWindow(platform::WindowHandle window) {
    return window_model::alive(window) ? findWindow(window) : nullptr;
}

void windowVanished(platform::WindowHandle window) {
    WindowRecord* record = findWindow(window);
    if (!record) return;
    record->gone = true;
    window_model::destroy(window);
}

void retryGrabs() {
    Display* d = openedDisplay();
    if (!d) return;
    const std::uint32_t now = platform::getTickCount();
    for (platform::WindowHandle window : window_model::liveWindows()) {
        WindowRecord* record = findWindow(window);
        if (!record || !record->topLevel || !record->mapped || record->grabbed) continue;
        if (static_cast<std::int32_t>(record->grabUntil - now) <= 0) continue;
        tryGrabs(d, *record);
    }
}


bool registerClass(const WindowClass& windowClass) {
    // The classes live in this process, but a class is of no use without a display, so its absence
    // is reported here, where the host tells the user that the saver cannot start.
    if (!x11::display()) return false;
    window_model::setReleaseHook(x11::release);
    return window_model::registerClass(windowClass.className, windowClass.windowProc);
}

WindowHandle createWindow(std::uint32_t /*exStyle*/, const char* className, const char* title, std::uint32_t style,
                          std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          WindowHandle parent, InstanceHandle /*instance*/) {
    const WindowProc proc = window_model::classProc(className);
    Display* d = x11::display();
    if (!proc || !d) return 0;

    const bool child = (style & WS_CHILD) != 0;
    x11::Placement place;
    if (!x11::findPlacement(d, child, parent, place)) return 0;
    x11::WindowRecord record;
    record.topLevel = !child;
    record.config = x11::chooseWindowConfig(d, place.screen, place.depth);
    record.width = width > 0 ? width : 1;
    record.height = height > 0 ? height : 1;
    if (!x11::createXWindow(d, place, x, y, record)) return 0;
    record.sizeCheckedAt = platform::getTickCount();
    if (!child) record.monitors = x11::monitorList();
    x11::nameWindow(d, record.id, title ? title : "");
    if (!child) {
        Atom deleteWindow = x11::atom("WM_DELETE_WINDOW");
        XSetWMProtocols(d, record.id, &deleteWindow, 1);
    }
    const Window window = record.id;
    if (!window_model::create(window, proc, child ? parent : 0, new x11::WindowRecord(record))) return 0;
    // WS_VISIBLE is honoured by showWindow, which the host calls once the picture is ready: a
    // message box about a failed set-up must not end up hidden under the full-screen window.
    return window;
}

bool showWindow(WindowHandle window, std::int32_t showCommand) {
    x11::WindowRecord* record = x11::liveWindow(window);
    Display* d = x11::openedDisplay();
    if (!record || !d) return false;
    const bool wasVisible = record->mapped;
    if (showCommand == 0) {  // SW_HIDE
        x11::hide(d, *record);
        return wasVisible;
    }
    if (!record->mapped) {
        // Shown means set up (the stop signal's path: linux_signals.cpp).
        linux_platform::deferStop();
        // The window may be gone already (a preview whose parent went away): its DestroyNotify ends the run.
        if (!x11::mapWindow(d, *record)) return wasVisible;
        if (record->topLevel) x11::takeInput(d, *record);
    }
    // The system asks the window for its cursor when the pointer comes over it; here once, on showing.
    sendMessage(window, WM_SETCURSOR, window, 1 /* HTCLIENT */ | (static_cast<std::intptr_t>(WM_MOUSEMOVE) << 16));
    XFlush(d);
    return wasVisible;
}

bool takeNewWindowSize(WindowHandle window, std::int32_t& width, std::int32_t& height) {
    x11::WindowRecord* record = x11::liveWindow(window);
    Display* d = x11::openedDisplay();
    if (!record || !d) return false;
    // Each look is a round trip to the server: a few a second are enough to follow a drag.
    const std::uint32_t now = getTickCount();
    if (now - record->sizeCheckedAt < x11::kSizeCheckIntervalMs) return false;
    record->sizeCheckedAt = now;

    // A full-screen window follows the screen (the root window), a child the window it shows in.
    XWindowAttributes attributes;
    x11::beginErrorTrap();
    const Status found = XGetWindowAttributes(d, record->topLevel ? DefaultRootWindow(d) : record->parent, &attributes);
    // Gone: its DestroyNotify ends the run.
    if (x11::endErrorTrap() != 0 || !found || attributes.width <= 0 || attributes.height <= 0) return false;
    std::vector<Rect> monitors;
    if (record->topLevel) monitors = x11::monitorList();
    const bool monitorsChanged = record->topLevel && !x11::sameRects(monitors, record->monitors);
    if (attributes.width == record->width && attributes.height == record->height && !monitorsChanged) return false;

    record->width = attributes.width;
    record->height = attributes.height;
    record->monitors = monitors;
    x11::beginErrorTrap();
    XResizeWindow(d, record->id, static_cast<unsigned>(record->width), static_cast<unsigned>(record->height));
    x11::endErrorTrap();
    width = record->width;
    height = record->height;
    return true;
}

}  // namespace x11
