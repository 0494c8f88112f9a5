// The floor of the benchmarks: opens a full-screen window with a double-buffered GLX context, clears
// it, presents one frame and exits; the saver's start-up is measured against this. With --run it
// goes on clearing and presenting 30 frames a second until SIGTERM or SIGINT, the least any
// full-screen picture at that rate costs: the saver's running cost is measured against that.
//
// The drawing floors, what a software rasterizer asks of any program that draws a picture like the
// saver's, beyond the clear:
//   --textured     a texture of the sprite sheet's size (1024x1024 RGBA) uploaded before the first
//                  frame, and one small triangle drawn from it in every frame: the rasterizer's
//                  shading machinery loaded and the picture resident, nothing more.
//   --lay PIXELS   also, every frame, PIXELS pixels laid from a texture of the size the copied
//                  wedges' field takes at 1920x1080 (1105x732), one nearest-sampled, unblended
//                  triangle per wedge of 24 around the centre: the copies' cost alone.
#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

volatile std::sig_atomic_t stopRequested = 0;
void requestStop(int) { stopRequested = 1; }

constexpr int kFieldWidth = 1105, kFieldHeight = 732;

struct Drawing {
    GLuint picture = 0;  // --textured
    GLuint field = 0;  // --lay
    double layRadius = 0.0;  // of the disc of the laid pixels
};

// A texture of WIDTHxHEIGHT RGBA filled with a pattern, uploaded from a buffer freed afterwards.
GLuint uploadTexture(int width, int height, GLint filter) {
    std::vector<unsigned> pixels(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned>(i) * 2654435761u;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return texture;
}

// After the clear: what the drawing floors draw in a frame (nothing for the plain floor).
void draw(const Drawing& drawing) {
    if (!drawing.picture) return;
    glEnable(GL_TEXTURE_2D);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBindTexture(GL_TEXTURE_2D, drawing.picture);
    glBegin(GL_TRIANGLES);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-50.0f, -50.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(50.0f, -50.0f);
    glTexCoord2f(0.5f, 1.0f);
    glVertex2f(0.0f, 50.0f);
    glEnd();
    if (drawing.field) {
        // Texel for pixel, as the copies lay the field: the wedge opens along +x in the texture.
        constexpr int kWedges = 24;
        const double step = 2.0 * M_PI / kWedges, r = drawing.layRadius;
        const double s = r * std::cos(0.5 * step) / kFieldWidth, t = r * std::sin(0.5 * step) / kFieldHeight;
        glBindTexture(GL_TEXTURE_2D, drawing.field);
        glBegin(GL_TRIANGLES);
        for (int k = 0; k < kWedges; ++k) {
            glTexCoord2d(0.0, 0.5);
            glVertex2d(0.0, 0.0);
            glTexCoord2d(s, 0.5 - t);
            glVertex2d(r * std::cos(k * step), r * std::sin(k * step));
            glTexCoord2d(s, 0.5 + t);
            glVertex2d(r * std::cos((k + 1) * step), r * std::sin((k + 1) * step));
        }
        glEnd();
    }
    glDisable(GL_TEXTURE_2D);
}

// Clears and presents on a fixed 30 a second grid of the monotonic clock until a stop signal.
void presentUntilStopped(Display* display, Window window, const Drawing& drawing) {
    std::signal(SIGTERM, requestStop);
    std::signal(SIGINT, requestStop);
    timespec next = {};
    clock_gettime(CLOCK_MONOTONIC, &next);
    const long periodNs = 1000000000L / 30;
    while (!stopRequested) {
        glClear(GL_COLOR_BUFFER_BIT);
        draw(drawing);
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
    bool run = false, textured = false;
    long layPixels = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--run") == 0) {
            run = true;
        } else if (std::strcmp(argv[i], "--textured") == 0) {
            textured = true;
        } else if (std::strcmp(argv[i], "--lay") == 0 && i + 1 < argc && std::atol(argv[i + 1]) > 0) {
            textured = true;
            layPixels = std::atol(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: glx-floor [--run] [--textured] [--lay PIXELS]\n");
            return 2;
        }
    }
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
    Drawing drawing;
    if (textured) {
        // In window pixels about the centre.
        glMatrixMode(GL_PROJECTION);
        glOrtho(-0.5 * width, 0.5 * width, -0.5 * height, 0.5 * height, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        drawing.picture = uploadTexture(1024, 1024, GL_LINEAR);
        if (layPixels > 0) {
            drawing.field = uploadTexture(kFieldWidth, kFieldHeight, GL_NEAREST);
            // The 24 triangles cover 12 sin(15 degrees) r^2 pixels; on screen up to about 900 000 at 1080p.
            drawing.layRadius = std::sqrt(layPixels / (12.0 * std::sin(M_PI / 12.0)));
        }
    }
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    draw(drawing);
    glXSwapBuffers(display, window);
    if (run) presentUntilStopped(display, window, drawing);
    glFinish();
    glXMakeCurrent(display, None, nullptr);
    glXDestroyContext(display, context);
    XDestroyWindow(display, window);
    XFree(visual);
    XCloseDisplay(display);
    return 0;
}
