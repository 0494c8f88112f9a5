// The sprite field's drawing: the state for the sprites with the logo band on the way, the sprites'
// quads, and the reset after the last mirrored copy. Pairs with sprite_field.h and sprite.h.
#include <GL/gl.h>

#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "scene/scene.h"
#include "sprites/sprite_field.h"

namespace {
void enableBlendedTexturing() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
}
}  // namespace

void SpriteField::beginSprites() const {
    enableBlendedTexturing();
    glBindTexture(GL_TEXTURE_2D, textures ? textures->sheet.textureName : 0);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void SpriteField::beginDraw() {
    enableBlendedTexturing();

    // The band's tint: yellow at time 0, blue at 10 pi seconds, a period of 20 pi.
    const float k = (std::cos(0.1f * scene->time) + 1.0f) * 0.5f;
    // A texture that did not load has the name 0: the band is then drawn untextured, still faint.
    glBindTexture(GL_TEXTURE_2D, textures ? textures->logo.textureName : 0);
    glPushMatrix();
    glTranslatef(kBandCentre[0], kBandCentre[1], 0.0f);
    glColor4f(k, k, 1.0f - k, 0.1f);
    // 4 x 0.25 units, the logo's 16 : 1; counter-clockwise as the camera sees it, top row at t = 0.
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-kBandHalfWidth, -kBandHalfHeight, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(kBandHalfWidth, -kBandHalfHeight, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(kBandHalfWidth, kBandHalfHeight, 0.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-kBandHalfWidth, kBandHalfHeight, 0.0f);
    glEnd();
    glPopMatrix();

    glBindTexture(GL_TEXTURE_2D, textures ? textures->sheet.textureName : 0);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void SpriteField::endDraw() {
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

namespace {

// Whether the part of `sprite` that can show may reach the window rectangle `within` under the
// current matrices: its corners' bounding box, with a pixel to spare for the rounding, meets it.
bool mayReach(const Sprite& sprite, const std::int32_t* within, const GLdouble* modelview, const GLdouble* projection,
              const GLint* viewport) {
    if (sprite.showsNothing()) return false;
    double corners[4][2];
    sprite.shownCorners(corners);
    double left = 1e30, right = -1e30, bottom = 1e30, top = -1e30;
    for (const auto& corner : corners) {
        GLdouble x = 0.0, y = 0.0, z = 0.0;
        if (!gluProject(corner[0], corner[1], sprite.position[2], modelview, projection, viewport, &x, &y, &z))
            return true;
        left = std::min(left, x);
        right = std::max(right, x);
        bottom = std::min(bottom, y);
        top = std::max(top, y);
    }
    return right + 1.0 >= within[0] && left - 1.0 <= within[0] + within[2] && top + 1.0 >= within[1] &&
           bottom - 1.0 <= within[1] + within[3];
}

}  // namespace

void SpriteField::drawSprites(const std::int32_t* within) const {
    if (!sprites) return;
    GLdouble modelview[16], projection[16];
    GLint viewport[4];
    if (within) {
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
    }
    // Index order, no depth sort: a later sprite covers an earlier one whatever their z.
    for (std::int32_t i = 0; i < kSpriteCount; ++i)
        if (!within || mayReach(sprites[i], within, modelview, projection, viewport)) sprites[i].draw();
}

void Sprite::draw() const {
    glPushMatrix();
    glTranslatef(position[0], position[1], position[2]);
    // Clockwise on screen as the angle grows, in an unmirrored copy.
    glRotatef(-angle, 0.0f, 0.0f, 1.0f);
    glScalef(scale, scale * aspect, scale);
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    glBegin(GL_QUADS);
    glTexCoord2f(texU, texV + texHeight);
    glVertex3f(-1.0f, -1.0f, 0.0f);
    glTexCoord2f(texU + texWidth, texV + texHeight);
    glVertex3f(1.0f, -1.0f, 0.0f);
    glTexCoord2f(texU + texWidth, texV);
    glVertex3f(1.0f, 1.0f, 0.0f);
    glTexCoord2f(texU, texV);
    glVertex3f(-1.0f, 1.0f, 0.0f);
    glEnd();
    glPopMatrix();
}
