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

// Texture rectangle of `row` on a sheet of sheetWidth x sheetHeight pixels. A sheet that failed to
// load (0 x 0) gives an empty rectangle at the origin; the aspect still comes from the piece.
AtlasTexCoords atlasTexCoords(std::int32_t row, std::int32_t sheetWidth, std::int32_t sheetHeight);
