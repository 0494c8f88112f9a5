// The loaders and the upload against a real offscreen OpenGL context: texture formats and sizes,
// texel rows in picture order, and what a failed load leaves behind.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <vector>

#include "host/platform/offscreen_gl.h"
#include "images/picture_decode.h"
#include "images/texture_image.h"
#include "tests/gl/test_jpeg.h"
#include "tests/support/fake_platform.h"

namespace {

class TextureImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        ASSERT_TRUE(gl.create(16, 16)) << gl.error();
    }
    void TearDown() override {
        glDeleteTextures(1, &textures.sheet.textureName);
        glDeleteTextures(1, &textures.logo.textureName);
        fake::reset();
    }
    static GLint levelParameter(GLuint name, GLenum parameter) {
        GLint value = 0;
        glBindTexture(GL_TEXTURE_2D, name);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
        return value;
    }
    static std::vector<std::uint8_t> texels(GLuint name, GLenum format, std::size_t size) {
        std::vector<std::uint8_t> out(size);
        glBindTexture(GL_TEXTURE_2D, name);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, out.data());
        return out;
    }

    OffscreenGl gl;
    SpriteTextures textures = {};
};

TEST_F(TextureImageTest, ShippedPicturesBecomeTheSheetAndTheLogo) {
    ASSERT_TRUE(loadMaskedTexture(textures.sheet, "JPEG_MORVANE_RGB", "JPEG_MORVANE_MASK"));
    ASSERT_TRUE(loadTexture(textures.logo, "LOGO_MASK"));
    EXPECT_EQ(textures.sheet.pixels, nullptr);
    EXPECT_EQ(textures.logo.pixels, nullptr);
    EXPECT_NE(textures.sheet.textureName, 0u);
    EXPECT_NE(textures.logo.textureName, textures.sheet.textureName);

    EXPECT_EQ(textures.sheet.bitsPerPixel, 32);
    EXPECT_EQ(levelParameter(textures.sheet.textureName, GL_TEXTURE_WIDTH), 1024);
    EXPECT_EQ(levelParameter(textures.sheet.textureName, GL_TEXTURE_HEIGHT), 1024);
    EXPECT_EQ(levelParameter(textures.sheet.textureName, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);

    EXPECT_EQ(textures.logo.bitsPerPixel, 8);
    EXPECT_EQ(levelParameter(textures.logo.textureName, GL_TEXTURE_WIDTH), 512);
    EXPECT_EQ(levelParameter(textures.logo.textureName, GL_TEXTURE_HEIGHT), 32);
    EXPECT_EQ(levelParameter(textures.logo.textureName, GL_TEXTURE_INTERNAL_FORMAT), GL_ALPHA);
    // Without mipmap levels, any mipmapping filter would leave the texture incomplete (drawn white).
    // Clamped, so that a piece at the sheet's edge does not pick up texels of the opposite edge.
    for (GLuint name : {textures.sheet.textureName, textures.logo.textureName}) {
        glBindTexture(GL_TEXTURE_2D, name);
        for (GLenum parameter : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
            GLint value = 0;
            glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
            const GLint expected = parameter == GL_TEXTURE_MIN_FILTER || parameter == GL_TEXTURE_MAG_FILTER
                                       ? GL_LINEAR
                                       : GL_CLAMP;
            EXPECT_EQ(value, expected) << "texture " << name << ", parameter 0x" << std::hex << parameter;
        }
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureImageTest, RowsThatAreNotAMultipleOfFourBytesKeepTheirPlace) {
    // 6 grey samples a row: the upload's unpack alignment of 4 must find each row where it is.
    const std::uint8_t rowValue[4] = {20, 90, 160, 230};
    fake::state.resources["NARROW"] = testjpeg::encode(6, 4, 1, [&](int, int y, std::uint8_t* s) { s[0] = rowValue[y]; });
    ASSERT_TRUE(loadTexture(textures.logo, "NARROW"));
    const std::vector<std::uint8_t> alpha = texels(textures.logo.textureName, GL_ALPHA, 6 * 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_NEAR(alpha[static_cast<std::size_t>(y) * 6 + x], rowValue[y], 16) << "texel " << x << ", " << y;
}

TEST_F(TextureImageTest, FirstTexelRowIsThePicturesTopRow) {
    fake::state.resources["LOGO_MASK"] = testjpeg::encode(16, 16, 1, [](int, int y, std::uint8_t* s) { s[0] = y < 8 ? 255 : 0; });
    fake::state.resources["COLOUR"] = testjpeg::encode(16, 16, 3, [](int, int y, std::uint8_t* s) {
        s[0] = y < 8 ? 255 : 0;
        s[1] = 0;
        s[2] = y < 8 ? 0 : 255;
    });
    fake::state.resources["MASK"] = testjpeg::encode(16, 16, 1, [](int, int y, std::uint8_t* s) { s[0] = y < 8 ? 255 : 0; });
    ASSERT_TRUE(loadTexture(textures.logo, "LOGO_MASK"));
    ASSERT_TRUE(loadMaskedTexture(textures.sheet, "COLOUR", "MASK"));

    std::vector<std::uint8_t> logo = texels(textures.logo.textureName, GL_ALPHA, 16 * 16);
    EXPECT_EQ(logo[0], 255);
    EXPECT_EQ(logo[15 * 16], 0);
    std::vector<std::uint8_t> sheet = texels(textures.sheet.textureName, GL_RGBA, 16 * 16 * 4);
    EXPECT_GT(sheet[0], 200);
    EXPECT_LT(sheet[2], 60);
    EXPECT_EQ(sheet[3], 255);
    const std::size_t last = 15 * 16 * 4;
    EXPECT_LT(sheet[last], 60);
    EXPECT_GT(sheet[last + 2], 200);
    EXPECT_EQ(sheet[last + 3], 0);
}

TEST_F(TextureImageTest, BlackMaskHidesButKeepsTheColourWhiteShowsFully) {
    fake::state.resources["COLOUR"] = testjpeg::encode(16, 16, 3, [](int, int, std::uint8_t* s) {
        s[0] = 40;
        s[1] = 160;
        s[2] = 220;
    });
    fake::state.resources["MASK"] = testjpeg::encode(16, 16, 1, [](int x, int, std::uint8_t* s) { s[0] = x < 8 ? 0 : 255; });
    ASSERT_TRUE(loadMaskedTexture(textures.sheet, "COLOUR", "MASK"));
    std::vector<std::uint8_t> sheet = texels(textures.sheet.textureName, GL_RGBA, 16 * 16 * 4);
    const std::uint8_t* hidden = &sheet[(5 * 16 + 2) * 4];
    const std::uint8_t* shown = &sheet[(5 * 16 + 12) * 4];
    EXPECT_EQ(hidden[3], 0);
    EXPECT_NEAR(hidden[0], 40, 3);
    EXPECT_NEAR(hidden[1], 160, 3);
    EXPECT_NEAR(hidden[2], 220, 3);
    EXPECT_EQ(shown[3], 255);
    EXPECT_NEAR(shown[1], 160, 3);
}

TEST_F(TextureImageTest, MissingMaskLeavesTheSheetEmptyWhileTheLogoLoads) {
    fake::state.resources["JPEG_MORVANE_MASK"] = std::nullopt;
    EXPECT_FALSE(loadMaskedTexture(textures.sheet, "JPEG_MORVANE_RGB", "JPEG_MORVANE_MASK"));
    EXPECT_TRUE(loadTexture(textures.logo, "LOGO_MASK"));
    EXPECT_EQ(textures.sheet.textureName, 0u);
    EXPECT_EQ(textures.sheet.pixels, nullptr);
    EXPECT_EQ(textures.sheet.width, 1024);
    EXPECT_EQ(textures.sheet.height, 1024);
    EXPECT_NE(textures.logo.textureName, 0u);
}

TEST_F(TextureImageTest, ColourPictureGivenToThePlainLoaderBecomesRgb) {
    ASSERT_TRUE(loadTexture(textures.logo, "JPEG_MORVANE_RGB"));
    EXPECT_EQ(textures.logo.bitsPerPixel, 24);
    EXPECT_EQ(levelParameter(textures.logo.textureName, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
}

TEST_F(TextureImageTest, APictureDecodedAheadIsTakenOnceUnderItsOwnNames) {
    // The logo offered under the sheet's names shows which one the loader used; a failed decoding
    // ahead leaves the loader to decode the picture itself. The decoding runs when first waited for.
    int decodings = 0;
    offerPicturesAhead(std::async(std::launch::deferred, [&decodings] {
        ++decodings;
        PicturesAhead offered = {{kSheetColourPicture, kSheetMaskPicture, {}, true},
                                 {kLogoPicture, nullptr, {}, false}};
        decodePicture(offered[0].image, kLogoPicture);
        return offered;
    }));

    ASSERT_TRUE(loadMaskedTexture(textures.sheet, kSheetColourPicture, kSheetMaskPicture));
    EXPECT_EQ(levelParameter(textures.sheet.textureName, GL_TEXTURE_WIDTH), 512);
    EXPECT_EQ(decodings, 1);
    TextureImage again = {};
    ASSERT_TRUE(loadMaskedTexture(again, kSheetColourPicture, kSheetMaskPicture));
    EXPECT_EQ(levelParameter(again.textureName, GL_TEXTURE_WIDTH), 1024);
    glDeleteTextures(1, &again.textureName);
    ASSERT_TRUE(loadTexture(textures.logo, kLogoPicture));
    EXPECT_EQ(levelParameter(textures.logo.textureName, GL_TEXTURE_HEIGHT), 32);
    EXPECT_EQ(decodings, 1);
    dropPicturesAhead();
}

}  // namespace
