// The in-memory source manager that feeds a locked embedded picture to libjpeg without copying it.
// Pairs with resource_source.cpp; used by the decode procedure in jpeg_decode.cpp.
#pragma once

#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

// One picture's compressed bytes: they belong to the loaded module and are never freed; the record
// itself is heap memory owned by the loader for as long as the picture is open.
struct ResourceBuffer {
    std::uint32_t size;  // bytes, as the platform reports them
    const JOCTET* data;
};

// The library's source manager members come first, in the library's order, so the decompress
// object's `src` can point at the whole record.
struct ResourceSource {
    jpeg_source_mgr manager;
    ResourceBuffer* buffer;  // the picture it was last pointed at
};

void resourceSourceNoOp(j_decompress_ptr cinfo);
// Reached only when the stream wants more bytes than the resource holds: warns, then supplies a fake
// end-of-image marker so the decoder finishes without reading past the buffer.
boolean resourceFillInput(j_decompress_ptr cinfo);
// Skips `count` bytes, clamped to the end of the buffer; a count of 0 or less does nothing.
void resourceSkipInput(j_decompress_ptr cinfo, long count);

// Points the decoder at `buffer`. The ResourceSource is allocated in the object's permanent pool on
// the first call and reused for every later picture on the same object.
void attachResourceSource(j_decompress_ptr cinfo, ResourceBuffer* buffer);
