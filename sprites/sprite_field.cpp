// The sprite field's life: construction, set-up, texture loading, the per-frame advance, the global
// drift and destruction. Pairs with sprite_field.h; drawing is in field_drawing.cpp.
#include "sprites/sprite_field.h"

#include <GL/gl.h>

#include <new>

#include "scene/mirror_config.h"
#include "scene/random.h"
#include "scene/scene.h"
#include "sprites/atlas.h"

SpriteField* SpriteField::instance = nullptr;

namespace {
// The single-precision 1/19: sprite 0 starts at phase 0 and sprite 19 at exactly 1.
constexpr float kPlacementStep = 1.0f / 19.0f;
}  // namespace

SpriteField::SpriteField(Scene* owner) {
    scene = owner;
    instance = this;
    sprites = nullptr;
    driftSpan = 0;
    driftCount = 0;
    driftScale = static_cast<float>(1.25 * uniformRandom() + 0.25);
    driftSpin = static_cast<float>(360.0 * uniformRandom());
    nextRandom();
    nextRandom();
    uniformSpawn = static_cast<std::int32_t>(2.0 * uniformRandom()) == 0;
    textures = nullptr;
    sharedRow = 0;
    rowCount = kAtlasRowCount;
    randomRows = false;
    for (std::int32_t row = 0; row < kAtlasRowCount; ++row) shown[row] = SpriteAtlas[row];
}

SpriteField::~SpriteField() {
    if (textures) {
        glDeleteTextures(1, &textures->sheet.textureName);
        glDeleteTextures(1, &textures->logo.textureName);
        delete textures;
        textures = nullptr;
    }
    delete[] sprites;
    sprites = nullptr;
}

void SpriteField::setUp() {
    nextRandom();
    sprites = new (std::nothrow) Sprite[kSpriteCount];
    loadTextures();
    placeSprites();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

void SpriteField::loadTextures() {
    sharedRow = static_cast<std::int32_t>(uniformRandom() * rowCount);
    textures = new (std::nothrow) SpriteTextures{};
    if (textures) {
        // A picture that fails leaves its texture name 0; the field draws regardless.
        TextureImage& sheet = textures->sheet;
        if (decodeMaskedTexture(sheet, kSheetColourPicture, kSheetMaskPicture)) {
            for (std::int32_t row = 0; row < kAtlasRowCount; ++row)
                shown[row] = shownPart(sheet.pixels, sheet.width, sheet.height, row);
            uploadTexture(sheet);
        }
        loadTexture(textures->logo, kLogoPicture);
    }
    glDisable(GL_LIGHTING);
}

void SpriteField::placeSprites() {
    if (!sprites) return;
    for (std::int32_t i = 0; i < kSpriteCount; ++i) sprites[i].place(static_cast<float>(i) * kPlacementStep);
}

void SpriteField::advance() {
    randomRows = true;
    if (!sprites) return;
    for (std::int32_t i = 0; i < kSpriteCount; ++i) sprites[i].advance();
}

void SpriteField::driftStep() {
    driftCount += 1;
    if (driftCount > driftSpan) {
        driftCount = 0;
        driftSpan = 1 - static_cast<std::int32_t>(-20.0 * uniformRandom());
        uniformSpawn = static_cast<std::int32_t>(2.0 * uniformRandom()) == 0;
        sharedRow = static_cast<std::int32_t>(uniformRandom() * rowCount);
        // pickRandomMirrorConfig makes its own draw at this point of the sequence.
        if (uniformRandom() < 0.1 && scene) scene->pickRandomMirrorConfig(true);

        scaleStart = driftScale;
        if (uniformRandom() < 0.5) {
            const double base = driftScale < 0.875f ? 0.625 : 0.0;
            scaleDelta = static_cast<float>(0.625 * uniformRandom() + base + 0.25 - scaleStart);
        } else {
            scaleDelta = 0.0f;
        }
        spinStart = driftSpin;
        if (uniformRandom() < 0.5) {
            const double base = driftSpin <= 180.0f ? 180.0 : 0.0;
            spinDelta = static_cast<float>(180.0 * uniformRandom() + base - spinStart);
        } else {
            spinDelta = 0.0f;
        }
    }
    const float t = static_cast<float>(driftCount) / static_cast<float>(driftSpan);
    const float s = smoothStep(t);
    driftScale = scaleStart + s * scaleDelta;
    driftSpin = spinStart + s * spinDelta;
}
