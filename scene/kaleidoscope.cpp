// Drawing the sprite field through the mirrors: one pair of wedges per step around the centre, the
// second of each pair mirrored, each clipped to its wedge by two user clip planes. Where the scene
// draws from copies (wedge_copies.cpp), the clip planes draw only the wedges that the copies leave
// and the logo band's rectangle. Pairs with scene.h and mirror_config.h.
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <new>

#include "scene/scene.h"
#include "sprites/sprite_field.h"

namespace {

// A range of screen angles about the centre, degrees counter-clockwise from +x: from `from`, `span` wide.
struct AngleRange {
    double from = 0.0;
    double span = 360.0;

    // Whether the wedge from `start` degrees, `width` wide, meets the range.
    bool meets(double start, double width) const {
        const double offset = std::fmod(std::fmod(start - from, 360.0) + 360.0, 360.0);
        return offset < span || offset + width > 360.0;
    }
};

// The screen angles the logo band covers, with two degrees to spare for the pixel around it. The
// band lies off the centre, below and to the right of it, so its corners bound the range.
AngleRange bandAngles() {
    double least = 360.0, most = 0.0;
    for (const double sx : {-1.0, 1.0}) {
        for (const double sy : {-1.0, 1.0}) {
            const double a = std::atan2(kBandCentre[1] + sy * kBandHalfHeight, kBandCentre[0] + sx * kBandHalfWidth);
            const double degrees = a / kRadiansPerDegree + (a < 0.0 ? 360.0 : 0.0);
            least = std::min(least, degrees);
            most = std::max(most, degrees);
        }
    }
    return AngleRange{least - 2.0, most - least + 4.0};
}

// Wedge w covers 270 + w * wedgeAngle to 270 + (w + 1) * wedgeAngle degrees; step i draws wedge i
// and its mirror image i - 1. Only the wedges from `firstWedge` on that meet `only` are drawn, and
// with `within` (the scissor's box) only the sprites that may reach it.
void drawWedges(Scene& scene, const MirrorConfig& config, std::int32_t firstWedge, const AngleRange& only,
                const std::int32_t* within = nullptr) {
    SpriteField* field = scene.spriteField;
    const bool mirrorsOn = scene.mirrorsOn;
    const auto wanted = [&](std::int32_t wedge) {
        return wedge >= firstWedge && only.meets(270.0 + wedge * config.wedgeAngle, config.wedgeAngle);
    };
    if (mirrorsOn) {
        glEnable(GL_CLIP_PLANE0);
        glEnable(GL_CLIP_PLANE1);
    }
    // Whole pairs: an odd count during a transition draws one wedge past segmentCount.
    for (std::int32_t i = 0; i < config.segmentCount || i == 0; i += 2) {
        glPushMatrix();
        // Counter-clockwise on screen: the camera looks down the negative z axis.
        glRotatef(static_cast<float>(i) * config.wedgeAngle, 0.0f, 0.0f, 1.0f);
        // The planes are loaded after the rotation, so they turn with this step.
        glFrontFace(GL_CCW);
        glClipPlane(GL_CLIP_PLANE0, config.clipStart);
        glClipPlane(GL_CLIP_PLANE1, config.clipEnd);
        if (field && (!mirrorsOn || wanted(i))) field->drawSprites(within);
        if (mirrorsOn && wanted(i - 1)) {
            // The reflection across the rotated downward axis; it reverses every quad's winding.
            glScalef(-1.0f, 1.0f, 1.0f);
            glFrontFace(GL_CW);
            glClipPlane(GL_CLIP_PLANE0, config.clipStart);
            glClipPlane(GL_CLIP_PLANE1, config.clipEnd);
            if (field) field->drawSprites(within);
        }
        glPopMatrix();
        if (!mirrorsOn) break;
    }
    glDisable(GL_CLIP_PLANE0);
    glDisable(GL_CLIP_PLANE1);
    glFrontFace(GL_CCW);
}

void drawThroughClipPlanes(Scene& scene, const MirrorConfig& config, const AngleRange& only,
                           const std::int32_t* within = nullptr) {
    SpriteField* field = scene.spriteField;
    glPushMatrix();
    // The logo band goes first: before any clip plane and outside the rotations.
    if (field) field->beginDraw();
    drawWedges(scene, config, -1, only, within);
    glPopMatrix();
    if (field) field->endDraw();
}

// Clears the logo band's rectangle, with a pixel to spare, in the current viewport, and leaves the
// scissor on around it. `box` takes the rectangle: x, y, width, height.
void clearBandRectangle(std::int32_t* box) {
    GLdouble modelview[16], projection[16];
    GLint v[4] = {0, 0, 0, 0};
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, v);
    double left = 1e9, right = -1e9, bottom = 1e9, top = -1e9;
    for (const double sx : {-1.0, 1.0}) {
        for (const double sy : {-1.0, 1.0}) {
            GLdouble wx = 0.0, wy = 0.0, wz = 0.0;
            gluProject(kBandCentre[0] + sx * kBandHalfWidth, kBandCentre[1] + sy * kBandHalfHeight, 0.0, modelview,
                       projection, v, &wx, &wy, &wz);
            left = std::min(left, wx);
            right = std::max(right, wx);
            bottom = std::min(bottom, wy);
            top = std::max(top, wy);
        }
    }
    const GLint bandLeft = std::max<GLint>(v[0], static_cast<GLint>(std::floor(left)) - 1);
    const GLint bandBottom = std::max<GLint>(v[1], static_cast<GLint>(std::floor(bottom)) - 1);
    const GLint bandRight = std::min<GLint>(v[0] + v[2], static_cast<GLint>(std::ceil(right)) + 1);
    const GLint bandTop = std::min<GLint>(v[1] + v[3], static_cast<GLint>(std::ceil(top)) + 1);
    box[0] = bandLeft;
    box[1] = bandBottom;
    box[2] = std::max(0, bandRight - bandLeft);
    box[3] = std::max(0, bandTop - bandBottom);
    glEnable(GL_SCISSOR_TEST);
    glScissor(box[0], box[1], box[2], box[3]);
    glClear(GL_COLOR_BUFFER_BIT);
}

}  // namespace

void Scene::drawKaleidoscope(const MirrorConfig& config, WedgeCopies* copies) {
    if (!copies) {
        drawThroughClipPlanes(*this, config, AngleRange{});
        return;
    }
    const std::int32_t firstClipped = copies->lay(config);
    if (spriteField) spriteField->beginSprites();
    drawWedges(*this, config, firstClipped, AngleRange{});
    // The band lies under the sprites: its rectangle is cleared and drawn again the clip-plane way,
    // band first, through only the wedges that reach it.
    std::int32_t band[4];
    clearBandRectangle(band);
    drawThroughClipPlanes(*this, config, bandAngles(), band);
    glDisable(GL_SCISSOR_TEST);
}
