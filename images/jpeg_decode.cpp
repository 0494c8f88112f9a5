// Opening, reading and closing embedded JPEG pictures, and the error exit that leaves the library.
// Pairs with jpeg_decode.h and jpeg_error_trap.h.
#include "images/jpeg_decode.h"

#include <cstdint>
#include <cstdlib>

#include "host/module.h"
#include "host/platform.h"

void jumpOnJpegError(j_common_ptr cinfo) {
    (*cinfo->err->output_message)(cinfo);
    std::longjmp(reinterpret_cast<JpegErrorTrap*>(cinfo->err)->recoveryPoint, 1);
}

bool openPicture(j_decompress_ptr cinfo, ResourceBuffer* volatile* slot, const char* name) {
    platform::ResourceHandle resource = platform::findResource(moduleInstance(), name);
    if (resource == 0) return false;
    std::uint32_t size = platform::sizeofResource(moduleInstance(), resource);
    if (size == 0) return false;
    platform::ResourceData data = platform::loadResource(moduleInstance(), resource);
    if (data == 0) return false;
    const void* bytes = platform::lockResource(data);
    if (bytes == nullptr) return false;

    ResourceBuffer* buffer = static_cast<ResourceBuffer*>(std::malloc(sizeof(ResourceBuffer)));
    if (buffer == nullptr) return false;
    buffer->size = size;
    buffer->data = static_cast<const JOCTET*>(bytes);
    *slot = buffer;

    attachResourceSource(cinfo, buffer);
    jpeg_read_header(cinfo, TRUE);
    jpeg_start_decompress(cinfo);
    return true;
}

void readRows(j_decompress_ptr cinfo, const RowTarget& target, RowStep step) {
    JSAMPARRAY row = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                 cinfo->output_width * cinfo->output_components, 1);
    std::size_t offset = 0;
    while (cinfo->output_scanline < cinfo->output_height) {
        // The source never suspends, so every call yields exactly one row.
        jpeg_read_scanlines(cinfo, row, 1);
        step(target, cinfo, row[0], offset);
        offset += target.rowLength;
    }
}

void releaseResourceBuffer(ResourceBuffer* volatile* slot) {
    std::free(*slot);
    *slot = nullptr;
}

std::size_t pixelBufferSize(std::size_t rowLength, std::size_t height) {
    if (rowLength == 0 || height == 0 || height > SIZE_MAX / rowLength) return 0;
    return rowLength * height;
}
