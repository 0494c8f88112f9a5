// Decoding embedded JPEG pictures into pixel buffers: the shipped pictures, damaged and foreign
// streams, the source manager's edges and masks that do not match their colour picture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "images/picture_decode.h"
#include "images/resource_source.h"
#include "resources/embedded.h"
#include "sprites/atlas.h"
#include "tests/gl/test_jpeg.h"
#include "tests/support/fake_platform.h"

namespace {

class JpegDecode : public ::testing::Test {
protected:
    void SetUp() override { fake::reset(); }
    void TearDown() override {
        std::free(image.pixels);
        fake::reset();
    }
    std::uint8_t alphaAt(int x, int y) const { return image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 4 + 3]; }

    TextureImage image = {};
};

// Each shipped file ends in its end-of-image marker and decodes without running out of bytes.
TEST_F(JpegDecode, ShippedPicturesDecodeCleanlyToTheirSizes) {
    struct Expected {
        const char* name;
        std::int32_t width, height, bitsPerPixel;
    };
    const Expected pictures[] = {{"JPEG_MORVANE_RGB", 1024, 1024, 24}, {"JPEG_MORVANE_MASK", 1024, 1024, 8}, {"LOGO_MASK", 512, 32, 8}};
    for (const Expected& expected : pictures) {
        SCOPED_TRACE(expected.name);
        TextureImage picture = {};
        testing::internal::CaptureStderr();
        ASSERT_TRUE(decodePicture(picture, expected.name));
        // A complete stream never runs out of bytes, so the library has nothing to warn about.
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(picture.width, expected.width);
        EXPECT_EQ(picture.height, expected.height);
        EXPECT_EQ(picture.bitsPerPixel, expected.bitsPerPixel);
        EXPECT_NE(picture.pixels, nullptr);
        std::free(picture.pixels);
        const EmbeddedResource* file = findEmbeddedResource(expected.name);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(file->data[file->size - 2], 0xFF);
        EXPECT_EQ(file->data[file->size - 1], JPEG_EOI);
    }
    ASSERT_TRUE(decodeMaskedPicture(image, "JPEG_MORVANE_RGB", "JPEG_MORVANE_MASK"));
    EXPECT_EQ(image.width, 1024);
    EXPECT_EQ(image.height, 1024);
    EXPECT_EQ(image.bitsPerPixel, 32);
}

// Every piece shows something, and nothing shows along the edges of its cell or in the unused
// columns between rows 12 and 13: a square outline would turn with the sprite.
TEST_F(JpegDecode, ShippedSheetHasAVisiblePieceInEveryCellAndClearCellEdges) {
    ASSERT_TRUE(decodeMaskedPicture(image, "JPEG_MORVANE_RGB", "JPEG_MORVANE_MASK"));
    for (int row = 0; row < kAtlasRowCount; ++row) {
        SCOPED_TRACE(row);
        const AtlasRect& rect = SpriteAtlas[row];
        int edgeMax = 0, pieceMax = 0;
        for (int y = rect.y; y < rect.y + rect.height; ++y) {
            for (int x = rect.x; x < rect.x + rect.width; ++x) {
                int alpha = alphaAt(x, y);
                pieceMax = std::max(pieceMax, alpha);
                bool edge = x - rect.x < 2 || rect.x + rect.width - x <= 2 || y - rect.y < 2 || rect.y + rect.height - y <= 2;
                if (edge) edgeMax = std::max(edgeMax, alpha);
            }
        }
        EXPECT_LE(edgeMax, 3);
        EXPECT_GE(pieceMax, 200);
    }
    int gapMax = 0;
    for (int y = 768; y < 1024; ++y)
        for (int x = 440; x < 444; ++x) gapMax = std::max<int>(gapMax, alphaAt(x, y));
    EXPECT_LE(gapMax, 3);
}

