// The twenty sprites with their textures, and the global drift that steers every new sprite and now
// and then asks for another mirror layout. Pairs with sprite_field.cpp (life and drift) and
// field_drawing.cpp (drawing state, logo band, the sprites' draw).
#pragma once

#include <cstdint>

#include "images/texture_image.h"
#include "sprites/atlas.h"
#include "sprites/sprite.h"

class Scene;

constexpr std::int32_t kSpriteCount = 20;
constexpr float kSpriteLife = 16.0f;  // seconds
// The logo band: a 4 x 0.25 rectangle at z = 0 around this centre, in the camera's frame.
constexpr float kBandCentre[2] = {5.0f, -5.0f};
constexpr float kBandHalfWidth = 2.0f;
constexpr float kBandHalfHeight = 0.125f;

class SpriteField {
public:
    explicit SpriteField(Scene* owner);
    ~SpriteField();
    SpriteField(const SpriteField&) = delete;
    SpriteField& operator=(const SpriteField&) = delete;

    // Creates and places the sprites and loads the textures; the GL context must be current.
    void setUp();
    void loadTextures();
    // Places the twenty sprites at phases i/19. Part of setUp; needs no GL context.
    void placeSprites();
    void advance();
    void driftStep();
    bool supportsMirrors() const { return true; }
    // Logo band and the sprites' drawing state; once per frame around all copies of the sprites.
    void beginDraw();
    void endDraw();
    // The sprites' drawing state alone, without the band.
    void beginSprites() const;
    // `within`, where given: the only part of the window (x, y, width, height in pixels) that the
    // drawing may change, as under a scissor; a sprite whose part that can show falls wholly
    // outside it under the current matrices is left out.
    void drawSprites(const std::int32_t* within = nullptr) const;

    // The sheet's size in pixels, 0 x 0 when it is not loaded.
    std::int32_t sheetWidth() const { return textures ? textures->sheet.width : 0; }
    std::int32_t sheetHeight() const { return textures ? textures->sheet.height : 0; }

    // The one field of the process; set by the constructor, left as it is by the destructor.
    static SpriteField* instance;

    Sprite* sprites = nullptr;  // kSpriteCount of them once set up
    Scene* scene = nullptr;  // the owner, not owned
    float driftScale = 0.0f;  // [0.25, 1.5)
    float driftSpin = 0.0f;  // degrees, [0, 360)
    std::int32_t driftCount = 0;  // steps taken in the current segment
    std::int32_t driftSpan = 0;  // the segment's length in steps, 1..20 (0 before the first)
    float scaleStart = 0.0f;
    float scaleDelta = 0.0f;
    float spinStart = 0.0f;
    float spinDelta = 0.0f;
    bool uniformSpawn = false;  // spawns copy the drift values and sharedRow
    std::int32_t sharedRow = 0;
    std::int32_t rowCount = 15;
    SpriteTextures* textures = nullptr;
    // Of each piece, the part a sprite draws (see shownPart): the whole piece until the sheet is
    // decoded, an empty one for a piece with no alpha at all.
    AtlasRect shown[kAtlasRowCount];
    bool randomRows = false;  // false until the first advance: spawns take sharedRow
};
