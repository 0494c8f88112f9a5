// The logo: MORVANE in capitals with wide, even spacing, drawn four times larger with FreeType and
// reduced by averaging, for smooth edges. Pairs with sheet.h.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>

#include "tools/pictures/sheet.h"

namespace {

constexpr std::int32_t kWidth = 512, kHeight = 32, kScale = 4;
constexpr char kWord[] = "MORVANE";
constexpr int kLetters = sizeof kWord - 1;
// Capital height and the word's span, in pixels of the finished picture.
constexpr float kCapHeight = 21.0f;
constexpr float kSpan = 340.0f;

}  // namespace

bool drawLogo(const std::string& fontPath, GreyPicture& logo) {
    FT_Library library;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "morvane-pictures: FreeType cannot start\n");
        return false;
    }
    FT_Face face;
    if (FT_New_Face(library, fontPath.c_str(), 0, &face) != 0) {
        std::fprintf(stderr, "morvane-pictures: cannot open the font %s\n", fontPath.c_str());
        FT_Done_FreeType(library);
        return false;
    }
    const std::int32_t bigWidth = kWidth * kScale, bigHeight = kHeight * kScale;
    // The capital height of DejaVu Sans is 0.729 of its em; others come close.
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(kCapHeight * kScale / 0.729f));

    int inked = 0;
    for (int i = 0; i < kLetters; ++i) {
        if (FT_Load_Char(face, static_cast<unsigned char>(kWord[i]), FT_LOAD_RENDER) != 0) continue;
        inked += i + 1 < kLetters ? static_cast<int>(face->glyph->advance.x >> 6) : static_cast<int>(face->glyph->bitmap.width);
    }
    const float spacing = (kSpan * kScale - inked) / (kLetters - 1);
    float pen = (bigWidth - kSpan * kScale) * 0.5f;
    const int baseline = static_cast<int>((bigHeight + kCapHeight * kScale) * 0.5f);

    std::vector<std::uint16_t> big(static_cast<std::size_t>(bigWidth) * bigHeight, 0);
    for (int i = 0; i < kLetters; ++i) {
        if (FT_Load_Char(face, static_cast<unsigned char>(kWord[i]), FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot glyph = face->glyph;
        const int left = static_cast<int>(pen) + (i == 0 ? 0 : glyph->bitmap_left);
        const int top = baseline - glyph->bitmap_top;
        for (unsigned row = 0; row < glyph->bitmap.rows; ++row) {
            for (unsigned column = 0; column < glyph->bitmap.width; ++column) {
                int x = left + static_cast<int>(column), y = top + static_cast<int>(row);
                if (x < 0 || y < 0 || x >= bigWidth || y >= bigHeight) continue;
                std::uint16_t& at = big[static_cast<std::size_t>(y) * bigWidth + x];
                at = std::max<std::uint16_t>(at, glyph->bitmap.buffer[row * glyph->bitmap.pitch + column]);
            }
        }
        pen += static_cast<float>(glyph->advance.x >> 6) + spacing;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);

    logo.width = kWidth;
    logo.height = kHeight;
    logo.samples.assign(static_cast<std::size_t>(kWidth) * kHeight, 0);
    for (std::int32_t y = 0; y < kHeight; ++y) {
        for (std::int32_t x = 0; x < kWidth; ++x) {
            unsigned sum = 0;
            for (int sy = 0; sy < kScale; ++sy)
                for (int sx = 0; sx < kScale; ++sx)
                    sum += big[static_cast<std::size_t>(y * kScale + sy) * bigWidth + x * kScale + sx];
            logo.samples[static_cast<std::size_t>(y) * kWidth + x] = static_cast<std::uint8_t>((sum + 8) / 16);
        }
    }
    return true;
}
