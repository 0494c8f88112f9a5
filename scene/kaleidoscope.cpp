// Drawing the sprite field through the mirrors: one pair of wedges per step around the centre, the
// second of each pair mirrored, each clipped to its wedge by two user clip planes. Where the scene
// draws from copies (wedge_copies.cpp), the clip planes draw only the wedges that the copies leave
// and the logo band's rectangle. Pairs with scene.h and mirror_config.h.
#include <GL/gl.h>

#include <new>

#include "scene/scene.h"
#include "sprites/sprite_field.h"

namespace {

// Wedge w covers 270 + w * wedgeAngle to 270 + (w + 1) * wedgeAngle degrees; step i draws wedge i
// and its mirror image i - 1. Only the wedges from `firstWedge` on are drawn.
void drawWedges(Scene& scene, const MirrorConfig& config, std::int32_t firstWedge) {
    SpriteField* field = scene.spriteField;
    const bool mirrorsOn = scene.mirrorsOn;
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
        if (field && i >= firstWedge) field->drawSprites();
        if (mirrorsOn && i - 1 >= firstWedge) {
            // The reflection across the rotated downward axis; it reverses every quad's winding.
            glScalef(-1.0f, 1.0f, 1.0f);
            glFrontFace(GL_CW);
            glClipPlane(GL_CLIP_PLANE0, config.clipStart);
            glClipPlane(GL_CLIP_PLANE1, config.clipEnd);
            if (field) field->drawSprites();
        }
        glPopMatrix();
        if (!mirrorsOn) break;
    }
    glDisable(GL_CLIP_PLANE0);
    glDisable(GL_CLIP_PLANE1);
    glFrontFace(GL_CCW);
}

void drawThroughClipPlanes(Scene& scene, const MirrorConfig& config) {
    SpriteField* field = scene.spriteField;
    glPushMatrix();
    // The logo band goes first: before any clip plane and outside the rotations.
    if (field) field->beginDraw();
    drawWedges(scene, config, -1);
    glPopMatrix();
    if (field) field->endDraw();
}

}  // namespace

void Scene::drawKaleidoscope(const MirrorConfig& config) {
    std::int32_t firstClipped = 0;
    if (mirrorsOn && mirrorDrawing == MirrorDrawing::Copies) {
        if (!wedgeCopies) wedgeCopies = new (std::nothrow) WedgeCopies(windowReadable);
        if (wedgeCopies && wedgeCopies->lay(*this, config, firstClipped)) {
            drawWedges(*this, config, firstClipped);
            wedgeCopies->clipToBand();
            drawThroughClipPlanes(*this, config);
            wedgeCopies->finish();
            return;
        }
    }
    drawThroughClipPlanes(*this, config);
}
