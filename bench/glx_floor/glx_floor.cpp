// The floor of the benchmarks: opens a full-screen window with a double-buffered GLX context, clears
// it, presents one frame and exits; the saver's start-up is measured against this. With --run it
// goes on clearing and presenting 30 frames a second until SIGTERM or SIGINT, the least any
// full-screen picture at that rate costs: the saver's running cost is measured against that.
#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

volatile std::sig_atomic_t stopRequested = 0;
void requestStop(int) { stopRequested = 1; }

// Clears and presents on a fixed 30 a second grid of the monotonic clock until a stop signal.
void presentUntilStopped(Display* display, Window window) {
    std::signal(SIGTERM, requestStop);
    std::signal(SIGINT, requestStop);
    timespec next = {};
    clock_gettime(CLOCK_MONOTONIC, &next);
    const long periodNs = 1000000000L / 30;
    while (!stopRequested) {
        glClear(GL_COLOR_BUFFER_BIT);
        glXSwapBuffers(display, window);
        next.tv_nsec += periodNs;
        if (next.tv_nsec >= 1000000000L) {
            next.tv_nsec -= 1000000000L;
            ++next.tv_sec;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool run = argc > 1 && std::strcmp(argv[1], "--run") == 0;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "glx-floor: cannot open the X display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8, None};
    XVisualInfo* visual = glXChooseVisual(display, screen, attributes);
    if (!visual) {
        std::fprintf(stderr, "glx-floor: no double-buffered RGBA visual\n");
        return 1;
    }
    const Window root = RootWindow(display, screen);
    XSetWindowAttributes windowAttributes = {};
    windowAttributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    windowAttributes.override_redirect = True;
    windowAttributes.event_mask = ExposureMask;
    const unsigned width = static_cast<unsigned>(DisplayWidth(display, screen));
    const unsigned height = static_cast<unsigned>(DisplayHeight(display, screen));
    const Window window =
        XCreateWindow(display, root, 0, 0, width, height, 0, visual->depth, InputOutput, visual->visual,
                      CWColormap | CWOverrideRedirect | CWEventMask, &windowAttributes);
    GLXContext context = glXCreateContext(display, visual, nullptr, True);
    XMapRaised(display, window);
    glXMakeCurrent(display, window, context);
    glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glXSwapBuffers(display, window);
    if (run) presentUntilStopped(display, window);
    glFinish();
    glXMakeCurrent(display, None, nullptr);
    glXDestroyContext(display, context);
    XDestroyWindow(display, window);
    XFree(visual);
    XCloseDisplay(display);
    return 0;
}
