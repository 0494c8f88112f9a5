// The Scene's set-up, frame composition and tear-down. Pairs with scene.h; the clock is in
// frame_clock.cpp, the layouts in mirror_config.cpp and mirror_choice.cpp, the drawing through the
// mirrors in kaleidoscope.cpp.
#include "scene/scene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <new>

#include "scene/frame_flags.h"
#include "scene/random.h"
#include "scene/scene_seed.h"
#include "sprites/sprite_field.h"

// The pacing fields (targetFps, pauseMs, framesPerSecond) and mirrorsOn start at scene.h's values;
// the clock start then sets framesPerSecond to its measuring value.
Scene::Scene(std::int32_t width, std::int32_t height, WithoutGraphics) {
    seedRandom(static_cast<std::uint32_t>(sceneSeed()));
    nextRandom();
    this->width = width;
    this->height = height;
    for (std::int32_t k = 0; k < 8; ++k) buildMirrorConfig(mirrorConfigs[k], tableWedgeAngle(k));
    pickRandomMirrorConfig(false);
    startClock();
    // Everything the sprite field draws at creation follows the two draws above.
    spriteField = new (std::nothrow) SpriteField(this);
}

// The logic-only construction comes first; none of the GL set-up below draws a random value or
// reads the clock, so the order of the two halves is not visible.
Scene::Scene(std::int32_t width, std::int32_t height) : Scene(width, height, WithoutGraphics{}) {
    setViewport(0, 0, width, height);

    if (spriteField) spriteField->setUp();

    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    mirrorDrawing = mirrorDrawingForContext();
}

Scene::~Scene() {
    delete wedgeCopies;
    wedgeCopies = nullptr;
    delete spriteField;
    spriteField = nullptr;
}

void Scene::advance() {
    updateClock();
    if (spriteField) spriteField->advance();
}

void Scene::setViewport(std::int32_t x, std::int32_t y, std::int32_t viewportWidth, std::int32_t viewportHeight) {
    glViewport(x, y, viewportWidth, viewportHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A window with no height or no width (a collapsed preview) would make the aspect ratio infinite
    // or zero, and the projection with it: take each side as at least one pixel.
    const double aspect = static_cast<double>(viewportWidth > 0 ? viewportWidth : 1) /
                          static_cast<double>(viewportHeight > 0 ? viewportHeight : 1);
    gluPerspective(90.0, aspect, 1.0, 20.0);
    // The matrix mode for the rest of the run.
    glMatrixMode(GL_MODELVIEW);
}

void Scene::resize(std::int32_t newWidth, std::int32_t newHeight) {
    width = newWidth > 0 ? newWidth : 0;
    height = newHeight > 0 ? newHeight : 0;
    setViewport(0, 0, width, height);
}

const MirrorConfig& Scene::beginFrame(std::int32_t flags) {
    if (!spriteField || spriteField->supportsMirrors()) mirrorsOn = (flags & kMirrorFlag) != 0;
    ++frameNumber;
    advance();
    // A transition that the drift started during this advance is drawn already, at its first angle.
    return configToDraw();
}

// The one owner of a frame's drawing. The drawable is cleared once, here: before anything is drawn,
// or, where the copies draw their field into a texture of their own, only after the first field is
// there, so that the rasterizer clears and draws the window in one pass instead of storing the clear
// alone when the copies switch framebuffers. Every step sets the state it draws with; what the frame
// changes is saved here and put back once, after the last viewport.
void Scene::drawFrame(const MirrorConfig& config, const SceneViewport* viewports, std::int32_t count) {
    const SceneViewport whole = {0, 0, width, height};
    if (!viewports || count <= 0) {
        viewports = &whole;
        count = 1;
    }
    WedgeCopies* copies = nullptr;
    if (mirrorsOn && mirrorDrawing == MirrorDrawing::Copies) {
        if (!wedgeCopies) wedgeCopies = new (std::nothrow) WedgeCopies(windowReadable);
        copies = wedgeCopies;
    }
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_PIXEL_MODE_BIT | GL_POLYGON_BIT |
                 GL_SCISSOR_BIT | GL_TEXTURE_BIT | GL_TRANSFORM_BIT);
    glDrawBuffer(GL_BACK);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, 5.5, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    bool cleared = false;
    const auto clearOnce = [&cleared] {
        if (!cleared) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        cleared = true;
    };
    if (copies) copies->fitTextures(viewports, count, frameNumber);
    // Drawn into the window's corner, the field needs the window cleared first.
    if (!copies || copies->surface() != WedgeCopies::Surface::Framebuffer) clearOnce();
    for (std::int32_t i = 0; i < count; ++i) {
        const SceneViewport& v = viewports[i];
        if (v.width <= 0 || v.height <= 0) continue;
        setViewport(v.x, v.y, v.width, v.height);
        const bool copied = copies && spriteField && copies->drawField(*spriteField, config);
        clearOnce();
        if (copied) setViewport(v.x, v.y, v.width, v.height);
        drawKaleidoscope(config, copied ? copies : nullptr);
    }
    clearOnce();
    glPopAttrib();
    setViewport(0, 0, width, height);
    glFlush();
}

bool Scene::render(std::int32_t flags) { return renderViewports(flags, nullptr, 0); }

bool Scene::renderViewports(std::int32_t flags, const SceneViewport* viewports, std::int32_t count) {
    drawFrame(beginFrame(flags), viewports, count);
    return true;
}
