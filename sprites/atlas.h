// The fifteen pieces of the 1024 x 1024 sprite sheet, in pixels from its top-left corner.
#pragma once

#include <cstdint>

struct AtlasRect {
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
};

constexpr std::int32_t kAtlasRowCount = 15;
extern const AtlasRect SpriteAtlas[kAtlasRowCount];

struct AtlasTexCoords {
    float u;
    float v;
    float du;
    float dv;
    float aspect;  // height / width of the piece
};

// The part of piece `row` that a sprite needs to draw, in the sheet's pixels: every texel of the
// piece that linear filtering can read a non-zero alpha from, with a texel to spare; outside it the
// quad only blends in nothing. A texel next to the piece counts too (the filter reads it at the
// quad's edge). `rgba` holds sheetWidth x sheetHeight pixels of 4 bytes, alpha last; a piece with
// no alpha at all gives an empty rectangle, a piece not on the sheet the piece itself.
AtlasRect shownPart(const std::uint8_t* rgba, std::int32_t sheetWidth, std::int32_t sheetHeight, std::int32_t row);

// Texture rectangle of `row` on a sheet of sheetWidth x sheetHeight pixels. A sheet that failed to
// load (0 x 0) gives an empty rectangle at the origin; the aspect still comes from the piece.
AtlasTexCoords atlasTexCoords(std::int32_t row, std::int32_t sheetWidth, std::int32_t sheetHeight);