TEST_F(JpegDecode, MissingOrEmptyPictureFailsWithoutAWord) {
    fake::state.resources["LOGO_MASK"] = std::nullopt;
    fake::state.resources["EMPTY"] = {};
    testing::internal::CaptureStderr();
    EXPECT_FALSE(decodePicture(image, "LOGO_MASK"));
    EXPECT_FALSE(decodePicture(image, "EMPTY"));
    EXPECT_FALSE(decodePicture(image, "NO_SUCH_PICTURE"));
    EXPECT_FALSE(decodeMaskedPicture(image, "NO_SUCH_PICTURE", "JPEG_MORVANE_MASK"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
    EXPECT_EQ(image.bitsPerPixel, 0);
}

TEST_F(JpegDecode, StreamThatIsNotAJpegFailsWithTheLibraryMessage) {
    fake::state.resources["JPEG_MORVANE_RGB"] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0};
    testing::internal::CaptureStderr();
    EXPECT_FALSE(decodeMaskedPicture(image, "JPEG_MORVANE_RGB", "JPEG_MORVANE_MASK"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Not a JPEG file: starts with 0x47 0x49"), std::string::npos);
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.bitsPerPixel, 0);
}

TEST_F(JpegDecode, FailedMaskReleasesTheColourPixelsAndKeepsTheColourSize) {
    fake::state.resources["COLOUR"] = testjpeg::flat(24, 16, 3, 90);
    fake::state.resources["BROKEN"] = {0xFF, 0xD8, 0xFF, 0x00};
    testing::internal::CaptureStderr();
    EXPECT_FALSE(decodeMaskedPicture(image, "COLOUR", "BROKEN"));
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.width, 24);
    EXPECT_EQ(image.height, 16);
    EXPECT_EQ(image.bitsPerPixel, 32);

    image = {};
    EXPECT_FALSE(decodeMaskedPicture(image, "COLOUR", "NO_SUCH_MASK"));
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.width, 24);
}

TEST_F(JpegDecode, TruncatedStreamDecodesWithAWarningOrFails) {
    const std::vector<std::uint8_t> whole = testjpeg::encode(64, 64, 3, [](int x, int y, std::uint8_t* s) {
        s[0] = static_cast<std::uint8_t>(x * 4);
        s[1] = static_cast<std::uint8_t>(y * 4);
        s[2] = static_cast<std::uint8_t>(x ^ y);
    }, 90);
    // Cut in the middle of the scan: the rest of the picture is made up and the library warns.
    fake::state.resources["CUT"] = std::vector<std::uint8_t>(whole.begin(), whole.begin() + whole.size() * 3 / 4);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(decodePicture(image, "CUT"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Premature end of JPEG file"), std::string::npos);
    EXPECT_EQ(image.width, 64);
    ASSERT_NE(image.pixels, nullptr);

    // Every other cut, header included: a clean result either way, never a read past the bytes.
    testing::internal::CaptureStderr();
    for (std::size_t length = 1; length < whole.size(); length += 7) {
        SCOPED_TRACE(length);
        fake::state.resources["CUT"] = std::vector<std::uint8_t>(whole.begin(), whole.begin() + length);
        TextureImage picture = {};
        bool decoded = decodeMaskedPicture(picture, "CUT", "CUT");
        EXPECT_EQ(decoded, picture.pixels != nullptr);
        std::free(picture.pixels);
    }
    testing::internal::GetCapturedStderr();
}

TEST_F(JpegDecode, CorruptedStreamsDecodeOrFailCleanly) {
    const std::vector<std::uint8_t> whole = testjpeg::encode(40, 24, 3, [](int x, int y, std::uint8_t* s) {
        s[0] = static_cast<std::uint8_t>(x * 6);
        s[1] = static_cast<std::uint8_t>(200 - y * 5);
        s[2] = static_cast<std::uint8_t>(x * y);
    }, 85, 1);
    std::uint32_t state = 12345;
    auto next = [&state]() { return (state = state * 1103515245u + 12345u) >> 8; };
    testing::internal::CaptureStderr();
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> bytes = whole;
        int flips = 1 + static_cast<int>(next() % 4);
        for (int i = 0; i < flips; ++i) bytes[next() % bytes.size()] = static_cast<std::uint8_t>(next());
        fake::state.resources["DAMAGED"] = bytes;
        TextureImage picture = {};
        bool decoded = round % 2 ? decodePicture(picture, "DAMAGED") : decodeMaskedPicture(picture, "DAMAGED", "DAMAGED");
        ASSERT_EQ(decoded, picture.pixels != nullptr) << "round " << round;
        std::free(picture.pixels);
    }
    testing::internal::GetCapturedStderr();
}

TEST_F(JpegDecode, RestartMarkersDecodeLikeTheSamePictureWithout) {
    auto pattern = [](int x, int y, std::uint8_t* s) { s[0] = static_cast<std::uint8_t>((x * 7 + y * 3) & 0xFF); };
    fake::state.resources["PLAIN"] = testjpeg::encode(48, 48, 1, pattern, 90, 0);
    fake::state.resources["RESTARTS"] = testjpeg::encode(48, 48, 1, pattern, 90, 1);
    TextureImage restarts = {};
    ASSERT_TRUE(decodePicture(image, "PLAIN"));
    ASSERT_TRUE(decodePicture(restarts, "RESTARTS"));
    EXPECT_EQ(std::vector<std::uint8_t>(image.pixels, image.pixels + 48 * 48),
              std::vector<std::uint8_t>(restarts.pixels, restarts.pixels + 48 * 48));
    std::free(restarts.pixels);
}

TEST_F(JpegDecode, MaskBecomesTheAlphaExactlyAndLeavesTheColourAlone) {
    fake::state.resources["COLOUR"] = testjpeg::encode(16, 16, 3, [](int, int, std::uint8_t* s) {
        s[0] = 200;
        s[1] = 120;
        s[2] = 40;
    });
    fake::state.resources["MASK"] = testjpeg::encode(16, 16, 1, [](int x, int, std::uint8_t* s) { s[0] = x < 8 ? 0 : 255; });
    ASSERT_TRUE(decodeMaskedPicture(image, "COLOUR", "MASK"));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const std::uint8_t* texel = image.pixels + (y * 16 + x) * 4;
            ASSERT_EQ(texel[3], x < 8 ? 0 : 255) << x << "," << y;
            ASSERT_NEAR(texel[0], 200, 3);
            ASSERT_NEAR(texel[1], 120, 3);
            ASSERT_NEAR(texel[2], 40, 3);
        }
    }
}

