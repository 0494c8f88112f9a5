// The steps of decoding one embedded JPEG picture into rows of samples, shared by both loaders:
// open a picture from the module's resources, read its rows through a loader's row step, close it.
// Pairs with jpeg_decode.cpp; the loaders that own the recovery point are in picture_decode.cpp.
#pragma once

#include <cstddef>
#include <cstdint>

#include "images/jpeg_error_trap.h"
#include "images/resource_source.h"

// Where a loader's row step writes: a pixel buffer of `size` bytes holding `height` rows of
// `rowLength` bytes, `width` pixels each.
struct RowTarget {
    std::uint8_t* pixels;
    std::size_t size;
    std::size_t rowLength;
    std::int32_t width;
    std::int32_t height;
};

// Handles one decoded row (output_width x output_components samples) whose first destination byte
// is `offset`. Must not read or write outside the row or the target.
using RowStep = void (*)(const RowTarget& target, j_decompress_ptr cinfo, const JSAMPLE* row, std::size_t offset);

// Finds, locks and attaches the named picture, then reads its header and starts decompression.
// The new ResourceBuffer is put in `slot` first, so the caller's recovery path can release it.
// Returns false, with nothing written, for a missing or empty resource or a failed allocation;
// a library error jumps to the caller's recovery point instead.
bool openPicture(j_decompress_ptr cinfo, ResourceBuffer* volatile* slot, const char* name);

// Reads every row top row first and hands each to `step`, the destination offset advancing by
// target.rowLength. The row buffer comes from the image pool and goes with jpeg_finish_decompress.
void readRows(j_decompress_ptr cinfo, const RowTarget& target, RowStep step);

// Frees the buffer named by `slot` (if any) and empties the slot.
void releaseResourceBuffer(ResourceBuffer* volatile* slot);

// The size of a buffer of `rowLength` x `height` bytes, or 0 when it would not fit in a size_t.
std::size_t pixelBufferSize(std::size_t rowLength, std::size_t height);
