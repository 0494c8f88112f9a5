// The integration tests' X helper: a plain window for a preview or a hack to draw into, a check
// that no client holds the keyboard or pointer, a watch that reports new top-level windows, the
// cursor now shown, and the state of the server's own screen saver.
// Used by tests/integration/*.sh through lib.sh.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/scrnsaver.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int usage() {
    std::fputs("usage: xtesthost window WIDTH HEIGHT [X Y] | grabcheck | watch | cursor | saverstate\n", stderr);
    return 2;
}

// A grey window, so that a picture drawn into it shows as a change, with a blank cursor as a
// screen saver host's window has; prints its id, then waits until the process is killed (which
// destroys the window).
int hostWindow(Display* d, int width, int height, int x, int y) {
    const int screen = DefaultScreen(d);
    const unsigned long grey = 0x808080;
    const Window window =
        XCreateSimpleWindow(d, RootWindow(d, screen), x, y, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), 0, BlackPixel(d, screen), grey);
    XStoreName(d, window, "xtesthost");
    static const char empty[1] = {0};
    const Pixmap bits = XCreateBitmapFromData(d, window, empty, 1, 1);
    XColor black = {};
    XDefineCursor(d, window, XCreatePixmapCursor(d, bits, bits, &black, &black, 0, 0));
    XSelectInput(d, window, ExposureMask);
    XMapWindow(d, window);
    XSync(d, False);
    std::printf("%lu\n", window);
    std::fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(d, &event);
    }
}

int grabCheck(Display* d) {
    const Window root = DefaultRootWindow(d);
    const int keyboard = XGrabKeyboard(d, root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    const int pointer = XGrabPointer(d, root, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, None, None,
                                     CurrentTime);
    const bool free = keyboard == GrabSuccess && pointer == GrabSuccess;
    XUngrabKeyboard(d, CurrentTime);
    XUngrabPointer(d, CurrentTime);
    XSync(d, False);
    std::printf("keyboard %s, pointer %s\n", keyboard == GrabSuccess ? "free" : "grabbed",
                pointer == GrabSuccess ? "free" : "grabbed");
    return free ? 0 : 1;
}

int watch(Display* d) {
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, False);
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(d, &event);
        if (event.type == CreateNotify) std::printf("create 0x%lx\n", event.xcreatewindow.window);
        else if (event.type == MapNotify) std::printf("map 0x%lx\n", event.xmap.window);
        std::fflush(stdout);
    }
}

// Prints "hidden" when the cursor now shown has no visible pixel, else "shown WIDTHxHEIGHT".
int cursor(Display* d) {
    XFixesCursorImage* image = XFixesGetCursorImage(d);
    if (!image) return 2;
    int visible = 0;
    for (int i = 0; i < image->width * image->height; ++i)
        if ((image->pixels[i] >> 24) != 0) ++visible;
    if (visible == 0) std::printf("hidden\n");
    else std::printf("shown %dx%d\n", image->width, image->height);
    XFree(image);
    return 0;
}

// Prints the server's own screen saver's state: "on" (blanked), "off" or "disabled".
int saverState(Display* d) {
    int eventBase = 0, errorBase = 0;
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    if (!info || !XScreenSaverQueryExtension(d, &eventBase, &errorBase) ||
        !XScreenSaverQueryInfo(d, DefaultRootWindow(d), info))
        return 2;
    std::printf("%s\n", info->state == ScreenSaverOn ? "on" : info->state == ScreenSaverOff ? "off" : "disabled");
    XFree(info);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fputs("xtesthost: cannot open the X display\n", stderr);
        return 2;
    }
    if (std::strcmp(argv[1], "window") == 0 && (argc == 4 || argc == 6)) {
        const int x = argc == 6 ? std::atoi(argv[4]) : 0;
        const int y = argc == 6 ? std::atoi(argv[5]) : 0;
        return hostWindow(d, std::atoi(argv[2]), std::atoi(argv[3]), x, y);
    }
    if (std::strcmp(argv[1], "grabcheck") == 0) return grabCheck(d);
    if (std::strcmp(argv[1], "watch") == 0) return watch(d);
    if (std::strcmp(argv[1], "cursor") == 0) return cursor(d);
    if (std::strcmp(argv[1], "saverstate") == 0) return saverState(d);
    return usage();
}
