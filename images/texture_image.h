// Decoded pictures and their OpenGL textures: the sprite sheet (colour plus mask as alpha) and the
// logo (an alpha-only texture).
#pragma once

#include <cstdint>
#include <future>
#include <vector>

struct TextureImage {
    std::uint8_t* pixels;  // rows top row first, each padded to a multiple of 4 bytes; freed by uploadTexture
    std::int32_t bitsPerPixel;  // 32 for a masked picture, 8 x components for a plain one
    std::int32_t width;
    std::int32_t height;
    std::uint32_t textureName;  // 0 until uploaded
};

struct SpriteTextures {
    TextureImage sheet;
    TextureImage logo;
};

// The embedded pictures the sprite field loads: the sheet's colour and mask, and the logo.
constexpr const char* kSheetColourPicture = "JPEG_MORVANE_RGB";
constexpr const char* kSheetMaskPicture = "JPEG_MORVANE_MASK";
constexpr const char* kLogoPicture = "LOGO_MASK";

// A picture a platform decodes ahead of the loaders, on a spare processor while it loads the GL
// driver (the X11 build does). maskName is null for a plain picture.
struct PictureAhead {
    const char* colourName;
    const char* maskName;
    TextureImage image;
    bool decoded;  // the decoder's answer; false leaves the loader to decode the picture itself
};
using PicturesAhead = std::vector<PictureAhead>;

// Hands the loaders the pictures being decoded ahead, as the future of the decoder's result: a
// loader asked for the names of one of them waits for the result (once), then takes that picture,
// pixels and all, in place of decoding it again. Replaces, and frees, any pictures offered before.
void offerPicturesAhead(std::future<PicturesAhead> pictures);
// Waits for the pictures offered, if any are still being decoded, and frees those no loader took.
void dropPicturesAhead();

// Decodes the colour picture and then the mask (its grey samples become the alpha) and uploads one
// RGBA texture. Returns false on any failure; textureName then stays 0.
bool loadMaskedTexture(TextureImage& image, const char* colourName, const char* maskName);
// Its first half: the RGBA pixels, decoded ahead or now, left in `image` for uploadTexture.
bool decodeMaskedTexture(TextureImage& image, const char* colourName, const char* maskName);
// Decodes one picture and uploads it; a grey picture becomes a GL_ALPHA texture.
bool loadTexture(TextureImage& image, const char* name);
// Makes the texture from `pixels` and frees them. The new texture stays bound. Returns true.
bool uploadTexture(TextureImage& image);
