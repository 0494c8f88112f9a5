// The two loaders' decoding halves, both one decoding of one or two pictures in turn on a decompress
// object with its own error trap and recovery point (decodePasses). Pairs with picture_decode.h.
//
// Between setjmp and the library calls nothing has a destructor: an error leaves the library by
// longjmp. The buffer slot and the pixel buffer's owner are volatile: they change after setjmp and
// are read on the recovery path.
#include "images/picture_decode.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "images/jpeg_decode.h"

namespace {

// Bytes of a decoded row that the row steps take at a time. The library has only just written the
// row; reading it back a byte at a time stalls on those writes, so each stretch is first copied
// whole into a small local buffer (a measured threefold saving on the sheet's colour pass).
constexpr std::int32_t kStretchBytes = 3072;

// R, G, B of each pixel from the decoded colour row. A picture that did not decode to 3 components
// still reads only inside its row: grey repeats its one sample, more components give their first three.
void colourRowStep(const RowTarget& target, j_decompress_ptr cinfo, const JSAMPLE* row, std::size_t offset) {
    if (offset >= target.size) return;
    const int components = cinfo->output_components;
    const std::int32_t width = std::min<std::int32_t>(target.width, static_cast<std::int32_t>(cinfo->output_width));
    const std::int32_t stretch = kStretchBytes / components;
    JSAMPLE samples[kStretchBytes];
    for (std::int32_t first = 0; first < width; first += stretch) {
        const std::int32_t count = std::min(stretch, width - first);
        std::memcpy(samples, row + static_cast<std::size_t>(first) * components, static_cast<std::size_t>(count) * components);
        std::uint8_t* out = target.pixels + offset + static_cast<std::size_t>(first) * 4;
        if (components == 3) {
            for (std::int32_t i = 0; i < count; ++i) {
                out[4 * i] = samples[3 * i];
                out[4 * i + 1] = samples[3 * i + 1];
                out[4 * i + 2] = samples[3 * i + 2];
            }
        } else {
            for (std::int32_t i = 0; i < count; ++i)
                for (int k = 0; k < 3; ++k) out[4 * i + k] = samples[i * components + std::min(k, components - 1)];
        }
    }
}

// The alpha byte of each pixel from the mask's first sample. Mask rows and pixels beyond the colour
// picture's size are dropped, so a mask of another size lines up at the top-left corner.
void maskRowStep(const RowTarget& target, j_decompress_ptr cinfo, const JSAMPLE* row, std::size_t offset) {
    if (offset >= target.size) return;
    const int components = cinfo->output_components;
    const std::int32_t width = std::min<std::int32_t>(target.width, static_cast<std::int32_t>(cinfo->output_width));
    const std::int32_t stretch = kStretchBytes / components;
    JSAMPLE samples[kStretchBytes];
    for (std::int32_t first = 0; first < width; first += stretch) {
        const std::int32_t count = std::min(stretch, width - first);
        std::memcpy(samples, row + static_cast<std::size_t>(first) * components, static_cast<std::size_t>(count) * components);
        std::uint8_t* out = target.pixels + offset + static_cast<std::size_t>(first) * 4;
        for (std::int32_t i = 0; i < count; ++i) out[4 * i + 3] = samples[i * components];
    }
}

void copyRowStep(const RowTarget& target, j_decompress_ptr cinfo, const JSAMPLE* row, std::size_t offset) {
    if (offset >= target.size) return;
    const std::size_t samples = static_cast<std::size_t>(target.width) * static_cast<std::size_t>(cinfo->output_components);
    std::memcpy(target.pixels + offset, row, std::min(samples, target.rowLength));
}

// Frees the pixel buffer this call allocated (if any), leaving the image without one.
void releasePixels(TextureImage& image, std::uint8_t* volatile* owned) {
    if (*owned == nullptr) return;
    std::free(*owned);
    *owned = nullptr;
    image.pixels = nullptr;
}

// Sizes `target` for `image`'s width and height at `bytesPerPixel` and allocates the zeroed pixel
// buffer. Returns false, with `pixels` null, when the size does not fit or the memory is not there.
// Rows start on 4-byte boundaries: the upload keeps OpenGL's default unpack alignment of 4, which
// would otherwise read a picture whose rows are not a multiple of 4 bytes long skewed and past the
// end of the buffer. The shipped pictures' rows (4096 and 512 bytes) need no padding.
bool allocatePixels(TextureImage& image, RowTarget& target, std::size_t bytesPerPixel) {
    target.width = image.width;
    target.height = image.height;
    target.rowLength = (static_cast<std::size_t>(image.width) * bytesPerPixel + 3) & ~static_cast<std::size_t>(3);
    target.size = pixelBufferSize(target.rowLength, static_cast<std::size_t>(image.height));
    image.pixels = target.size ? static_cast<std::uint8_t*>(std::calloc(target.size, 1)) : nullptr;
    target.pixels = image.pixels;
    return image.pixels != nullptr;
}

// One picture read into the image's pixel buffer by its row step.
struct DecodePass {
    const char* name;
    RowStep step;
};

// Undoes what a decoding made before it failed: the decompress object, the resource buffer and the
// pixel buffer it allocated.
bool abandonDecoding(jpeg_decompress_struct& cinfo, ResourceBuffer* volatile* slot, TextureImage& image,
                     std::uint8_t* volatile* owned) {
    jpeg_destroy_decompress(&cinfo);
    releaseResourceBuffer(slot);
    releasePixels(image, owned);
    return false;
}

// The pictures of `passes` one after the other on one decompress object. The first sizes the image
// and its pixel buffer at `bytesPerPixel` (0: the first picture's own number of components).
bool decodePasses(TextureImage& image, const DecodePass* passes, int count, std::size_t bytesPerPixel) {
    jpeg_decompress_struct cinfo;
    JpegErrorTrap trap;
    ResourceBuffer* volatile slot = nullptr;
    std::uint8_t* volatile owned = nullptr;

    cinfo.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = jumpOnJpegError;
    if (setjmp(trap.recoveryPoint)) return abandonDecoding(cinfo, &slot, image, &owned);
    jpeg_create_decompress(&cinfo);

    RowTarget target;
    for (int pass = 0; pass < count; ++pass) {
        if (!openPicture(&cinfo, &slot, passes[pass].name)) return abandonDecoding(cinfo, &slot, image, &owned);
        if (pass == 0) {
            const std::size_t pixelBytes =
                bytesPerPixel != 0 ? bytesPerPixel : static_cast<std::size_t>(cinfo.output_components);
            image.width = static_cast<std::int32_t>(cinfo.output_width);
            image.height = static_cast<std::int32_t>(cinfo.output_height);
            image.bitsPerPixel = static_cast<std::int32_t>(8 * pixelBytes);
            if (!allocatePixels(image, target, pixelBytes)) return abandonDecoding(cinfo, &slot, image, &owned);
            owned = image.pixels;
        }
        readRows(&cinfo, target, passes[pass].step);
        jpeg_finish_decompress(&cinfo);
        releaseResourceBuffer(&slot);
    }
    jpeg_destroy_decompress(&cinfo);
    return true;
}

}  // namespace

bool decodeMaskedPicture(TextureImage& image, const char* colourName, const char* maskName) {
    const DecodePass passes[] = {{colourName, colourRowStep}, {maskName, maskRowStep}};
    return decodePasses(image, passes, 2, 4);
}

bool decodePicture(TextureImage& image, const char* name) {
    const DecodePass passes[] = {{name, copyRowStep}};
    return decodePasses(image, passes, 1, 0);
}
