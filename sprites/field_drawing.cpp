// The sprite field's drawing: the state for the sprites with the logo band on the way, the sprites'
// quads, and the reset after the last mirrored copy. Pairs with sprite_field.h and sprite.h.
#include <GL/gl.h>

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

void SpriteField::drawSprites() const {
    if (!sprites) return;
    // Index order, no depth sort: a later sprite covers an earlier one whatever their z.
    for (std::int32_t i = 0; i < kSpriteCount; ++i) sprites[i].draw();
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
