// The fifteen pieces of the sprite sheet and their texture rectangles.
// Pairs with atlas.h.
#include "sprites/atlas.h"

#include <algorithm>

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

AtlasRect shownPart(const std::uint8_t* rgba, std::int32_t sheetWidth, std::int32_t sheetHeight, std::int32_t row) {
    const AtlasRect& piece = SpriteAtlas[row];
    if (!rgba || piece.x + piece.width > sheetWidth || piece.y + piece.height > sheetHeight) return piece;
    // Texels that can show, with those around the piece: the first and last column and row.
    const std::int32_t left = std::max(0, piece.x - 1), right = std::min(sheetWidth, piece.x + piece.width + 1);
    const std::int32_t top = std::max(0, piece.y - 1), bottom = std::min(sheetHeight, piece.y + piece.height + 1);
    std::int32_t firstColumn = right, lastColumn = left - 1, firstRow = bottom, lastRow = top - 1;
    const auto alpha = [&](std::int32_t x, std::int32_t y) {
        return rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(sheetWidth) + x) * 4 + 3];
    };
    for (std::int32_t y = top; y < bottom; ++y) {
        // The row's first texel with alpha; then, from its end inwards, a last one beyond the
        // columns found so far, if there is one.
        std::int32_t x = left;
        while (x < right && alpha(x, y) == 0) ++x;
        if (x == right) continue;
        firstColumn = std::min(firstColumn, x);
        std::int32_t last = right - 1;
        while (last > std::max(x, lastColumn) && alpha(last, y) == 0) --last;
        lastColumn = std::max(lastColumn, last);
        firstRow = std::min(firstRow, y);
        lastRow = y;
    }
    if (lastColumn < firstColumn) return AtlasRect{piece.x, piece.y, 0, 0};
    // A sample reads the two texels around it on each axis: at less than half a texel before the
    // first one that shows, or more than half a texel after the last, it reads only nothing. One
    // texel more on each side leaves room for the rasterizer's rounding.
    const std::int32_t x0 = std::max(piece.x, firstColumn - 2), x1 = std::min(piece.x + piece.width, lastColumn + 3);
    const std::int32_t y0 = std::max(piece.y, firstRow - 2), y1 = std::min(piece.y + piece.height, lastRow + 3);
    return AtlasRect{x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}
