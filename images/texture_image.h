// Decoded pictures and their OpenGL textures: the sprite sheet (colour plus mask as alpha) and the
// logo (an alpha-only texture).
#pragma once

#include <cstdint>

struct TextureImage {
    std::uint8_t* pixels;  // rows top row first, tightly packed; freed by uploadTexture
    std::int32_t bitsPerPixel;  // 32 for a masked picture, 8 x components for a plain one
    std::int32_t width;
    std::int32_t height;
    std::uint32_t textureName;  // 0 until uploaded
};

struct SpriteTextures {
    TextureImage sheet;
    TextureImage logo;
};

// Decodes the colour picture and then the mask (its grey samples become the alpha) and uploads one
// RGBA texture. Returns false on any failure; textureName then stays 0.
bool loadMaskedTexture(TextureImage& image, const char* colourName, const char* maskName);
// Decodes one picture and uploads it; a grey picture becomes a GL_ALPHA texture.
bool loadTexture(TextureImage& image, const char* name);
// Makes the texture from `pixels` and frees them. The new texture stays bound. Returns true.
bool uploadTexture(TextureImage& image);
