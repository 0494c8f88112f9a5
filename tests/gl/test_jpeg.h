// Small JPEG files made in memory for the picture tests, with libjpeg's compressor.
// Header only; used by jpeg_decode_test.cpp and texture_image_test.cpp.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace testjpeg {

// Samples of one pixel: `components` bytes for column x of row y (row 0 is the top).
using PixelFunction = std::function<void(int x, int y, std::uint8_t* samples)>;

// A baseline JFIF file. Quality 100 keeps flat 8 x 8 blocks exact; `restartRows` > 0 puts a
// restart marker every that many MCU rows.
inline std::vector<std::uint8_t> encode(int width, int height, int components, const PixelFunction& pixel,
                                        int quality = 100, int restartRows = 0) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.restart_in_rows = restartRows;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * components);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < width; ++x) pixel(x, static_cast<int>(cinfo.next_scanline), &row[x * components]);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<std::uint8_t> bytes(out, out + size);
    std::free(out);
    return bytes;
}

inline std::vector<std::uint8_t> flat(int width, int height, int components, std::uint8_t value) {
    return encode(width, height, components, [&](int, int, std::uint8_t* s) {
        for (int c = 0; c < components; ++c) s[c] = value;
    });
}

}  // namespace testjpeg
