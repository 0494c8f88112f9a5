// Linux platform: the sprite field's pictures decoded on a thread of their own, started at start-up
// so that they decode while the saver loads the GL driver (which keeps one processor busy for tens
// of milliseconds) and are done by the time the scene's loaders ask for them. Pairs with
// linux_internal.h and images/texture_image.h (offerPicturesAhead), which takes the result.
#include <system_error>

#include "host/platform/linux_internal.h"
#include "images/picture_decode.h"

namespace {

PicturesAhead decodeAll() {
    PicturesAhead pictures = {
        {kSheetColourPicture, kSheetMaskPicture, {}, false},
        {kLogoPicture, nullptr, {}, false},
    };
    for (PictureAhead& picture : pictures) {
        picture.decoded = picture.maskName ? decodeMaskedPicture(picture.image, picture.colourName, picture.maskName)
                                           : decodePicture(picture.image, picture.colourName);
    }
    return pictures;
}

}  // namespace

namespace linux_platform {

std::future<PicturesAhead> decodePicturesAhead() {
    try {
        return std::async(std::launch::async, decodeAll);
    } catch (const std::system_error&) {
        return {};  // no thread: the loaders decode as they always can
    }
}

}  // namespace linux_platform
