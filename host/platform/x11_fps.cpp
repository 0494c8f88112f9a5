// X11 platform: the measured frame rate drawn in a corner of the picture (the -fps option), with a
// core X font turned into GL display lists. Drawn after the frame, before the swap. Pairs with
// x11_internal.h and x11_glx.cpp (drawFrameOverlay).
#include <GL/gl.h>

#include <cstdio>

#include "host/platform/x11_internal.h"

namespace x11 {

namespace {

constexpr int kFirstGlyph = 32;  // the printable ASCII range
constexpr int kGlyphCount = 96;
constexpr double kMeasureSeconds = 1.0;

bool enabled = false;
GLXContext listsContext = nullptr;  // the context that owns the glyph lists
GLuint listBase = 0;
int glyphHeight = 0;
int glyphWidth = 0;
bool fontUnavailable = false;

double frameStart = -1.0;
int frames = 0;
char text[32] = "";

double nowSeconds() { return static_cast<double>(linux_platform::monotonicNs()) * 1e-9; }

bool prepareFont(Display* d, GLXContext context) {
    if (listsContext == context && listBase != 0) return true;
    if (fontUnavailable) return false;
    XFontStruct* font = XLoadQueryFont(d, "fixed");
    if (!font) {
        fontUnavailable = true;
        return false;
    }
    listBase = glGenLists(kGlyphCount);
    if (listBase != 0) {
        glXUseXFont(font->fid, kFirstGlyph, kGlyphCount, static_cast<int>(listBase));
        listsContext = context;
        glyphHeight = font->ascent + font->descent;
        glyphWidth = font->max_bounds.width;
    }
    XFreeFont(d, font);
    return listBase != 0;
}

void measure() {
    const double now = nowSeconds();
    if (frameStart < 0) {
        frameStart = now;
        std::snprintf(text, sizeof text, "FPS: --");
        return;
    }
    ++frames;
    const double elapsed = now - frameStart;
    if (elapsed >= kMeasureSeconds) {
        std::snprintf(text, sizeof text, "FPS: %.1f", frames / elapsed);
        frames = 0;
        frameStart = now;
    }
}

}  // namespace

void setShowFps(bool show) { enabled = show; }

void drawFpsOverlay(Display* d, GLXContext context) {
    if (!enabled || !context) return;
    measure();
    if (!prepareFont(d, context)) return;

    GLint viewport[4] = {0, 0, 1, 1};
    glGetIntegerv(GL_VIEWPORT, viewport);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, viewport[2], 0, viewport[3], -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_FOG);
    for (int plane = 0; plane < 6; ++plane) glDisable(GL_CLIP_PLANE0 + plane);

    int length = 0;
    while (text[length] != '\0') ++length;
    const int margin = 4;
    // A dark plate under the text keeps it readable over bright sprites.
    glColor3f(0.0f, 0.0f, 0.0f);
    glRecti(0, 0, 2 * margin + length * glyphWidth, 2 * margin + glyphHeight);
    glColor3f(1.0f, 1.0f, 0.0f);
    glRasterPos2i(margin, margin + glyphHeight / 4);
    glListBase(listBase - kFirstGlyph);
    glCallLists(length, GL_UNSIGNED_BYTE, text);

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();  // the matrix mode too
}

void forgetFpsContext(GLXContext context) {
    if (context != listsContext) return;
    listsContext = nullptr;
    listBase = 0;
}

}  // namespace x11
