// X11 platform: the cursor. Position from XQueryPointer in root coordinates; the arrow is the
// left_ptr font cursor, and "no cursor" an empty one defined over the saver's windows. As a host's
// display mode it defines none, and its window shows its parent's.
// Pairs with host/platform.h (cursor).
#include <X11/cursorfont.h>

#include "host/platform/window_model.h"
#include "host/platform/x11_internal.h"
#include "host/saver_constants.h"

namespace {

Cursor arrow = None;
Cursor invisible = None;
platform::CursorHandle current = 0;
bool currentSet = false;
bool hostOwnsCursor = false;

Cursor invisibleCursor(Display* d) {
    if (invisible != None) return invisible;
    static const char empty[1] = {0};
    Pixmap bits = XCreateBitmapFromData(d, DefaultRootWindow(d), empty, 1, 1);
    XColor black = {};
    invisible = XCreatePixmapCursor(d, bits, bits, &black, &black, 0, 0);
    XFreePixmap(d, bits);
    return invisible;
}

}  // namespace

namespace x11 {

void leaveCursorToHost() { hostOwnsCursor = true; }

void applyCursor(Window window) {
    Display* d = openedDisplay();
    if (!d || !currentSet || hostOwnsCursor) return;
    XDefineCursor(d, window, current != 0 ? static_cast<Cursor>(current) : invisibleCursor(d));
}

}  // namespace x11

namespace x11 {

bool getCursorPos(Point& point) {
    Display* d = x11::display();
    if (!d) return false;
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
    unsigned mask = 0;
    XQueryPointer(d, DefaultRootWindow(d), &root, &child, &rootX, &rootY, &windowX, &windowY, &mask);
    point = {rootX, rootY};
    return true;
}

CursorHandle loadCursor(InstanceHandle instance, std::uintptr_t cursorId) {
    Display* d = x11::display();
    if (!d || instance != 0 || cursorId != IDC_ARROW) return 0;
    if (arrow == None) arrow = XCreateFontCursor(d, XC_left_ptr);
    return arrow;
}

CursorHandle setCursor(CursorHandle cursor) {
    const CursorHandle previous = current;
    current = cursor;
    currentSet = true;
    // The cursor belongs to the windows rather than to the thread: every live window of ours shows it.
    for (WindowHandle window : window_model::liveWindows()) x11::applyCursor(static_cast<Window>(window));
    if (Display* d = x11::openedDisplay()) XFlush(d);
    return previous;
}

}  // namespace x11
