// The in-memory source manager for embedded pictures.
// Pairs with resource_source.h.
#include "images/resource_source.h"

#include <jerror.h>

namespace {
// What a truncated stream is given once the resource is used up.
const JOCTET kFakeEndOfImage[2] = {0xFF, JPEG_EOI};
}  // namespace

void resourceSourceNoOp(j_decompress_ptr) {}

boolean resourceFillInput(j_decompress_ptr cinfo) {
    WARNMS(cinfo, JWRN_JPEG_EOF);
    cinfo->src->next_input_byte = kFakeEndOfImage;
    cinfo->src->bytes_in_buffer = sizeof kFakeEndOfImage;
    return TRUE;
}

void resourceSkipInput(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* src = cinfo->src;
    std::size_t n = static_cast<unsigned long>(count);
    // Past the end: stop there; the next read then reaches resourceFillInput.
    if (n > src->bytes_in_buffer) n = src->bytes_in_buffer;
    src->next_input_byte += n;
    src->bytes_in_buffer -= n;
}

void attachResourceSource(j_decompress_ptr cinfo, ResourceBuffer* buffer) {
    if (cinfo->src == nullptr) {
        cinfo->src = static_cast<jpeg_source_mgr*>(
            (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(ResourceSource)));
    }
    ResourceSource* source = reinterpret_cast<ResourceSource*>(cinfo->src);
    source->manager.init_source = resourceSourceNoOp;
    source->manager.fill_input_buffer = resourceFillInput;
    source->manager.skip_input_data = resourceSkipInput;
    source->manager.resync_to_restart = jpeg_resync_to_restart;
    source->manager.term_source = resourceSourceNoOp;
    source->buffer = buffer;
    source->manager.bytes_in_buffer = buffer->size;
    source->manager.next_input_byte = buffer->data;
}
