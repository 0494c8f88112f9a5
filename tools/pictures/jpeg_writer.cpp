// Baseline JFIF output with optimised Huffman tables (still baseline) at a given quality.
// Pairs with jpeg_writer.h.
#include "tools/pictures/jpeg_writer.h"

#include <cstdio>

#include <jpeglib.h>

bool writeJpeg(const std::string& path, const std::vector<std::uint8_t>& samples, std::int32_t width,
               std::int32_t height, int components, int quality) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::perror(path.c_str());
        return false;
    }
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t stride = static_cast<std::size_t>(width) * components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + cinfo.next_scanline * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    bool written = std::fflush(file) == 0 && !std::ferror(file);
    if (std::fclose(file) != 0) written = false;
    if (!written) std::fprintf(stderr, "morvane-pictures: cannot write %s\n", path.c_str());
    return written;
}
