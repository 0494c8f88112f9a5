// A sprite's placement, rebirth and motion over its 16-second life. Pairs with sprite.h; the quad
// itself is drawn in field_drawing.cpp with the rest of the field's drawing.
#include "sprites/sprite.h"

#include <cmath>

#include "scene/mirror_config.h"
#include "scene/random.h"
#include "scene/scene.h"
#include "sprites/atlas.h"
#include "sprites/sprite_field.h"

void Sprite::place(float startPhase) {
    nextRandom();
    nextRandom();
    phase = startPhase;
    spawn();
}

void Sprite::spawn() {
    const SpriteField& field = *SpriteField::instance;
    birthTime = field.scene->time - kSpriteLife * phase;
    nextRandom();
    if (field.uniformSpawn) {
        spin = field.driftSpin;
        scale = field.driftScale + 0.25f;
        atlasRow = field.sharedRow;
    } else {
        spin = static_cast<float>(2.0 * uniformRandom() * field.driftSpin);
        scale = static_cast<float>(uniformRandom() * field.driftScale + 0.25);
        atlasRow = field.randomRows ? static_cast<std::int32_t>(uniformRandom() * field.rowCount) : field.sharedRow;
    }
    usePiece(atlasRow);
    nextRandom();
    alpha = static_cast<float>((uniformRandom() + 1.0) * 0.5);
    position[1] = static_cast<float>(-2.4 * uniformRandom());
    position[2] = static_cast<float>(2.0 * uniformRandom());
    nextRandom();
}

void Sprite::usePiece(std::int32_t row) {
    const SpriteField& field = *SpriteField::instance;
    atlasRow = row;
    // A sheet that did not load (0 x 0) gives an empty rectangle: the quad then shows one texel.
    const AtlasTexCoords rect = atlasTexCoords(row, field.sheetWidth(), field.sheetHeight());
    texU = rect.u;
    texV = rect.v;
    texWidth = rect.du;
    texHeight = rect.dv;
    aspect = rect.aspect;
    const AtlasRect& piece = SpriteAtlas[row];
    const AtlasRect& shown = field.shown[row];
    shownLeft = static_cast<float>(-1.0 + 2.0 * (shown.x - piece.x) / piece.width);
    shownRight = static_cast<float>(-1.0 + 2.0 * (shown.x + shown.width - piece.x) / piece.width);
    shownTop = static_cast<float>(1.0 - 2.0 * (shown.y - piece.y) / piece.height);
    shownBottom = static_cast<float>(1.0 - 2.0 * (shown.y + shown.height - piece.y) / piece.height);
}

void Sprite::shownCorners(double corners[4][2]) const {
    // The quad is turned clockwise by `angle` (see draw) and scaled by scale and scale * aspect.
    const double turn = -angle * kRadiansPerDegree;
    const double c = std::cos(turn), s = std::sin(turn);
    const float across[4] = {shownLeft, shownLeft, shownRight, shownRight};
    const float up[4] = {shownTop, shownBottom, shownBottom, shownTop};
    for (int k = 0; k < 4; ++k) {
        const double x = across[k] * scale, y = up[k] * scale * aspect;
        corners[k][0] = position[0] + c * x - s * y;
        corners[k][1] = position[1] + s * x + c * y;
    }
}

void Sprite::advance() {
    SpriteField& field = *SpriteField::instance;
    const Scene& scene = *field.scene;
    phase = (scene.time - birthTime) * 0.0625f;
    if (phase > 1.0f) {
        // However long the pause, one rebirth, keeping the fractional phase.
        phase -= static_cast<float>(static_cast<std::int64_t>(phase));
        field.driftStep();
        spawn();
    }
    // w is read every frame: a new mirror layout moves every sprite at once.
    const float w = scene.currentConfig ? scene.currentConfig->chord : 0.0f;
    position[0] = w * phase * 3.0f - w;
    angle = spin * phase;
}
