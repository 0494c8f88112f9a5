// libpng's write path with its error trap: libpng reports a failure by a jump back to setjmp here.
// Pairs with png_writer.h.
#include "tools/render/png_writer.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace {

// Everything setjmp's frame must still see after the jump lives outside it.
struct PngFile {
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngFile() {
        if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
        if (file) std::fclose(file);
    }
};

bool writeRows(PngFile& out, const std::vector<std::uint8_t>& rgb, std::int32_t width, std::int32_t height) {
    if (setjmp(png_jmpbuf(out.png))) return false;
    png_init_io(out.png, out.file);
    png_set_IHDR(out.png, out.info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(out.png, out.info);
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    for (std::int32_t y = 0; y < height; ++y)
        png_write_row(out.png, const_cast<png_bytep>(&rgb[static_cast<std::size_t>(y) * stride]));
    png_write_end(out.png, out.info);
    return true;
}

}  // namespace

bool writePng(const std::string& path, const std::vector<std::uint8_t>& rgba, std::int32_t width, std::int32_t height,
              std::string& error) {
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (width <= 0 || height <= 0 || rgba.size() != pixels * 4) {
        error = "the frame's size does not match its pixels";
        return false;
    }
    std::vector<std::uint8_t> rgb(pixels * 3);
    for (std::size_t i = 0; i < pixels; ++i) std::memcpy(&rgb[i * 3], &rgba[i * 4], 3);

    PngFile out;
    out.file = std::fopen(path.c_str(), "wb");
    if (!out.file) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    out.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (out.png) out.info = png_create_info_struct(out.png);
    if (!out.png || !out.info || !writeRows(out, rgb, width, height)) {
        error = "libpng could not write " + path;
        return false;
    }
    if (std::fflush(out.file) != 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}
