// libFuzzer target for the picture loaders' decoding: any bytes as a picture, alone and as the mask
// of a small grey picture, must decode or fail without touching memory outside the stream and
// the pixel buffer, and leave a pixel buffer exactly when they report success.
// Pairs with images/picture_decode.cpp.
//
// It serves its resources itself: the test platform keeps every resource's bytes for the life of
// the process, which millions of inputs would pile up. Nothing else of that platform is linked in.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/platform.h"
#include "images/picture_decode.h"
#include "resources/embedded.h"

namespace {

// The input, copied to a buffer of exactly its size, so that a read past its end is caught.
std::vector<std::uint8_t>* input = nullptr;
constexpr platform::ResourceHandle kInput = 1, kLogo = 2;

// A picture whose header asks for more than this many pixels is skipped: its buffer alone would be
// gigabytes, and decoding it would take the fuzzer minutes.
constexpr std::uint64_t kMaxPixels = 1u << 20;

bool declaresHugePicture(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i + 8 < size; ++i) {
        if (data[i] != 0xFF) continue;
        std::uint8_t marker = data[i + 1];
        bool startOfFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (!startOfFrame) continue;
        std::uint64_t height = (data[i + 5] << 8) | data[i + 6], width = (data[i + 7] << 8) | data[i + 8];
        if (width * height > kMaxPixels) return true;
    }
    return false;
}

void check(bool decoded, TextureImage& image) {
    if (decoded != (image.pixels != nullptr)) std::abort();
    if (decoded && (image.width <= 0 || image.height <= 0)) std::abort();
    std::free(image.pixels);
}

}  // namespace

namespace platform {

ResourceHandle findResource(InstanceHandle, const char* name) {
    if (std::strcmp(name, "INPUT") == 0) return kInput;
    if (std::strcmp(name, "LOGO_MASK") == 0) return kLogo;
    return 0;
}

std::uint32_t sizeofResource(InstanceHandle, ResourceHandle resource) {
    if (resource == kInput) return static_cast<std::uint32_t>(input->size());
    return findEmbeddedResource("LOGO_MASK")->size;
}

ResourceData loadResource(InstanceHandle, ResourceHandle resource) { return resource; }

const void* lockResource(ResourceData data) {
    if (data == kInput) return input->data();
    return findEmbeddedResource("LOGO_MASK")->data;
}

}  // namespace platform

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (declaresHugePicture(data, size)) return 0;
    std::vector<std::uint8_t> bytes(data, data + size);
    input = &bytes;

    TextureImage plain = {};
    check(decodePicture(plain, "INPUT"), plain);
    TextureImage selfMasked = {};
    check(decodeMaskedPicture(selfMasked, "INPUT", "INPUT"), selfMasked);
    TextureImage masked = {};
    check(decodeMaskedPicture(masked, "LOGO_MASK", "INPUT"), masked);

    input = nullptr;
    return 0;
}
