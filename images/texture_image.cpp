// The loaders that turn embedded pictures into OpenGL textures, and the upload they share.
// Pairs with texture_image.h; the decoding itself is in picture_decode.cpp.
#include "images/texture_image.h"

#include <cstdlib>
#include <cstring>

#include <GL/gl.h>

#include "images/picture_decode.h"

namespace {

// The offered pictures: still being decoded (`pending` valid), or decoded (`ready`).
std::future<PicturesAhead> pending;
PicturesAhead ready;

bool sameName(const char* a, const char* b) { return a == b || (a && b && std::strcmp(a, b) == 0); }

// Takes the picture decoded ahead under these names into `image`; false when there is none (or its
// decoding failed), and the caller decodes it.
bool takePictureAhead(TextureImage& image, const char* colourName, const char* maskName) {
    if (pending.valid()) ready = pending.get();
    for (PictureAhead& ahead : ready) {
        if (!ahead.decoded || !sameName(ahead.colourName, colourName) || !sameName(ahead.maskName, maskName))
            continue;
        image = ahead.image;
        ahead.decoded = false;
        ahead.image.pixels = nullptr;
        return true;
    }
    return false;
}

}  // namespace

void offerPicturesAhead(std::future<PicturesAhead> pictures) {
    dropPicturesAhead();
    pending = std::move(pictures);
}

void dropPicturesAhead() {
    if (pending.valid()) ready = pending.get();
    for (PictureAhead& ahead : ready) std::free(ahead.image.pixels);
    ready.clear();
}

bool decodeMaskedTexture(TextureImage& image, const char* colourName, const char* maskName) {
    return takePictureAhead(image, colourName, maskName) || decodeMaskedPicture(image, colourName, maskName);
}

bool loadMaskedTexture(TextureImage& image, const char* colourName, const char* maskName) {
    return decodeMaskedTexture(image, colourName, maskName) && uploadTexture(image);
}

bool loadTexture(TextureImage& image, const char* name) {
    if (!takePictureAhead(image, name, nullptr) && !decodePicture(image, name)) return false;
    return uploadTexture(image);
}

bool uploadTexture(TextureImage& image) {
    GLuint name = 0;
    glGenTextures(1, &name);
    image.textureName = name;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
    GLenum format = GL_RGBA;
    switch (image.bitsPerPixel) {
    case 8:
    case 16:
        format = GL_ALPHA;
        break;
    case 24:
        format = GL_RGB;
        break;
    default:
        break;
    }
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), image.width, image.height, 0, format,
                 GL_UNSIGNED_BYTE, image.pixels);
    std::free(image.pixels);
    image.pixels = nullptr;
    return true;
}
