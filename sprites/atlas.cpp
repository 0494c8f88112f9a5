// The fifteen pieces of the sprite sheet and their texture rectangles.
// Pairs with atlas.h.
#include "sprites/atlas.h"

// A 4 x 3 grid of squares in reading order, then three pieces across the bottom band; columns 440
// to 443 of that band belong to no piece.
const AtlasRect SpriteAtlas[kAtlasRowCount] = {
    {0, 0, 256, 256},     {256, 0, 256, 256},   {512, 0, 256, 256},   {768, 0, 256, 256},
    {0, 256, 256, 256},   {256, 256, 256, 256}, {512, 256, 256, 256}, {768, 256, 256, 256},
    {0, 512, 256, 256},   {256, 512, 256, 256}, {512, 512, 256, 256}, {768, 512, 256, 256},
    {0, 768, 440, 256},   {444, 768, 358, 256}, {802, 768, 222, 256},
};

AtlasTexCoords atlasTexCoords(std::int32_t row, std::int32_t sheetWidth, std::int32_t sheetHeight) {
    const AtlasRect& rect = SpriteAtlas[row];
    AtlasTexCoords coords = {0.0f, 0.0f, 0.0f, 0.0f,
                             static_cast<float>(static_cast<double>(rect.height) / rect.width)};
    if (sheetWidth > 0) {
        coords.u = static_cast<float>(static_cast<double>(rect.x) / sheetWidth);
        coords.du = static_cast<float>(static_cast<double>(rect.width) / sheetWidth);
    }
    if (sheetHeight > 0) {
        coords.v = static_cast<float>(static_cast<double>(rect.y) / sheetHeight);
        coords.dv = static_cast<float>(static_cast<double>(rect.height) / sheetHeight);
    }
    return coords;
}