// Masks of another size line up at the top-left corner and never reach outside the sheet; a grey
// colour picture and a colour mask are read only inside their rows.
TEST_F(JpegDecode, MismatchedPicturesStayInsideTheirBuffers) {
    fake::state.resources["COLOUR"] = testjpeg::flat(16, 16, 3, 128);
    fake::state.resources["WIDE"] = testjpeg::flat(40, 8, 1, 255);
    ASSERT_TRUE(decodeMaskedPicture(image, "COLOUR", "WIDE"));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(alphaAt(x, y), y < 8 ? 255 : 0) << x << "," << y;
    std::free(image.pixels);

    image = {};
    fake::state.resources["TALL"] = testjpeg::flat(8, 40, 1, 255);
    ASSERT_TRUE(decodeMaskedPicture(image, "COLOUR", "TALL"));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(alphaAt(x, y), x < 8 ? 255 : 0) << x << "," << y;
    std::free(image.pixels);

    image = {};
    fake::state.resources["GREY"] = testjpeg::flat(16, 16, 1, 77);
    fake::state.resources["COLOUR_MASK"] = testjpeg::encode(16, 16, 3, [](int, int, std::uint8_t* s) {
        s[0] = 250;
        s[1] = 10;
        s[2] = 10;
    });
    ASSERT_TRUE(decodeMaskedPicture(image, "GREY", "COLOUR_MASK"));
    EXPECT_EQ(image.pixels[0], 77);
    EXPECT_EQ(image.pixels[1], 77);
    EXPECT_EQ(image.pixels[2], 77);
    EXPECT_NEAR(image.pixels[3], 250, 4);
}

class ResourceSourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        cinfo.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&cinfo);
    }
    void TearDown() override { jpeg_destroy_decompress(&cinfo); }

    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
};

TEST_F(ResourceSourceTest, SkipsAreClampedAndRunningOutGivesAWarnedFakeEnd) {
    const JOCTET bytes[10] = {};
    ResourceBuffer buffer = {sizeof bytes, bytes};
    attachResourceSource(&cinfo, &buffer);
    jpeg_source_mgr* src = cinfo.src;
    src->skip_input_data(&cinfo, 4);
    EXPECT_EQ(src->next_input_byte, bytes + 4);
    EXPECT_EQ(src->bytes_in_buffer, 6u);
    src->skip_input_data(&cinfo, 0);
    src->skip_input_data(&cinfo, -3);
    EXPECT_EQ(src->bytes_in_buffer, 6u);
    src->skip_input_data(&cinfo, 1000);
    EXPECT_EQ(src->next_input_byte, bytes + 10);
    EXPECT_EQ(src->bytes_in_buffer, 0u);

    testing::internal::CaptureStderr();
    EXPECT_TRUE(src->fill_input_buffer(&cinfo));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Premature end of JPEG file"), std::string::npos);
    EXPECT_EQ(errors.num_warnings, 1);
    ASSERT_EQ(src->bytes_in_buffer, 2u);
    EXPECT_EQ(src->next_input_byte[0], 0xFF);
    EXPECT_EQ(src->next_input_byte[1], JPEG_EOI);
}

TEST_F(ResourceSourceTest, SecondPictureReusesTheSourceManager) {
    const JOCTET first[4] = {}, second[9] = {};
    ResourceBuffer a = {sizeof first, first}, b = {sizeof second, second};
    attachResourceSource(&cinfo, &a);
    jpeg_source_mgr* src = cinfo.src;
    src->skip_input_data(&cinfo, 3);
    attachResourceSource(&cinfo, &b);
    EXPECT_EQ(cinfo.src, src);
    EXPECT_EQ(reinterpret_cast<ResourceSource*>(cinfo.src)->buffer, &b);
    EXPECT_EQ(src->next_input_byte, second);
    EXPECT_EQ(src->bytes_in_buffer, sizeof second);
}

}  // namespace
