// The atlas table and the texture rectangles of its rows on loaded sheets of any size.
#include <gtest/gtest.h>

#include <vector>

#include "sprites/atlas.h"

namespace {

TEST(SpriteAtlas, PiecesTileTheSheetWithOneGapInTheBottomBand) {
    for (int row = 0; row < 12; ++row) {
        EXPECT_EQ(SpriteAtlas[row].x, 256 * (row % 4)) << row;
        EXPECT_EQ(SpriteAtlas[row].y, 256 * (row / 4)) << row;
        EXPECT_EQ(SpriteAtlas[row].width, 256) << row;
        EXPECT_EQ(SpriteAtlas[row].height, 256) << row;
    }
    for (int row = 12; row < 15; ++row) {
        EXPECT_EQ(SpriteAtlas[row].y, 768) << row;
        EXPECT_EQ(SpriteAtlas[row].height, 256) << row;
    }
    EXPECT_EQ(SpriteAtlas[12].x + SpriteAtlas[12].width, 440);
    EXPECT_EQ(SpriteAtlas[13].x, 444);
    EXPECT_EQ(SpriteAtlas[13].x + SpriteAtlas[13].width, SpriteAtlas[14].x);
    EXPECT_EQ(SpriteAtlas[14].x + SpriteAtlas[14].width, 1024);
}

TEST(SpriteAtlas, RectanglesOnTheShippedSheet) {
    AtlasTexCoords first = atlasTexCoords(0, 1024, 1024);
    EXPECT_EQ(first.u, 0.0f);
    EXPECT_EQ(first.v, 0.0f);
    EXPECT_EQ(first.du, 0.25f);
    EXPECT_EQ(first.dv, 0.25f);
    EXPECT_EQ(first.aspect, 1.0f);

    AtlasTexCoords wide = atlasTexCoords(12, 1024, 1024);
    EXPECT_EQ(wide.du, 0.4296875f);
    EXPECT_EQ(wide.v, 0.75f);
    EXPECT_NEAR(wide.aspect, 256.0 / 440.0, 1e-6);

    AtlasTexCoords middle = atlasTexCoords(13, 1024, 1024);
    EXPECT_EQ(middle.u, 0.43359375f);  // the four columns after row 12 belong to no piece
    EXPECT_EQ(middle.du, 0.349609375f);
    EXPECT_NEAR(middle.aspect, 256.0 / 358.0, 1e-6);

    AtlasTexCoords narrow = atlasTexCoords(14, 1024, 1024);
    EXPECT_EQ(narrow.u, 0.783203125f);
    EXPECT_EQ(narrow.u + narrow.du, 1.0f);
    EXPECT_NEAR(narrow.aspect, 256.0 / 222.0, 1e-6);
}

TEST(SpriteAtlas, RectanglesFollowTheLoadedSheetSize) {
    AtlasTexCoords coords = atlasTexCoords(13, 2048, 512);
    EXPECT_EQ(coords.u, 444.0f / 2048.0f);
    EXPECT_EQ(coords.du, 358.0f / 2048.0f);
    EXPECT_EQ(coords.v, 1.5f);
    EXPECT_EQ(coords.dv, 0.5f);
    EXPECT_NEAR(coords.aspect, 256.0 / 358.0, 1e-6);
}

TEST(SpriteAtlas, SheetThatFailedToLoadGivesAnEmptyRectangle) {
    for (int row = 0; row < kAtlasRowCount; ++row) {
        AtlasTexCoords coords = atlasTexCoords(row, 0, 0);
        EXPECT_EQ(coords.u, 0.0f);
        EXPECT_EQ(coords.v, 0.0f);
        EXPECT_EQ(coords.du, 0.0f);
        EXPECT_EQ(coords.dv, 0.0f);
        EXPECT_GT(coords.aspect, 0.5f);
        EXPECT_LT(coords.aspect, 1.2f);
    }
}

// The part of a piece a sprite draws: what linear filtering can read a non-zero alpha from, with a
// texel to spare, the neighbouring piece's touching texels included.
TEST(SpriteAtlas, ShownPartIsWhatFilteringCanReadAlphaFrom) {
    std::vector<std::uint8_t> sheet(1024 * 1024 * 4, 0);
    const auto opaque = [&](std::int32_t x, std::int32_t y) { sheet[(static_cast<std::size_t>(y) * 1024 + x) * 4 + 3] = 1; };
    const auto equal = [](const AtlasRect& a, const AtlasRect& b) {
        return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
    };
    EXPECT_EQ(shownPart(sheet.data(), 1024, 1024, 0).width, 0);  // nothing to show
    opaque(100, 50);
    EXPECT_TRUE(equal(shownPart(sheet.data(), 1024, 1024, 0), AtlasRect{98, 48, 5, 5}));
    opaque(256, 10);  // the first column of piece 1, read at piece 0's right edge
    EXPECT_TRUE(equal(shownPart(sheet.data(), 1024, 1024, 0), AtlasRect{98, 8, 158, 45}));
    // A sheet too small for the piece, or none, gives the whole piece.
    EXPECT_TRUE(equal(shownPart(sheet.data(), 200, 200, 0), SpriteAtlas[0]));
    EXPECT_TRUE(equal(shownPart(nullptr, 1024, 1024, 5), SpriteAtlas[5]));
}

}  // namespace
