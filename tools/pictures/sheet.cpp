// The sprite sheet: each atlas piece sampled 3 x 3 times per pixel, its opacity faded to nothing
// near the edges of its cell. Pairs with sheet.h.
#include "tools/pictures/sheet.h"

#include <algorithm>
#include <cmath>

#include "sprites/atlas.h"
#include "tools/pictures/pieces.h"

namespace {

constexpr std::int32_t kSheetSize = 1024;
constexpr int kSamples = 3;
// Opacity is 0 within kClearBorder pixels of a cell's edge and reaches full strength kFadeBorder
// pixels in: JPEG ringing and linear filtering then cannot show the cell's square outline.
constexpr float kClearBorder = 5.0f;
constexpr float kFadeBorder = 14.0f;

std::uint8_t toByte(float v) { return static_cast<std::uint8_t>(std::lround(shade::clamp01(v) * 255.0f)); }

void drawPiece(SpriteSheet& sheet, const AtlasRect& rect, PieceShader shader) {
    const float unit = rect.height * 0.5f;  // pixels per unit of the piece's own coordinates
    const float centreX = rect.x + rect.width * 0.5f, centreY = rect.y + rect.height * 0.5f;
    for (std::int32_t y = rect.y; y < rect.y + rect.height; ++y) {
        for (std::int32_t x = rect.x; x < rect.x + rect.width; ++x) {
            shade::Colour colour = {0, 0, 0};
            float alpha = 0.0f, weight = 0.0f;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    float px = x + (sx + 0.5f) / kSamples, py = y + (sy + 0.5f) / kSamples;
                    Texel texel = shader({(px - centreX) / unit, (centreY - py) / unit});
                    // Colour weighted by opacity, so an edge pixel keeps the colour of the shape.
                    float w = texel.alpha + 0.01f;
                    colour = colour + texel.colour * w;
                    weight += w;
                    alpha += texel.alpha;
                }
            }
            float border = std::min(std::min(x + 0.5f - rect.x, rect.x + rect.width - x - 0.5f),
                                    std::min(y + 0.5f - rect.y, rect.y + rect.height - y - 0.5f));
            alpha = alpha / (kSamples * kSamples) * shade::smoothstep(kClearBorder, kFadeBorder, border);
            colour = colour * (1.0f / weight);
            std::size_t at = static_cast<std::size_t>(y) * kSheetSize + x;
            sheet.colour[at * 3] = toByte(colour.r);
            sheet.colour[at * 3 + 1] = toByte(colour.g);
            sheet.colour[at * 3 + 2] = toByte(colour.b);
            sheet.mask.samples[at] = toByte(alpha);
        }
    }
}

}  // namespace

SpriteSheet drawSpriteSheet() {
    SpriteSheet sheet;
    sheet.width = sheet.height = kSheetSize;
    sheet.colour.assign(static_cast<std::size_t>(kSheetSize) * kSheetSize * 3, 0);
    sheet.mask = {kSheetSize, kSheetSize, std::vector<std::uint8_t>(static_cast<std::size_t>(kSheetSize) * kSheetSize, 0)};
    for (int row = 0; row < kAtlasRowCount; ++row) drawPiece(sheet, SpriteAtlas[row], pieceShader(row));
    return sheet;
}
