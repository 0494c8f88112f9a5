// The start-up floor: opens a full-screen window with a double-buffered GLX context, clears it,
// presents one frame and exits. The saver's start-up is measured against this.
#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cstdio>

int main() {
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
    glFinish();
    glXMakeCurrent(display, None, nullptr);
    glXDestroyContext(display, context);
    XDestroyWindow(display, window);
    XFree(visual);
    XCloseDisplay(display);
    return 0;
}
