// X11 platform: the sprite field's pictures decoded on a thread of their own, started just before
// the GL driver is loaded (which keeps one processor busy for tens of milliseconds), so that the
// decoding is done by the time the scene's loaders ask for it. Pairs with images/texture_image.h.
#include <cstdlib>
#include <thread>

#include "host/platform/x11_internal.h"
#include "images/picture_decode.h"

namespace {

PictureAhead pictures[] = {
    {kSheetColourPicture, kSheetMaskPicture, {}, false, false},
    {kLogoPicture, nullptr, {}, false, false},
};
std::thread decoder;

void decodeAll() {
    for (PictureAhead& picture : pictures) {
        picture.decoded = picture.maskName ? decodeMaskedPicture(picture.image, picture.colourName, picture.maskName)
                                           : decodePicture(picture.image, picture.colourName);
    }
}

void waitForPictures() {
    if (decoder.joinable()) decoder.join();
}

}  // namespace

namespace x11 {

void decodePicturesAhead() {
    if (decoder.joinable() || picturesAhead.count != 0) return;
    try {
        decoder = std::thread(decodeAll);
    } catch (...) {
        return;  // no thread: the loaders decode as they always can
    }
    picturesAhead = {pictures, static_cast<int>(sizeof pictures / sizeof pictures[0]), waitForPictures};
}

void endPicturesAhead() {
    waitForPictures();
    for (PictureAhead& picture : pictures) {
        if (!picture.taken) std::free(picture.image.pixels);
        picture.image.pixels = nullptr;
    }
    picturesAhead = {nullptr, 0, nullptr};
}

}  // namespace x11
