// One translucent piece of the sprite sheet over its 16-second life: placement, rebirth, motion and
// its quad. Pairs with sprite.cpp; the field it lives in is sprite_field.h.
#pragma once

#include <cstdint>

struct Sprite {
    float position[3] = {0.0f, 0.0f, 0.0f};  // x, y, z in scene units
    float phase = 0.0f;  // fraction of the life passed, 0..1
    float birthTime = 0.0f;  // scene seconds at phase 0
    float scale = 0.0f;  // half the quad's width, scene units
    float spin = 0.0f;  // degrees turned over one whole life
    float angle = 0.0f;  // degrees, spin * phase
    std::int32_t atlasRow = 0;  // 0..14
    float texU = 0.0f;
    float texV = 0.0f;
    float texWidth = 0.0f;
    float texHeight = 0.0f;
    float aspect = 1.0f;  // height / width of the piece
    // The part of the quad that can show, in its own units (-1 to 1 across and up): the piece's
    // part (SpriteField::shown); the rest of the quad blends in nothing. A drawing may leave the
    // rest out, by the scissor, which keeps the quad's own rasterization and so the picture exact.
    float shownLeft = -1.0f, shownRight = 1.0f, shownBottom = -1.0f, shownTop = 1.0f;
    bool showsNothing() const { return shownRight <= shownLeft || shownTop <= shownBottom; }
    // The corners of the part that can show, in turn, in the field's units (x, y at z = position[2]).
    void shownCorners(double corners[4][2]) const;
    float alpha = 1.0f;  // 0.5..1

    // Two unused draws, then the given phase and a spawn.
    void place(float startPhase);
    // A new look and place for the life that starts now at `phase`.
    void spawn();
    // The piece of the sheet in atlas row `row`: its texture rectangle, aspect and part that shows.
    void usePiece(std::int32_t row);
    // Moves to the scene's time; a life that has ended steps the drift and spawns again.
    void advance();
    // The quad, under the drawing state set by SpriteField::beginDraw.
    void draw() const;
};
