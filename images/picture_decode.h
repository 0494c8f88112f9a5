// The loaders' decoding halves: embedded JPEG pictures into a TextureImage's pixel buffer, with no
// OpenGL involved. Pairs with picture_decode.cpp; texture_image.cpp uploads what they leave.
#pragma once

#include "images/texture_image.h"

// Colour picture, then its mask on the same decompress object, into 4-byte R, G, B, A pixels: the
// mask's grey samples become the alpha exactly. On success `pixels` holds width x height x 4 bytes.
// On failure returns false and `pixels` is null (released); the size fields keep the colour
// picture's values once its decompression has started, and stay untouched before that.
bool decodeMaskedPicture(TextureImage& image, const char* colourName, const char* maskName);

// One picture into its decoded samples as they come (components bytes per pixel). Failure as above.
bool decodePicture(TextureImage& image, const char* name);
